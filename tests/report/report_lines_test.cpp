// Single lines of the report: the time, size, kind and source-drive lines,
// the file list when nothing was selected, and the log-folder copy.
#include <gtest/gtest.h>

#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

constexpr int kSourcesLine = 7;
constexpr int kKindLine = 10;
constexpr int kTimeLine = 11;
constexpr int kSizeLine = 12;
constexpr int kFilesHeading = 17;

class ReportLines : public ::testing::Test {
 protected:
  void SetUp() override {
    TreeBuilder tree(bed.run);
    tree.file(tree.root(tree.drive('C', true)), "A.TXT", 1, true, kOutcomeCopied);
    bed.nameSet("L240315A");
    bed.run.active = 1;
    bed.run.mode = MODE_ALL;
  }

  std::string report() {
    EXPECT_EQ(bed.writer.WriteReport(), kReportWritten);
    return bed.read("F:\\L240315A\\L240315A.KVX");
  }

  ReportBed bed;
};

TEST_F(ReportLines, TimeFigures) {
  struct Case {
    double elapsed, estimate;
    const char* line;
  } cases[] = {
      {59, 61, "Duration: 1 minute (actual)     1 minute (estimated) \n"},
      {20, 70, "Duration: 1 minute (actual)     1 minute (estimated) \n"},
      {90, 30, "Duration: 2 minutes (actual)     1 minute (estimated) \n"},
      {59, 0.4, "Duration: 59 seconds (actual)     0 seconds (estimated) \n"},
      {1.4, 2.5, "Duration: 1 second (actual)     3 seconds (estimated) \n"},
      // Hours only from 50 hours on.
      {10800, 7200, "Duration: 180 minutes (actual)     120 minutes (estimated) \n"},
      {179999, 0, "Duration: 3,000 minutes (actual)     1 minute (estimated) \n"},
      {180000, 5400, "Duration: 50 hours (actual)     2 hours (estimated) \n"},
      {1000, 180000, "Duration: 1 hour (actual)     50 hours (estimated) \n"},
  };
  for (const Case& c : cases) {
    bed.run.startTime = 1000;
    bed.setTime(static_cast<std::uint32_t>((1000 + c.elapsed) * 1000));
    bed.run.estimateSeconds = c.estimate;
    EXPECT_EQ(lineOf(report(), kTimeLine), c.line) << c.elapsed << " / " << c.estimate;
  }
}

TEST_F(ReportLines, SizeFigures) {
  struct Case {
    double copied, total;
    const char* line;
  } cases[] = {
      {9999, 9999, "Data: 9,999 Bytes (actual)     9,999 Bytes (estimated) \n"},
      {1, 1, "Data: 1 Byte (actual)     1 Byte (estimated) \n"},
      {0, 2, "Data: 0 Bytes (actual)     2 Bytes (estimated) \n"},
      {400, 10000, "Data: 1 Kilobyte (actual)     10 Kilobytes (estimated) \n"},
      {1500, 499999999, "Data: 2 Kilobytes (actual)     500,000 Kilobytes (estimated) \n"},
      {500000000, 2499999, "Data: 500 Megabytes (actual)     2 Megabytes (estimated) \n"},
      {1000, 5e11, "Data: 1 Megabyte (actual)     500,000 Megabytes (estimated) \n"},
  };
  for (const Case& c : cases) {
    bed.run.bytesCopied = c.copied;
    bed.run.totalBytes = c.total;
    EXPECT_EQ(lineOf(report(), kSizeLine), c.line) << c.copied << " / " << c.total;
  }
}

TEST_F(ReportLines, KindOfBackup) {
  struct Case {
    std::uint32_t mode;
    const char* line;
  } cases[] = {
      {MODE_ALL | MODE_CHANGED | MODE_DATA, "Kind of backup: All files \n"},
      {MODE_CHANGED | MODE_BOOT, "Kind of backup: Changed files \n"},
      {MODE_DATA, "Kind of backup: User data files \n"},
      {MODE_DATA | MODE_APPS, "Kind of backup: User data files and Application folders \n"},
      {MODE_DATA | MODE_BOOT, "Kind of backup: User data files and Startup files \n"},
      {MODE_APPS | MODE_BOOT, "Kind of backup: Application folders and Startup files \n"},
      {MODE_DATA | MODE_APPS | MODE_BOOT,
       "Kind of backup: User data files, Application folders and Startup files \n"},
      {0, "Kind of backup:  \n"},
  };
  for (const Case& c : cases) {
    bed.run.mode = c.mode;
    EXPECT_EQ(lineOf(report(), kKindLine), c.line) << c.mode;
  }
}

