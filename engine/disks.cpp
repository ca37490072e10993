// Destination disks: each disk checked, labelled, erased or appended to, the
// next disk asked for when one is full, and the engine's message boxes.
#include <algorithm>
#include <cstdio>

#include "common/format_number.h"
#include "engine/backup_engine.h"
#include "resources/string_ids.h"

namespace hw {

namespace {

// The engine's message boxes: text ids one after another, the caption, the
// buttons and icon.
struct MessageBox {
  std::vector<int> textIds;
  int captionId;
  unsigned type;
};

const MessageBox& messageBoxOf(int number) {
  static const MessageBox boxes[] = {
      {{}, 0, 0},
      {{ids::IDS_MSG_SOURCE_FULL_1, ids::IDS_MSG_SOURCE_FULL_2, ids::IDS_MSG_SOURCE_FULL_3,
        ids::IDS_MSG_SOURCE_FULL_4, ids::IDS_MSG_SOURCE_FULL_5, ids::IDS_MSG_SOURCE_FULL_6},
       ids::IDS_MSG_SOURCE_FULL_CAPTION, kMbOk | kMbIconStop},
      {{ids::IDS_MSG_NO_MEDIUM_1, ids::IDS_MSG_NO_MEDIUM_2}, ids::IDS_MSG_DRIVE_CAPTION,
       kMbRetryCancel | kMbIconStop},
      {{ids::IDS_MSG_NO_ROOT_1, ids::IDS_MSG_NO_ROOT_2}, ids::IDS_MSG_DRIVE_CAPTION,
       kMbRetryCancel | kMbIconStop},
      {{ids::IDS_MSG_SAME_LABEL, ids::IDS_MSG_SAME_DISK_1, ids::IDS_MSG_SAME_DISK_2,
        ids::IDS_MSG_SAME_DISK_3},
       ids::IDS_MSG_LABEL_CAPTION, kMbYesNo | kMbIconExclamation},
      {{ids::IDS_MSG_SAME_LABEL, ids::IDS_MSG_IN_SET_1, ids::IDS_MSG_IN_SET_2,
        ids::IDS_MSG_IN_SET_3, ids::IDS_MSG_IN_SET_4},
       ids::IDS_MSG_LABEL_CAPTION, kMbYesNo | kMbIconExclamation},
      {{ids::IDS_MSG_TOO_SMALL_NEEDED, ids::IDS_MSG_TOO_SMALL_CAPACITY, ids::IDS_MSG_TOO_SMALL_1,
        ids::IDS_MSG_TOO_SMALL_2, ids::IDS_MSG_TOO_SMALL_3, ids::IDS_MSG_TOO_SMALL_4},
       ids::IDS_MSG_TOO_SMALL_CAPTION, kMbOk | kMbIconStop},
      {{ids::IDS_MSG_ERASE_FIXED_1, ids::IDS_MSG_ERASE_FIXED_2, ids::IDS_MSG_ERASE_FIXED_3},
       ids::IDS_MSG_ERASE_FIXED_CAPTION, kMbYesNo | kMbIconStop},
      {{ids::IDS_MSG_UNLISTABLE_1, ids::IDS_MSG_UNLISTABLE_2, ids::IDS_MSG_UNLISTABLE_3,
        ids::IDS_MSG_UNLISTABLE_4, ids::IDS_MSG_UNLISTABLE_5, ids::IDS_MSG_UNLISTABLE_6,
        ids::IDS_MSG_UNLISTABLE_7, ids::IDS_MSG_UNLISTABLE_8},
       ids::IDS_MSG_UNLISTABLE_CAPTION, kMbYesNoCancel | kMbIconInformation},
      {{}, 0, 0},
      // 10: the erase of a disk that is also a source, refused.
      {{ids::IDS_MSG_ERASE_SOURCE_1, ids::IDS_MSG_ERASE_SOURCE_2}, ids::IDS_MSG_ERASE_SOURCE_CAPTION,
       kMbOk | kMbIconStop},
  };
  return boxes[number >= 1 && number <= 10 && number != 9 ? number : 0];
}

// A figure of message 6: thousands separators, a blank, "bytes".
std::string bytesFigure(double bytes, const Texts& texts) {
  return FormatGrouped(bytes <= 0 ? 0 : double(static_cast<std::uint64_t>(bytes)), 0) + " " +
         texts.get(ids::IDS_UNIT_BYTES);
}

// wsprintf's "%s" with one argument.
std::string withLabel(const std::string& pattern, const std::string& label) {
  const auto at = pattern.find("%s");
  return at == std::string::npos ? pattern : pattern.substr(0, at) + label + pattern.substr(at + 2);
}

}  // namespace

int BackupEngine::askWithPauses(PromptKind kind, const PromptDetails& details) {
  int answer = kAnswerPause;
  while (answer == kAnswerPause && run_.active) {
    answer = host_.ask(kind, details);
    host_.notify(kNotifyDialogClosed);
    if (answer == kAnswerPause) {
      // The main window's pause runs until the user resumes; then ask again.
      startClock();
      host_.notify(kNotifyPause);
      stopClock();
    }
  }
  return answer;
}

int BackupEngine::showMessage(int number, double figure1, double figure2) {
  const MessageBox& box = messageBoxOf(number);
  std::string text;
  for (std::size_t i = 0; i < box.textIds.size(); ++i) {
    const std::string part = texts_.get(box.textIds[i]);
    if (box.textIds[i] == ids::IDS_MSG_SAME_LABEL) {
      text += withLabel(part, run_.setLabel);
    } else if (number == 6 && i == 0) {
      text += part + bytesFigure(figure1, texts_) + "\n";
    } else if (number == 6 && i == 1) {
      text += part + bytesFigure(figure2, texts_) + "\n\n";
    } else {
      text += part;
    }
  }
  stopClock();
  const int answer = host_.messageBox(text, texts_.get(box.captionId), box.type);
  startClock();
  host_.notify(kNotifyDialogClosed);
  return answer;
}

bool BackupEngine::destinationIsASource() const {
  return std::any_of(run_.sourceList.begin(), run_.sourceList.end(),
                     [&](const DriveListItem& i) { return i.letter == run_.destLetter; });
}

// The label this program wrote on a disk of the current set: the set's name,
// an optional "_" and a disk number. Such a disk holds part of this very
// backup and must not take another part.
bool BackupEngine::labelOfThisSet(const std::string& description) const {
  if (run_.setName.empty()) return false;
  const auto open = description.find('[');
  const auto close = description.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close <= open) return false;
  const std::string label = description.substr(open + 1, close - open - 1);
  if (label.rfind(run_.setName, 0) != 0) return false;
  std::string rest = label.substr(run_.setName.size());
  if (!rest.empty() && rest[0] == '_') rest.erase(0, 1);
  return !rest.empty() && rest.find_first_not_of("0123456789") == std::string::npos;
}

