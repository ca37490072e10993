// Destination disks: a backup spanning floppies, labels, disks in use
// (append, erase), the next-disk prompt, and a medium taken out mid-file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "tests/engine/engine_bed.h"

namespace hw::test {
namespace {

class FloppyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.addFixed('C');
    bed.addFloppy('A');
    bed.makeDir("C:\\docs");
    bed.makeDir("C:\\docs\\deep");
    // About 7.6 MB: more than five 1.44 MB floppies.
    for (int i = 0; i < 12; ++i) {
      const std::string path = std::string(i % 2 ? "C:\\docs\\deep\\" : "C:\\docs\\") + "file" +
                               std::to_string(i) + ".bin";
      sources[path] = patterned(300000 + i * 60000, i + 1);
      bed.writeFile(path, sources[path]);
    }
  }

  // Where each source file ended up, by medium.
  std::map<std::string, std::vector<int>> placements() {
    std::map<std::string, std::vector<int>> found;
    for (int medium = 1; medium <= 12; ++medium) {
      if (!bed.platform.insertMedium('A', medium)) break;
      for (const auto& [path, content] : sources) {
        const std::string dest = bed.destOf(path);
        if (!bed.exists(dest)) continue;
        const bool known = std::any_of(
            bed.run.incompleteCopies.begin(), bed.run.incompleteCopies.end(),
            [&](const IncompleteCopy& c) { return c.path == dest && c.disk == medium; });
        if (known) continue;  // reported as cut off, not as a copy
        EXPECT_TRUE(bed.readFile(dest) == content) << dest << " on disk " << medium << " differs";
        found[path].push_back(medium);
      }
    }
    return found;
  }

  EngineBed bed;
  std::map<std::string, std::string> sources;
};

TEST_F(FloppyTest, SpansDisksWithEveryFileOnceAndLabelled) {
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  const int disks = bed.run.diskIndex;
  EXPECT_GE(disks, 6);
  EXPECT_EQ(bed.host.count(PromptKind::nextDisk), disks - 1);
  const std::string set = bed.run.setName;
  auto found = placements();
  ASSERT_EQ(found.size(), sources.size());
  for (const auto& [path, media] : found) {
    EXPECT_EQ(media.size(), 1u) << path;
    EXPECT_EQ(bed.entry(path)->diskNumber, media[0]) << path;
    EXPECT_EQ(bed.entry(path)->status, kOutcomeCopied) << path;
  }
  // Disk n carries the set's name, an underscore and n.
  for (int medium = 1; medium <= disks; ++medium) {
    ASSERT_TRUE(bed.platform.insertMedium('A', medium));
    VolumeInfo info;
    ASSERT_EQ(bed.platform.volumes().volumeInformation("A:\\", info), Status::ok);
    EXPECT_EQ(info.label, set + "_" + std::to_string(medium));
  }
}

TEST_F(FloppyTest, MediumTakenOutMidFileIsWrittenAgainOnTheNextDisk) {
  // The 6th write to the floppy finds the medium gone: in the middle of the
  // third file.
  FaultRule r;
  r.op = FaultOp::write;
  r.drive = 'A';
  r.nth = 6;
  r.action = FaultAction::removeMedium;
  bed.platform.faults().add(r);
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  auto found = placements();
  ASSERT_EQ(found.size(), sources.size());
  int copied = 0;
  for (const auto& [path, media] : found) {
    ASSERT_FALSE(media.empty()) << path;
    // The report's disk is where the whole file is.
    EXPECT_EQ(media.back(), bed.entry(path)->diskNumber) << path;
    copied += bed.entry(path)->status == kOutcomeCopied;
  }
  EXPECT_EQ(copied, int(sources.size()));
  // The cut-off copy stayed on the disk that was taken out, and is known.
  ASSERT_EQ(bed.run.incompleteCopies.size(), 1u);
  EXPECT_EQ(bed.run.incompleteCopies[0].disk, 1);
  EXPECT_GE(bed.host.count(PromptKind::nextDisk), 1);
  bool afterError = false;
  for (const PromptDetails& d : bed.host.details) afterError = afterError || d.afterWriteError;
  EXPECT_TRUE(afterError);
}

// The disk fills up in the middle of a file although the plan said it would
// fit: removing the cut-off copy frees that space again, and still the file
// must go to the next disk rather than to an error.
TEST_F(FloppyTest, DiskFullInTheMiddleOfAFileMovesToTheNextDisk) {
  FaultRule r;
  r.op = FaultOp::write;
  r.pathContains = "file2.bin";
  r.drive = 'A';
  r.nth = 2;
  r.action = FaultAction::fail;
  r.error = Status::diskFull;
  bed.platform.faults().add(r);
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.host.count(PromptKind::copyError), 0);
  EXPECT_EQ(bed.entry("C:\\docs\\file2.bin")->status, kOutcomeCopied);
  // Moved on to a new disk because of the write failure.
  bool afterError = false;
  for (const PromptDetails& d : bed.host.details) afterError = afterError || d.afterWriteError;
  EXPECT_TRUE(afterError);
  auto found = placements();
  ASSERT_EQ(found.size(), sources.size());
  for (const auto& [path, media] : found) EXPECT_EQ(media.size(), 1u) << path;
}

