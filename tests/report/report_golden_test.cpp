// Whole reports against golden files: a one-disk backup built by hand with
// every kind of file line, and a real backup over three floppies. The golden
// files are the expected bytes, line for line.
#include <gtest/gtest.h>

#include "engine/table_texts.h"
#include "resources/string_ids.h"
#include "tests/engine/engine_bed.h"
#include "tests/report/report_bed.h"

namespace hw::test {
namespace {

// C: and D: selected, E: present but not selected after them; every
// outcome of a file and of an extra file, and two shortened paths.
void buildOneDiskRun(ReportBed& bed) {
  RunRecord& run = bed.run;
  TreeBuilder tree(run);
  SourceDrive& c = tree.drive('C', true);
  DirEntry& root = tree.root(c);
  tree.file(root, "AUTOEXEC.BAT", 1, true, kOutcomeCopied);
  tree.file(root, "BIG.DAT", 0, false, kOutcomeTooLarge);
  tree.file(root, "HIDDEN.SYS", 1, true, kOutcomeCopied, kAttrHidden | kAttrArchive);
  tree.file(root, "NOTSEL.TXT", 0, false, kOutcomeNotCopied);
  DirEntry& docs = tree.dir(c, root, "DOCS");
  tree.file(docs, "GONE.TXT", -1, true, kOutcomeNotCopied);
  tree.file(docs, "LETTER.TXT", 1, true, kOutcomeTimesNotSet);
  tree.file(docs, "SKIP.TXT", -1, false, kOutcomeSkipped);
  DirEntry& old = tree.dir(c, docs, "OLD");
  tree.file(old, "NOTE.TXT", 1, true, kOutcomeAttributesNotSet, kAttrHidden | kAttrArchive);
  DirEntry& games = tree.dir(c, root, "GAMES");
  tree.file(games, "OPEN.EXE", -1, false, kOutcomeOpenFailed);
  tree.file(games, "X.DAT", -1, false, kOutcomeDirectoryGone);
  SourceDrive& d = tree.drive('D', true);
  tree.file(tree.root(d), "README", 1, true, kOutcomeNoSourceTimes);
  SourceDrive& e = tree.drive('E', false);
  tree.file(tree.root(e), "E.TXT", 1, true, kOutcomeCopied);
  // Marks left by an earlier walk must not hide a directory.
  docs.visitMark = 1;

  auto extra = [&](const char* path, std::int32_t disk, bool selected, std::int32_t status,
                   bool boot = false, std::uint32_t attributes = kAttrArchive) {
    ExtraFile f;
    f.path = path;
    f.diskNumber = disk;
    f.selected = selected;
    f.status = status;
    f.bootFile = boot;
    f.attributes = attributes;
    run.extraFiles.push_back(f);
  };
  extra("C:\\IO.SYS", 1, true, kOutcomeCopied, true, kAttrHidden | kAttrSystem | kAttrReadOnly);
  extra("C:\\S.INI", 1, true, kOutcomeNoSourceAttributes);
  extra("C:\\CONFIG.SYS", -1, true, kOutcomeNotCopied);
  extra("C:\\MSDOS.SYS", 0, false, kOutcomeTooLarge);
  extra("C:\\A.INI", -1, false, kOutcomeSkipped);
  extra("C:\\B.INI", -1, false, kOutcomeDirectoryGone);
  extra("C:\\C.INI", -1, false, kOutcomeOpenFailed);
  extra("C:\\D.INI", -1, false, 4);
  extra("C:\\E.INI", 0, false, kOutcomeNotCopied);

  run.shortenedPaths.push_back({1, "C:\\DOCS\\ALPHABET\\BETAVERSION", "F:\\L240315A\\C\\DOC\\ALP\\BET"});
  run.shortenedPaths.push_back(
      {0, "C:\\DOCS\\ALPHABET\\GAMMARAY", bed.texts.get(ids::IDS_SHORT_PATH_UNUSABLE)});

  bed.nameSet("L240315A", 'F');
  run.active = 1;
  run.mode = MODE_DATA | MODE_APPS | MODE_BOOT;
  run.diskIndex = 1;
  run.diskCount = 1;
  run.bytesCopied = 123456;
  run.totalBytes = 130000;
  run.filesCopied = 6;
  run.totalFiles = 7;
  run.startTime = 10;
  run.estimateSeconds = 61;
  bed.setTime(100000);  // 90 seconds after the start
}

TEST(ReportGolden, OneDiskBackup) {
  ReportBed bed;
  buildOneDiskRun(bed);
  ASSERT_EQ(bed.writer.WriteReport(), kReportWritten);
  const std::string report = bed.read("F:\\L240315A\\L240315A.KVX");
  EXPECT_EQ(report, golden("ONE_DISK.KVX"));
  EXPECT_EQ(bed.read("C:\\HOARDWELL\\LOGFILES\\L240315A.KVX"), report);
  EXPECT_DOUBLE_EQ(bed.run.reportElapsed, 90);
}

// Three files of 900,000 bytes, one per 1.44 MB floppy, copied in the order
// of the tree walk: the root's file first.
TEST(ReportGolden, BackupOverThreeFloppies) {
  EngineBed bed;
  bed.addFixed('C');
  // The bed's program drive P: holds the settings file and the log folder.
  bed.addFloppy('A');
  bed.makeDir("C:\\DATA");
  bed.writeFile("C:\\THREE.BIN", patterned(900000, 3));
  bed.writeFile("C:\\DATA\\ONE.BIN", patterned(900000, 1));
  bed.writeFile("C:\\DATA\\TWO.BIN", patterned(900000, 2));
  SystemTime time;
  time.year = 2024;
  time.month = 3;
  time.day = 15;
  time.hour = 9;
  time.minute = 5;
  dynamic_cast<ManualClock&>(bed.platform.clock()).setSystemTime(time);
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  ASSERT_EQ(bed.run.setName, "L240315A");
  ASSERT_EQ(bed.platform.currentMedium('A'), 3);

  // The end of the run as the report sees it, with the times fixed.
  CountingHost host;
  ReportWriter writer(bed.platform, bed.run, bed.settings, bed.texts, host);
  bed.run.active = 1;
  auto& clock = dynamic_cast<ManualClock&>(bed.platform.clock());
  bed.run.startTime = clock.tickCount() / 1000.0 - 4000;  // 66.7 minutes
  bed.run.estimateSeconds = 3570;                          // 59.5 minutes
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
