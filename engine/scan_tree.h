// The in-memory tree of a scanned source drive: built by the scan, marked by
// the selection rules, walked by the copy phase, the estimates and the report.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "drives/drive_kind.h"
#include "platform/platform.h"

namespace hw {

// Outcome of a file (`status` of FileEntry and ExtraFile).
enum FileOutcome : std::int32_t {
  kOutcomeNotCopied = 0,
  kOutcomeCopied = 1,
  kOutcomeTooLarge = 2,
  kOutcomeSkipped = 3,
  kOutcomeDirectoryGone = 5,
  kOutcomeOpenFailed = 6,
  kOutcomeNoSourceTimes = 7,
  kOutcomeTimesNotSet = 8,
  kOutcomeNoSourceAttributes = 9,
  kOutcomeAttributesNotSet = 10,
};

struct FileEntry {
  std::int32_t diskNumber = 0;  // 1 = first disk; -1 dropped
  std::int32_t selected = 0;
  std::int32_t status = kOutcomeNotCopied;
  std::uint32_t attributes = 0;
  std::string name;
  double size = 0;
};

struct DirEntry {
  std::int32_t ruleClass = 0;
  std::int32_t ruleWanted = 0;
  std::int32_t childrenListed = 0;
  std::int32_t siblingsListed = 0;
  std::int32_t filesListed = 0;
  std::int32_t processed = 0;
  std::int32_t visitMark = 0;
  std::int32_t createdMark = 0;
  std::int16_t depth = 0;
  std::int16_t siblingIndex = 0;
  char letter = 0;
  std::string name;        // "C:" for the root
  std::string parentPath;  // empty for the root
  FileTime lastWrite;
  std::vector<FileEntry> files;  // in listing order
  DirEntry* parent = nullptr;
  DirEntry* firstChild = nullptr;
  DirEntry* prevSibling = nullptr;
  DirEntry* nextSibling = nullptr;

  std::string fullPath() const { return parentPath.empty() ? name : parentPath + "\\" + name; }
  bool hasSelectedFile() const;
};

struct SourceDrive {
  std::int32_t noSubdirs = 0;
  std::int32_t needsScan = 1;
  std::uint32_t driveReadable = 0;
  std::int32_t selected = 0;
  std::int32_t copiedBefore = 0;
  std::uint32_t driveFlags = 0;
  std::uint32_t driveType = 0;
  char letter = 0;
  double selectedBytes = 0;
  double selectedFiles = 0;
  double scannedBytes = 0;
  double scannedFiles = 0;
  double driveUsed = 0;
  double driveFree = 0;
  double driveTotal = 0;
  DirEntry* root = nullptr;

  // The drive's directories; a deque keeps their addresses fixed while the
  // tree grows, and freeing the tree is one clear().
  std::deque<DirEntry> directories;

  DirEntry& newDirectory();
  void freeTree();
};

struct ExtraFile {
  std::int32_t diskNumber = 0;
  std::int32_t selected = 0;
  std::int32_t bootFile = 0;
  std::int32_t status = kOutcomeNotCopied;
  std::uint32_t attributes = 0;
  std::string path;
  double size = 0;
};

struct ShortenedPath {
  std::int32_t ok = 0;
  std::string sourcePath;
  std::string destPath;
};

// Kinds of the tree walk.
enum WalkKind : int {
  kWalkNotListed = 1,
  kWalkNotProcessed = 2,
  kWalkResetVisit = 3,
  kWalkVisit = 4,
  kWalkVisitAgain = 5,
  kWalkResetProcessed = 7,
  kWalkNotCreated = 8,
  kWalkResetCreated = 9,
};

// The directory after `d` in pre-order (subtree first, then the next
// sibling, then up), or null at the end of the tree.
DirEntry* preorderNext(DirEntry* d);

// Visits directories in pre-order from `start` itself and returns the first
// that matches `kind`, applying the kind's side effect to it.
DirEntry* walkNext(DirEntry* start, int kind);

// Applies a resetting walk kind (3, 7, 9) to every directory of the tree.
void resetWalk(DirEntry* root, int kind);

SourceDrive makeSourceDrive(const DriveListItem& item);

// False for "." and ".." and for every other name that starts with two dots.
bool isListableName(const std::string& name);

}  // namespace hw
