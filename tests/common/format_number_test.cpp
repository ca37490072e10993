#include "common/format_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace hw {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A buffer of `capacity` bytes followed by guard bytes, so a write past the
// capacity shows up as a changed guard.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(std::size_t capacity, const char* initial = "")
      : capacity_(capacity), bytes_(capacity + kGuard, '#') {
    std::memcpy(bytes_.data(), initial, std::min(capacity, std::strlen(initial) + 1));
  }
  char* data() { return bytes_.data(); }
  std::string text() const { return std::string(bytes_.data()); }
  bool guardIntact() const {
    for (std::size_t i = capacity_; i < bytes_.size(); ++i) {
      if (bytes_[i] != '#') return false;
    }
    return true;
  }

 private:
  static constexpr std::size_t kGuard = 16;
  std::size_t capacity_;
  std::vector<char> bytes_;
};

struct FormatCase {
  double value;
  int decimals;
  const char* expected;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.value << " to " << c.decimals; }

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesRoundedFigure) {
  const FormatCase& c = GetParam();
  char buffer[128];
  ASSERT_TRUE(FormatNumber(c.value, c.decimals, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, c.expected);
  EXPECT_EQ(FormatNumber(c.value, c.decimals), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Whole, FormatNumberTest, testing::Values(
    FormatCase{0, 0, "0"},
    FormatCase{7, 0, "7"},
    FormatCase{1234567, 0, "1234567"},
    FormatCase{-1234567, 0, "-1234567"},
    FormatCase{1e15, 0, "1000000000000000"},
    FormatCase{1e21, 0, "1000000000000000000000"},
    FormatCase{4503599627370497.0, 0, "4503599627370497"},
    FormatCase{3, -1, "3"}));

INSTANTIATE_TEST_SUITE_P(HalfUp, FormatNumberTest, testing::Values(
    FormatCase{0.5, 0, "1"},
    FormatCase{1.5, 0, "2"},
    FormatCase{2.5, 0, "3"},
    FormatCase{0.49999999999999994, 0, "0"},
    FormatCase{99.5, 0, "100"},
    FormatCase{1e15 + 0.5, 0, "1000000000000001"},
    FormatCase{0.125, 2, "0.13"},
    FormatCase{0.05, 1, "0.1"},
    FormatCase{0.049, 1, "0.0"},
    // Doubles just below the decimal the user sees round like that decimal.
    FormatCase{2.675, 2, "2.68"},
    FormatCase{1.005, 2, "1.01"},
    FormatCase{1.115, 2, "1.12"},
    // A carry through every digit adds one before the point.
    FormatCase{0.999, 2, "1.00"},
    FormatCase{9.995, 2, "10.00"}));

INSTANTIATE_TEST_SUITE_P(Negative, FormatNumberTest, testing::Values(
    FormatCase{-0.5, 0, "-1"},
    FormatCase{-2.5, 0, "-3"},
    FormatCase{-2.675, 2, "-2.68"},
    FormatCase{-1.25, 1, "-1.3"},
    FormatCase{-0.75, 1, "-0.8"},
    // A figure that rounds to zero carries no sign.
    FormatCase{-0.4, 0, "0"},
    FormatCase{-0.004, 2, "0.00"},
    FormatCase{-0.0, 0, "0"},
    FormatCase{-0.0, 1, "0.0"}));

INSTANTIATE_TEST_SUITE_P(Decimals, FormatNumberTest, testing::Values(
    FormatCase{0, 2, "0.00"},
    FormatCase{123.456, 0, "123"},
    FormatCase{123.456, 1, "123.5"},
    FormatCase{123.456, 3, "123.456"},
    FormatCase{123.456, 5, "123.45600"},
    FormatCase{0.001, 3, "0.001"},
    FormatCase{0.0001, 3, "0.000"},
    FormatCase{0.0005, 3, "0.001"},
    FormatCase{1e-300, 2, "0.00"},
    FormatCase{0.1 + 0.2, 17, "0.30000000000000004"},
    FormatCase{0.1 + 0.2, 16, "0.3000000000000000"}));

TEST(FormatNumberHugeTest, WritesEveryIntegerDigit) {
  const std::string text = FormatNumber(1e300, 0);
  EXPECT_EQ(text, "1" + std::string(300, '0'));
  const std::string largest = FormatNumber(std::numeric_limits<double>::max(), 1);
  ASSERT_EQ(largest.size(), 309u + 2);
  EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
  EXPECT_EQ(largest.substr(largest.size() - 2), ".0");
  EXPECT_EQ(FormatNumber(-1e300, 2).size(), 1u + 301 + 3);
}

struct CapacityCase {
  double value;
  int decimals;
  std::size_t capacity;
  std::string expected;
  bool ok;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const CapacityCase& c, std::ostream* os) {
  *os << c.value << " to " << c.decimals << " in " << c.capacity;
}

class FormatNumberCapacityTest : public testing::TestWithParam<CapacityCase> {};

TEST_P(FormatNumberCapacityTest, FitsOrLeavesZero) {
  const CapacityCase& c = GetParam();
  GuardedBuffer buffer(c.capacity, "junk");
  EXPECT_EQ(FormatNumber(c.value, c.decimals, buffer.data(), c.capacity), c.ok);
  EXPECT_EQ(buffer.text(), c.expected);
  EXPECT_TRUE(buffer.guardIntact());
}

INSTANTIATE_TEST_SUITE_P(All, FormatNumberCapacityTest, testing::Values(
    CapacityCase{12345, 0, 6, "12345", true},
    CapacityCase{12345, 0, 5, "0", false},
    CapacityCase{-12345, 0, 7, "-12345", true},
    CapacityCase{-12345, 0, 6, "0", false},
    CapacityCase{1, 2, 5, "1.00", true},
    CapacityCase{1, 2, 4, "0", false},
    // The carry of the rounding makes the figure one digit longer.
    CapacityCase{9.99, 1, 5, "10.0", true},
    CapacityCase{9.99, 1, 4, "0", false},
    CapacityCase{1, 0, 2, "1", true},
    CapacityCase{1, 0, 1, "", false},
    CapacityCase{1, 1000000, 64, "0", false},
    CapacityCase{1e300, 0, 64, "0", false},
    CapacityCase{1e300, 0, 302, "1" + std::string(300, '0'), true},
    CapacityCase{kInf, 0, 16, "0", false},
    CapacityCase{-kInf, 2, 16, "0", false},
    CapacityCase{kNaN, 0, 16, "0", false}));

TEST(FormatNumberCapacityTest, ZeroCapacityWritesNothing) {
  GuardedBuffer buffer(0);
  EXPECT_FALSE(FormatNumber(1, 0, buffer.data(), 0));
  EXPECT_TRUE(buffer.guardIntact());
}

TEST(FormatNumberStringTest, NonFiniteGivesZero) {
  EXPECT_EQ(FormatNumber(kInf, 0), "0");
  EXPECT_EQ(FormatNumber(kNaN, 2), "0");
}

struct GroupCase {
  const char* text;
  const char* expected;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.text; }

class GroupDigitsTest : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupDigitsTest, InsertsSeparators) {
  const GroupCase& c = GetParam();
  char buffer[64];
  std::strcpy(buffer, c.text);
  ASSERT_TRUE(GroupDigits(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, c.expected);
  EXPECT_EQ(GroupDigits(std::string(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Integer, GroupDigitsTest, testing::Values(
    GroupCase{"", ""},
    GroupCase{"0", "0"},
    GroupCase{"123", "123"},
    GroupCase{"1234", "1,234"},
    GroupCase{"123456", "123,456"},
    GroupCase{"1200000", "1,200,000"},
    GroupCase{"-", "-"},
    GroupCase{"-123", "-123"},
    GroupCase{"-1234", "-1,234"},
    GroupCase{"-123456", "-123,456"},
    GroupCase{"1234 Bytes", "1,234 Bytes"}));

INSTANTIATE_TEST_SUITE_P(Fraction, GroupDigitsTest, testing::Values(
    GroupCase{"1234.5", "1,234.5"},
    GroupCase{"0.", "0."},
    GroupCase{"0.123", "0.123"},
    GroupCase{"0.1234", "0.123 4"},
    GroupCase{"12.123456", "12.123 456"},
    GroupCase{"-1234567.1234567", "-1,234,567.123 456 7"}));

TEST(GroupDigitsCapacityTest, ExactFitSucceeds) {
  GuardedBuffer buffer(10, "1234567");
  EXPECT_TRUE(GroupDigits(buffer.data(), 10));
  EXPECT_EQ(buffer.text(), "1,234,567");
  EXPECT_TRUE(buffer.guardIntact());
}

TEST(GroupDigitsCapacityTest, TooSmallLeavesTextUnchanged) {
  GuardedBuffer buffer(9, "1234567");
  EXPECT_FALSE(GroupDigits(buffer.data(), 9));
  EXPECT_EQ(buffer.text(), "1234567");
  EXPECT_TRUE(buffer.guardIntact());
}

TEST(GroupDigitsCapacityTest, UnterminatedTextFails) {
  char text[4] = {'1', '2', '3', '4'};
  EXPECT_FALSE(GroupDigits(text, sizeof text));
  EXPECT_EQ(std::string(text, 4), "1234");
  EXPECT_FALSE(GroupDigits(text, 0));
}

TEST(FormatGroupedTest, FormatsThenGroups) {
  EXPECT_EQ(FormatGrouped(1200000, 0), "1,200,000");
  EXPECT_EQ(FormatGrouped(-1234567.891, 2), "-1,234,567.89");
  EXPECT_EQ(FormatGrouped(999999.5, 0), "1,000,000");
  EXPECT_EQ(FormatGrouped(0.1234567, 7), "0.123 456 7");
}

}  // namespace
}  // namespace hw
