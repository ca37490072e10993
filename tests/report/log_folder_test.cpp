// Where the working folder and the log folder are, how unset or stale
// settings are repaired, and the set's name, unique on the destination and
// in the log folder.
#include <gtest/gtest.h>

#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

class LogFolder : public ::testing::Test {
 protected:
  void firstRun() {
    bed.setSetting("Main", "AppDir", "None");
    bed.setSetting("Preferences", "SaveLogDir", "None");
  }
  std::string appDir() { return bed.setting("Main", "AppDir"); }
  std::string saveLogDir() { return bed.setting("Preferences", "SaveLogDir"); }
  bool folder(const std::string& path) {
    std::uint32_t attributes = 0;
    return bed.files().getAttributes(path, attributes) == Status::ok &&
           (attributes & kAttrDirectory);
  }
  // The program's own folder cannot be entered.
  void programFolderUnreachable() {
    bed.platform().faults().add({FaultOp::setCurrentDirectory, "HOARDWELL", 0, 0,
                                 FaultAction::fail, Status::accessDenied, 0});
  }
  void sources(std::initializer_list<std::pair<char, std::uint32_t>> drives) {
    for (auto [letter, kind] : drives) {
      DriveListItem item;
      item.letter = letter;
      item.kind = kind;
      bed.run.sourceList.push_back(item);
    }
  }

  ReportBed bed;
};

TEST_F(LogFolder, FirstRunMakesTheLogFolderInTheProgramFolder) {
  firstRun();
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 0);
  EXPECT_EQ(appDir(), "C:\\HOARDWELL");
  EXPECT_EQ(saveLogDir(), "C:\\HOARDWELL\\LOGFILES");
  EXPECT_EQ(bed.run.logFileBase, "C:\\HOARDWELL\\LOGFILES");
  EXPECT_TRUE(folder("C:\\HOARDWELL\\LOGFILES"));
}

TEST_F(LogFolder, MissingKeysReadAsUnset) {
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 0);
  EXPECT_EQ(appDir(), "C:\\HOARDWELL");
  EXPECT_EQ(saveLogDir(), "C:\\HOARDWELL\\LOGFILES");
}

TEST_F(LogFolder, ExistingUserFolderIsKeptAndNothingRewritten) {
  bed.makeDir("D:\\REPORTS");
  bed.setSetting("Main", "AppDir", "C:\\HOARDWELL");
  bed.setSetting("Preferences", "SaveLogDir", "D:\\REPORTS");
  const std::string before = bed.read(ReportBed::kIni);
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 1);
  EXPECT_EQ(bed.run.logFileBase, "D:\\REPORTS");
  EXPECT_EQ(bed.read(ReportBed::kIni), before);
  EXPECT_FALSE(folder("C:\\HOARDWELL\\LOGFILES"));
}

TEST_F(LogFolder, StaleFoldersAreReplaced) {
  bed.setSetting("Main", "AppDir", "Q:\\GONE");
  bed.setSetting("Preferences", "SaveLogDir", "D:\\GONE");
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 0);
  EXPECT_EQ(appDir(), "C:\\HOARDWELL");
  EXPECT_EQ(saveLogDir(), "C:\\HOARDWELL\\LOGFILES");
  EXPECT_TRUE(folder("C:\\HOARDWELL\\LOGFILES"));
}

TEST_F(LogFolder, WorkingFolderOnAFixedSourceWithItsLogFolder) {
  firstRun();
  programFolderUnreachable();
  bed.makeDir("E:\\HOARDWL95");
  bed.makeDir("E:\\HOARDWL95\\LOGFILES");
  bed.makeDir("D:\\HOARDWL95");
  // The floppy is passed by; E comes before D in the list.
  sources({{'A', kKindFloppy}, {'E', DK_FIXED}, {'D', DK_FIXED}});
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 1);
  EXPECT_EQ(appDir(), "E:\\HOARDWL95");
  EXPECT_EQ(saveLogDir(), "E:\\HOARDWL95\\LOGFILES");
  EXPECT_EQ(bed.run.logFileBase, "E:\\HOARDWL95\\LOGFILES");
}

TEST_F(LogFolder, WorkingFolderOnAFixedSourceGetsALogFolder) {
  programFolderUnreachable();
  bed.makeDir("D:\\HOARDWL95");
  sources({{'E', DK_FIXED}, {'D', DK_FIXED}});
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 0);
  EXPECT_EQ(appDir(), "D:\\HOARDWL95");
  EXPECT_EQ(saveLogDir(), "D:\\HOARDWL95\\LOGFILES");
  EXPECT_TRUE(folder("D:\\HOARDWL95\\LOGFILES"));
}

TEST_F(LogFolder, NoWorkingFolderAnywhereFallsBackToDriveC) {
  programFolderUnreachable();
  sources({{'D', DK_FIXED}});
  EXPECT_EQ(bed.naming.SetUpLogFolder(), 0);
  EXPECT_EQ(appDir(), "C:\\HOARDWL95");
  EXPECT_EQ(saveLogDir(), "C:\\HOARDWL95\\LOGFILES");
  EXPECT_EQ(bed.run.logFileBase, "C:\\HOARDWL95\\LOGFILES");
  EXPECT_TRUE(folder("C:\\HOARDWL95\\LOGFILES"));
}

TEST_F(LogFolder, NameBackupSetGivesNameAndFolders) {
  bed.run.destLetter = 'F';
  EXPECT_EQ(bed.naming.NameBackupSet(), 1);
  EXPECT_EQ(bed.run.setName, "L240315A");
  EXPECT_EQ(bed.run.setFolder, "F:\\L240315A");
  EXPECT_EQ(bed.run.logFileBase, "C:\\HOARDWELL\\LOGFILES\\L240315A");
  // A named set keeps its name.
  EXPECT_EQ(bed.naming.NameBackupSet(), 0);
  EXPECT_EQ(bed.run.setFolder, "F:\\L240315A");
}

TEST_F(LogFolder, NameAvoidsFoldersOnTheDestinationAndReportsInTheLogFolder) {
  bed.makeDir("F:\\L240315A");
  bed.makeDir("F:\\l240315b");  // names are compared exactly
  bed.makeDir("C:\\HOARDWELL\\LOGFILES");
  bed.write("C:\\HOARDWELL\\LOGFILES\\L240315B.KVX", "x");
  bed.write("F:\\L240315C.KVX", "x");
  bed.run.destLetter = 'F';
  EXPECT_EQ(bed.naming.NameBackupSet(), 1);
  EXPECT_EQ(bed.run.setName, "L240315D");
}

}  // namespace
}  // namespace hw::test