TEST_F(FloppyTest, AbortAtTheNextDiskPromptStopsAndClearsNoArchiveBit) {
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::nextDisk ? kAnswerAbort : kAnswerStart;
  };
  EXPECT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunCancelled);
  for (const auto& [path, content] : sources) {
    EXPECT_EQ(bed.attributes(path) & kAttrArchive, kAttrArchive) << path;
  }
}

TEST_F(FloppyTest, ADiskInUseIsAppendedToWithoutTouchingItsFiles) {
  bed.makeDir("A:\\OTHER");
  bed.writeFile("A:\\OTHER\\keep.txt", patterned(200000, 99));
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.host.count(PromptKind::diskInUse), 1);
  ASSERT_TRUE(bed.platform.insertMedium('A', 1));
  EXPECT_EQ(bed.readFile("A:\\OTHER\\keep.txt"), patterned(200000, 99));
  EXPECT_EQ(placements().size(), sources.size());
}

TEST_F(FloppyTest, ErasingEmptiesOnlyTheDestinationMedium) {
  bed.makeDir("A:\\OLD");
  bed.writeFile("A:\\OLD\\old.txt", "old");
  bed.setAttributes("A:\\OLD\\old.txt", kAttrReadOnly | kAttrHidden);
  bed.writeFile("A:\\root.txt", "r");
  // Erase the first disk; the next ones are new blank media.
  bed.host.answer = [&](PromptKind kind, const PromptDetails&) {
    if (kind == PromptKind::diskInUse) return kAnswerErase;
    if (kind == PromptKind::nextDisk) {
      bed.platform.insertMedium('A', bed.platform.currentMedium('A') + 1);
      return kAnswerContinue;
    }
    return kAnswerStart;
  };
  ASSERT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunDone);
  ASSERT_TRUE(bed.platform.insertMedium('A', 1));
  EXPECT_FALSE(bed.exists("A:\\OLD\\old.txt"));
  EXPECT_FALSE(bed.exists("A:\\OLD"));
  EXPECT_FALSE(bed.exists("A:\\root.txt"));
  for (const auto& [path, content] : sources) EXPECT_EQ(bed.readFile(path), content) << path;
  EXPECT_EQ(placements().size(), sources.size());
}

TEST(DiskSafety, ADestinationThatIsAlsoASourceIsNeverErased) {
  EngineBed bed;
  bed.addFixed('C', 1ull << 30);
  bed.writeFile("C:\\precious.doc", "irreplaceable");
  bed.writeFile("C:\\more.doc", "also");
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::diskInUse ? kAnswerErase : kAnswerStart;
  };
  bed.host.messageAnswer = kIdYes;
  bed.backup({'C'}, 'C', MODE_ALL);
  EXPECT_EQ(bed.readFile("C:\\precious.doc"), "irreplaceable");
  EXPECT_EQ(bed.readFile("C:\\more.doc"), "also");
  ASSERT_FALSE(bed.host.messages.empty());
}

TEST(DiskSafety, ErasingAFixedDestinationAsksFirstAndNoStopsTheRun) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D');
  bed.writeFile("C:\\a.txt", "a");
  bed.writeFile("D:\\theirs.txt", "keep me");
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::diskInUse ? kAnswerErase : kAnswerStart;
  };
  bed.host.messageAnswer = kIdNo;
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunCancelled);
  EXPECT_EQ(bed.readFile("D:\\theirs.txt"), "keep me");
  EXPECT_EQ(bed.host.messages.size(), 1u);
}

TEST(DiskSafety, FixedDestinationTooSmallIsAFatalStop) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D', 256 * 1024);
  bed.writeFile("C:\\big.bin", patterned(300000));
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::fileTooLarge ? kAnswerContinue : kAnswerStart;
  };
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunFatal);
  EXPECT_EQ(bed.host.messages.size(), 1u);
  EXPECT_EQ(bed.host.countNotifications(kNotifyStopped), 1);
  EXPECT_EQ(bed.platform.faults().calls(FaultOp::create, 'D'), 0u);
}

TEST(DiskSafety, NoMediumAskedAgainThenCancelledIsNotReady) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFloppy('A');
  bed.writeFile("C:\\a.txt", "a");
  bed.platform.removeMedium('A');
  bed.host.messageAnswer = kIdCancel;
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::nextDisk ? kAnswerAbort : kAnswerStart;
  };
  EXPECT_EQ(bed.backup({'C'}, 'A', MODE_ALL), kRunCancelled);
  EXPECT_GE(bed.host.messages.size(), 1u);
  EXPECT_EQ(bed.run.filesCopied, 0);
}

}  // namespace
}  // namespace hw::test
