#include "engine/backup_engine.h"

#include <algorithm>

#include "resources/string_ids.h"

namespace hw {


BackupEngine::BackupEngine(Platform& platform, SettingsStore& settings, RunRecord& run,
                           DriveServices& drives, EngineHost& host, const Texts& texts)
    : platform_(platform),
      settings_(settings),
      run_(run),
      drives_(drives),
      host_(host),
      texts_(texts),
      rules_(std::make_unique<SelectionRules>(platform, run, settings, host, texts)),
      setNaming_(platform, run, settings, texts),
      reportPump_(host),
      report_(std::make_unique<ReportWriter>(platform, run, settings, texts, reportPump_)) {
  run_.settingsStore = &settings;
  // Labelling the first disk names the set when it has no name yet.
  drives_.setSetNamer([this] { nameBackupSet(); });
  run_.sourceList.clear();
  run_.destLetter = 0;
  run_.shortenedPaths.clear();
  run_.extraFiles.clear();
  run_.sourceDrives.clear();
}

BackupEngine::~BackupEngine() {
  run_.sourceDrives.clear();
  run_.shortenedPaths.clear();
}

double BackupEngine::seconds() { return platform_.clock().tickCount() * 0.001; }

// The backup clock stops for every prompt, message box and pause, so the
// elapsed time is the time spent working.
void BackupEngine::stopClock() {
  if (clockStopped_) return;
  clockStopped_ = true;
  pauseStart_ = platform_.clock().tickCount();
}

void BackupEngine::startClock() {
  if (!clockStopped_) return;
  clockStopped_ = false;
  const std::uint32_t now = platform_.clock().tickCount();
  run_.startTime += (now - static_cast<std::uint32_t>(pauseStart_)) * 0.001;
  pauseStart_ = 0;
}

void BackupEngine::pauseLoop() {
  stopClock();
  run_.paused = 1;
  while (run_.paused && run_.active) host_.pumpMessages();
  run_.paused = 0;
  startClock();
}

void BackupEngine::rescanDrive(char letter, bool keepRecord) {
  if (run_.active) return;
  if (!keepRecord) {
    run_.sourceDrives.clear();
    run_.shortenedPaths.clear();
  } else if (SourceDrive* drive = run_.findDrive(letter)) {
    drive->freeTree();
  }
  if (letter == 0) return;
  SourceDrive* drive = run_.findDrive(letter);
  if (!drive) {
    for (const DriveListItem& item : run_.sourceList) {
      if (item.letter != letter) continue;
      run_.sourceDrives.push_back(std::make_unique<SourceDrive>(makeSourceDrive(item)));
      drive = run_.sourceDrives.back().get();
      break;
    }
  }
  if (!drive) return;
  drive->needsScan = 1;
  scanRunning_ = true;
  scanCancelled_ = false;
  host_.showScanWindow(true);
  scanDrive(*drive);
  host_.showScanWindow(false);
  host_.notify(kNotifyProgress);
}

void BackupEngine::nameBackupSet() { setNaming_.NameBackupSet(); }

int BackupEngine::copyPhase() {
  if (run_.sourceDrives.empty()) return 0;
  copyBuffer_.assign(kCopyBufferSize, 0);
  createdDirs_.clear();
  currentDrive_ = run_.sourceDrives.front().get();

  int ready = prepareDisk();
  if (ready == kRunFatal) return kRunFatal;
  while (ready != 1) {
    if (!run_.active) return 0;
    run_.diskIndex -= 1;
    const int answer = askNextDisk(false);
    if (answer == kAnswerAbort || !run_.active) {
      run_.active = 0;
      return 0;
    }
    if (answer == kAnswerContinue) ready = prepareDisk();
  }

  nameBackupSet();
  if ((run_.mode & MODE_BOOT) && (run_.destFlags & DK_REMOVABLE)) copyBootFilesFirst();

  for (auto& drive : run_.sourceDrives) {
    if (!run_.active) break;
    if (!drive->selected || !drive->root) continue;
    run_.sourceLetter = drive->letter;
    host_.notify(kNotifyNewSourceDrive);
    if (drive->copiedBefore) resetWalk(drive->root, kWalkResetProcessed);
    drive->copiedBefore = 1;
    copyTree(*drive);
  }
  if (run_.active && (run_.mode & MODE_BOOT)) copyExtraFiles();
  stampCreatedDirectories();
  copyBuffer_.clear();
  copyBuffer_.shrink_to_fit();
  return 1;
}

void BackupEngine::setDestination(const DriveListItem& destination) {
  run_.destLetter = destination.letter;
  run_.destFlags = destination.kind;
  run_.destType = destination.statClass;
  run_.clusterSize = destination.sectorSize;
  diskCapacity = destination.total;
}

int BackupEngine::run(const std::vector<DriveListItem>& sourceList, std::uint32_t mode) {
  // 1. Reset the per-run state.
  dirsCreated_ = 0;
  skipAllTooLarge_ = 0;
  milestone25 = milestone50 = milestone75 = 0;
  baseEstimate = 0;
  resetDisplay();
  pauseStart_ = 0;
  clockStopped_ = false;
  bytesOnDisk = 0;
  bytesAlreadyOnDisk = 0;
  bytesInFlight_ = 0;
  blockCounter_ = 0;
  run_.active = 1;
  run_.totalBytes = 0;
  run_.totalFiles = 0;
  currentDrive_ = nullptr;
  currentDir_ = nullptr;
  run_.sourceList.assign(sourceList.begin(),
                         sourceList.begin() + std::min<std::size_t>(sourceList.size(), 26));
  run_.mode = mode;
  shortenedDirs_.clear();
  run_.incompleteCopies.clear();
  reportResult_ = -1;
  rules_->ResetClassification();
  rules_->ResetRunState();
  rules_->ResetSelection();

  // 2. Source drive records: new ones for new letters and for drives marked
  // for a rescan; the others keep the tree of an earlier run.
  if (run_.sourceList.empty()) run_.sourceDrives.clear();
  for (const DriveListItem& item : run_.sourceList) {
    auto it = std::find_if(run_.sourceDrives.begin(), run_.sourceDrives.end(),
                           [&](const auto& d) { return d->letter == item.letter; });
    if (it != run_.sourceDrives.end() && !(*it)->needsScan) continue;
    if (it != run_.sourceDrives.end()) run_.sourceDrives.erase(it);
    run_.sourceDrives.push_back(std::make_unique<SourceDrive>(makeSourceDrive(item)));
  }
  // 3. Selected or not.
  for (auto& drive : run_.sourceDrives) {
    drive->selected = std::any_of(run_.sourceList.begin(), run_.sourceList.end(),
                                  [&](const DriveListItem& i) { return i.letter == drive->letter; });
  }

  // 4. Scan.
  scanRunning_ = true;
  scanCancelled_ = false;
  host_.showScanWindow(true);
  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->needsScan) continue;
    scanDrive(*drive);
    if (scanCancelled_) {
      drive->needsScan = 1;
      break;
    }
  }
  auto addTotals = [&] {
    if (run_.sourceDrives.empty()) return;
    run_.totalBytes = 0;
    run_.totalFiles = 0;
    for (auto& drive : run_.sourceDrives) {
      if (!drive->selected) continue;
      run_.totalBytes += drive->scannedBytes;
      run_.totalFiles += drive->scannedFiles;
    }
  };
  // 5. A cancelled scan ends the run.
  if (scanCancelled_) {
    host_.showScanWindow(false);
    addTotals();
    estimate(false);
    fullUpdate(0);
    run_.active = 0;
    return kRunCancelled;
  }
  // 6, 7.
  host_.showScanWindow(false);
  host_.notify(kNotifyProgress);
  addTotals();

  // 8. Selection.
  const bool waitWindow = run_.totalBytes >= 6e8 || !(mode & MODE_ALL);
  if (waitWindow) host_.showWaitWindow(true);
  rules_->ApplyRules();
  run_.totalBytes = rules_->selectedBytes();
  run_.totalFiles = rules_->selectedFiles();
  if (waitWindow) host_.showWaitWindow(false);

  // 9. Plan.
  if (run_.sourceDrives.empty()) {
    run_.active = 0;
    return kRunNothingPlanned;
  }
  if (!estimate(true)) {
    run_.active = 0;
    return kRunNothingPlanned;
  }
  fullUpdate(0);

  // 10. A destination that is also a source needs room for the backup.
  if (!drives_.HasRoomWhenAlsoSource()) {
    showMessage(1);
    run_.active = 0;
    return kRunFatal;
  }

  // 11. Summary, then the copy.
  const int answer = fillSummary();
  if (answer == kAnswerCancel) run_.active = 0;
  if (answer == kAnswerStart) {
    confirmOverwrite_ = 1;
    run_.active = 1;
    if (copyPhase() == kRunFatal) return kRunFatal;
    if (run_.active) {
      finalUpdate();
      if (run_.bytesCopied > 5000000) host_.notify(kNotifyHintHugeBackup);
      clearArchiveBits();
      if (run_.bytesCopied > 1000000) host_.notify(kNotifyHintBigBackup);
      storeTimings(diskCapacity);
      reportResult_ = report_->WriteReport();
    }
  }
  // 12. Let the destination settle.
  drives_.WaitForDriveIdle(false);
  // 13.
  if (!run_.active) return kRunCancelled;
  run_.active = 0;
  return answer;
}

