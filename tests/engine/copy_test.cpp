// The copy phase: what a backup leaves on the destination.
#include <gtest/gtest.h>

#include <map>

#include "tests/engine/engine_bed.h"

namespace hw::test {
namespace {

class CopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('C');
    bed.addFixed('D');
  }
  EngineBed bed;
};

// Everything a user would look at after a backup of a varied drive.
TEST_F(CopyTest, FixtureDriveIsReproducedWithNamesTimesAndAttributes) {
  struct Dir {
    std::string path;
    FileTime time;
  };
  const std::vector<Dir> dirs = {
      {"C:\\Program Files", fileTimeOf(1996, 3, 1)},
      {"C:\\Program Files\\Editor (old)", fileTimeOf(1996, 4, 2, 8, 30)},
      {"C:\\My Documents", fileTimeOf(1997, 1, 5)},
      {"C:\\My Documents\\a", fileTimeOf(1997, 2, 6)},
      {"C:\\My Documents\\a\\b", fileTimeOf(1997, 3, 7)},
      {"C:\\My Documents\\a\\b\\c", fileTimeOf(1997, 4, 8)},
      {"C:\\My Documents\\a\\b\\c\\d", fileTimeOf(1997, 5, 9)},
      {"C:\\My Documents\\a\\b\\c\\d\\e", fileTimeOf(1997, 6, 10)},
      {"C:\\Empty", fileTimeOf(1995, 12, 31, 23, 59, 58)},
  };
  struct File {
    std::string path;
    std::string content;
    std::uint32_t attributes;
    FileTime time;
  };
  const std::string deep(120, 'x');
  const std::vector<File> files = {
      {"C:\\AUTOEXEC.BAT", "@echo off\r\n", kAttrArchive, fileTimeOf(1997, 8, 21, 23, 4, 54)},
      {"C:\\IO.SYS", patterned(3000), kAttrSystem | kAttrHidden | kAttrReadOnly,
       fileTimeOf(1995, 8, 24)},
      {"C:\\Program Files\\Editor (old)\\edit & go.exe", patterned(300000, 2), kAttrReadOnly,
       fileTimeOf(1996, 4, 2)},
      {"C:\\Program Files\\Editor (old)\\.settings", "x=1\n", kAttrHidden, fileTimeOf(1996, 5, 3)},
      {"C:\\My Documents\\letter; draft #1.doc", patterned(131072, 3), kAttrArchive,
       fileTimeOf(1997, 1, 6)},
      {"C:\\My Documents\\a\\b\\c\\d\\e\\" + deep + ".txt", patterned(262144 + 1, 4), 0,
       fileTimeOf(1997, 6, 11)},
      {"C:\\My Documents\\empty.txt", "", kAttrArchive, fileTimeOf(1997, 7, 1)},
  };
  for (const Dir& d : dirs) bed.makeDir(d.path);
  for (const File& f : files) {
    bed.writeFile(f.path, f.content);
    bed.setFileTime(f.path, f.time);
    bed.setAttributes(f.path, f.attributes);
  }
  // Directory times last: adding files moves them.
  for (const Dir& d : dirs) bed.setDirTime(d.path, d.time);

  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  ASSERT_EQ(bed.run.setFolder.substr(0, 4), "D:\\L");
  EXPECT_EQ(bed.run.filesCopied, double(files.size()));

  for (const File& f : files) {
    SCOPED_TRACE(f.path);
    const std::string dest = bed.destOf(f.path);
    EXPECT_EQ(bed.readFile(dest), f.content);
    EXPECT_EQ(bed.fileTime(dest), f.time);
    // The copy keeps the attributes the source had when it was copied.
    EXPECT_EQ(bed.attributes(dest), f.attributes == 0 ? kAttrNormal : f.attributes);
    EXPECT_EQ(bed.entry(f.path)->status, kOutcomeCopied);
    EXPECT_EQ(bed.entry(f.path)->diskNumber, 1);
  }
  for (const Dir& d : dirs) {
    SCOPED_TRACE(d.path);
    EXPECT_EQ(bed.dirTime(bed.destOf(d.path)), d.time);
  }
  // After a complete run the source's archive bits are cleared, nothing else.
  for (const File& f : files) {
    SCOPED_TRACE(f.path);
    EXPECT_EQ(bed.readFile(f.path), f.content);
    EXPECT_EQ(bed.fileTime(f.path), f.time);
    EXPECT_EQ(bed.attributes(f.path) & ~kAttrNormal, f.attributes & ~kAttrArchive);
  }
}

