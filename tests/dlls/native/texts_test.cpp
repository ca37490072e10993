#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "resources/string_ids.h"
#include "resources/texts.h"

namespace hw {
namespace {

TEST(Texts, IdsAscendUniquelyAndNamesAreUnique) {
  auto all = texts::all();
  ASSERT_FALSE(all.empty());
  std::set<std::string_view> names;
  for (size_t i = 0; i < all.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(all[i - 1].id, all[i].id) << all[i].name;
    }
    EXPECT_TRUE(names.insert(all[i].name).second) << all[i].name;
    EXPECT_FALSE(all[i].text.empty()) << all[i].id << " loads as a missing string";
  }
}

TEST(Texts, LookupFindsEveryEntryAndNothingElse) {
  for (const auto& e : texts::all()) {
    EXPECT_EQ(texts::text(e.id), e.text);
    EXPECT_TRUE(texts::contains(e.id));
  }
  for (int id : {0, 1, 4999, 5547, 5897, 65535}) {
    EXPECT_FALSE(texts::contains(id)) << id;
    EXPECT_EQ(texts::text(id), "") << id;
  }
}

TEST(Texts, NamedConstantsMatchTheirIds) {
  EXPECT_EQ(ids::IDS_NONE, 5643);
  EXPECT_EQ(ids::IDS_PERIOD_DAYS, 5835);
  EXPECT_EQ(ids::IDS_SET_NAME_DATE_FORMAT, 5860);
  for (const auto& e : texts::all()) EXPECT_TRUE(e.name.starts_with("IDS_")) << e.name;
}

// Texts the program compares or stores, so their wording is fixed.
TEST(Texts, FixedTextsHold) {
  EXPECT_EQ(texts::text(5835), "Day(s)");
  EXPECT_EQ(texts::text(5836), "Week(s)");
  EXPECT_EQ(texts::text(5837), "Month(s)");
  EXPECT_EQ(texts::text(5838), "Year(s)");
  EXPECT_EQ(texts::text(5643), "None");
}

std::string formatDate(std::string_view pattern, const std::tm& when) {
  char out[256];
  size_t n = std::strftime(out, sizeof out, std::string(pattern).c_str(), &when);
  return std::string(out, n);
}

// Every "%" starts one of the date directives the report and set naming use.
bool onlyDateDirectives(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    if (i + 1 == pattern.size() || std::string_view("dmyYHMSbBaAj").find(pattern[i + 1]) ==
                                       std::string_view::npos)
      return false;
    ++i;
  }
  return true;
}

TEST(Texts, DateAndTimePatterns) {
  std::tm when{};
  when.tm_year = 97;  // 21 August 1997, 23:04:54
  when.tm_mon = 7;
  when.tm_mday = 21;
  when.tm_hour = 23;
  when.tm_min = 4;
  when.tm_sec = 54;
  for (int id : {5670, 5671, 5860}) {
    auto pattern = texts::text(id);
    EXPECT_NE(pattern.find('%'), std::string_view::npos) << id;
    EXPECT_TRUE(onlyDateDirectives(pattern)) << id << ": " << pattern;
  }
  // The set name is "L" + six characters + "A"; the six characters must be
  // six for every date, not just this one.
  EXPECT_EQ(formatDate(texts::text(5860), when).size(), 6u);
  when.tm_year = 100;
  when.tm_mon = 0;
  when.tm_mday = 1;
  EXPECT_EQ(formatDate(texts::text(5860), when).size(), 6u);
  std::string set = formatDate(texts::text(5860), when);
  EXPECT_TRUE(std::all_of(set.begin(), set.end(),
                          [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }))
      << "the set name is also a folder name: " << set;
}

TEST(Texts, ReportLineEndingsEndWithLineFeed) {
  for (int id : {5669, 5675, 5676, 5695, 5653, 5700, 5655, 5661, 5662, 5663, 5664, 5699, 5654,
                 5702, 5919, 5703, 5704, 5705, 5706}) {
    auto t = texts::text(id);
    ASSERT_FALSE(t.empty()) << id;
    EXPECT_EQ(t.back(), '\n') << id;
  }
  // Suffixes and labels inside a line must not break it.
  for (int id : {5656, 5657, 5658, 5659, 5660, 5701, 5672, 5673, 5674, 5677, 5693, 5694, 5696,
                 5697, 5698, 5652, 5681}) {
    EXPECT_EQ(texts::text(id).find('\n'), std::string_view::npos) << id;
  }
}

// The directives of a format text, in order ("%s", "%c", "%d", "%lu").
std::vector<std::string> directives(std::string_view format) {
  std::vector<std::string> found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    size_t j = i + 1;
    while (j < format.size() && format[j] == 'l') ++j;
    if (j < format.size()) found.emplace_back(format.substr(i, j - i + 1));
    i = j;
  }
  return found;
}

TEST(Texts, FormatTextsTakeTheirArguments) {
  using V = std::vector<std::string>;
  struct Case {
    int id;
    V expected;
  } cases[] = {
      {5669, V{"%s", "%s"}}, {5673, V{"%c"}}, {5674, V{"%c"}},        {5675, V{"%c"}},
      {5676, V{"%s"}},       {5703, V{"%d"}}, {5706, V{"%d"}},        {5892, V{"%s"}},
      {5644, V{"%s"}},       {5645, V{"%s"}}, {5868, V{"%lu", "%s"}},
  };
  for (const auto& c : cases) EXPECT_EQ(directives(texts::text(c.id)), c.expected) << c.id;
}

// Message boxes and unit words are built from several texts; a text that is
// shown on its own or appended must not carry a stray format directive.
TEST(Texts, PlainTextsHaveNoDirectives) {
  std::set<int> formats = {5669, 5673, 5674, 5675, 5676, 5703, 5706, 5892,
                           5644, 5645, 5868, 5670, 5671, 5860};
  for (const auto& e : texts::all()) {
    if (formats.count(e.id)) continue;
    EXPECT_EQ(e.text.find('%'), std::string_view::npos) << e.id;
  }
}

// Every id a window, message or the report names has a text.
TEST(Texts, EveryNamedIdExists) {
  std::vector<std::pair<int, int>> ranges = {
      {5100, 5171}, {5200, 5289}, {5300, 5326}, {5400, 5426}, {5429, 5429}, {5433, 5514},
      {5530, 5546}, {5548, 5557}, {5559, 5568}, {5570, 5570}, {5572, 5617}, {5634, 5635},
      {5639, 5664}, {5669, 5706}, {5718, 5719}, {5832, 5856}, {5860, 5860}, {5862, 5865},
      {5867, 5896}, {5898, 5920}, {5922, 5930}, {5932, 5940}};
  for (auto [first, last] : ranges)
    for (int id = first; id <= last; ++id) EXPECT_TRUE(texts::contains(id)) << id;
}

TEST(Texts, KindNamesAndUnitsAreDistinct) {
  std::set<std::string_view> kinds;
  for (int id : {5678, 5679, 5680, 5682, 5683}) kinds.insert(texts::text(id));
  EXPECT_EQ(kinds.size(), 5u);
  EXPECT_NE(texts::text(5684), texts::text(5685));
  EXPECT_NE(texts::text(5687), texts::text(5688));
  EXPECT_NE(texts::text(5690), texts::text(5691));
  EXPECT_NE(texts::text(5935), texts::text(5648));
  EXPECT_NE(texts::text(5936), texts::text(5649));
}

}  // namespace
}  // namespace hw
