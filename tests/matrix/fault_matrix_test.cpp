// The fault matrix: each fault a user can meet, struck in each phase of a
// run where it can strike, and after every cell the checks a user would
// make (see CellChecks). The test prints the matrix and its figures.
#include <gtest/gtest.h>

#include <filesystem>
#include <array>
#include <cstdio>
#include <memory>
#include <map>

#include "tests/matrix/matrix_bed.h"
#include "tests/support/fault_rule.h"

namespace hw::test {
namespace {

enum Phase { kScan, kFirstDisk, kLaterDisk, kErase, kReport, kPhaseCount };
const char* const kPhaseNames[] = {"scan", "first disk", "later disk", "erase", "report"};

const char* const kFaultNames[] = {
    "read error",        "write error",      "disk full",        "medium removed",
    "file vanished",     "file grown",       "file shrunk",      "destination read-only",
    "path past the limit", "bad settings file", "bad extension list", "bad start-up files",
};

struct Cell {
  const char* fault;  // one of kFaultNames
  Phase phase;
  const char* variant;
  Fixture fixture;
  Destination dest;
  std::function<void(MatrixBed&, Expectations&)> arm;
};


// Every change to the drive fails as on a write-protected disk.
void writeProtect(MatrixBed& m, char drive) {
  for (FaultOp op : {FaultOp::create, FaultOp::openReadWrite, FaultOp::write, FaultOp::setTimes,
                     FaultOp::setAttributes, FaultOp::createDirectory, FaultOp::removeDirectory,
                     FaultOp::deleteFile, FaultOp::setDirectoryTimes}) {
    m.bed.platform.faults().add(faultRule(op, "", 0, FaultAction::fail, Status::writeProtect, 0, drive));
  }
}

// Settings files a user (or a crash) can leave behind.
std::string garbageSettings() {
  return "[DriveTimes]\nUseDriveD=banana\nDriveSizeD=-99999999999999999999999\n"
         "DrvTotTimeD=1e400\nDrvFilTimeD=-7\nDrvDelTimeD=\n=\n[[[\n]\n"
         "[DriveTimes]\nUseDriveA=1\nDriveSizeA=1390\nDrvTotTimeA=4294967295\n"
         "DrvFilTimeA=4294967295\nDrvDelTimeA=4294967295\n"
         "[Preferences]\nAutoAppendDstDisk=yes please\nSaveLog=-1\nDLogNum=99999\n";
}
std::string binarySettings() { return patterned(65536, 77); }
std::string hugeSettings() {
  std::string s = "[Main]\nLeft=" + std::string(1 << 20, '9') + "\n";
  for (int i = 0; s.size() < (1u << 20); ++i) s += "[S" + std::to_string(i) + "]\nK=" + std::string(200, 'v') + "\n";
  return s + "[DriveTimes]\nUseDriveD=1\nDrvTotTimeD=0\nDrvFilTimeD=0\n";
}

// The settings file where the host keeps it.
std::string settingsFile(MatrixBed& m) {
  const std::string& path = m.bed.settings.iniPath();
  const bool windowsPath = path.size() > 2 && path[1] == ':';
  return windowsPath ? m.bed.platform.hostPath(path) : path;
}

void replaceSettings(MatrixBed& m, const std::string& content) {
  std::filesystem::remove_all(settingsFile(m));
  ASSERT_TRUE(writeHostFile(settingsFile(m), content));
}
// A folder where the file should be: it can be neither read nor written.
void unreadableSettings(MatrixBed& m) {
  std::filesystem::remove_all(settingsFile(m));
  std::filesystem::create_directories(settingsFile(m) + "/x");
}

// The prompt for disk `disk` of the set, once.
std::function<int(PromptKind, const PromptDetails&)> atDisk(int disk, std::function<void()> act) {
  auto done = std::make_shared<bool>(false);
  return [=](PromptKind kind, const PromptDetails& d) {
    if (kind == PromptKind::nextDisk && d.diskNumber == disk && !*done) {
      *done = true;
      act();
    }
    return -1;
  };
}

// The summary: the scan is over, nothing is copied yet.
std::function<int(PromptKind, const PromptDetails&)> atSummary(std::function<void()> act) {
  return [=](PromptKind kind, const PromptDetails&) {
    if (kind == PromptKind::summary) act();
    return -1;
  };
}

// A floppy destination that holds files of someone else's, to be erased;
// the cell tells which of them must survive the erase.
void usedFloppy(MatrixBed& m, bool oldSurvives, bool readmeSurvives) {
  m.bed.makeDir("A:\\OLD");
  m.addForeignFile("A:\\OLD\\old.txt", patterned(3000, 91), !oldSurvives);
  m.addForeignFile("A:\\readme.txt", patterned(200, 92), !readmeSurvives);
  m.answers[PromptKind::diskInUse] = kAnswerErase;
}

std::vector<Cell> cells() {
  using F = Fixture;
  using D = Destination;
  const F small = F::small;
  std::vector<Cell> c;

  // ---- scan: the source read while the tree is built.
  c.push_back({"read error", kScan, "a folder cannot be listed", small, D::fixed,
               [](MatrixBed& m, Expectations&) {
                 m.bed.platform.faults().add(faultRule(FaultOp::findFirst, "C:\\docs\\sub\\*", 1));
               }});
  c.push_back({"file vanished", kScan, "right after it was listed", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::findFirst, "victim", 1, FaultAction::vanish));
                 e.changedByOthers = {m.victim()};
                 e.victimStatus = kOutcomeOpenFailed;
               }});
  c.push_back({"file grown", kScan, "right after it was listed", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::findFirst, "victim", 1, FaultAction::resize, Status::ok, 700000));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"file shrunk", kScan, "right after it was listed", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::findFirst, "victim", 1, FaultAction::resize, Status::ok, 10));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"medium removed", kScan, "the floppy taken out while scanning", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 auto once = std::make_shared<bool>(false);
                 m.bed.host.onPump = [&m, once] {
                   if (!*once) m.bed.platform.removeMedium('A');
                   *once = true;
                 };
                 e.allSaved = true;
               }});
  c.push_back({"path past the limit", kScan, "source files and folders beyond 259 characters",
               F::longPaths, D::fixed, [](MatrixBed& m, Expectations&) {
                 const std::string folder = std::string(80, 'a') + "/" + std::string(80, 'b') + "/" +
                                            "ccc" + std::string(77, 'x') + "/";
                 m.addHostSourceFile(folder + std::string(20, 'z') + ".txt", "too far");
                 m.addHostSourceFile(folder + std::string(20, 'd') + "/f.txt", "further");
               }});
  for (const char* variant : {"garbage", "binary", "huge", "a folder"}) {
    c.push_back({"bad settings file", kScan, variant, small, D::fixed,
                 [variant](MatrixBed& m, Expectations& e) {
                   const std::string v = variant;
                   if (v == "garbage") replaceSettings(m, garbageSettings());
                   if (v == "binary") replaceSettings(m, binarySettings());
                   if (v == "huge") replaceSettings(m, hugeSettings());
                   if (v == "a folder") unreadableSettings(m);
                   e.allSaved = true;
                 }});
  }

  // ---- first disk: the copy to the first destination disk.
  c.push_back({"read error", kFirstDisk, "once: the silent retry saves it", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::read, "victim", 2));
                 e.allSaved = true;
               }});
  c.push_back({"read error", kFirstDisk, "every time: skipped", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::read, "victim", 0));
                 e.victimStatus = kOutcomeSkipped;
               }});
  c.push_back({"read error", kFirstDisk, "every time, answered abort", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::read, "victim", 0));
                 m.answers[PromptKind::copyError] = kAnswerAbort;
                 e.result = kRunCancelled;
               }});
  c.push_back({"write error", kFirstDisk, "every time: skipped", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, "victim", 0, FaultAction::fail, Status::writeFault, 0, 'A'));
                 e.victimStatus = kOutcomeSkipped;
               }});
  c.push_back({"write error", kFirstDisk, "the close fails", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::close, "D:\\", 3, FaultAction::fail, Status::writeFault, 0, 'D'));
               }});
  c.push_back({"disk full", kFirstDisk, "fixed disk full mid-file", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, "", 0, FaultAction::diskFullAtByte, Status::diskFull, 200000, 'D'));
                 e.victimStatus = kOutcomeSkipped;
               }});
  c.push_back({"disk full", kFirstDisk, "the floppy fills sooner than counted", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 // Files of 1,100 bytes take three clusters each: the disk
                 // fills long before the bytes say so.
                 m.bed.makeDir("C:\\a_many");
                 for (int i = 0; i < 600; ++i) {
                   m.bed.writeFile("C:\\a_many\\n" + std::to_string(i) + ".txt", patterned(1100, i));
                   m.bed.setAttributes("C:\\a_many\\n" + std::to_string(i) + ".txt", kAttrArchive);
                 }
                 m.bed.writeFile("C:\\docs\\zzbig.bin", patterned(300000, 55));
                 m.bed.setAttributes("C:\\docs\\zzbig.bin", kAttrArchive);
                 e.allSaved = true;
               }});
  c.push_back({"medium removed", kFirstDisk, "mid-file", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, "victim", 2, FaultAction::removeMedium, Status::notReady, 0, 'A'));
                 e.allSaved = true;
               }});
  c.push_back({"file vanished", kFirstDisk, "before it is opened", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::openRead, "victim", 1, FaultAction::vanish));
                 e.changedByOthers = {m.victim()};
                 e.victimStatus = kOutcomeOpenFailed;
               }});
  c.push_back({"file grown", kFirstDisk, "before it is opened", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::openRead, "victim", 1, FaultAction::resize, Status::ok, 900000));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"file shrunk", kFirstDisk, "before it is opened", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::openRead, "victim", 1, FaultAction::resize, Status::ok, 0));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"destination read-only", kFirstDisk, "fixed disk", small, D::fixed,
               [](MatrixBed& m, Expectations&) { writeProtect(m, 'D'); }});
  c.push_back({"destination read-only", kFirstDisk, "floppy, answered abort", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 writeProtect(m, 'A');
                 m.answers[PromptKind::copyError] = kAnswerAbort;
                 e.result = kRunCancelled;
               }});
  c.push_back({"path past the limit", kFirstDisk, "copies need shortened paths", F::longPaths,
               D::fixed, [](MatrixBed&, Expectations& e) { e.allSaved = true; }});
  c.push_back({"bad settings file", kFirstDisk, "garbage, a disk in use", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 replaceSettings(m, garbageSettings());
                 m.addForeignFile("A:\\theirs.txt", patterned(5000, 93), false);
                 e.allSaved = true;
               }});

  // ---- later disk: after the first disk change of a backup on floppies.
  const F span = F::spanning;
  c.push_back({"read error", kLaterDisk, "every time: skipped", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::read, "f06", 0));
                 e.victimStatus = kOutcomeSkipped;
               }});
  c.push_back({"write error", kLaterDisk, "every time: skipped", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, "f06", 0, FaultAction::fail, Status::writeFault, 0, 'A'));
                 e.victimStatus = kOutcomeSkipped;
               }});
  c.push_back({"disk full", kLaterDisk, "disk 2 is in use, appended to", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.onPrompt = atDisk(2, [&m] {
                   m.bed.platform.insertMedium('A', m.lastMedium() + 1);
                   m.addForeignFile("A:\\theirs.bin", patterned(1000000, 94), false);
                 });
                 e.allSaved = true;
               }});
  c.push_back({"medium removed", kLaterDisk, "mid-file", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, "f06", 2, FaultAction::removeMedium, Status::notReady, 0, 'A'));
                 e.allSaved = true;
               }});
  c.push_back({"file vanished", kLaterDisk, "before it is opened", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(faultRule(FaultOp::openRead, "f06", 1, FaultAction::vanish));
                 e.changedByOthers = {m.victim()};
                 e.victimStatus = kOutcomeOpenFailed;
               }});
  c.push_back({"file grown", kLaterDisk, "before it is opened", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::openRead, "f06", 1, FaultAction::resize, Status::ok, 1000000));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"file shrunk", kLaterDisk, "before it is opened", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::openRead, "f06", 1, FaultAction::resize, Status::ok, 5));
                 e.changedByOthers = {m.victim()};
                 e.allSaved = true;
               }});
  c.push_back({"destination read-only", kLaterDisk, "disk 2 write-protected", span, D::floppy,
               [](MatrixBed& m, Expectations&) {
                 m.onPrompt = atDisk(2, [&m] { writeProtect(m, 'A'); });
               }});
  c.push_back({"destination read-only", kLaterDisk, "disk 2 write-protected, answered abort", span,
               D::floppy, [](MatrixBed& m, Expectations& e) {
                 m.onPrompt = atDisk(2, [&m] { writeProtect(m, 'A'); });
                 m.answers[PromptKind::copyError] = kAnswerAbort;
                 e.result = kRunCancelled;
               }});
  c.push_back({"path past the limit", kLaterDisk, "a shortened folder spans disks", F::longPaths,
               D::floppy, [](MatrixBed& m, Expectations& e) {
                 const std::string folder = "C:\\" + std::string(80, 'a') + "\\" + std::string(80, 'b') +
                                            "\\ccc" + std::string(77, 'y');
                 for (int i = 1; i <= 8; ++i) {
                   const std::string path = folder + "\\g" + std::to_string(i) + ".bin";
                   m.bed.writeFile(path, patterned(300000 + i, 60 + i));
                   m.bed.setAttributes(path, kAttrArchive);
                 }
                 e.allSaved = true;
               }});
  c.push_back({"bad settings file", kLaterDisk, "turned to binary between disks", span, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.onPrompt = atDisk(2, [&m] { replaceSettings(m, binarySettings()); });
                 e.allSaved = true;
               }});

  // ---- erase: the disk in use answered "erase".
  c.push_back({"read error", kErase, "a folder of the disk cannot be listed", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, true, false);
                 m.bed.platform.faults().add(faultRule(FaultOp::findFirst, "A:\\OLD\\*", 0));
                 e.allSaved = true;
               }});
  c.push_back({"write error", kErase, "a file cannot be deleted: skipped", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, true, false);
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::deleteFile, "old.txt", 0, FaultAction::fail, Status::accessDenied));
                 e.allSaved = true;
               }});
  c.push_back({"write error", kErase, "a file cannot be deleted: answered abort", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, true, false);
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::deleteFile, "old.txt", 0, FaultAction::fail, Status::accessDenied));
                 m.answers[PromptKind::copyError] = kAnswerAbort;
                 e.result = kRunCancelled;
               }});
  c.push_back({"write error", kErase, "folders cannot be removed", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::removeDirectory, "", 0, FaultAction::fail, Status::accessDenied, 0, 'A'));
                 e.allSaved = true;
               }});
  c.push_back({"disk full", kErase, "an undeletable file leaves less room", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 m.addForeignFile("A:\\big.bin", patterned(1100000, 95), false);
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::deleteFile, "big.bin", 0, FaultAction::fail, Status::accessDenied));
                 e.allSaved = true;
               }});
  c.push_back({"medium removed", kErase, "while erasing", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 m.onPrompt = [&m](PromptKind kind, const PromptDetails&) {
                   if (kind == PromptKind::diskInUse) {
                     m.bed.host.onPump = [&m] {
                       m.bed.platform.removeMedium('A');
                       m.bed.host.onPump = nullptr;
                     };
                   }
                   return -1;
                 };
                 e.allSaved = true;
               }});
  c.push_back({"file vanished", kErase, "a file of the disk, right after it was listed", small,
               D::floppy, [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 m.bed.platform.faults().add(faultRule(FaultOp::findFirst, "A:\\OLD\\old", 0, FaultAction::vanish));
                 e.allSaved = true;
               }});
  c.push_back({"destination read-only", kErase, "nothing can be deleted", small, D::floppy,
               [](MatrixBed& m, Expectations&) {
                 usedFloppy(m, true, true);
                 writeProtect(m, 'A');
               }});
  c.push_back({"path past the limit", kErase, "the disk holds a tree too deep to list", small,
               D::floppy, [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 std::string deep = m.bed.platform.mediumFolder('A', 1);
                 for (int i = 0; i < 6; ++i) deep += "/" + std::string(50, char('k' + i));
                 ASSERT_TRUE(writeHostFile(deep + "/hidden.txt", "out of reach"));
                 e.allSaved = true;
               }});
  c.push_back({"bad settings file", kErase, "a folder: the erase rate cannot be kept", small,
               D::floppy, [](MatrixBed& m, Expectations& e) {
                 usedFloppy(m, false, false);
                 unreadableSettings(m);
                 e.allSaved = true;
               }});

  // ---- report: the end of a complete run (archive bits, timings).
  c.push_back({"write error", kReport, "archive bits cannot be cleared", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::setAttributes, "", 0, FaultAction::fail, Status::accessDenied, 0, 'C'));
                 e.archiveMayStay = true;
                 e.allSaved = true;
               }});
  c.push_back({"bad settings file", kReport, "a folder by the end: timings cannot be stored",
               small, D::fixed, [](MatrixBed& m, Expectations& e) {
                 m.onPrompt = atSummary([&m] { unreadableSettings(m); });
                 e.allSaved = true;
               }});
  c.push_back({"bad settings file", kReport, "binary by the end", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.onPrompt = atSummary([&m] { replaceSettings(m, binarySettings()); });
                 e.allSaved = true;
               }});
  c.push_back({"write error", kReport, "every write of the report fails", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.settings.SetSaveLog(1);
                 m.bed.platform.faults().add(faultRule(FaultOp::write, ".KVX", 0, FaultAction::fail, Status::writeFault));
                 e.allSaved = true;
               }});
  c.push_back({"disk full", kReport, "the destination fills while the report is written", small,
               D::fixed, [](MatrixBed& m, Expectations& e) {
                 m.bed.settings.SetSaveLog(1);
                 m.bed.platform.faults().add(faultRule(FaultOp::write, ".KVX", 0, FaultAction::diskFullAtByte,
                                                  Status::diskFull, 100, 'D'));
                 e.allSaved = true;
               }});
  c.push_back({"medium removed", kReport, "in the middle of a long report", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.settings.SetSaveLog(1);
                 // Enough lines for the report to go out in several pieces.
                 m.bed.makeDir("C:\\a_many");
                 for (int i = 0; i < 1500; ++i) {
                   const std::string path = "C:\\a_many\\a-file-with-a-longer-name-" + std::to_string(i) + ".txt";
                   m.bed.writeFile(path, patterned(10, i));
                   m.bed.setAttributes(path, kAttrArchive);
                 }
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::write, ".KVX", 2, FaultAction::removeMedium, Status::notReady, 0, 'A'));
                 e.allSaved = true;
               }});
  c.push_back({"destination read-only", kReport, "the report cannot be created", small, D::floppy,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.settings.SetSaveLog(1);
                 m.bed.platform.faults().add(
                     faultRule(FaultOp::create, ".KVX", 0, FaultAction::fail, Status::writeProtect, 0, 'A'));
                 e.allSaved = true;
               }});
  c.push_back({"path past the limit", kReport, "the log folder is too deep", small, D::fixed,
               [](MatrixBed& m, Expectations& e) {
                 m.bed.settings.SetSaveLog(1);
                 m.bed.settings.SetSaveLogDir("P:\\" + std::string(120, 'l') + "\\" + std::string(140, 'm'));
                 e.allSaved = true;
               }});

  // ---- the files the selection rules read once the scan is done.
  for (const char* variant : {"garbage", "binary", "huge", "a folder"}) {
    c.push_back({"bad extension list", kScan, variant, small, D::fixed,
                 [variant](MatrixBed& m, Expectations& e) {
                   const std::string v = variant;
                   m.bed.makeDir("C:\\WINDOWS");
                   const std::string list = m.bed.platform.hostPath("C:\\WINDOWS\\HOARDWL.INI");
                   if (v == "garbage") {
                     ASSERT_TRUE(writeHostFile(list, "[UserDataExts]\nExt001=\nExt002=.\nExt003=*.*.*\n"
                                                     "Ext004=" + std::string(5000, 'x') + "\n[ApplicationExts\n=bin\n"));
                   }
                   if (v == "binary") {
                     ASSERT_TRUE(writeHostFile(list, patterned(40000, 81)));
                   }
                   if (v == "huge") {
                     std::string s = "[UserDataExts]\n";
                     for (int i = 0; s.size() < (1u << 20); ++i) s += "Ext" + std::to_string(i) + "=txt\n";
                     ASSERT_TRUE(writeHostFile(list, s + "[ApplicationExts]\nExt001=" + std::string(1 << 16, 'e') + "\n"));
                   }
                   if (v == "a folder") std::filesystem::create_directories(list + "/x");
                   m.bed.settings.SetUseINIDataExts(1);
                   m.bed.settings.SetUseINIApplExts(1);
                   m.mode = MODE_DATA | MODE_APPS;
                   e.allSaved = true;
                 }});
  }
  for (const char* variant : {"binary", "calling each other", "naming what is not there", "huge"}) {
    c.push_back({"bad start-up files", kScan, variant, small, D::floppy,
                 [variant](MatrixBed& m, Expectations& e) {
                   const std::string v = variant;
                   m.bed.makeDir("C:\\WINDOWS");
                   auto put = [&](const std::string& path, const std::string& content) {
                     m.bed.writeFile(path, content);
                     m.bed.setAttributes(path, kAttrArchive);
                   };
                   put("C:\\WINDOWS\\WIN.INI", "[windows]\nload=C:\\docs\\before.txt\nrun=\n");
                   put("C:\\WINDOWS\\SYSTEM.INI", "[boot]\nshell=C:\\root.txt\n");
                   if (v == "binary") {
                     put("C:\\CONFIG.SYS", patterned(20000, 82));
                     put("C:\\AUTOEXEC.BAT", patterned(20000, 83));
                   }
                   if (v == "calling each other") {
                     put("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nCALL C:\\B.BAT\r\nC:\\AUTOEXEC.BAT\r\n");
                     put("C:\\B.BAT", "CALL C:\\AUTOEXEC.BAT\r\nC:\\B.BAT\r\nDEVICE=C:\\docs\\zafter.txt\r\n");
                     put("C:\\CONFIG.SYS", "DEVICE=C:\\CONFIG.SYS\r\nSHELL=C:\\AUTOEXEC.BAT\r\n");
                   }
                   if (v == "naming what is not there") {
                     put("C:\\CONFIG.SYS", "DEVICE=C:\\NOWHERE\\GONE.SYS\r\nDEVICE=C:\\docs\r\nDEVICE=C:\\" +
                                                 std::string(300, 'q') + ".SYS\r\nDEVICE=Z:\\X.SYS\r\nDEVICE=\r\n");
                     put("C:\\AUTOEXEC.BAT", "C:\\MISSING.BAT\r\nCALL\r\nSET PATH=C:\\;C:\\WINDOWS;" +
                                                   std::string(2000, ';') + "\r\n");
                   }
                   if (v == "huge") {
                     std::string s;
                     while (s.size() < (1u << 20)) s += "DEVICE=C:\\docs\\sub\\deep.txt /X\r\nREM " + std::string(100, 'r') + "\r\n";
                     put("C:\\CONFIG.SYS", s + std::string(1 << 16, 'Z'));
                     put("C:\\AUTOEXEC.BAT", "SET X=" + std::string(1 << 18, 'y'));
                   }
                   m.mode = MODE_BOOT;
                 }});
  }
  return c;
}

