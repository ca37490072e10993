// A report that cannot be written whole is said to be missing and leaves no
// cut-off file behind: a full destination, a medium taken out, a missing log
// folder, a file that cannot be created or closed.
#include <gtest/gtest.h>

#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

constexpr const char* kPrimary = "F:\\L240315A\\L240315A.KVX";
constexpr const char* kCopy = "C:\\HOARDWELL\\LOGFILES\\L240315A.KVX";

class ReportFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    TreeBuilder tree(bed.run);
    SourceDrive& c = tree.drive('C', true);
    DirEntry& root = tree.root(c);
    // About 170,000 bytes of lines: three pieces.
    for (int d = 0; d < 20; ++d) {
      DirEntry& dir = tree.dir(c, root, "FOLDER" + std::to_string(d));
      for (int f = 0; f < 300; ++f) {
        tree.file(dir, "FILE" + std::to_string(f) + ".TXT", 1, true, kOutcomeCopied);
      }
    }
    bed.nameSet("L240315A");
    bed.run.active = 1;
    bed.run.mode = MODE_ALL;
  }

  ReportBed bed;
};

TEST_F(ReportFaults, FailuresOfEitherFile) {
  struct Case {
    const char* name;
    FaultRule rule;
    int result;
    bool primaryKept, copyKept;
  } cases[] = {
      {"destination full after the first piece",
       {FaultOp::write, "", 'F', 1, FaultAction::diskFullAtByte, Status::diskFull, 70000},
       kReportOnlyLogCopy, false, true},
      {"destination full at once",
       {FaultOp::write, "", 'F', 1, FaultAction::diskFullAtByte, Status::diskFull, 10},
       kReportOnlyLogCopy, false, true},
      {"destination write fault on the last piece",
       {FaultOp::write, ".KVX", 'F', 3, FaultAction::fail, Status::writeFault, 0},
       kReportOnlyLogCopy, false, true},
      {"destination close fails",
       {FaultOp::close, ".KVX", 'F', 1, FaultAction::fail, Status::writeFault, 0},
       kReportOnlyLogCopy, false, true},
      {"destination not creatable: not even the copy",
       {FaultOp::create, ".KVX", 'F', 1, FaultAction::fail, Status::accessDenied, 0},
       kReportNotWritten, false, false},
      {"log folder full",
       {FaultOp::write, "", 'C', 1, FaultAction::diskFullAtByte, Status::diskFull, 70000},
       kReportNoLogCopy, true, false},
      {"log copy not creatable",
       {FaultOp::create, "LOGFILES", 'C', 1, FaultAction::fail, Status::accessDenied, 0},
       kReportNoLogCopy, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bed.files().deleteFile(kPrimary);
    bed.files().deleteFile(kCopy);
    bed.platform().faults().clear();
    bed.platform().faults().add(c.rule);
    EXPECT_EQ(bed.writer.WriteReport(), c.result);
    bed.platform().faults().clear();
    EXPECT_EQ(bed.exists(kPrimary), c.primaryKept);
    EXPECT_EQ(bed.exists(kCopy), c.copyKept);
    if (c.primaryKept && c.copyKept) {
      EXPECT_EQ(bed.read(kPrimary), bed.read(kCopy));
    }
    // What is kept is whole.
    const std::string kept = bed.read(c.primaryKept ? kPrimary : kCopy);
    if (c.primaryKept || c.copyKept) {
      EXPECT_TRUE(kept.ends_with("\\FOLDER19\\FILE299.TXT \n"));
    }
    EXPECT_TRUE(bed.run.incompleteCopies.empty());
  }
}

TEST_F(ReportFaults, MissingLogFolder) {
  ASSERT_EQ(bed.files().removeDirectory("C:\\HOARDWELL\\LOGFILES"), Status::ok);
  EXPECT_EQ(bed.writer.WriteReport(), kReportNoLogCopy);
  EXPECT_NE(bed.writer.copyError(), Status::ok);
  EXPECT_EQ(bed.writer.primaryError(), Status::ok);
  EXPECT_TRUE(bed.exists(kPrimary));
}

TEST_F(ReportFaults, NoLogCopyWantedAndDestinationFull) {
  bed.settings.SetSaveLog(0);
  bed.platform().faults().add(
      {FaultOp::write, "", 'F', 1, FaultAction::diskFullAtByte, Status::diskFull, 70000});
  EXPECT_EQ(bed.writer.WriteReport(), kReportNotWritten);
  EXPECT_EQ(bed.writer.primaryError(), Status::diskFull);
  EXPECT_FALSE(bed.exists(kPrimary));
}

// The floppy leaves the drive while its report is written: the cut-off file
// cannot be removed, so it is recorded for the engine, which removes such
// files should that disk come back.
TEST_F(ReportFaults, MediumTakenOut) {
  bed.t.floppy('A');
  bed.nameSet("L240315A", 'A');
  bed.run.destFlags = kKindFloppy;
  bed.run.diskIndex = 1;
  VolumeInfo volume;
  ASSERT_EQ(bed.platform().volumes().volumeInformation("A:\\", volume), Status::ok);
  bed.platform().faults().add(
      {FaultOp::write, ".KVX", 'A', 2, FaultAction::removeMedium, Status::notReady, 0});
  EXPECT_EQ(bed.writer.WriteReport(), kReportOnlyLogCopy);
  ASSERT_EQ(bed.run.incompleteCopies.size(), 1u);
  EXPECT_EQ(bed.run.incompleteCopies[0].path, "A:\\L240315A\\L240315A.KVX");
  EXPECT_EQ(bed.run.incompleteCopies[0].serial, volume.serial);
  EXPECT_EQ(bed.run.incompleteCopies[0].disk, 1);
  EXPECT_TRUE(bed.exists(kCopy));
}

// The last disk may hold nothing of the set: the set's folder is made for
// the report, and nothing else is written there.
TEST_F(ReportFaults, SetFolderMissingOnTheLastDisk) {
  ASSERT_EQ(bed.files().removeDirectory("F:\\L240315A"), Status::ok);
  EXPECT_EQ(bed.writer.WriteReport(), kReportWritten);
  FindData entry;
  Status status = Status::ok;
  auto listing = bed.files().findFirst("F:\\L240315A\\*.*", entry, status);
  ASSERT_TRUE(listing);
  std::vector<std::string> names;
  do {
    names.push_back(entry.name);
  } while (listing->next(entry));
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "L240315A.KVX"}));
}

}  // namespace
}  // namespace hw::test
