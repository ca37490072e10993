// The rules one behaviour at a time, on small trees: root exclusions and
// totals, the extension lists and the list file, application folders, and
// the destination paths.
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/rules/rules_bed.h"

namespace hw::test {
namespace {

class RulesTest : public testing::Test {
 protected:
  RulesBed bed;
  SelectionRules& rules() { return bed.engine->rules(); }
};

TEST_F(RulesTest, NoSourceDriveNoSelection) {
  bed.run.sourceDrives.clear();
  EXPECT_FALSE(rules().ApplyRules());
  EXPECT_EQ(rules().selectedFiles(), 0);
}

TEST_F(RulesTest, RootExclusionsLeaveSwapFilesAndCompressedVolumesOfTheRootOnly) {
  bed.write({
      {"C:\\WIN386.SWP", "1234567890", kAttrHidden},
      {"C:\\386SPART.PAR", "12345", kAttrHidden | kAttrSystem},
      {"C:\\DBLSPACE.000", "1", kAttrHidden | kAttrSystem},
      {"C:\\DRVSPACE.001", "1", kAttrSystem},
      {"C:\\STACVOL.DSK", "1", kAttrSystem},
      {"C:\\STACVOL", "1", kAttrSystem},
      // Without the system attribute a compressed volume's name is a name.
      {"C:\\DBLSPACE.INI", "12345", kAttrArchive},
      {"C:\\dblspace.000", "1", kAttrSystem},
      {"C:\\KEEP.TXT", "123", kAttrArchive},
      {"C:\\WINDOWS\\WIN386.SWP", "swap", kAttrHidden},
      {"C:\\WINDOWS\\DBLSPACE.000", "1", kAttrSystem},
  });
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_ALL | MODE_DATA));
  EXPECT_EQ(bed.selectedFiles(),
            (PathSet{"C:\\DBLSPACE.INI", "C:\\dblspace.000", "C:\\KEEP.TXT",
                     "C:\\WINDOWS\\WIN386.SWP", "C:\\WINDOWS\\DBLSPACE.000"}));
  // Every file counts at least one cluster of the destination, and an
  // excluded file is taken out as it was counted.
  const double cluster = bed.run.clusterSize;
  ASSERT_GT(cluster, 10);
  EXPECT_EQ(rules().selectedFiles(), 5);
  EXPECT_EQ(rules().selectedBytes(), 5 * cluster);
  EXPECT_EQ(bed.run.sourceDrives[0]->selectedBytes, 5 * cluster);
}

TEST_F(RulesTest, TotalsAddEveryDriveAndTheExtraFiles) {
  bed.write("C:\\A.TXT", std::string(2000, 'a'));
  bed.write("D:\\B.TXT", "b");
  bed.write("C:\\CONFIG.SYS", "DEVICE=E:\\X.SYS\r\n");
  bed.addFixed('E');
  bed.write("E:\\X.SYS", std::string(7, 'x'));
  ASSERT_TRUE(bed.select({'C', 'D'}, 'A', MODE_ALL | MODE_BOOT));
  const double cluster = bed.run.clusterSize;
  // The trees count clusters; an extra file counts its size.
  const double configSize = 17;
  EXPECT_EQ(rules().selectedBytes(), 2000 + cluster + cluster + configSize + 7);
  EXPECT_EQ(rules().selectedFiles(), 5);
  EXPECT_EQ(bed.run.sourceDrives[1]->selectedFiles, 1);
}

struct DataCase {
  int useListFile;           // UseINIDataExts
  const char* listFile;      // HOARDWL.INI in C:\WINDOWS; null: none
  PathSet data;
  std::size_t messages;
};
// Test names and failures show the case, not its bytes.
void PrintTo(const DataCase& c, std::ostream* os) {
  *os << "UseINIDataExts " << c.useListFile << (c.listFile ? " with" : " without") << " a list";
}

class DataListTest : public testing::TestWithParam<DataCase> {};