TEST(FaultMatrix, EveryCellLeavesATruthfulBackup) {
  CellChecks checks;
  int cellsRun = 0, cellsFailed = 0;
  std::map<std::string, std::array<std::string, kPhaseCount>> grid;
  for (const Cell& cell : cells()) {
    const std::string name = std::string(cell.fault) + " / " + kPhaseNames[cell.phase] + " / " +
                             cell.variant;
    SCOPED_TRACE(name);
    MatrixBed m(cell.fixture, cell.dest);
    Expectations expect;
    cell.arm(m, expect);
    const int result = m.backup();
    const std::vector<std::string> problems = checks.check(m, result, expect);
    for (const std::string& p : problems) ADD_FAILURE() << name << ": " << p;
    ++cellsRun;
    cellsFailed += !problems.empty();
    std::string& mark = grid[cell.fault][cell.phase];
    mark += problems.empty() ? "+" : "X";
  }

  std::printf("\nFault matrix (+ a cell that held, X one that failed, . not applicable)\n");
  std::printf("%-22s", "");
  for (const char* phase : kPhaseNames) std::printf("%-12s", phase);
  std::printf("\n");
  for (const char* fault : kFaultNames) {
    std::printf("%-22s", fault);
    for (int p = 0; p < kPhaseCount; ++p) {
      const std::string& mark = grid[fault][p];
      std::printf("%-12s", mark.empty() ? "." : mark.c_str());
    }
    std::printf("\n");
  }
  std::printf("cells run %d, failed %d, files checked %d, report lines checked %d, losses %d\n",
              cellsRun, cellsFailed, checks.filesChecked, checks.reportLines, checks.losses);
  EXPECT_EQ(checks.losses, 0);
}

}  // namespace
}  // namespace hw::test
