// The parsers of configuration files and of the extension list file, on
// their own.
#include <gtest/gtest.h>

#include "rules/text_scan.h"

namespace hw {
namespace {

using Strings = std::vector<std::string>;

Strings linesOf(std::string_view text) {
  Strings out;
  for (std::string_view line : SplitTextLines(text)) out.emplace_back(line);
  return out;
}

TEST(TextLinesTest, SplitsAtEitherLineEndAndStopsAtNul) {
  EXPECT_EQ(linesOf("A\r\nB\nC\rD"), (Strings{"A", "B", "C", "D"}));
  EXPECT_EQ(linesOf("\r\n\r\n  \n\nX"), (Strings{"  ", "X"}));
  EXPECT_EQ(linesOf(std::string_view("ONE\nTW\0O\nTHREE", 15)), (Strings{"ONE", "TW"}));
  EXPECT_EQ(linesOf("no line end"), (Strings{"no line end"}));
  EXPECT_TRUE(linesOf("").empty());
}

struct ReferenceCase {
  const char* line;
  CommentRule rule;
  Strings references;
};

class FindReferencesTest : public testing::TestWithParam<ReferenceCase> {};

TEST_P(FindReferencesTest, GivesTheReferencesOfALine) {
  EXPECT_EQ(FindReferences(GetParam().line, GetParam().rule), GetParam().references);
}

constexpr CommentRule kRem = CommentRule::remark;
constexpr CommentRule kIni = CommentRule::semicolon;

INSTANTIATE_TEST_SUITE_P(
    Lines, FindReferencesTest,
    testing::Values(
        ReferenceCase{"DEVICE=C:\\DOS\\HIMEM.SYS /TESTMEM:OFF", kRem,
                      {"C:\\DOS\\HIMEM.SYS", "M:OFF"}},
        ReferenceCase{"REM DEVICE=C:\\DOS\\X.SYS", kRem, {}},
        ReferenceCase{"rem device=c:\\dos\\x.sys", kRem, {}},
        ReferenceCase{"  REM C:\\X.SYS", kRem, {}},
        // REM inside a word, or without a blank after it, is no remark.
        ReferenceCase{"LOREM C:\\A.SYS", kRem, {"C:\\A.SYS"}},
        ReferenceCase{"C:\\REM\\A.SYS", kRem, {"C:\\REM\\A.SYS"}},
        ReferenceCase{"X=C:\\A.SYS REM C:\\B.SYS", kRem, {"C:\\A.SYS"}},
        ReferenceCase{"run=c:\\tools\\a.exe;comment", kIni, {"C:\\TOOLS\\A.EXE"}},
        ReferenceCase{"; load=C:\\A.EXE", kIni, {}},
        ReferenceCase{"shell=Explorer.exe", kIni, {}},
        ReferenceCase{"LOAD=C:\\A.EXE,D:\\B.EXE", kIni, {"C:\\A.EXE", "D:\\B.EXE"}},
        // In batch files ";" still ends a reference (PATH lists).
        ReferenceCase{"PATH C:\\WINDOWS;C:\\DOS", kRem, {"C:\\WINDOWS", "C:\\DOS"}},
        ReferenceCase{"X=C:\\A\tC:\\B", kRem, {"C:\\A", "C:\\B"}},
        // A colon needs a character before it in what is left of the line.
        ReferenceCase{":C:\\A.SYS", kRem, {"C:\\A.SYS"}},
        ReferenceCase{":", kRem, {}},
        ReferenceCase{"X=C:\\A.SYS,:B", kRem, {"C:\\A.SYS"}},
        ReferenceCase{"C:", kRem, {"C:"}},
        ReferenceCase{"\xE9:\\\xC9T\xC9.SYS", kRem, {"\xE9:\\\xC9T\xC9.SYS"}}));

struct NormalizeCase {
  const char* reference;
  const char* path;  // null: not a file path
};

class NormalizeReferenceTest : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeReferenceTest, KeepsOnlyFullPathsInsideTheirDrive) {
  std::string path;
  const bool ok = NormalizeReference(GetParam().reference, path);
  if (GetParam().path) {
    EXPECT_TRUE(ok);
    EXPECT_EQ(path, GetParam().path);
  } else {
    EXPECT_FALSE(ok) << path;
    EXPECT_TRUE(path.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    References, NormalizeReferenceTest,
    testing::Values(NormalizeCase{"C:\\DOS\\HIMEM.SYS", "C:\\DOS\\HIMEM.SYS"},
                    NormalizeCase{"C:\\DOS\\..\\DOS\\.\\ANSI.SYS", "C:\\DOS\\ANSI.SYS"},
                    NormalizeCase{"C:\\\\DOS\\\\X.SYS", "C:\\DOS\\X.SYS"},
                    NormalizeCase{"C:\\DOS\\X.SYS\\", "C:\\DOS\\X.SYS"},
                    NormalizeCase{"C:\\..\\X.SYS", nullptr},
                    NormalizeCase{"C:\\A\\..\\..\\X.SYS", nullptr},
                    NormalizeCase{"C:\\...\\X.SYS", nullptr},
                    NormalizeCase{"C:\\X.SYS.", nullptr},
                    NormalizeCase{"C:\\", nullptr},
                    NormalizeCase{"C:\\.", nullptr},
                    NormalizeCase{"C:", nullptr},
                    NormalizeCase{"C:SETUP.BAT", nullptr},
                    NormalizeCase{"M:OFF", nullptr},
                    NormalizeCase{"1:\\X", nullptr},
                    NormalizeCase{"::\\X", nullptr},
                    NormalizeCase{"C:\\DOS\\*.SYS", nullptr},
                    NormalizeCase{"C:\\DOS\\X?.SYS", nullptr},
                    NormalizeCase{"C:\\A\"B", nullptr},
                    NormalizeCase{"C:\\A/B", nullptr},
                    NormalizeCase{"C:\\A:B", nullptr},
                    NormalizeCase{"C:\\A\x01" "B", nullptr},
                    NormalizeCase{"C:\\\xC9T\xC9", "C:\\\xC9T\xC9"}));

TEST(NormalizeReferenceTest, PathsLongerThanAWindowsPathAreNoFiles) {
  std::string path;
  const std::string fits = "C:\\" + std::string(256, 'A');  // 259 characters
  EXPECT_TRUE(NormalizeReference(fits, path));
  EXPECT_FALSE(NormalizeReference(fits + "A", path));
  // What ".." takes away does not count.
  EXPECT_TRUE(NormalizeReference("C:\\" + std::string(300, 'B') + "\\..\\X", path));
  EXPECT_EQ(path, "C:\\X");
}

TEST(ExtensionListTest, ReadsTheValuesOfItsSectionOnly) {
  const std::string text =
      "[Other]\r\nExt000=NOPE\r\n"
      "[UserDataExts]\r\n"
      "Ext000=ASC      ; ASCII file\r\n"
      "Ext005=bmp     ; the value is upper-cased, trailing blanks go\r\n"
      "Ext006=\r\n"
      "Ext007=  TXT\r\n"
      "Name=DOC\r\n"
      "; Ext008=COMMENTED\r\n"
      "MyExtra=A=B\r\n"
      "noequals EXT\r\n"
      "[APPLICATIONEXTS]\r\n"
      "Ext000=LATER\r\n";
  EXPECT_EQ(ParseExtensionList(text, "UserDataExts"),
            (Strings{"ASC", "BMP", "", "  TXT", "A=B"}));
  EXPECT_EQ(ParseExtensionList(text, "ApplicationExts"), (Strings{"LATER"}));
}

TEST(ExtensionListTest, SectionsStartAnywhereInALineAndEndAtAHeader) {
  // The section text found inside a line starts the section; a header needs
  // its "[" at the start or after a blank and its "]" at the end or before
  // a blank.
  EXPECT_EQ(ParseExtensionList("junk [userdataexts] junk\nEXT=A\nEXT=B[C]\nEXT=D\n", "UserDataExts"),
            (Strings{"A", "B[C]", "D"}));
  EXPECT_EQ(ParseExtensionList("[UserDataExts]\nEXT=A\n [X] ; header after a blank\nEXT=B\n",
                               "UserDataExts"),
            (Strings{"A"}));
  EXPECT_TRUE(ParseExtensionList("[Other]\nEXT=A\n", "UserDataExts").empty());
  EXPECT_TRUE(ParseExtensionList("", "UserDataExts").empty());
  EXPECT_EQ(ParseExtensionList(std::string_view("[UserDataExts]\nEXT=A\0\nEXT=B\n", 27),
                               "UserDataExts"),
            (Strings{"A"}));
}

}  // namespace
}  // namespace hw
