// The files that start the machine: the folders of the command interpreter
// and of Windows, the start-up files and every file they name, and the DOS
// boot files that make the first destination disk a start-up disk.
#include <algorithm>

#include "rules/rules_tree.h"
#include "rules/selection_rules.h"

namespace hw {

using rules::forEachDirectory;
using rules::liesBelow;

namespace {

std::string rootFile(char letter, const char* name) {
  return std::string(1, letter) + ":\\" + name;
}

bool endsInBat(const std::string& path) {
  return path.size() > 2 && path.compare(path.size() - 3, 3, "BAT") == 0;
}

}  // namespace

bool SelectionRules::fileExists(const std::string& path) {
  std::uint32_t attributes = 0;
  return succeeded(platform_.files().getAttributes(path, attributes)) &&
         !(attributes & kAttrDirectory);
}

bool SelectionRules::readText(const std::string& path, std::string& text) {
  text.clear();
  if (!fileExists(path)) return false;
  Status status = Status::ok;
  auto file = platform_.files().openRead(path, status);
  if (!file) return false;
  text.resize(kMaxRulesText);
  std::size_t have = 0;
  while (have < text.size()) {
    std::uint32_t got = 0;
    const auto want = static_cast<std::uint32_t>(text.size() - have);
    if (!succeeded(file->read(text.data() + have, want, got)) || got == 0) break;
    have += got;
  }
  text.resize(have);
  file->close();
  return true;
}

std::string SelectionRules::windowsFile(const std::string& name) {
  std::string folder = platform_.files().windowsDirectory();
  if (folder.size() > 260) folder.resize(260);
  if (!folder.empty() && folder.back() != '\\') folder += "\\";
  return folder + name;
}

void SelectionRules::AddBootableSet() {
  if (!(run_.mode & MODE_BOOT) || !(run_.destFlags & DK_REMOVABLE)) return;
  if (!settings_.GetBootableSysFlt()) return;
  auto either = [&](char letter, const char* first, const char* second) {
    return fileExists(rootFile(letter, first)) || fileExists(rootFile(letter, second));
  };
  char boot = 0;
  for (auto& drive : run_.sourceDrives) {
    if (!run_.active) break;
    if (!drive->selected) continue;
    const char l = drive->letter;
    if (either(l, "IO.SYS", "IBMBIO.COM") && either(l, "MSDOS.SYS", "IBMDOS.COM") &&
        fileExists(rootFile(l, "COMMAND.COM"))) {
      boot = l;
      break;
    }
  }
  if (!boot) {
    auto fixed = std::find_if(run_.sourceList.begin(), run_.sourceList.end(),
                              [](const DriveListItem& i) { return (i.kind & DK_FIXED) != 0; });
    if (fixed == run_.sourceList.end()) return;
    boot = fixed->letter;
  }
  auto addFirstOf = [&](const char* first, const char* second) {
    for (const char* name : {first, second}) {
      if (!name) continue;
      const std::string path = rootFile(boot, name);
      if (fileExists(path)) {
        AddExtraFile(path, true, true);
        return;
      }
    }
  };
  addFirstOf("IO.SYS", "IBMBIO.COM");
  addFirstOf("MSDOS.SYS", "IBMDOS.COM");
  addFirstOf("COMMAND.COM", nullptr);
}

void SelectionRules::MarkBootDirectories() {
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    d.ruleWanted = 0;
    if (!liesBelow(d, [](const DirEntry& p) { return p.ruleWanted == 1; })) {
      bool qualifies = false;
      for (FileEntry& f : d.files) {
        if (f.name == "COMMAND.COM" || f.name == "WIN.COM") {
          qualifies = true;
          break;
        }
        if (f.name == "AUTOEXEC.BAT" || f.name == "CONFIG.SYS") f.selected = 1;
      }
      if (!qualifies) return;
    }
    for (FileEntry& f : d.files) f.selected = 1;
    d.ruleWanted = 1;
  });
}

