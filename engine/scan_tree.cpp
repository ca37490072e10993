#include "engine/scan_tree.h"

namespace hw {

bool DirEntry::hasSelectedFile() const {
  for (const FileEntry& f : files) {
    if (f.selected) return true;
  }
  return false;
}

DirEntry& SourceDrive::newDirectory() {
  DirEntry& d = directories.emplace_back();
  d.letter = letter;
  return d;
}

void SourceDrive::freeTree() {
  root = nullptr;
  directories.clear();
  directories.shrink_to_fit();
}

DirEntry* preorderNext(DirEntry* d) {
  if (d->firstChild) return d->firstChild;
  while (d) {
    if (d->nextSibling) return d->nextSibling;
    d = d->parent;
  }
  return nullptr;
}

namespace {

bool matches(DirEntry& d, int kind) {
  switch (kind) {
    case kWalkNotListed:
      return !d.siblingsListed || !d.childrenListed || !d.filesListed;
    case kWalkNotProcessed:
      return !d.processed;
    case kWalkResetVisit:
      if (d.visitMark) {
        d.visitMark = 0;
        return true;
      }
      return false;
    case kWalkVisit:
    case kWalkVisitAgain:
      if (!d.visitMark) {
        d.visitMark = 1;
        return true;
      }
      return false;
    case kWalkResetProcessed:
      if (d.processed) {
        d.processed = 0;
        return true;
      }
      return false;
    case kWalkNotCreated:
      return !d.createdMark;
    case kWalkResetCreated:
      if (d.createdMark) {
        d.createdMark = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace

DirEntry* walkNext(DirEntry* start, int kind) {
  for (DirEntry* d = start; d; d = preorderNext(d)) {
    if (matches(*d, kind)) return d;
  }
  return nullptr;
}

void resetWalk(DirEntry* root, int kind) {
  for (DirEntry* d = root; d; d = preorderNext(d)) matches(*d, kind);
}

SourceDrive makeSourceDrive(const DriveListItem& item) {
  SourceDrive drive;
  drive.needsScan = 1;
  drive.driveReadable = item.readable;
  drive.driveFlags = item.kind;
  drive.driveType = item.statClass;
  drive.letter = item.letter;
  drive.driveUsed = item.used;
  drive.driveFree = item.free;
  drive.driveTotal = item.total;
  return drive;
}

bool isListableName(const std::string& name) {
  return !(name.size() >= 2 && name[0] == '.' && name[1] == '.') && name != ".";
}

}  // namespace hw