int BackupEngine::fixedDiskCheck() {
  double total = 0, free = 0;
  drives_.DiskBytes(run_.destLetter, total, free);
  const double needed = run_.totalBytes * 1.03;
  if (needed < total) {
    handleUsedDisk(total, free);
    return 1;
  }
  showMessage(6, needed, total);
  run_.active = 0;
  host_.notify(kNotifyStopped);
  return kRunFatal;
}

int BackupEngine::prepareDisk() {
  stopClock();
  if (!(run_.destFlags & DK_REMOVABLE)) {
    const int result = fixedDiskCheck();
    startClock();
    return result;
  }
  const char letter = run_.destLetter;
  int answer = kIdRetry;
  bool ready = false;
  while (answer == kIdRetry) {
    if (!drives_.IsMediaPresent(letter)) {
      answer = showMessage(2);
      stopClock();
      continue;
    }
    if (!drives_.IsRootAccessible(letter)) {
      answer = showMessage(3);
      stopClock();
      continue;
    }
    if (drives_.IsDestinationUsable(letter)) {
      ready = true;
      break;
    }
    answer = showMessage(8);
    stopClock();
    if (answer == kIdYes) {
      answer = kIdRetry;
    } else if (answer == kIdNo) {
      ready = true;
    }
  }
  if (!ready) {
    startClock();
    return 0;
  }

  // Not the disk just filled, and not a disk of this set already.
  std::string description;
  drives_.DescribeVolume(DriveServices::rootOf(letter), description, true);
  if (!run_.setLabel.empty() && description == run_.setLabel && showMessage(4) == kIdNo) {
    startClock();
    return 0;
  }
  if ((drives_.IsSetLabel(description) || labelOfThisSet(description)) && showMessage(5) == kIdNo) {
    startClock();
    return 0;
  }

  std::string label;
  if (drives_.MakeNextDiskLabel(label) && drives_.SetDestinationLabel(label)) {
    host_.setControlText(2039, std::string(1, letter) + ": [" + label + "]");
  }

  removeIncompleteCopiesOnThisDisk();
  double total = 0, free = 0;
  drives_.DiskBytes(letter, total, free);
  if (handleUsedDisk(total, free) &&
      (!drives_.IsMediaPresent(letter) || !drives_.IsRootAccessible(letter))) {
    startClock();
    return 0;
  }
  startClock();
  host_.setControlText(2069, texts_.get(run_.diskCount - run_.diskIndex == 1 ? ids::IDS_DISK_LAST
                                                                              : ids::IDS_DISK_MORE));
  return 1;
}