void SelectionRules::CollectStartupFiles() {
  for (const char* name : {"CONFIG.SYS", "AUTOEXEC.BAT"}) {
    std::string path = rootFile('C', name);
    if (!fileExists(path)) path[0] = 'A';
    if (fileExists(path)) ReadReferences(path, CommentRule::remark, true);
  }
  for (const char* name : {"SYSTEM.INI", "WIN.INI"}) {
    const std::string path = windowsFile(name);
    if (fileExists(path)) ReadReferences(path, CommentRule::semicolon, true);
  }
  // Read without remembering, so batch files that call each other end here.
  // A batch file that does not exist is not listed, like any other missing
  // reference.
  const std::vector<std::string> batches = std::move(pendingBatches_);
  pendingBatches_.clear();
  for (const std::string& batch : batches) {
    if (fileExists(batch)) ReadReferences(batch, CommentRule::remark, false);
  }
}

void SelectionRules::ReadReferences(const std::string& path, CommentRule rule,
                                    bool rememberBatches) {
  // A batch file both named and read is listed once.
  const bool listed = std::any_of(run_.extraFiles.begin(), run_.extraFiles.end(),
                                  [&](const ExtraFile& e) { return !e.bootFile && e.path == path; });
  if (!listed) AddExtraFile(path, true, false);
  std::string text;
  if (!readText(path, text)) return;
  for (std::string_view line : SplitTextLines(text)) {
    for (const std::string& reference : FindReferences(line, rule)) {
      // Only a full path names a file: a drive-relative one depends on a
      // current folder, and "..", wildcards or a foreign syntax could make
      // the copy land outside the set's folder.
      std::string file;
      if (!NormalizeReference(reference, file)) continue;
      expandLongNames(file);
      if (covered(file)) continue;
      if (rememberBatches && endsInBat(file) &&
          std::find(pendingBatches_.begin(), pendingBatches_.end(), file) ==
              pendingBatches_.end()) {
        pendingBatches_.push_back(file);
      }
      if (fileExists(file)) AddExtraFile(file, true, false);
    }
  }
}

// The long name of every component with a "~" (a short name), so the path
// matches the scanned tree, whose names are long.
void SelectionRules::expandLongNames(std::string& path) {
  if (path.find('~') == std::string::npos) return;
  const bool readableSource =
      std::any_of(run_.sourceList.begin(), run_.sourceList.end(), [&](const DriveListItem& i) {
        return i.letter == path[0] && i.readable;
      });
  if (!readableSource) return;
  std::string expanded = path.substr(0, 2);
  std::size_t start = 3;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string component = path.substr(start, end - start);
    if (component.find('~') != std::string::npos) {
      FindData entry;
      Status status = Status::ok;
      auto listing = platform_.files().findFirst(expanded + "\\" + component, entry, status);
      if (listing && !entry.name.empty() && entry.name != "." && entry.name != "..") {
        component = entry.name;
      }
    }
    expanded += "\\" + component;
    start = end + 1;
  }
  if (expanded.size() <= kMaxReferencePath) path = std::move(expanded);
}

// Whether the run saves the file already: as an extra file, or as a marked
// file of a scanned tree.
bool SelectionRules::covered(const std::string& path) const {
  for (const ExtraFile& e : run_.extraFiles) {
    if (!e.bootFile && e.path == path) return true;
  }
  const std::size_t cut = path.rfind('\\');
  const std::string folder = path.substr(0, cut);
  const std::string name = path.substr(cut + 1);
  for (const auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root || drive->root->name != folder.substr(0, 2)) continue;
    const DirEntry* d = drive->root;
    std::size_t start = 3;
    while (d && start <= folder.size()) {
      std::size_t end = folder.find('\\', start);
      if (end == std::string::npos) end = folder.size();
      const std::string component = folder.substr(start, end - start);
      const DirEntry* child = d->firstChild;
      while (child && child->name != component) child = child->nextSibling;
      d = child;
      start = end + 1;
    }
    if (!d) continue;
    for (const FileEntry& f : d->files) {
      if (f.selected && f.name == name) return true;
    }
  }
  return false;
}

}  // namespace hw