TEST_P(DataListTest, DataFilesFollowTheListInForce) {
  RulesBed bed;
  const DataCase& c = GetParam();
  bed.write({{"C:\\DOCS\\REPORT.DOC", "r"},
             {"C:\\DOCS\\report.doc", "r"},
             {"C:\\DOCS\\LETTER.TXT", "l"},
             {"C:\\DOCS\\DATA.XYZ", "d"},
             {"C:\\DOCS\\README", "n"},
             {"C:\\DOCS\\PROG.EXE", "p"},
             {"C:\\WINDOWS\\WIN.INI", "w"}});
  if (c.listFile) bed.write("C:\\WINDOWS\\HOARDWL.INI", c.listFile);
  bed.settings.SetUseINIDataExts(c.useListFile);
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_DATA));
  EXPECT_EQ(bed.selectedFiles(), c.data);
  ASSERT_EQ(bed.host.messages.size(), c.messages);
  if (c.messages) {
    EXPECT_EQ(bed.host.messages[0],
              bed.texts.get(ids::IDS_EXT_DATA_CAPTION) + ": " +
                  bed.texts.get(ids::IDS_EXT_FILE_UNREADABLE));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DataListTest,
    testing::Values(
        // The built-in list of what is not data; lower-case extensions are
        // not on it, nor is a name without extension.
        DataCase{0, nullptr,
                 {"C:\\DOCS\\REPORT.DOC", "C:\\DOCS\\report.doc", "C:\\DOCS\\LETTER.TXT",
                  "C:\\DOCS\\DATA.XYZ", "C:\\DOCS\\README"},
                 0},
        // The list file names what is data; "doc" is not "DOC".
        DataCase{1, "[UserDataExts]\r\nExt000=DOC ; Word\r\nExt001=XYZ\r\n",
                 {"C:\\DOCS\\REPORT.DOC", "C:\\DOCS\\DATA.XYZ"}, 0},
        // An empty value is the extension of names without one.
        DataCase{1, "[UserDataExts]\r\nExt000=\r\n", {"C:\\DOCS\\README"}, 0},
        // A file without the section: nothing is data, and no message.
        DataCase{1, "[ApplicationExts]\r\nExt000=DOC\r\n", {}, 0},
        // No file: one message, then the built-in data list (TXT and DOC are
        // on it, XYZ is not).
        DataCase{1, nullptr, {"C:\\DOCS\\REPORT.DOC", "C:\\DOCS\\LETTER.TXT"}, 1}));

TEST_F(RulesTest, ApplicationExclusionsFromTheListFileOrBuiltIn) {
  bed.write({{"C:\\EDIT\\EDIT.EXE", "e"},
             {"C:\\EDIT\\NOTES.TXT", "n"},
             {"C:\\EDIT\\MANUAL.DOC", "m"},
             {"C:\\EDIT\\EDIT.HLP", "h"}});
  // Not asked for: no exclusions.
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  EXPECT_EQ(bed.selectedFiles().size(), 4u);
  EXPECT_EQ(rules().appExclusionsActive(), 0);

  bed.settings.SetUseINIApplExts(1);
  bed.write("C:\\WINDOWS\\HOARDWL.INI",
            "[UserDataExts]\r\nExt000=HLP\r\n[ApplicationExts]\r\nExt000=TXT\r\n");
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  EXPECT_EQ(bed.selectedFiles(),
            (PathSet{"C:\\EDIT\\EDIT.EXE", "C:\\EDIT\\MANUAL.DOC", "C:\\EDIT\\EDIT.HLP"}));
  EXPECT_TRUE(bed.host.messages.empty());

  // The file is gone: one message, and the built-in exclusions, which keep
  // text files but not documents.
  ASSERT_EQ(bed.platform.files().deleteFile("C:\\WINDOWS\\HOARDWL.INI"), Status::ok);
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  EXPECT_EQ(bed.selectedFiles(),
            (PathSet{"C:\\EDIT\\EDIT.EXE", "C:\\EDIT\\NOTES.TXT", "C:\\EDIT\\EDIT.HLP"}));
  ASSERT_EQ(bed.host.messages.size(), 1u);
  EXPECT_TRUE(bed.host.messages[0].starts_with(bed.texts.get(ids::IDS_EXT_APPS_CAPTION)));
  EXPECT_EQ(rules().appExtensions().size(), 48u);
}

TEST_F(RulesTest, DataOfAnApplicationFolderStaysWhenDataIsAskedForToo) {
  bed.settings.SetUseINIApplExts(1);
  bed.write({{"C:\\EDIT\\EDIT.EXE", "e"}, {"C:\\EDIT\\MANUAL.DOC", "m"}});
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS | MODE_DATA));
  EXPECT_EQ(bed.selectedFiles(), (PathSet{"C:\\EDIT\\EDIT.EXE", "C:\\EDIT\\MANUAL.DOC"}));
}

TEST_F(RulesTest, AFolderOfProgramsOnlyStaysUnclassified) {
  bed.write({{"C:\\GAMES\\LIST.TXT", "l"},
             {"C:\\GAMES\\CHESS\\CHESS.EXE", "c"},
             {"C:\\GAMES\\GO\\GO.COM", "g"},
             // Short names and lower case do not count as programs, nor
             // stop the search.
             {"C:\\TOOLS\\A1", "a"},
             {"C:\\TOOLS\\B.EXE", "b"},
             {"C:\\LOWER\\prog.exe", "p"},
             {"C:\\LOWER\\EX", "x"}});
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  EXPECT_EQ(bed.selectedFiles(), (PathSet{"C:\\GAMES\\CHESS\\CHESS.EXE", "C:\\GAMES\\GO\\GO.COM",
                                          "C:\\TOOLS\\A1", "C:\\TOOLS\\B.EXE"}));
}