std::string BackupEngine::figureText(double bytes) const {
  int unit = ids::IDS_UNIT_BYTES;
  double shown = bytes;
  if (bytes >= run_.megabyteLimit) {
    shown = bytes * 1e-6 + 0.5;
    unit = ids::IDS_UNIT_MEGABYTES;
  } else if (bytes >= 20000) {
    shown = bytes * 0.001 + 0.5;
    unit = ids::IDS_UNIT_KILOBYTES;
  }
  return FormatGrouped(double(static_cast<std::uint64_t>(shown < 0 ? 0 : shown)), 0) + " " +
         texts_.get(unit);
}

bool BackupEngine::handleUsedDisk(double total, double free) {
  bytesAlreadyOnDisk = 0;
  const double used = total - free;
  if (settings_.GetAutoAppendDstDisk()) {
    appendToDisk(used);
    return false;
  }
  if (free + 1 >= total) return false;

  PromptDetails details;
  details.text = figureText(used) + "\n" + figureText(free);
  details.totalBytes = used;
  details.diskNumber = run_.diskIndex + 1;
  stopClock();
  const int answer = askWithPauses(PromptKind::diskInUse, details);
  if (answer == kAnswerErase) {
    eraseDisk(used);
  } else if (answer == kAnswerAppend) {
    appendToDisk(used);
  } else if (answer == kAnswerAbort || answer == kAnswerPause) {
    if (answer == kAnswerAbort) run_.active = 0;
    startClock();
    return false;
  }
  startClock();
  return true;
}

void BackupEngine::appendToDisk(double used) {
  if (!currentDrive_) return;
  for (auto& drive : run_.sourceDrives) {
    if (drive->root) resetWalk(drive->root, kWalkResetVisit);
  }
  diskSpaceLeft = std::min(diskCapacity - used, run_.totalBytes - run_.bytesCopied);
  bytesAlreadyOnDisk = used;

  // Count the disks again from here, with `used` bytes taken on this one.
  int count = run_.diskIndex + 1;
  double fill = used;
  auto add = [&](double fileSize) {
    const double size = std::max(fileSize, run_.clusterSize);
    if (fill + size >= diskCapacity) {
      count += 1;
      fill = size;
    } else {
      fill += size;
    }
  };
  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    for (DirEntry* d = walkNext(drive->root, kWalkVisitAgain); d;
         d = walkNext(preorderNext(d), kWalkVisitAgain)) {
      for (const FileEntry& f : d->files) {
        if (f.selected && f.status == kOutcomeNotCopied) add(f.size);
      }
    }
  }
  for (const ExtraFile& e : run_.extraFiles) {
    if (e.selected && e.status == kOutcomeNotCopied) add(e.size);
  }
  run_.diskCount = count;
}

