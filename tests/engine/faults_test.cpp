// Faults a user meets during a backup, struck through the host platform's
// fault injection. After each: the source is untouched, the destination and
// the file outcomes are truthful, archive bits are cleared only for what was
// really saved.
#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "tests/engine/engine_bed.h"
#include "tests/support/fault_rule.h"

namespace hw::test {
namespace {

struct Source {
  std::string path;
  std::string content;
};

const std::vector<Source>& fixture() {
  static const std::vector<Source> files = {
      {"C:\\docs\\before.txt", patterned(1000, 1)},
      {"C:\\docs\\victim.bin", patterned(400000, 2)},  // four blocks
      {"C:\\docs\\zafter.txt", patterned(2000, 3)},
  };
  return files;
}

// `changedByOthers`: the victim was deleted or resized by someone else
// between the scan and the copy, so only its copy is compared.
testing::AssertionResult truthful(EngineBed& bed, bool changedByOthers) {
  bed.platform.faults().clear();
  for (const Source& s : fixture()) {
    const bool victim = s.path.find("victim") != std::string::npos;
    if (!(victim && changedByOthers) && bed.readFile(s.path) != s.content) {
      return testing::AssertionFailure() << "source changed: " << s.path;
    }
    FileEntry* e = bed.entry(s.path);
    if (!e) return testing::AssertionFailure() << "not scanned: " << s.path;
    const bool saved = e->status == kOutcomeCopied ||
                       (e->status >= kOutcomeNoSourceTimes && e->status <= kOutcomeAttributesNotSet);
    const std::string dest = bed.destOf(s.path);
    if (saved) {
      if (e->diskNumber < 1) return testing::AssertionFailure() << "no disk: " << s.path;
      // A changed file is saved as it was when copied.
      if (bed.readFile(dest) != bed.readFile(s.path)) {
        return testing::AssertionFailure() << "saved copy differs: " << dest;
      }
    } else if (bed.exists(dest)) {
      return testing::AssertionFailure() << "a file not saved is on the destination: " << dest;
    }
    if (victim && changedByOthers && !bed.exists(s.path)) continue;
    const bool archive = (bed.attributes(s.path) & kAttrArchive) != 0;
    if (archive == (e->status == kOutcomeCopied)) {
      return testing::AssertionFailure()
             << "archive bit " << archive << " with outcome " << e->status << ": " << s.path;
    }
  }
  return testing::AssertionSuccess();
}

struct FaultCase {
  const char* name;
  FaultRule rule;
  int victimStatus;   // outcome of victim.bin
  int errorPrompts;   // copy-error prompts shown
};

// Test names and failures show the case's name, not its bytes.
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, BackupStaysTruthful) {
  const FaultCase& c = GetParam();
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D');
  bed.makeDir("C:\\docs");
  for (const Source& s : fixture()) {
    bed.writeFile(s.path, s.content);
    bed.setAttributes(s.path, kAttrArchive);
  }
  bed.platform.faults().add(c.rule);
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  const bool changedByOthers =
      c.rule.action == FaultAction::vanish || c.rule.action == FaultAction::resize;
  EXPECT_TRUE(truthful(bed, changedByOthers));
  EXPECT_EQ(bed.entry("C:\\docs\\victim.bin")->status, c.victimStatus);
  EXPECT_EQ(bed.host.count(PromptKind::copyError), c.errorPrompts);
  // The files around the victim are saved whatever happened to it.
  EXPECT_EQ(bed.entry("C:\\docs\\before.txt")->status, kOutcomeCopied);
  if (c.rule.action != FaultAction::diskFullAtByte) {
    EXPECT_EQ(bed.entry("C:\\docs\\zafter.txt")->status, kOutcomeCopied);
  }
}


FaultRule onDrive(FaultRule r, char drive) {
  r.drive = drive;
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Values(
        // A read error that goes away: the silent retry saves the file.
        FaultCase{"TransientReadError", faultRule(FaultOp::read, "victim", 2), kOutcomeCopied, 0},
        // A read error that stays: asked, skipped, no partial copy left.
        FaultCase{"ReadErrorMidFile", faultRule(FaultOp::read, "victim", 0), kOutcomeSkipped, 1},
        FaultCase{"WriteError", faultRule(FaultOp::write, "victim", 0, FaultAction::fail, Status::writeFault),
                  kOutcomeSkipped, 1},
        FaultCase{"CreateFailsOnce", faultRule(FaultOp::create, "victim", 1, FaultAction::fail, Status::accessDenied),
                  kOutcomeCopied, 0},
        // The fixed destination fills up in the middle of the big file.
        FaultCase{"DiskFull", faultRule(FaultOp::write, "", 0, FaultAction::diskFullAtByte, Status::diskFull, 200000),
                  kOutcomeSkipped, 1},
        // Gone between the scan and the copy.
        FaultCase{"Vanished", faultRule(FaultOp::openRead, "victim", 1, FaultAction::vanish), kOutcomeOpenFailed, 0},
        // Changed size between the scan and the copy: saved as it is now.
        FaultCase{"Grown", faultRule(FaultOp::openRead, "victim", 1, FaultAction::resize, Status::ok, 700000),
                  kOutcomeCopied, 0},
        FaultCase{"Shrunk", faultRule(FaultOp::openRead, "victim", 1, FaultAction::resize, Status::ok, 10),
                  kOutcomeCopied, 0},
        // The data is saved but its times or attributes are not.
        FaultCase{"TimesNotSet", faultRule(FaultOp::setTimes, "victim", 0, FaultAction::fail, Status::accessDenied),
                  kOutcomeTimesNotSet, 0},
        FaultCase{"AttributesNotSet", onDrive(faultRule(FaultOp::setAttributes, "victim", 0, FaultAction::fail, Status::accessDenied), 'D'),
                  kOutcomeAttributesNotSet, 0}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(FaultAccounting, ResizedFileIsReportedWithItsCopiedSize) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D');
  bed.writeFile("C:\\grows.log", patterned(1000));
  bed.platform.faults().add(faultRule(FaultOp::openRead, "grows", 1, FaultAction::resize, Status::ok, 5000));
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.entry("C:\\grows.log")->size, 5000);
  EXPECT_EQ(bed.run.bytesCopied, 5000);
}

TEST(FaultAccounting, AbortAtTheErrorPromptStopsTheRun) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D');
  bed.writeFile("C:\\a.bin", patterned(1000));
  bed.writeFile("C:\\b.bin", patterned(1000, 2));
  bed.platform.faults().add(faultRule(FaultOp::read, "a.bin", 0));
  bed.host.answer = [](PromptKind kind, const PromptDetails&) {
    return kind == PromptKind::copyError ? kAnswerAbort : kAnswerStart;
  };
  EXPECT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunCancelled);
  EXPECT_FALSE(bed.exists(bed.destOf("C:\\a.bin")));
  EXPECT_FALSE(bed.exists(bed.destOf("C:\\b.bin")));
  EXPECT_EQ(bed.attributes("C:\\a.bin") & kAttrArchive, kAttrArchive);
}

