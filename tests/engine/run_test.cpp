// The run as a whole: result codes, notifications, stopping and cancelling.
#include <gtest/gtest.h>

#include "tests/engine/engine_bed.h"

namespace hw::test {
namespace {

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('C');
    bed.addFixed('D');
  }
  EngineBed bed;
};

TEST_F(RunTest, NoSourceDriveSelectedPlansNothing) {
  bed.writeFile("C:\\a.txt", "a");
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  ASSERT_FALSE(bed.run.sourceDrives.empty());
  EXPECT_EQ(bed.backup({}, 'D', MODE_ALL), kRunNothingPlanned);
  EXPECT_TRUE(bed.run.sourceDrives.empty());
  EXPECT_EQ(bed.host.count(PromptKind::summary), 1);
}

TEST_F(RunTest, SummaryCancelledCopiesNothing) {
  bed.writeFile("C:\\a.txt", "a");
  bed.host.answer = [](PromptKind, const PromptDetails&) { return kAnswerCancel; };
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunCancelled);
  EXPECT_EQ(bed.run.filesCopied, 0);
  EXPECT_EQ(bed.platform.faults().calls(FaultOp::create, 'D'), 0u);
  EXPECT_EQ(bed.attributes("C:\\a.txt") & kAttrArchive, kAttrArchive);
}

TEST_F(RunTest, SummaryTellsTheSelectedTotals) {
  bed.writeFile("C:\\a.txt", "12345");
  bed.writeFile("C:\\b.txt", "123");
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  ASSERT_EQ(bed.host.details.size(), 1u);
  EXPECT_EQ(bed.host.details[0].totalFiles, 2);
  // Each file counts at least one cluster of the destination.
  EXPECT_EQ(bed.host.details[0].totalBytes, 2 * bed.run.clusterSize);
  EXPECT_EQ(bed.host.details[0].diskCount, 1);
}

TEST_F(RunTest, StopDuringTheCopyLeavesTheBackupIncomplete) {
  for (int i = 0; i < 5; ++i) bed.writeFile("C:\\f" + std::to_string(i), patterned(300000, i));
  // The user presses stop while the third file is being copied.
  bed.host.onPump = [&] {
    if (bed.run.filesCopied >= 2 && bed.platform.faults().calls(FaultOp::write, 'D') > 5) {
      bed.run.active = 0;
    }
  };
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunCancelled);
  EXPECT_EQ(bed.run.filesCopied, 2);
  int onDestination = 0;
  for (int i = 0; i < 5; ++i) {
    const std::string source = "C:\\f" + std::to_string(i);
    // Incomplete: no archive bit is cleared, not even for the copied files.
    EXPECT_EQ(bed.attributes(source) & kAttrArchive, kAttrArchive) << source;
    const std::string dest = bed.destOf(source);
    if (!bed.exists(dest)) continue;
    ++onDestination;
    // What is on the destination is whole, never a cut-off copy.
    EXPECT_EQ(bed.readFile(dest), patterned(300000, i)) << dest;
    EXPECT_EQ(bed.entry(source)->status, kOutcomeCopied);
  }
  EXPECT_EQ(onDestination, 2);
  EXPECT_EQ(bed.host.countNotifications(kNotifyHintBigBackup), 0);
}

TEST_F(RunTest, CancelledScanRescansOnlyTheUnfinishedDrive) {
  bed.addFixed('E');
  bed.addFixed('F');
  for (char d : {'C', 'E', 'F'}) {
    for (int i = 0; i < 3; ++i) {
      bed.makeDir(std::string(1, d) + ":\\dir" + std::to_string(i));
      bed.writeFile(std::string(1, d) + ":\\dir" + std::to_string(i) + "\\x", "x");
    }
  }
  // Cancel while drive E: is being scanned.
  bed.host.onPump = [&] {
    if (bed.platform.faults().calls(FaultOp::findFirst, 'E') >= 2) bed.engine->cancelScan();
  };
  EXPECT_EQ(bed.backup({'C', 'E', 'F'}, 'D', MODE_ALL), kRunCancelled);
  EXPECT_EQ(bed.run.findDrive('C')->needsScan, 0);
  EXPECT_EQ(bed.run.findDrive('E')->needsScan, 1);
  EXPECT_EQ(bed.host.count(PromptKind::summary), 0);

  bed.host.onPump = nullptr;
  bed.platform.faults().resetCounts();
  EXPECT_EQ(bed.backup({'C', 'E', 'F'}, 'D', MODE_ALL), kRunDone);
  // C: kept its tree: its folders are listed only by the copy's existence
  // checks, while E: and F: are scanned as well.
  const auto cListings = bed.platform.faults().calls(FaultOp::findFirst, 'C');
  const auto eListings = bed.platform.faults().calls(FaultOp::findFirst, 'E');
  EXPECT_LT(cListings, eListings);
  EXPECT_EQ(bed.run.filesCopied, 9);
}

TEST_F(RunTest, EndOfBackupHintsFollowTheCopiedBytes) {
  struct Case {
    std::size_t bytes;
    int big;   // 2088
    int huge;  // 2090
  } cases[] = {{1000000, 0, 0}, {1000001, 1, 0}, {5000000, 1, 0}, {5000001, 1, 1}};
  for (const Case& c : cases) {
    EngineBed b;
    b.addFixed('C');
    b.addFixed('D');
    b.writeFile("C:\\f", std::string(c.bytes, 'z'));
    ASSERT_EQ(b.backup({'C'}, 'D', MODE_ALL), kRunDone);
    EXPECT_EQ(b.host.countNotifications(kNotifyHintBigBackup), c.big) << c.bytes;
    EXPECT_EQ(b.host.countNotifications(kNotifyHintHugeBackup), c.huge) << c.bytes;
  }
}

TEST_F(RunTest, SecondRunGetsItsOwnSetName) {
  bed.writeFile("C:\\a.txt", "a");
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  const std::string first = bed.run.setName;
  ASSERT_EQ(first.size(), 8u);
  EXPECT_EQ(first.back(), 'A');
  bed.engine->rescanDrive(0, false);
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_NE(bed.run.setName, first);
  EXPECT_EQ(bed.run.setName.substr(0, 7), first.substr(0, 7));
  EXPECT_EQ(bed.run.setName.back(), 'B');
}

TEST_F(RunTest, DestinationThatIsAlsoASourceNeedsRoom) {
  EngineBed small;
  small.addFixed('C', 64 * 1024);
  small.writeFile("C:\\big", patterned(40 * 1024));
  EXPECT_EQ(small.backup({'C'}, 'C', MODE_ALL), kRunFatal);
  EXPECT_EQ(small.host.messages.size(), 1u);
  EXPECT_EQ(small.host.count(PromptKind::summary), 0);
}

}  // namespace
}  // namespace hw::test