TEST_F(CopyTest, EmptyDirectoriesOnlyWithEveryFile) {
  bed.makeDir("C:\\empty");
  bed.writeFile("C:\\changed.txt", "new");
  bed.setAttributes("C:\\changed.txt", kAttrArchive);
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_CHANGED), kRunDone);
  EXPECT_FALSE(bed.exists(bed.destOf("C:\\empty")));
  EXPECT_EQ(bed.readFile(bed.destOf("C:\\changed.txt")), "new");

  EngineBed all;
  all.addFixed('C');
  all.addFixed('D');
  all.makeDir("C:\\empty");
  ASSERT_EQ(all.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_TRUE(all.exists(all.destOf("C:\\empty")));
}

TEST_F(CopyTest, ChangedFilesAreTheOnesWithTheArchiveBit) {
  bed.writeFile("C:\\old.txt", "old");
  bed.setAttributes("C:\\old.txt", kAttrReadOnly);
  bed.writeFile("C:\\new.txt", "new");
  bed.setAttributes("C:\\new.txt", kAttrArchive | kAttrHidden);
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_CHANGED), kRunDone);
  EXPECT_FALSE(bed.exists(bed.destOf("C:\\old.txt")));
  EXPECT_EQ(bed.attributes(bed.destOf("C:\\new.txt")), kAttrArchive | kAttrHidden);
  EXPECT_EQ(bed.attributes("C:\\new.txt"), kAttrHidden);
  EXPECT_EQ(bed.attributes("C:\\old.txt"), kAttrReadOnly);
}

TEST_F(CopyTest, BlockBoundariesReadTwoFullBlocksAndOneEmptyRead) {
  bed.writeFile("C:\\exact.bin", patterned(262144));
  bed.platform.faults().resetCounts();
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.platform.faults().calls(FaultOp::read, 'C'), 3u);
  EXPECT_EQ(bed.readFile(bed.destOf("C:\\exact.bin")), patterned(262144));
  EXPECT_EQ(bed.run.bytesCopied, 262144.0);
}

// A second backup into the same set folder meets the files of the first.
class OverwriteTest : public CopyTest {
 protected:
  void SetUp() override {
    CopyTest::SetUp();
    bed.writeFile("C:\\one.txt", "one v2");
    bed.writeFile("C:\\two.txt", "two v2");
    bed.writeFile("C:\\three.txt", "three v2");
    bed.setAttributes("C:\\one.txt", kAttrArchive);
    // The earlier copies: read-only, hidden and system.
    bed.makeDir("D:\\SET");
    bed.makeDir("D:\\SET\\C");
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
      const std::string dest = std::string("D:\\SET\\C\\") + name;
      bed.writeFile(dest, "v1");
      bed.setAttributes(dest, kAttrReadOnly | kAttrHidden | kAttrSystem);
    }
    bed.run.setName = "SET";
    bed.run.setFolder = "D:\\SET";
  }
  int backupAgain() {
    // The set keeps its name: the engine names a set only when it has none.
    std::vector<DriveListItem> items(1);
    EXPECT_TRUE(bed.drives.DescribeDrive('C', items[0]));
    DriveListItem dest;
    EXPECT_TRUE(bed.drives.DescribeDrive('D', dest));
    bed.run.destLetter = 'D';
    bed.run.destFlags = dest.kind;
    bed.engine->diskCapacity = dest.total;
    return bed.engine->run(items, MODE_ALL);
  }
};

TEST_F(OverwriteTest, AskedForEachExistingFileAndItsAnswerHolds) {
  bed.host.answer = [&](PromptKind kind, const PromptDetails& d) {
    if (kind != PromptKind::overwrite) return kAnswerStart;
    return d.destPath.find("two") != std::string::npos ? kAnswerSkipFile : kAnswerOverwrite;
  };
  ASSERT_EQ(backupAgain(), kRunDone);
  EXPECT_EQ(bed.host.count(PromptKind::overwrite), 3);
  // The prompt names the attributes of the existing copy.
  EXPECT_FALSE(bed.host.details.back().text.empty());
  EXPECT_TRUE(bed.host.details.back().systemFile);
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\one.txt"), "one v2");
  EXPECT_EQ(bed.attributes("D:\\SET\\C\\one.txt"), kAttrArchive);
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\three.txt"), "three v2");
  // Skipped: the old copy stays and the file is not counted as saved.
  FileEntry* skipped = bed.entry("C:\\two.txt");
  ASSERT_TRUE(skipped);
  EXPECT_EQ(skipped->status, kOutcomeSkipped);
  EXPECT_EQ(skipped->diskNumber, -1);
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\two.txt"), "v1");
}

