#include "app/settings_parse.h"

#include <gtest/gtest.h>

namespace hw {
namespace {

struct IntegerCase {
  const char* text;
  std::int32_t expected;
};

TEST(ParseIntegerTest, LeadingDigitsCount) {
  const IntegerCase cases[] = {
      {"42", 42},          {"  \t-17x", -17},  {"+8", 8},           {"", 0},
      {"abc", 0},          {"-", 0},           {" - 5", 0},         {"12.9", 12},
      {"0012", 12},        {"-2000", -2000},   {"\r\n7", 7},        {"2147483647", 2147483647},
      // Past 32 bits the value wraps, so "%u" values come back whole.
      {"4294967295", -1},  {"4294967296", 0},  {"-2147483648", -2147483647 - 1},
      {"99999999999999999999", static_cast<std::int32_t>(0x630FFFFFu)},
  };
  for (const IntegerCase& c : cases) EXPECT_EQ(ParseInteger(c.text), c.expected) << '"' << c.text << '"';
}

struct RealCase {
  const char* text;
  std::uint32_t expected;
};

TEST(ParseRealTruncatedTest, DecimalNotationTruncated) {
  const RealCase cases[] = {
      {"255.9", 255},           {"12632256", 12632256},   {"  -0.9", 0},          {"-1", 4294967295u},
      {"1e3", 1000},            {"1E+2x", 100},           {"2.5e-1", 0},          {".5e1", 5},
      {"7.", 7},                {"1e", 1},                {"3e+", 3},             {"", 0},
      {".", 0},                 {"e5", 0},                {"0x10", 0},            {"inf", 0},
      {"nan", 0},               {"4294967295", 4294967295u},                     {"4294967296", 0},
      {"1e300", 0},             {"1e-400", 0},            {"+16777215", 16777215},
  };
  for (const RealCase& c : cases) EXPECT_EQ(ParseRealTruncated(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace hw