TEST_F(RulesTest, ApplicationRuleSpreadsDownAndNotIntoTheSystemFolders) {
  bed.write({{"C:\\COMMAND.COM", "c"},
             {"C:\\SETUP.EXE", "s"},
             {"C:\\WINDOWS\\WIN.COM", "w"},
             {"C:\\WINDOWS\\APP\\APP.EXE", "a"},
             {"C:\\A\\B\\C\\D\\X.EXE", "x"},
             {"C:\\A\\B\\C\\D\\E\\F\\DATA.BIN", "d"},
             {"C:\\A\\B\\NOTE.TXT", "n"}});
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  // C:\A\B\C holds D only, so nothing above D is taken.
  EXPECT_EQ(bed.selectedFiles(),
            (PathSet{"C:\\A\\B\\C\\D\\X.EXE", "C:\\A\\B\\C\\D\\E\\F\\DATA.BIN"}));
}

TEST_F(RulesTest, AKeptTreeGivesTheSameAnswerAgain) {
  bed.write({{"C:\\GAMES\\SCORES.TXT", "s"},
             {"C:\\GAMES\\CHESS\\CHESS.EXE", "c"},
             {"C:\\GAMES\\SAVES\\GAME1.SAV", "g"}});
  ASSERT_TRUE(bed.select({'C'}, 'A', MODE_APPS));
  const PathSet first = bed.selectedFiles();
  EXPECT_EQ(first.size(), 3u);
  // The run after keeps the tree and its classes; the rules start afresh.
  ASSERT_TRUE(rules().ApplyRules());
  EXPECT_EQ(bed.selectedFiles(), first);
  bed.run.mode = MODE_DATA;
  ASSERT_TRUE(rules().ApplyRules());
  bed.run.mode = MODE_APPS;
  ASSERT_TRUE(rules().ApplyRules());
  EXPECT_EQ(bed.selectedFiles(), first);
}

struct PathCase {
  const char* parentPath;
  const char* name;
  bool ok;
  const char* source;
  const char* dest;
};

TEST_F(RulesTest, CopyPathsPutEveryDriveInTheSetFolder) {
  bed.run.destLetter = 'A';
  bed.run.setName = "S";
  const PathCase cases[] = {
      {"C:\\WINDOWS", "SYSTEM", true, "C:\\WINDOWS\\SYSTEM", "A:\\S\\C\\WINDOWS\\SYSTEM"},
      {"C:", "WINDOWS", true, "C:\\WINDOWS", "A:\\S\\C\\WINDOWS"},
      {"", "C:", true, "C:", "A:\\S\\C"},
      {"C:\\DOS", "", true, "C:\\DOS", "A:\\S\\C\\DOS"},
      {"", "", false, "", ""},
  };
  for (const PathCase& c : cases) {
    std::string source = "old", dest = "old";
    EXPECT_EQ(rules().BuildCopyPaths(&source, &dest, c.parentPath, c.name), c.ok) << c.name;
    if (!c.ok) continue;
    EXPECT_EQ(source, c.source);
    EXPECT_EQ(dest, c.dest);
  }
  std::string dest;
  EXPECT_TRUE(rules().BuildCopyPaths(nullptr, &dest, "C:", "X"));
  EXPECT_FALSE(rules().BuildCopyPaths(nullptr, nullptr, "C:", "X"));
  EXPECT_EQ(rules().BuildCopyPath("C:\\CONFIG.SYS"), "A:\\S\\C\\CONFIG.SYS");
  EXPECT_EQ(rules().BuildCopyPath("D:\\NET\\NETSTART.EXE"), "A:\\S\\D\\NET\\NETSTART.EXE");
  EXPECT_EQ(rules().BuildCopyPath("NOPATH"), "");
  // No set yet, no destination.
  bed.run.setName.clear();
  EXPECT_FALSE(rules().BuildCopyPaths(nullptr, &dest, "C:", "X"));
  EXPECT_EQ(rules().BuildCopyPath("C:\\CONFIG.SYS"), "");
}

TEST(ExtensionOfTest, TakesTheTextAfterTheLastDot) {
  EXPECT_EQ(SelectionRules::ExtensionOf("REPORT.DOC"), "DOC");
  EXPECT_EQ(SelectionRules::ExtensionOf("A.TAR.GZ"), "GZ");
  EXPECT_EQ(SelectionRules::ExtensionOf(".profile"), "profile");
  EXPECT_EQ(SelectionRules::ExtensionOf("TRAIL."), "");
  EXPECT_EQ(SelectionRules::ExtensionOf("README"), "");
}

}  // namespace
}  // namespace hw::test