TEST_F(ReportLines, SourceDrivesInListOrder) {
  TreeBuilder tree(bed.run);
  auto selectOnly = [&](std::string letters) {
    for (auto& d : bed.run.sourceDrives) d->selected = letters.find(d->letter) != std::string::npos;
  };
  for (char letter : {'D', 'E', 'G'}) tree.root(tree.drive(letter, false));
  struct Case {
    const char* selected;
    const char* line;
  } cases[] = {
      {"C", "Backed up from: C:       \n"},
      {"CD", "Backed up from: C: and D:       \n"},
      {"CDG", "Backed up from: C:, D: and G:       \n"},
      {"CDEG", "Backed up from: C:, D:, E: and G:       \n"},
      {"", "Backed up from:  \n"},
  };
  for (const Case& c : cases) {
    selectOnly(c.selected);
    EXPECT_EQ(lineOf(report(), kSourcesLine), c.line) << c.selected;
  }
}

TEST_F(ReportLines, NothingSelectedSaysSoAfterTheHeadings) {
  // Files the rules passed by, or dropped before they were selected, leave
  // the list without a line for a selected file.
  bed.run.sourceDrives.clear();
  TreeBuilder tree(bed.run);
  DirEntry& root = tree.root(tree.drive('C', true));
  tree.file(root, "BIG.DAT", 0, false, kOutcomeTooLarge);
  tree.file(root, "PLAIN.TXT", 0, false, kOutcomeNotCopied);
  const std::string text = report();
  EXPECT_EQ(lineOf(text, kFilesHeading), "Saved files \n");
  EXPECT_EQ(lineOf(text, kFilesHeading + 1), "Disk \t File \n");
  EXPECT_EQ(lineOf(text, kFilesHeading + 2), "0 \t C:\\BIG.DAT (larger than a disk, not saved) \n");
  EXPECT_EQ(lineOf(text, kFilesHeading + 3), "0 \t No regular files were selected for backup.\n");
  EXPECT_EQ(lineOf(text, kFilesHeading + 4), "");
}

TEST_F(ReportLines, LogCopyOnlyWithSaveLog) {
  const std::string copy = "C:\\HOARDWELL\\LOGFILES\\L240315A.KVX";
  bed.settings.SetSaveLog(0);
  EXPECT_EQ(bed.writer.WriteReport(), kReportWritten);
  EXPECT_FALSE(bed.exists(copy));
  EXPECT_TRUE(bed.exists("F:\\L240315A\\L240315A.KVX"));

  bed.settings.SetSaveLog(1);
  EXPECT_EQ(bed.writer.WriteReport(), kReportWritten);
  EXPECT_EQ(bed.read(copy), bed.read("F:\\L240315A\\L240315A.KVX"));
}

TEST_F(ReportLines, NamesTheSetWhenItHasNoNameYet) {
  ASSERT_EQ(bed.files().removeDirectory("F:\\L240315A"), Status::ok);
  bed.run.setName.clear();
  bed.run.setFolder.clear();
  bed.run.logFileBase.clear();
  bed.run.destLetter = 'F';
  EXPECT_EQ(bed.writer.WriteReport(), kReportWritten);
  EXPECT_EQ(bed.run.setName, "L240315A");
  EXPECT_EQ(lineOf(bed.read("F:\\L240315A\\L240315A.KVX"), 4), "Report L240315A.KVX \n");
  EXPECT_TRUE(bed.exists("C:\\HOARDWELL\\LOGFILES\\L240315A.KVX"));
}

TEST_F(ReportLines, StoppedRunGetsNoReport) {
  bed.run.active = 0;
  bed.platform().faults().resetCounts();
  EXPECT_EQ(bed.writer.WriteReport(), kReportNotWritten);
  EXPECT_EQ(bed.platform().faults().calls(FaultOp::create), 0u);
}

// A report far above the buffer goes out in several pieces, each after the
// window had its messages, and reads as if written at once.
TEST_F(ReportLines, LongReportInPieces) {
  bed.run.sourceDrives.clear();
  TreeBuilder tree(bed.run);
  SourceDrive& c = tree.drive('C', true);
  DirEntry& root = tree.root(c);
  std::string expectedList;
  for (int d = 0; d < 30; ++d) {
    const std::string name = "FOLDER" + std::to_string(100 + d);
    DirEntry& dir = tree.dir(c, root, name);
    for (int f = 0; f < 100; ++f) {
      const std::string file = "DOCUMENT" + std::to_string(1000 + f) + ".TXT";
      const int disk = 1 + (d * 100 + f) / 1000;
      tree.file(dir, file, disk, true, kOutcomeCopied);
      expectedList += std::to_string(disk) + " \t C:\\" + name + "\\" + file + " \n";
    }
  }
  ASSERT_GT(expectedList.size(), 61440u);
  bed.host.pumps = 0;
  bed.platform().faults().resetCounts();
  const std::string text = report();
  const std::size_t listStart = text.find("Disk \t File \n") + 13;
  EXPECT_EQ(text.substr(listStart), expectedList);
  EXPECT_GE(bed.platform().faults().calls(FaultOp::write, 'F'), 2u);
  EXPECT_EQ(bed.platform().faults().calls(FaultOp::write, 'F'),
            bed.platform().faults().calls(FaultOp::write, 'C'));
  EXPECT_GE(bed.host.pumps, 2);
  EXPECT_EQ(bed.read("C:\\HOARDWELL\\LOGFILES\\L240315A.KVX"), text);
}

}  // namespace
}  // namespace hw::test
