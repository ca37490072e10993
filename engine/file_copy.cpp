// The copy phase: directories reproduced on the destination with their
// source's times, files copied in 128 KiB blocks with names, times and
// attributes kept, and copy errors turned into outcomes, retries or prompts.
#include <algorithm>
#include <cstring>

#include "engine/backup_engine.h"
#include "resources/string_ids.h"

namespace hw {

struct BackupEngine::CopyTarget {
  FileEntry* file = nullptr;
  ExtraFile* extra = nullptr;

  void set(std::int32_t status, std::int32_t selected, std::int32_t diskNumber) const {
    if (file) {
      file->status = status;
      file->selected = selected;
      file->diskNumber = diskNumber;
    } else {
      extra->status = status;
      extra->selected = selected;
      extra->diskNumber = diskNumber;
    }
  }
  void setOutcome(std::int32_t status, std::int32_t diskNumber) const {
    if (file) {
      file->status = status;
      file->diskNumber = diskNumber;
    } else {
      extra->status = status;
      extra->diskNumber = diskNumber;
    }
  }
  double size() const { return file ? file->size : extra->size; }
  void setSize(double bytes) const { (file ? file->size : extra->size) = bytes; }
};

namespace {

// A source path split into its folder and its file name.
void splitPath(const std::string& path, std::string& folder, std::string& name) {
  const auto cut = path.rfind('\\');
  folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
  name = cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void BackupEngine::copyTree(SourceDrive& drive) {
  currentDrive_ = &drive;
  currentDir_ = walkNext(drive.root, kWalkNotProcessed);
  while (run_.active && currentDir_) {
    copyDirectory(*currentDir_);
    currentDir_->processed = 1;
    currentDir_ = walkNext(currentDir_, kWalkNotProcessed);
  }
}

bool BackupEngine::copyDirectory(DirEntry& dir) {
  if (!run_.active || dir.processed) return false;
  const bool all = (run_.mode & MODE_ALL) != 0;
  if (!dir.hasSelectedFile() && !all) return true;

  FileSystem& fs = platform_.files();
  const bool isRoot = dir.parentPath.empty();
  if (!isRoot) {
    // The directory must still be there: a listing of a directory always
    // gives at least ".".
    FindData entry;
    Status status = Status::ok;
    auto listing = fs.findFirst(dir.fullPath() + "\\*.*", entry, status);
    bool exists = false;
    if (listing) {
      do {
        if (entry.isDirectory()) exists = true;
      } while (!exists && listing->next(entry));
    }
    if (!exists) {
      for (FileEntry& f : dir.files) {
        host_.pumpMessages();
        if (!run_.active) return false;
        if (!f.selected) continue;
        f.selected = 0;
        f.status = kOutcomeDirectoryGone;
        f.diskNumber = -1;
      }
      return false;
    }
  }

  std::string sourceDir, destDir;
  bool created = false;
  if (!dir.files.empty() || all) {
    rules_->BuildCopyPaths(dir, sourceDir, destDir);
    // A folder within the limit may still be too deep for its files' paths:
    // then it is shortened far enough for its longest name.
    std::size_t longestName = 0;
    for (const FileEntry& f : dir.files) {
      if (f.selected) longestName = std::max(longestName, f.name.size());
    }
    std::size_t limit = kMaxDestPath;
    if (destDir.size() + 1 + longestName > kMaxFilePath && longestName + 1 + 64 <= kMaxFilePath) {
      limit = std::min(limit, kMaxFilePath - 1 - longestName);
    }
    if (!shortenDestPath(sourceDir, destDir, limit)) {
      dir.processed = 1;
      return false;
    }
    created = createDestDirs(destDir, false, false);
    std::uint32_t attributes = 0;
    // A drive's root carries hidden and system on some file systems; the
    // set's drive folder keeps plain attributes.
    if (!isRoot && succeeded(fs.getAttributes(sourceDir, attributes))) {
      fs.setAttributes(destDir, attributes & ~kAttrDirectory);
    }
  }

  for (FileEntry& f : dir.files) {
    host_.pumpMessages();
    if (!run_.active) return false;
    if (!f.selected) continue;
    const std::string source = sourceDir + "\\" + f.name;
    const std::string dest = destDir + "\\" + f.name;
    const int room = ensureRoomFor(f.size);
    if (room < 0) return false;
    if (room > 0) created = createDestDirs(dest, true, true);
    if (!run_.active) return false;
    copyAndAccount(CopyTarget{&f, nullptr}, source, dest, !created);
  }
  return true;
}

// The disk full test: when the file will not fit on what is left of this
// disk, move to the next disk first. 1 when a new disk was taken, 0 to go on
// with this one, -1 when the run stopped.
int BackupEngine::ensureRoomFor(double size) {
  if (!(run_.destFlags & DK_REMOVABLE)) return 0;
  if (diskCapacity >= size + bytesAlreadyOnDisk + bytesOnDisk) return 0;
  // A fresh disk takes what it can; a file larger than a whole disk is the
  // estimate's to drop, not a reason to ask for disk after disk.
  if (bytesOnDisk == 0 && bytesAlreadyOnDisk == 0) return 0;
  if (!askUntilNextDiskReady() || !run_.active) return -1;
  return 1;
}

// One file copied with its times and attributes, then accounted or its
// failure handled.
void BackupEngine::copyAndAccount(CopyTarget target, const std::string& source,
                                  const std::string& dest, bool checkExisting) {
  const int code = copyFile(source, dest, true, checkExisting);
  if (code == kCopyOk) {
    accountCopied(target, double(lastCopiedBytes_));
  } else {
    handleCopyResult(target, source, dest, code);
  }
}

void BackupEngine::accountCopied(CopyTarget target, double size) {
  target.setSize(size);
  const double counted = std::max(size, run_.clusterSize);
  run_.bytesCopied += counted;
  bytesOnDisk += counted;
  run_.filesCopied += 1;
  target.setOutcome(kOutcomeCopied, run_.diskIndex + 1);
  updateProgress(true);
}

// Whether the disk was full when a write failed must be known before the
// cut-off copy is removed: removing it frees the very space that was
// missing, and the disk would no longer look full.
void BackupEngine::noteDiskStateAtWriteFailure(Status status) {
  fullAtWriteFailure_ = status == Status::diskFull || status == Status::handleDiskFull ||
                        ((run_.destFlags & DK_REMOVABLE) && drives_.IsNearlyFull(run_.destLetter));
}

void BackupEngine::removePartialFile(const std::string& dest) {
  // A destination file that did not get all its bytes must never look like
  // a good copy.
  FileSystem& fs = platform_.files();
  fs.setAttributes(dest, kAttrNormal);
  if (succeeded(fs.deleteFile(dest)) || !(run_.destFlags & DK_REMOVABLE)) return;
  // The disk left the drive with the cut-off copy on it: remember it, to
  // remove it should that disk come back, and to tell the user otherwise.
  run_.incompleteCopies.push_back({dest, run_.diskIndex + 1, diskSerial_});
}

void BackupEngine::removeIncompleteCopiesOnThisDisk() {
  VolumeInfo info;
  if (!succeeded(platform_.volumes().volumeInformation(DriveServices::rootOf(run_.destLetter), info))) {
    return;
  }
  diskSerial_ = info.serial;
  FileSystem& fs = platform_.files();
  auto& list = run_.incompleteCopies;
  for (auto it = list.begin(); it != list.end();) {
    if (it->serial == info.serial) {
      fs.setAttributes(it->path, kAttrNormal);
      fs.deleteFile(it->path);
      std::uint32_t attributes = 0;
      if (!succeeded(fs.getAttributes(it->path, attributes))) {
        it = list.erase(it);
        continue;
      }
    }
    ++it;
  }
}

int BackupEngine::copyFile(const std::string& source, const std::string& dest, bool keep,
                           bool checkExisting) {
  if (!run_.active) return kCopyStopped;
  FileSystem& fs = platform_.files();
  lastCopiedBytes_ = 0;

  // In a folder made just now the file cannot exist yet: no need to look.
  const bool mayExist = checkExisting || !confirmOverwrite_;
  std::uint32_t existing = kInvalidAttributes;
  const bool exists = mayExist && succeeded(fs.getAttributes(dest, existing)) &&
                      existing != kInvalidAttributes;
  if (exists && confirmOverwrite_ && checkExisting) {
    std::string folder, name;
    splitPath(dest, folder, name);
    std::uint32_t folderAttributes = 0;
    if (!succeeded(fs.getAttributes(folder, folderAttributes))) return kCopyNoDestDirectory;
    PromptDetails details;
    details.text = attributesText(existing);
    details.sourcePath = source;
    details.destPath = dest;
    details.systemFile = (existing & kAttrSystem) != 0;
    stopClock();
    const int answer = host_.ask(PromptKind::overwrite, details);
    startClock();
    host_.notify(kNotifyDialogClosed);
    if (answer == kAnswerSkipFile) return kCopySkipped;
    if (answer == kAnswerOverwriteAll) confirmOverwrite_ = 0;
    if (answer == kAnswerOverwrite || answer == kAnswerOverwriteAll) fs.setAttributes(dest, kAttrNormal);
  } else if (exists) {
    // Overwriting without asking (overwrite all was chosen, or a retry):
    // a read-only, hidden or system copy from an earlier backup must not
    // stop the new one.
    fs.setAttributes(dest, kAttrNormal);
  }

  Status status = Status::ok;
  std::unique_ptr<File> in = fs.openRead(source, status);
  if (!in) return kCopyOpenFailed;
  std::unique_ptr<File> out = fs.create(dest, status);
  if (!out) return kCopyCreateFailed;
  if (copyBuffer_.size() < kCopyBufferSize) copyBuffer_.resize(kCopyBufferSize);

  std::uint64_t copied = 0;
  for (;;) {
    std::uint32_t got = 0;
    if (!succeeded(in->read(copyBuffer_.data(), kCopyBlock, got))) {
      out.reset();
      removePartialFile(dest);
      return kCopyReadFailed;
    }
    std::uint32_t written = 0;
    Status wrote = Status::ok;
    if (got > 0 && (!succeeded(wrote = out->write(copyBuffer_.data(), got, written)) || written != got)) {
      noteDiskStateAtWriteFailure(wrote);
      out.reset();
      removePartialFile(dest);
      return kCopyWriteFailed;
    }
    copied += got;
    if (got < kCopyBlock) break;
    // Full block: progress, then let the window handle stop and pause.
    bytesInFlight_ = double(copied);
    if (run_.filesCopied == 0) {
      updateProgress(true);
    } else {
      blockCounter_ = blockCounter_ % 3 + 1;
      updateProgress(blockCounter_ == 3);
    }
    host_.pumpMessages();
    if (!run_.active) {
      bytesInFlight_ = 0;
      out.reset();
      removePartialFile(dest);
      return kCopyStopped;
    }
  }
  bytesInFlight_ = 0;

  int result = kCopyOk;
  if (keep) {
    FileTime created, accessed, written;
    if (!succeeded(in->getTimes(&created, &accessed, &written))) {
      result = kCopyNoSourceTimes;
    } else if (!succeeded(out->setTimes(&created, &accessed, &written))) {
      result = kCopyTimesNotSet;
    }
  }
  in.reset();
  if (const Status closed = out->close(); !succeeded(closed)) {
    // The last bytes may not have reached the disk.
    noteDiskStateAtWriteFailure(closed);
    out.reset();
    removePartialFile(dest);
    return kCopyWriteFailed;
  }
  out.reset();
  lastCopiedBytes_ = copied;
  if (!keep || result != kCopyOk) return result;

  std::uint32_t attributes = 0;
  if (!succeeded(fs.getAttributes(source, attributes))) return kCopyNoSourceAttributes;
  if (!succeeded(fs.setAttributes(dest, attributes))) return kCopyAttributesNotSet;
  return kCopyOk;
}

std::string BackupEngine::attributesText(std::uint32_t attributes) const {
  const bool system = attributes & kAttrSystem;
  const bool hidden = attributes & kAttrHidden;
  const bool readOnly = attributes & kAttrReadOnly;
  const int k = int(system) + int(hidden) + int(readOnly);
  if (attributes == kInvalidAttributes || k == 0) return {};
  std::string text = texts_.get(ids::IDS_ATTR_PREFIX);
  if (system) {
    text += texts_.get(ids::IDS_ATTR_SYSTEM);
    if (k == 3) text += texts_.get(ids::IDS_LIST_SEPARATOR);
    if (k == 2) text += texts_.get(ids::IDS_ATTR_AND);
  }
  if (hidden) {
    text += texts_.get(ids::IDS_ATTR_HIDDEN);
    if (k == 3) text += "," + texts_.get(ids::IDS_LAST_SEPARATOR);
    if (k == 2 && !system) text += texts_.get(ids::IDS_ATTR_AND);
  }
  if (readOnly) text += texts_.get(ids::IDS_ATTR_READ_ONLY);
  text += texts_.get(ids::IDS_ATTR_SUFFIX);
  return text;
}

bool BackupEngine::createDestDirs(const std::string& path, bool pathEndsWithFileName,
                                  bool freshDisk) {
  if (!run_.active) return true;
  FileSystem& fs = platform_.files();
  DirEntry* r = currentDrive_ ? currentDrive_->root : nullptr;
  if (r) r->createdMark = 1;
  if (freshDisk) {
    for (auto& drive : run_.sourceDrives) {
      if (drive->root) resetWalk(drive->root, kWalkResetCreated);
    }
    if (r) r->createdMark = 1;
    dirsCreated_ = 0;
  }

  bool createdAny = false;
  int n = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    const bool end = i == path.size();
    if (!end && !(path[i] == '\\' && i >= 2)) continue;
    if (end && pathEndsWithFileName) break;
    const std::string prefix = path.substr(0, i);
    const std::string component = path.substr(start, i - start);
    start = i + 1;
    ++n;
    if (dirsCreated_ < 3) {
      ++dirsCreated_;
      if (succeeded(fs.createDirectory(prefix))) createdAny = true;
      continue;
    }
    if (n <= 3) continue;
    DirEntry* found = nullptr;
    for (DirEntry* c = r ? r->firstChild : nullptr; c; c = c->nextSibling) {
      if (c->name == component) {
        found = c;
        break;
      }
    }
    if (!found) {
      // Not a directory of the tree (a shortened name, say): a plain one.
      if (succeeded(fs.createDirectory(prefix))) createdAny = true;
      r = nullptr;
      continue;
    }
    if (!found->createdMark) {
      if (succeeded(fs.createDirectory(prefix))) {
        createdAny = true;
        fs.setDirectoryTimes(prefix, &found->lastWrite, nullptr, &found->lastWrite);
        createdDirs_.emplace_back(prefix, found->lastWrite);
      }
      found->createdMark = 1;
    }
    r = found;
  }
  return createdAny;
}

void BackupEngine::stampCreatedDirectories() {
  FileSystem& fs = platform_.files();
  for (const auto& [path, time] : createdDirs_) {
    fs.setDirectoryTimes(path, &time, nullptr, &time);
  }
  createdDirs_.clear();
}

void BackupEngine::handleCopyResult(CopyTarget target, const std::string& source,
                                    const std::string& dest, int code) {
  const std::int32_t disk = run_.diskIndex + 1;
  switch (code) {
    case kCopyOk:
    case kCopyStopped:
      return;
    case kCopyOpenFailed:
      target.set(kOutcomeOpenFailed, 0, -1);
      return;
    case kCopyNoSourceTimes:
    case kCopyTimesNotSet:
    case kCopyNoSourceAttributes:
    case kCopyAttributesNotSet:
      // The data is on the disk; the outcome says which step failed.
      target.setSize(double(lastCopiedBytes_));
      bytesOnDisk += std::max(double(lastCopiedBytes_), run_.clusterSize);
      target.setOutcome(code, disk);
      return;
    case kCopySkipped:
      target.set(kOutcomeSkipped, 0, -1);
      return;
    default:
      break;
  }
  if (code == kCopyNoDestDirectory) {
    if (retryCopy(target, source, dest)) return;
    code = kCopyCreateFailed;
  }
  if (code < kCopyCreateFailed || code > kCopyWriteFailed) {
    startClock();
    return;
  }
  if ((code == kCopyCreateFailed || code == kCopyWriteFailed) && newDiskAfterWriteError()) {
    if (retryCopy(target, source, dest)) return;
  }
  if (!run_.active) return;
  ++writeFailures;
  if (writeFailures >= 3 && (code == kCopyCreateFailed || code == kCopyWriteFailed)) {
    code = kCopyRepeatedWriteFailures;
  }

  std::string folder, name;
  splitPath(source, folder, name);
  int answer = kAnswerRetry;
  bool firstPass = true;
  while ((answer == kAnswerRetry || answer == kAnswerPause) && run_.active) {
    host_.pumpMessages();
    if (!firstPass) {
      stopClock();
      PromptDetails details;
      details.fileName = name;
      details.directory = folder;
      details.code = code;
      details.sourcePath = source;
      details.destPath = dest;
      answer = host_.ask(PromptKind::copyError, details);
      host_.notify(kNotifyDialogClosed);
    }
    firstPass = false;
    if (answer == kAnswerRetry) {
      startClock();
      if (retryCopy(target, source, dest)) return;
    } else if (answer == kAnswerSkip) {
      startClock();
      target.set(kOutcomeSkipped, 0, -1);
    } else if (answer == kAnswerPause) {
      startClock();
      host_.notify(kNotifyPause);
    } else if (answer == kAnswerAbort) {
      run_.active = 0;
      startClock();
    } else {
      startClock();
    }
  }
}

bool BackupEngine::retryCopy(CopyTarget target, const std::string& source,
                             const std::string& dest) {
  createDestDirs(dest, true, true);
  const int code = copyFile(source, dest, true, true);
  if (code == kCopyOk) {
    accountCopied(target, double(lastCopiedBytes_));
    return true;
  }
  if (code >= kCopyNoSourceTimes && code <= kCopyAttributesNotSet) {
    handleCopyResult(target, source, dest, code);
    return true;
  }
  if (code == kCopyOpenFailed || code == kCopySkipped) {
    handleCopyResult(target, source, dest, code);
    return true;
  }
  return false;
}

void BackupEngine::copyBootFilesFirst() {
  if (run_.filesCopied != 0) return;
  for (ExtraFile& extra : run_.extraFiles) {
    if (!run_.active) return;
    if (!extra.bootFile || extra.status == kOutcomeCopied) continue;
    std::string dest = extra.path;
    if (!dest.empty()) dest[0] = run_.destLetter;
    extra.selected = 1;
    CopyTarget target{nullptr, &extra};
    copyAndAccount(target, extra.path, dest, true);
  }
}

void BackupEngine::copyExtraFiles() {
  FileSystem& fs = platform_.files();
  for (ExtraFile& extra : run_.extraFiles) {
    if (!run_.active) return;
    if (!extra.selected || extra.bootFile) continue;
    const std::string dest = rules_->BuildCopyPath(extra.path);
    std::uint32_t attributes = 0;
    if (!succeeded(fs.getAttributes(extra.path, attributes))) continue;
    if (succeeded(fs.getAttributes(dest, attributes))) {
      run_.totalBytes -= std::max(extra.size, run_.clusterSize);
      run_.totalFiles -= 1;
      continue;
    }
    const int room = ensureRoomFor(extra.size);
    if (room < 0) return;
    if (room > 0) updateProgress(true);
    std::string folder, name;
    splitPath(dest, folder, name);
    if (!succeeded(fs.getAttributes(folder, attributes))) createDestDirs(dest, true, true);
    CopyTarget target{nullptr, &extra};
    copyAndAccount(target, extra.path, dest, false);
  }
}

void BackupEngine::clearArchiveBits() {
  FileSystem& fs = platform_.files();
  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    resetWalk(drive->root, kWalkResetVisit);
    for (DirEntry* d = walkNext(drive->root, kWalkVisit); d;
         d = walkNext(preorderNext(d), kWalkVisit)) {
      for (FileEntry& f : d->files) {
        if (!f.selected || f.status != kOutcomeCopied) continue;
        fs.setAttributes(d->fullPath() + "\\" + f.name, f.attributes & ~kAttrArchive);
      }
    }
  }
  for (ExtraFile& extra : run_.extraFiles) {
    if (extra.selected && extra.status == kOutcomeCopied) {
      fs.setAttributes(extra.path, extra.attributes & ~kAttrArchive);
    }
  }
}

}  // namespace hw
