#include "rules/selection_rules.h"

#include <algorithm>

#include "rules/rules_tree.h"

namespace hw {

using rules::forEachDirectory;

SelectionRules::SelectionRules(Platform& platform, RunRecord& run, SettingsStore& settings,
                               EngineHost& host, const Texts& texts)
    : platform_(platform), run_(run), settings_(settings), host_(host), texts_(texts) {}

void SelectionRules::ResetClassification() {
  for (auto& drive : run_.sourceDrives) {
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      d->ruleClass = 0;
      d->ruleWanted = 0;
    }
  }
}

void SelectionRules::ResetRunState() {
  run_.extraFiles.clear();
  dataExtensions_.clear();
  appExtensions_.clear();
  pendingBatches_.clear();
}

void SelectionRules::ResetSelection() {
  selectedBytes_ = 0;
  selectedFiles_ = 0;
  for (auto& drive : run_.sourceDrives) {
    drive->selectedBytes = 0;
    drive->selectedFiles = 0;
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      for (FileEntry& f : d->files) f.selected = 0;
    }
  }
}

bool SelectionRules::ApplyRules() {
  if (run_.sourceDrives.empty()) return false;
  // A tree kept from an earlier run starts without its marks and classes,
  // so the same files give the same answer every time.
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    d.ruleClass = 0;
    d.ruleWanted = 0;
    for (FileEntry& f : d.files) f.selected = 0;
  });
  selectedBytes_ = 0;
  selectedFiles_ = 0;

  AddBootableSet();
  if (run_.mode & MODE_ALL) {
    forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
      for (FileEntry& f : d.files) f.selected = 1;
    });
  }
  if (run_.mode & MODE_BOOT) {
    MarkBootDirectories();
    CollectStartupFiles();
  }
  if (run_.mode & MODE_APPS) MarkApplicationDirectories();
  LoadDataExtensions();
  LoadApplicationExclusions();

  for (auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    driveBytes_ = 0;
    driveFiles_ = 0;
    for (DirEntry* d = drive->root; d; d = preorderNext(d)) {
      for (FileEntry& f : d->files) {
        if (FileWanted(*d, f)) {
          driveBytes_ += std::max(run_.clusterSize, f.size);
          driveFiles_ += 1;
          f.selected = 1;
        } else {
          f.selected = 0;
        }
      }
      if (d == drive->root) applyRootExclusions(*d);
    }
    drive->selectedBytes = driveBytes_;
    drive->selectedFiles = driveFiles_;
    selectedBytes_ += driveBytes_;
    selectedFiles_ += driveFiles_;
  }
  return true;
}

bool SelectionRules::FileWanted(const DirEntry& dir, FileEntry& file) {
  if (run_.mode & MODE_ALL) return file.selected != 0;
  if (run_.mode & MODE_CHANGED) return (file.attributes & kAttrArchive) != 0;
  if ((run_.mode & MODE_DATA) && IsDataExtension(ExtensionOf(file.name))) return true;
  if ((run_.mode & MODE_BOOT) && file.selected) return true;
  if (!(run_.mode & MODE_APPS) || dir.ruleClass != kClassApplication) return false;
  if (!appExclusionsActive_) return true;
  if (IsExcludedApplicationExtension(ExtensionOf(file.name))) {
    file.selected = 0;
    return false;
  }
  return true;
}

// Swap files and compressed volumes in a root are the system's, not the
// user's: restoring one would break the drive.
void SelectionRules::applyRootExclusions(DirEntry& root) {
  for (FileEntry& f : root.files) {
    if (!f.selected) continue;
    bool excluded = f.name == "386SPART.PAR" || f.name == "WIN386.SWP";
    if (!excluded && (f.attributes & kAttrSystem)) {
      const std::string base = f.name.substr(0, f.name.rfind('.'));
      excluded = base == "DBLSPACE" || base == "DRVSPACE" || base == "STACVOL";
    }
    if (!excluded) continue;
    f.selected = 0;
    // Taken out as it was counted, at least one cluster.
    driveBytes_ -= std::max(run_.clusterSize, f.size);
    driveFiles_ -= 1;
  }
}

void SelectionRules::AddExtraFile(const std::string& path, bool selected, bool bootFile) {
  ExtraFile& extra = run_.extraFiles.emplace_back();
  extra.diskNumber = -1;
  extra.selected = selected ? 1 : 0;
  extra.bootFile = bootFile ? 1 : 0;
  extra.path = path;
  if (!selected) return;
  FindData entry;
  Status status = Status::ok;
  auto listing = platform_.files().findFirst(path, entry, status);
  if (!listing || entry.isDirectory()) {
    extra.selected = 0;
    return;
  }
  extra.size = double(entry.sizeHigh) * 4294967296.0 + double(entry.sizeLow);
  extra.attributes = entry.attributes;
  // Changed files only: an extra file without the archive attribute stays
  // behind like any file of the trees. The boot files are copied whatever
  // their attributes, to make the first disk start the machine.
  if (!bootFile && (run_.mode & MODE_CHANGED) && !(run_.mode & MODE_ALL) &&
      !(entry.attributes & kAttrArchive)) {
    extra.selected = 0;
    return;
  }
  selectedBytes_ += extra.size;
  selectedFiles_ += 1;
}

bool SelectionRules::BuildCopyPaths(std::string* sourceOut, std::string* destOut,
                                    const std::string& parentPath,
                                    const std::string& name) const {
  if (!sourceOut && !destOut) return false;
  if (parentPath.empty() && name.empty()) return false;
  if (run_.setName.empty()) return false;
  std::string source;
  std::string dest(1, run_.destLetter);
  dest.append(":\\").append(run_.setName).append("\\");
  if (!parentPath.empty()) {
    // "C:\DOS" becomes "C\DOS" inside the set.
    source = parentPath;
    dest.append(parentPath, 0, 1);
    if (parentPath.size() > 2) dest.append(parentPath, 2);
    if (!name.empty()) {
      source.append("\\").append(name);
      dest.append("\\").append(name);
    }
  } else {
    source = name;
    dest.append(name, 0, 1);
  }
  if (sourceOut) *sourceOut = std::move(source);
  if (destOut) *destOut = std::move(dest);
  return true;
}

bool SelectionRules::BuildCopyPaths(const DirEntry& dir, std::string& sourcePath,
                                    std::string& destDir) const {
  return BuildCopyPaths(&sourcePath, &destDir, dir.parentPath, dir.name);
}

std::string SelectionRules::BuildCopyPath(const std::string& sourcePath) const {
  const std::size_t cut = sourcePath.rfind('\\');
  if (cut == std::string::npos || cut < 2) return {};
  std::string dest;
  if (!BuildCopyPaths(nullptr, &dest, sourcePath.substr(0, cut), sourcePath.substr(cut + 1))) {
    return {};
  }
  return dest;
}

}  // namespace hw
