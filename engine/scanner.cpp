// The scan of one source drive into its tree.
//
// Each directory is listed once: the one listing gives its files, its first
// subdirectory and that subdirectory's siblings, in listing order, which is
// the same tree a separate listing for each would give, at a third of the
// directory reads.
#include "engine/backup_engine.h"

namespace hw {

namespace {

FileTime lastWriteOf(const FindData& entry) { return entry.lastWriteTime; }

}  // namespace

// Lists `dir` and hangs its subdirectories below it and its files in it.
// False when the scan was cancelled while listing.
bool BackupEngine::listDirectoryInto(SourceDrive& drive, DirEntry& dir) {
  const std::string path = dir.fullPath();
  FileSystem& fs = platform_.files();
  FindData entry;
  Status status = Status::ok;
  auto listing = fs.findFirst(path + "\\*.*", entry, status);

  DirEntry* previous = nullptr;
  std::int16_t index = 0;
  if (listing) {
    do {
      if (entry.isDirectory()) {
        if (!isListableName(entry.name)) continue;
        DirEntry& child = drive.newDirectory();
        child.name = entry.name;
        child.parentPath = path;
        child.depth = static_cast<std::int16_t>(dir.depth + 1);
        child.siblingIndex = index++;
        child.lastWrite = lastWriteOf(entry);
        child.parent = &dir;
        child.siblingsListed = 1;
        if (previous) {
          previous->nextSibling = &child;
          child.prevSibling = previous;
        } else {
          dir.firstChild = &child;
        }
        previous = &child;
        continue;
      }
      FileEntry& file = dir.files.emplace_back();
      file.attributes = entry.attributes;
      file.name = entry.name;
      file.size = double(entry.sizeHigh) * 4294967296.0 + double(entry.sizeLow);
      run_.totalBytes += file.size;
      run_.totalFiles += 1;
    } while (listing->next(entry));
  }
  dir.files.shrink_to_fit();
  dir.childrenListed = 1;
  dir.filesListed = 1;
  return scanRunning_;
}

bool BackupEngine::scanDrive(SourceDrive& drive) {
  run_.totalBytes = 0;
  run_.totalFiles = 0;
  drive.freeTree();

  DirEntry& root = drive.newDirectory();
  root.name = std::string(1, drive.letter) + ":";
  root.siblingsListed = 1;
  drive.root = &root;

  bool complete = listDirectoryInto(drive, root);
  if (!root.firstChild) drive.noSubdirs = 1;

  // Pre-order, pumping messages after every directory so the scan window
  // can be cancelled.
  for (DirEntry* d = root.firstChild; d && complete; d = preorderNext(d)) {
    host_.pumpMessages();
    if (!scanRunning_) {
      complete = false;
      break;
    }
    if (!d->parentPath.empty()) host_.setControlText(2601, d->parentPath);
    complete = listDirectoryInto(drive, *d);
  }
  if (complete) drive.needsScan = 0;
  drive.scannedBytes = run_.totalBytes;
  drive.scannedFiles = run_.totalFiles;
  return complete;
}

void BackupEngine::cancelScan() {
  scanRunning_ = false;
  scanCancelled_ = true;
}

}  // namespace hw