bool BackupEngine::usableShortPath(std::string& path) {
  // Usable when no directory of that name exists yet; otherwise try letters
  // at the end of the last component until one is free.
  auto taken = [&](const std::string& candidate) {
    FindData entry;
    Status status = Status::ok;
    auto listing = platform_.files().findFirst(candidate + "\\*.*", entry, status);
    if (!listing) return false;
    do {
      if (entry.isDirectory()) return true;
    } while (listing->next(entry));
    return false;
  };
  if (!taken(path)) return true;
  const std::size_t last = path.rfind('\\') + 1;
  std::string candidate = path;
  if (candidate.size() < last + 4) candidate.resize(last + 4, 'A');
  for (int width = 1; width <= 3; ++width) {
    const std::size_t first = last + 4 - width;
    std::string trial = candidate;
    // Every combination of `width` letters at positions first .. last+3.
    int combinations = 1;
    for (int i = 0; i < width; ++i) combinations *= 26;
    for (int c = 0; c < combinations; ++c) {
      int v = c;
      for (int i = width - 1; i >= 0; --i) {
        trial[first + i] = char('A' + v % 26);
        v /= 26;
      }
      if (!taken(trial)) {
        path = trial;
        return true;
      }
    }
  }
  return false;
}

bool BackupEngine::shortenDestPath(const std::string& sourcePath, std::string& destPath,
                                   std::size_t limit) {
  // Below a directory that was shortened already, start from its short
  // path, so a subdirectory stays inside its own parent's copy, also when
  // its own path would have been short enough.
  bool belowShortened = false;
  for (std::size_t cut = sourcePath.rfind('\\');
       !shortenedDirs_.empty() && cut != std::string::npos && cut > 2;
       cut = sourcePath.rfind('\\', cut - 1)) {
    auto known = shortenedDirs_.find(sourcePath.substr(0, cut));
    if (known == shortenedDirs_.end()) continue;
    destPath = known->second + sourcePath.substr(cut);
    belowShortened = true;
    break;
  }
  if (destPath.size() <= limit && !belowShortened) return true;
  ShortenedPath entry;
  entry.sourcePath = sourcePath;

  if (destPath.size() <= limit) {
    entry.ok = 1;
    entry.destPath = destPath;
    run_.shortenedPaths.push_back(entry);
    shortenedDirs_[sourcePath] = destPath;
    return true;
  }
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < destPath.size() && starts.size() < 39; ++i) {
    if (destPath[i] == '\\') starts.push_back(i + 1);
  }
  // The last component that can start early enough to leave room for three
  // characters; it and every component after it are cut to three.
  std::size_t from = starts.size();
  while (from > 0 && starts[from - 1] + 3 > limit) --from;
  bool ok = from > 0;
  std::string shortened;
  if (ok) {
    shortened = destPath.substr(0, starts[from - 1]);
    std::size_t pos = starts[from - 1];
    while (pos <= destPath.size()) {
      std::size_t end = destPath.find('\\', pos);
      if (end == std::string::npos) end = destPath.size();
      std::string part = destPath.substr(pos, std::min<std::size_t>(end - pos, 3));
      if (part.size() == 1) part += "BC";
      if (part.size() == 2) part += "C";
      shortened += part;
      if (end == destPath.size()) break;
      shortened += "\\";
      pos = end + 1;
    }
    ok = shortened.size() <= limit && usableShortPath(shortened) && shortened.size() <= limit;
  }
  entry.ok = ok ? 1 : 0;
  entry.destPath = ok ? shortened : texts_.get(ids::IDS_SHORT_PATH_UNUSABLE);
  run_.shortenedPaths.push_back(entry);
  if (ok) {
    destPath = shortened;
    shortenedDirs_[sourcePath] = shortened;
  }
  return ok;
}

SourceDrive* RunRecord::findDrive(char letter) {
  for (auto& d : sourceDrives) {
    if (d->letter == letter) return d.get();
  }
  return nullptr;
}

}  // namespace hw