void BackupEngine::showEraseFigures(double secondsLeft, bool atLeastTwo) {
  const char* unitFormat = "%u %s";
  unsigned value = 0;
  int unit = ids::IDS_UNIT_SECONDS_ANY;
  if (secondsLeft > 360000) {
    value = static_cast<unsigned>(secondsLeft / 3600 + 0.5);
    unit = ids::IDS_UNIT_HOURS_ANY;
  } else if (secondsLeft > 120) {
    value = static_cast<unsigned>(secondsLeft / 60 + 0.5);
    unit = ids::IDS_UNIT_MINUTES_ANY;
  } else {
    value = secondsLeft > 0 ? static_cast<unsigned>(secondsLeft) : 0;
    if (atLeastTwo && value < 2) value = 2;
  }
  char text[64];
  std::snprintf(text, sizeof text, unitFormat, value, texts_.get(unit).c_str());
  host_.setControlText(2852, text);
  host_.setControlText(
      2854, FormatGrouped(double(static_cast<std::uint64_t>(std::max(0.0, eraseRemaining))), 0) +
                " Bytes");
}

bool BackupEngine::eraseDisk(double used) {
  eraseRemaining = used;
  // Erasing a drive that is also being backed up would delete the very
  // files the backup is for.
  if (destinationIsASource()) {
    showMessage(kMessageEraseSourceRefused);
    run_.active = 0;
    return false;
  }
  if (run_.destFlags & DK_FIXED) {
    if (showMessage(7) == kIdNo) {
      run_.active = 0;
      return false;
    }
  }
  eraseCancelled_ = false;
  host_.showEraseWindow(true);
  host_.setControlText(2856, " ");
  host_.setControlText(2857, " ");
  const double estimated = diskCapacity > 0 ? diskEraseTime * eraseRemaining / diskCapacity : 0;
  showEraseFigures(estimated, false);
  const double started = seconds();
  const std::string root = std::string(1, run_.destLetter) + ":";
  if (!deleteTree(root, true)) run_.active = 0;
  host_.showEraseWindow(false);
  host_.notify(kNotifyProgress);
  calibrateErase(estimated, seconds() - started);
  return true;
}

bool BackupEngine::deleteTree(const std::string& dir, bool isRoot) {
  if (eraseCancelled_) run_.active = 0;
  if (!run_.active) return false;
  host_.pumpMessages();
  FileSystem& fs = platform_.files();
  std::vector<std::string> subdirs;
  {
    FindData entry;
    Status status = Status::ok;
    auto listing = fs.findFirst(dir + "\\*.*", entry, status);
    if (listing) {
      do {
        if (entry.isDirectory() && isListableName(entry.name)) subdirs.push_back(entry.name);
      } while (listing->next(entry));
    }
  }
  for (const std::string& name : subdirs) {
    if (!deleteTree(dir + "\\" + name, false)) return false;
  }
  if (!deleteFilesOf(dir)) return false;
  if (!isRoot) {
    fs.setCurrentDirectory(std::string(1, run_.destLetter) + ":\\");
    fs.removeDirectory(dir);
  }
  return true;
}

bool BackupEngine::deleteOneFile(const std::string& path) {
  FileSystem& fs = platform_.files();
  fs.setAttributes(path, kAttrNormal);
  if (succeeded(fs.deleteFile(path))) return true;
  Status status = Status::ok;
  if (auto file = fs.openReadWrite(path, status)) file->close();
  return succeeded(fs.deleteFile(path));
}

