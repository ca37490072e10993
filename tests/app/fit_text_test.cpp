#include "app/fit_text.h"

#include <gtest/gtest.h>

#include <string>

namespace hw {
namespace {

struct FitCase {
  const char* text;
  long textWidth;
  long controlWidth;
  int pathFlag;
  int result;
  const char* expected;
};

TEST(FitTextTest, Table) {
  // 41 characters; the backslashes are at 2, 7, 16, 21 and 29.
  const char* path = "C:\\DATA\\PROJECTS\\2024\\REPORTS\\SUMMARY.TXT";
  const FitCase cases[] = {
      {"short", 50, 51, 0, 1, "short"},
      {"short", 50, 51, 1, 1, "short"},
      {"", 0, 0, 1, 1, ""},
      // n = 41, W/T = 1/2: fit = 21, cut = 25; plain keeps fit - 10 = 11.
      {path, 410, 205, 0, 0, "C:\\DATA\\PRO ... "},
      // start = 20 - 12 = 8, end = 33; no "\" from 33 on, so the tail starts there.
      {path, 410, 205, 1, 0, "C:\\DATA\\P ... MARY.TXT"},
      // Wider: fit = 31, cut = 15, start = 13, end = 28; "\" at 29 moves both by 1.
      {path, 410, 300, 1, 0, "C:\\DATA\\PROJECT ... \\SUMMARY.TXT"},
      // Exactly as wide: does not fit (T < W fails).
      {"abcdef", 60, 60, 0, 0, " ... "},
      // Very narrow: nothing of the text is lost outside it.
      {path, 410, 0, 0, 0, " ... "},
      {path, 410, 0, 1, 0, " ... "},
      {"ab", 1000, 1, 1, 0, " ... "},
  };
  for (const FitCase& c : cases) {
    std::string out = "stale";
    EXPECT_EQ(FitText(c.text, c.textWidth, c.controlWidth, c.pathFlag, out), c.result) << c.text;
    EXPECT_EQ(out, c.expected) << c.text << " " << c.textWidth << "/" << c.controlWidth;
  }
}

}  // namespace
}  // namespace hw
