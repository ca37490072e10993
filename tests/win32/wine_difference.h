// Marks where Wine, by its design, answers differently from Windows (as Wine's
// own tests do with todo_wine). The check stays exact: under Windows the value
// must be what Windows gives, under Wine what Wine is known to give, and the
// difference is recorded in the test's XML output with the value seen.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>

#include "platform/win32/win32_platform.h"

namespace hw::test {

// Under Wine the Windows user is the Unix user; root passes every Unix
// permission check that Wine relies on.
bool wineRunsAsRoot();

template <typename T>
std::string describeValue(const T& value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value ? "true" : "false";
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
  } else {
    return "\"" + std::string(value) + "\"";
  }
}

template <typename T>
testing::AssertionResult knownWineDifference(const std::string& what, const T& onWindows,
                                             const T& onWine, const T& actual) {
  bool wine = runningUnderWine();
  const T& expected = wine ? onWine : onWindows;
  if (wine && !(onWine == onWindows)) {
    testing::Test::RecordProperty(std::string("KNOWN_WINE_DIFFERENCE ") + what,
                                  "Windows " + describeValue(onWindows) + ", Wine " +
                                      describeValue(actual));
  }
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << what << ": got " << describeValue(actual) << ", expected "
         << describeValue(expected) << (wine ? " (Wine's known answer)" : "");
}

}  // namespace hw::test

#define KNOWN_WINE_DIFFERENCE(what, onWindows, onWine, actual) \
  EXPECT_TRUE(::hw::test::knownWineDifference(what, onWindows, onWine, actual))
