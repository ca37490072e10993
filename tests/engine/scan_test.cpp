// The scan tree, its walk and the scan of a drive.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/engine/engine_bed.h"

namespace hw::test {
namespace {

TEST(ScanTree, ListableNames) {
  struct Case {
    const char* name;
    bool listable;
  } cases[] = {{".", false}, {"..", false}, {"..x", false}, {"...", false},
               {".profile", true}, {"a..b", true}, {"x", true}};
  for (const Case& c : cases) EXPECT_EQ(isListableName(c.name), c.listable) << c.name;
}

// root
//   a
//     a1
//     a2
//   b
//     b1
struct SmallTree {
  SourceDrive drive;
  DirEntry *root, *a, *a1, *a2, *b, *b1;
  SmallTree() {
    drive.letter = 'C';
    root = &drive.newDirectory();
    a = &drive.newDirectory();
    a1 = &drive.newDirectory();
    a2 = &drive.newDirectory();
    b = &drive.newDirectory();
    b1 = &drive.newDirectory();
    link(root, {a, b});
    link(a, {a1, a2});
    link(b, {b1});
  }
  static void link(DirEntry* parent, std::vector<DirEntry*> children) {
    parent->firstChild = children[0];
    for (std::size_t i = 0; i < children.size(); ++i) {
      children[i]->parent = parent;
      if (i) {
        children[i - 1]->nextSibling = children[i];
        children[i]->prevSibling = children[i - 1];
      }
    }
  }
};

TEST(ScanTree, WalkIsPreOrderAndAppliesEachKind) {
  SmallTree t;
  std::vector<DirEntry*> order;
  for (DirEntry* d = t.root; d; d = preorderNext(d)) order.push_back(d);
  EXPECT_EQ(order, (std::vector<DirEntry*>{t.root, t.a, t.a1, t.a2, t.b, t.b1}));

  // Kind 2 finds the first unprocessed directory from the start on.
  t.root->processed = t.a->processed = t.a1->processed = 1;
  EXPECT_EQ(walkNext(t.root, kWalkNotProcessed), t.a2);
  // Kind 7 clears processed marks as it finds them.
  EXPECT_EQ(walkNext(t.a, kWalkResetProcessed), t.a);
  EXPECT_EQ(t.a->processed, 0);
  // Kinds 4 and 5 visit each directory once; kind 3 resets.
  int visited = 0;
  for (DirEntry* d = walkNext(t.root, kWalkVisit); d; d = walkNext(preorderNext(d), kWalkVisit)) {
    ++visited;
  }
  EXPECT_EQ(visited, 6);
  EXPECT_EQ(walkNext(t.root, kWalkVisitAgain), nullptr);
  resetWalk(t.root, kWalkResetVisit);
  EXPECT_EQ(walkNext(t.root, kWalkVisit), t.root);
  // Kinds 8 and 9: created marks.
  t.root->createdMark = t.a->createdMark = 1;
  EXPECT_EQ(walkNext(t.root, kWalkNotCreated), t.a1);
  resetWalk(t.root, kWalkResetCreated);
  EXPECT_EQ(t.a->createdMark, 0);
  // Kind 1: not fully listed.
  for (DirEntry* d = t.root; d; d = preorderNext(d)) d->siblingsListed = d->childrenListed = d->filesListed = 1;
  t.b->filesListed = 0;
  EXPECT_EQ(walkNext(t.root, kWalkNotListed), t.b);
}

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('C');
    bed.addFixed('D');
  }
  EngineBed bed;
};

TEST_F(ScanTest, FilesOfEveryDirectoryAreListedInTreeOrder) {
  bed.makeDir("C:\\top");
  bed.makeDir("C:\\top\\inner");
  bed.makeDir("C:\\.profile");
  bed.makeDir("C:\\..x");
  bed.makeDir("C:\\Case");
  bed.makeDir("C:\\case");
  bed.writeFile("C:\\root.txt", "r");
  bed.writeFile("C:\\top\\t.txt", "tt");
  bed.writeFile("C:\\top\\inner\\i.txt", "iii");
  bed.writeFile("C:\\.profile\\p", "pppp");
  bed.writeFile("C:\\..x\\hidden-from-scan", "x");
  // A directory with subdirectories keeps its files too.
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  SourceDrive* drive = bed.run.findDrive('C');
  ASSERT_TRUE(drive);
  std::vector<std::string> dirs;
  for (DirEntry* d = drive->root; d; d = preorderNext(d)) dirs.push_back(d->fullPath());
  EXPECT_EQ(dirs, (std::vector<std::string>{"C:", "C:\\.profile", "C:\\Case", "C:\\case",
                                            "C:\\top", "C:\\top\\inner"}));
  EXPECT_EQ(drive->scannedFiles, 4);
  EXPECT_EQ(drive->scannedBytes, 1 + 2 + 3 + 4);
  EXPECT_EQ(drive->noSubdirs, 0);
  EXPECT_EQ(bed.readFile(bed.destOf("C:\\top\\t.txt")), "tt");
  EXPECT_EQ(bed.readFile(bed.destOf("C:\\top\\inner\\i.txt")), "iii");
  EXPECT_FALSE(bed.exists(bed.destOf("C:\\..x\\hidden-from-scan")));
  // Depth and sibling index as listed.
  DirEntry* c = drive->root->firstChild->nextSibling;
  EXPECT_EQ(c->name, "Case");
  EXPECT_EQ(c->depth, 1);
  EXPECT_EQ(c->siblingIndex, 1);
  EXPECT_EQ(drive->root->firstChild->nextSibling->nextSibling->nextSibling->firstChild->depth, 2);
}

TEST_F(ScanTest, RootWithOnlyFiles) {
  bed.writeFile("C:\\a", "1");
  bed.writeFile("C:\\b", "22");
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  SourceDrive* drive = bed.run.findDrive('C');
  EXPECT_EQ(drive->noSubdirs, 1);
  EXPECT_EQ(drive->root->files.size(), 2u);
  EXPECT_EQ(drive->needsScan, 0);
}

TEST_F(ScanTest, SizeAboveFourGigabytesUsesTheHighWord) {
  // A sparse file: 5 GiB + 7 bytes without using the space.
  const std::string host = bed.platform.hostPath("C:\\big.bin");
  { std::ofstream(host).put('x'); }
  std::filesystem::resize_file(host, (5ull << 30) + 7);
  bed.platform.forgetUsage('C');
  // Larger than the 1 GiB destination: left out at the prompt.
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::summary ? kAnswerCancel : kAnswerSkip;
  };
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunCancelled);
  SourceDrive* drive = bed.run.findDrive('C');
  ASSERT_EQ(drive->root->files.size(), 1u);
  // High word 1, low word 2^30 + 7.
  EXPECT_EQ(drive->root->files[0].size, 1 * 4294967296.0 + 1073741824.0 + 7);
  EXPECT_EQ(drive->scannedBytes, double((5ull << 30) + 7));
  EXPECT_EQ(drive->root->files[0].status, kOutcomeTooLarge);
  EXPECT_EQ(bed.host.count(PromptKind::fileTooLarge), 1);
}

}  // namespace
}  // namespace hw::test
