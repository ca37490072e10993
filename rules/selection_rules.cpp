#include "rules/selection_rules.h"

#include "platform/platform.h"

namespace hw {

bool SelectionRules::FileWanted(const FileEntry& file) const {
  if (run_.mode & MODE_ALL) return true;
  if ((run_.mode & MODE_CHANGED) && (file.attributes & kAttrArchive)) return true;
  return false;
}

void SelectionRules::ApplyRules() {
  selectedBytes_ = 0;
  selectedFiles_ = 0;
  for (auto& drive : run_.sourceDrives) {
    drive->selectedBytes = 0;
    drive->selectedFiles = 0;
    if (!drive->selected || !drive->root) continue;
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      for (FileEntry& f : d->files) {
        f.selected = FileWanted(f) ? 1 : 0;
        if (!f.selected) continue;
        drive->selectedBytes += f.size;
        drive->selectedFiles += 1;
      }
    }
    selectedBytes_ += drive->selectedBytes;
    selectedFiles_ += drive->selectedFiles;
  }
}

void SelectionRules::BuildCopyPaths(const DirEntry& dir, std::string& sourcePath,
                                    std::string& destDir) const {
  sourcePath = dir.fullPath();
  destDir = BuildCopyPath(sourcePath);
}

std::string SelectionRules::BuildCopyPath(const std::string& sourcePath) const {
  // "C:\dir\file" goes to "D:\SET\C\dir\file".
  std::string dest = run_.setFolder + "\\" + sourcePath.substr(0, 1);
  if (sourcePath.size() > 2) dest += sourcePath.substr(2);
  return dest;
}

}  // namespace hw
