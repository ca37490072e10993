// Whole reports against golden files: a one-disk backup built by hand with
// every kind of file line, and a real backup over three floppies. The golden
// files are the expected bytes, line for line.
#include <gtest/gtest.h>

#include "engine/table_texts.h"
#include "tests/engine/engine_bed.h"
#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

TEST(ReportGolden, OneDiskBackup) {
  ReportBed bed;
  buildOneDiskRun(bed.run, bed.texts);
  bed.nameSet("L240315A", 'F');
  bed.setTime(kOneDiskEndTicks);
  ASSERT_EQ(bed.writer.WriteReport(), kReportWritten);
  const std::string report = bed.read("F:\\L240315A\\L240315A.KVX");
  EXPECT_EQ(report, golden("ONE_DISK.KVX"));
  EXPECT_EQ(bed.read("C:\\HOARDWELL\\LOGFILES\\L240315A.KVX"), report);
  EXPECT_DOUBLE_EQ(bed.run.reportElapsed, 90);
}

// The spanned backup of the fixture: one file per 1.44 MB floppy.
TEST(ReportGolden, BackupOverThreeFloppies) {
  EngineBed bed;
  bed.addFixed('S');
  // The bed's program drive P: holds the settings file and the log folder.
  bed.addFloppy('A');
  for (const char* folder : kSpanFolders) bed.makeDir(folder);
  for (const SpanFile& file : kSpanFiles) {
    bed.writeFile(file.path, patterned(kSpanFileSize, file.seed));
  }
  dynamic_cast<ManualClock&>(bed.platform.clock()).setSystemTime(spanStartTime());
  ASSERT_EQ(bed.backup({'S'}, 'A', MODE_ALL), kRunDone);
  ASSERT_EQ(bed.run.setName, "L240315A");
  ASSERT_EQ(bed.platform.currentMedium('A'), 3);

  // The end of the run as the report sees it, with the times fixed.
  CountingHost host;
  ReportWriter writer(bed.platform, bed.run, bed.settings, bed.texts, host);
  bed.run.active = 1;
  auto& clock = dynamic_cast<ManualClock&>(bed.platform.clock());
  bed.run.startTime = clock.tickCount() / 1000.0 - kSpanMeasuredSeconds;
  bed.run.estimateSeconds = kSpanEstimatedSeconds;
  ASSERT_EQ(writer.WriteReport(), kReportWritten);

  const std::string report = bed.readFile("A:\\L240315A\\L240315A.KVX");
  EXPECT_EQ(report, golden("THREE_FLOPPIES.KVX"));
  EXPECT_EQ(bed.readFile("P:\\LOGFILES\\L240315A.KVX"), report);
  // Only the disk in the drive at the end gets the report.
  for (int medium : {1, 2}) {
    ASSERT_TRUE(bed.platform.insertMedium('A', medium));
    EXPECT_FALSE(bed.exists("A:\\L240315A\\L240315A.KVX")) << medium;
  }
}

}  // namespace
}  // namespace hw::test