bool BackupEngine::deleteFilesOf(const std::string& dir) {
  FileSystem& fs = platform_.files();
  std::vector<FindData> files;
  {
    FindData entry;
    Status status = Status::ok;
    auto listing = fs.findFirst(dir + "\\*.*", entry, status);
    if (listing) {
      do {
        if (!entry.isDirectory()) files.push_back(entry);
      } while (listing->next(entry));
    }
  }
  for (const FindData& f : files) {
    if (eraseCancelled_ || !run_.active) {
      run_.active = 0;
      return false;
    }
    host_.pumpMessages();
    const double secondsLeft =
        diskCapacity > 0 ? diskEraseTime * eraseRemaining / diskCapacity : 0;
    showEraseFigures(secondsLeft, true);
    host_.setControlText(2856, f.name);
    host_.setControlText(2857, dir);
    const std::string path = dir + "\\" + f.name;
    bool deleted = deleteOneFile(path);
    int answer = kAnswerRetry;
    while (!deleted && (answer == kAnswerRetry || answer == kAnswerPause) && run_.active) {
      host_.pumpMessages();
      stopClock();
      PromptDetails details;
      details.fileName = f.name;
      details.directory = dir;
      details.code = 0;
      answer = host_.ask(PromptKind::copyError, details);
      host_.notify(kNotifyDialogClosed);
      if (answer == kAnswerRetry) {
        deleted = deleteOneFile(path);
        startClock();
      } else if (answer == kAnswerPause) {
        host_.showEraseWindow(false);
        startClock();
        host_.notify(kNotifyPause);
        host_.showEraseWindow(true);
      } else if (answer == kAnswerAbort) {
        run_.active = 0;
        startClock();
        return false;
      } else {
        startClock();
      }
    }
    if (deleted) {
      eraseRemaining = std::max(0.0, eraseRemaining - ScaledBytes(double(f.size())));
    }
  }
  return true;
}

int BackupEngine::askNextDisk(bool afterWriteError) {
  // Whatever went to the disk just filled gets its directory times back
  // before the disk leaves the drive.
  stampCreatedDirectories();
  drives_.WaitForDriveIdle(true);
  stopClock();
  PromptDetails details;
  details.diskNumber = run_.diskIndex + 2;
  details.setName = run_.setName;
  details.afterWriteError = afterWriteError;
  details.timeoutMs = drives_.DiskChangeTimeout();
  const int answer = askWithPauses(PromptKind::nextDisk, details);
  if (answer == kAnswerPause) {  // stopped while paused
    startClock();
    return 0;
  }
  if (answer == kAnswerAbort) {
    run_.active = 0;
    startClock();
    return kAnswerAbort;
  }
  drives_.WaitForRootAccess();
  startClock();
  bytesOnDisk = 0;
  bytesAlreadyOnDisk = 0;
  writeFailures = 0;
  dirsCreated_ = 0;
  diskPercent = 0;
  run_.diskIndex += 1;
  fullUpdate(0);
  return answer;
}

void BackupEngine::noteFilledDiskLabel() {
  drives_.DescribeVolume(DriveServices::rootOf(run_.destLetter), run_.setLabel, true);
}

// Asks for the next disk until one is ready. False when the run stopped.
bool BackupEngine::askUntilNextDiskReady() {
  noteFilledDiskLabel();
  for (;;) {
    if (!run_.active) return false;
    const int answer = askNextDisk(false);
    if (answer == kAnswerAbort || !run_.active) return false;
    if (answer != kAnswerContinue) return true;  // go on with the current disk
    if (prepareDisk() == 1) return true;
    run_.diskIndex -= 1;
  }
}

bool BackupEngine::newDiskAfterWriteError() {
  if (!(run_.destFlags & DK_REMOVABLE)) return false;
  // A full disk, or one that left the drive in the middle of a file: the
  // file goes again, whole, onto the next disk.
  const bool mediumGone = !drives_.IsMediaPresent(run_.destLetter);
  const bool wasFull = fullAtWriteFailure_;
  fullAtWriteFailure_ = false;
  if (!mediumGone && !wasFull && !drives_.IsNearlyFull(run_.destLetter)) return false;
  noteFilledDiskLabel();
  for (;;) {
    if (!run_.active) return false;
    const int answer = askNextDisk(true);
    if (answer == kAnswerContinue) {
      if (prepareDisk() == 1) return true;
      run_.diskIndex -= 1;
      continue;
    }
    if (answer == kAnswerAbort) run_.active = 0;
    return false;
  }
}

}  // namespace hw