TEST(FaultAccounting, SourceFolderGoneBeforeTheCopy) {
  EngineBed bed;
  bed.addFixed('C');
  bed.addFixed('D');
  bed.makeDir("C:\\gone");
  bed.writeFile("C:\\gone\\x.txt", "x");
  bed.writeFile("C:\\stays.txt", "s");
  // The folder disappears after the scan, before its files are copied: the
  // copy phase's existence check lists it again and finds nothing.
  bed.host.answer = [&](PromptKind kind, const PromptDetails&) {
    if (kind == PromptKind::summary) {
      bed.platform.files().setAttributes("C:\\gone\\x.txt", kAttrNormal);
      bed.platform.files().deleteFile("C:\\gone\\x.txt");
      bed.platform.files().removeDirectory("C:\\gone");
    }
    return kAnswerStart;
  };
  ASSERT_EQ(bed.backup({'C'}, 'D', MODE_ALL), kRunDone);
  EXPECT_EQ(bed.entry("C:\\gone\\x.txt")->status, kOutcomeDirectoryGone);
  EXPECT_EQ(bed.entry("C:\\gone\\x.txt")->diskNumber, -1);
  EXPECT_EQ(bed.entry("C:\\stays.txt")->status, kOutcomeCopied);
}

}  // namespace
}  // namespace hw::test
