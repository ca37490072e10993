// Which scanned files a run saves, and where each one goes on the
// destination.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_record.h"

namespace hw {

class SelectionRules {
 public:
  explicit SelectionRules(RunRecord& run) : run_(run) {}

  // The three per-run resets.
  void ResetClassification() {}
  void ResetExtraFiles() { run_.extraFiles.clear(); }
  void ResetSelection() {}

  // Marks the files to save in every selected drive's tree and adds up the
  // selected bytes and files.
  void ApplyRules();
  double selectedBytes() const { return selectedBytes_; }
  double selectedFiles() const { return selectedFiles_; }

  // Source path of a directory and its destination directory
  // setFolder\X\path.
  void BuildCopyPaths(const DirEntry& dir, std::string& sourcePath, std::string& destDir) const;
  // Destination of a file given by its full source path.
  std::string BuildCopyPath(const std::string& sourcePath) const;

  bool FileWanted(const FileEntry& file) const;

 private:
  RunRecord& run_;
  double selectedBytes_ = 0;
  double selectedFiles_ = 0;
};

}  // namespace hw