TEST_F(OverwriteTest, OverwriteAllStopsAskingAndStillReplacesReadOnlyCopies) {
  bed.host.answer = [&](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::overwrite ? kAnswerOverwriteAll : kAnswerStart;
  };
  ASSERT_EQ(backupAgain(), kRunDone);
  EXPECT_EQ(bed.host.count(PromptKind::overwrite), 1);
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\one.txt"), "one v2");
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\two.txt"), "two v2");
  EXPECT_EQ(bed.readFile("D:\\SET\\C\\three.txt"), "three v2");
  EXPECT_EQ(bed.run.filesCopied, 3);
}

TEST_F(CopyTest, NoOverwritePromptWhereTheDirectoryWasJustMade) {
  bed.writeFile("C:\\a.txt", "a");
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.host.count(PromptKind::overwrite), 0);
}

TEST_F(CopyTest, LongDestinationPathsAreShortenedInsideTheirParent) {
  // Sources stay within the 259 characters a path may have; on the
  // destination, 11 characters longer (D:\LyymmddA\C), they pass 256.
  const std::string a(100, 'a'), b(100, 'b'), c(45, 'c');
  bed.makeDir("C:\\" + a);
  bed.makeDir("C:\\" + a + "\\" + b);
  bed.makeDir("C:\\" + a + "\\" + b + "\\" + c);
  bed.makeDir("C:\\" + a + "\\" + b + "\\" + c + "\\dp");
  bed.makeDir("C:\\" + a + "\\" + b + "\\" + c + "X");
  bed.writeFile("C:\\" + a + "\\" + b + "\\" + c + "\\1", "one");
  bed.writeFile("C:\\" + a + "\\" + b + "\\" + c + "\\dp\\2", "two");
  bed.writeFile("C:\\" + a + "\\" + b + "\\" + c + "X\\3", "three");
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  ASSERT_GE(bed.run.shortenedPaths.size(), 2u);
  std::map<std::string, std::string> shortened;
  for (const ShortenedPath& p : bed.run.shortenedPaths) {
    EXPECT_EQ(p.ok, 1) << p.sourcePath;
    EXPECT_LE(p.destPath.size(), 256u);
    shortened[p.sourcePath] = p.destPath;
  }
  const std::string cDir = "C:\\" + a + "\\" + b + "\\" + c;
  ASSERT_TRUE(shortened.count(cDir));
  ASSERT_TRUE(shortened.count(cDir + "X"));
  // Two source directories never share a destination directory, and a
  // subdirectory lands inside its parent's shortened copy.
  EXPECT_NE(shortened[cDir], shortened[cDir + "X"]);
  EXPECT_EQ(bed.readFile(shortened[cDir] + "\\1"), "one");
  EXPECT_EQ(bed.readFile(shortened[cDir + "X"] + "\\3"), "three");
  ASSERT_TRUE(shortened.count(cDir + "\\dp"));
  EXPECT_EQ(shortened[cDir + "\\dp"].rfind(shortened[cDir] + "\\", 0), 0u);
  EXPECT_EQ(bed.readFile(shortened[cDir + "\\dp"] + "\\2"), "two");
  EXPECT_EQ(bed.run.filesCopied, 3);
}

TEST_F(CopyTest, PathOfExactly256CharactersIsNotShortened) {
  bed.run.setFolder = "D:\\LSETNAMA";
  std::string dest = "D:\\LSETNAMA\\C\\" + std::string(256 - 14, 'p');
  ASSERT_EQ(dest.size(), 256u);
  EXPECT_TRUE(bed.engine->shortenDestPath("C:\\x", dest, 256));
  EXPECT_TRUE(bed.run.shortenedPaths.empty());
  std::string longer = dest + "q";
  EXPECT_TRUE(bed.engine->shortenDestPath("C:\\y", longer, 256));
  ASSERT_EQ(bed.run.shortenedPaths.size(), 1u);
  EXPECT_LE(longer.size(), 256u);
}

}  // namespace
}  // namespace hw::test
