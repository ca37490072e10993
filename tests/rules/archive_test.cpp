// Changed files: the archive attribute picks them, and a completed backup
// clears it on what it saved, so the next backup of changed files takes only
// what changed since.
#include <gtest/gtest.h>

#include "tests/rules/rules_bed.h"

namespace hw::test {
namespace {

PathSet ofTheLastSet(const PathSet& destination) {
  PathSet out;
  for (const std::string& p : destination) {
    if (p.starts_with("SET\\")) out.insert(p);
  }
  return out;
}

class ArchiveTest : public testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('E');
    bed.write({{"C:\\DOCS\\NEW.TXT", "new", kAttrArchive},
               {"C:\\DOCS\\OLD.TXT", "old", 0},
               {"C:\\DOCS\\HIDDEN.DAT", "hidden", kAttrHidden | kAttrSystem | kAttrArchive},
               {"C:\\CONFIG.SYS", "DEVICE=D:\\NET\\NET.SYS\r\n", kAttrArchive},
               {"D:\\NET\\NET.SYS", "net", kAttrArchive}});
  }
  // What the main window does after a completed backup: the next run scans
  // again.
  int backupAgain(std::uint32_t mode) {
    bed.run.sourceDrives.clear();
    return bed.backup({'C'}, 'E', mode);
  }
  std::uint32_t dosBits(const std::string& path) {
    return bed.attributes(path) & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  }
  RulesBed bed;
};

TEST_F(ArchiveTest, ABackupOfChangedFilesClearsTheAttributeOnWhatItSaved) {
  ASSERT_EQ(bed.backup({'C'}, 'E', MODE_CHANGED | MODE_BOOT), kRunDone);
  EXPECT_EQ(bed.destinationFiles('E'),
            (PathSet{"SET\\C\\DOCS\\NEW.TXT", "SET\\C\\DOCS\\HIDDEN.DAT", "SET\\C\\CONFIG.SYS",
                     "SET\\D\\NET\\NET.SYS"}));
  EXPECT_EQ(dosBits("C:\\DOCS\\NEW.TXT"), 0u);
  EXPECT_EQ(dosBits("C:\\DOCS\\HIDDEN.DAT"), kAttrHidden | kAttrSystem);
  EXPECT_EQ(dosBits("C:\\DOCS\\OLD.TXT"), 0u);
  EXPECT_EQ(dosBits("C:\\CONFIG.SYS"), 0u);
  // An extra file too: it was saved.
  EXPECT_EQ(dosBits("D:\\NET\\NET.SYS"), 0u);

  // One file changes; the next backup of changed files takes it alone.
  bed.writeFile("C:\\DOCS\\OLD.TXT", "changed");
  bed.setAttributes("C:\\DOCS\\OLD.TXT", kAttrArchive);
  ASSERT_EQ(backupAgain(MODE_CHANGED | MODE_BOOT), kRunDone);
  EXPECT_EQ(ofTheLastSet(bed.destinationFiles('E')), (PathSet{"SET\\C\\DOCS\\OLD.TXT"}));
  EXPECT_EQ(bed.readFile(bed.destOf("C:\\DOCS\\OLD.TXT")), "changed");
}

TEST_F(ArchiveTest, EveryFileIgnoresTheAttributeAndClearsIt) {
  ASSERT_EQ(bed.backup({'C'}, 'E', MODE_ALL | MODE_CHANGED), kRunDone);
  EXPECT_EQ(bed.destinationFiles('E').size(), 4u);
  EXPECT_EQ(dosBits("C:\\DOCS\\NEW.TXT"), 0u);
  ASSERT_EQ(backupAgain(MODE_CHANGED), kRunDone);
  EXPECT_TRUE(ofTheLastSet(bed.destinationFiles('E')).empty());
}

TEST_F(ArchiveTest, OtherKindsTakeNoNoticeOfTheAttribute) {
  ASSERT_EQ(bed.backup({'C'}, 'E', MODE_DATA), kRunDone);
  EXPECT_EQ(bed.destinationFiles('E'),
            (PathSet{"SET\\C\\DOCS\\NEW.TXT", "SET\\C\\DOCS\\OLD.TXT", "SET\\C\\DOCS\\HIDDEN.DAT"}));
}

}  // namespace
}  // namespace hw::test
