// User data by extension, and application folders: a folder with a program
// in it, outside the system's folders, is saved whole, and the rule spreads
// to its neighbours and to the folders below it.
#include <algorithm>

#include "resources/string_ids.h"
#include "rules/extension_lists.h"
#include "rules/rules_tree.h"
#include "rules/selection_rules.h"

namespace hw {

using rules::forEachDirectory;
using rules::liesBelow;
using rules::parentOf;

namespace {

// The section names of the settings file's model lists, which the list file
// copies.
constexpr const char* kUserDataSection = "UserDataExts";
constexpr const char* kApplicationSection = "ApplicationExts";

bool holds(const std::vector<std::string>& list, const std::string& extension) {
  return std::find(list.begin(), list.end(), extension) != list.end();
}

std::vector<std::string> listOf(std::span<const std::string_view> builtIn) {
  return std::vector<std::string>(builtIn.begin(), builtIn.end());
}

bool endsWith(const std::string& name, const char* tail) {
  return name.size() >= 3 && name.compare(name.size() - 3, 3, tail) == 0;
}

bool holdsProgram(const DirEntry& d) {
  return std::any_of(d.files.begin(), d.files.end(), [](const FileEntry& f) {
    return endsWith(f.name, "EXE") || endsWith(f.name, "COM");
  });
}

bool holdsSystemStarter(const DirEntry& d) {
  return std::any_of(d.files.begin(), d.files.end(), [](const FileEntry& f) {
    return f.name == "COMMAND.COM" || f.name == "WIN.COM";
  });
}

void takeWhole(DirEntry& d) {
  d.ruleClass = kClassApplication;
  for (FileEntry& f : d.files) f.selected = 1;
}

std::size_t countChildren(const DirEntry& parent, bool onlyApplications) {
  std::size_t n = 0;
  for (const DirEntry* c = parent.firstChild; c; c = c->nextSibling) {
    if (!onlyApplications || c->ruleClass == kClassApplication) ++n;
  }
  return n;
}

}  // namespace

std::string SelectionRules::ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool SelectionRules::IsDataExtension(const std::string& extension) const {
  return holds(dataExtensions_, extension) ? dataListIncludes_ != 0 : dataListIncludes_ == 0;
}

bool SelectionRules::IsExcludedApplicationExtension(const std::string& extension) const {
  return holds(appExtensions_, extension);
}

void SelectionRules::showListFileMessage(int captionId) {
  // The time the box is up is not backup time.
  const std::uint32_t before = platform_.clock().tickCount();
  host_.messageBox(texts_.get(ids::IDS_EXT_FILE_UNREADABLE), texts_.get(captionId),
                   kMbOk | kMbIconInformation);
  const std::uint32_t after = platform_.clock().tickCount();
  run_.startTime += (after - before) * 0.001;
}

void SelectionRules::LoadDataExtensions() {
  if (!(run_.mode & MODE_DATA)) return;
  dataListIncludes_ = settings_.GetUseINIDataExts() ? 1 : 0;
  dataExtensions_.clear();
  if (!dataListIncludes_) {
    dataExtensions_ = listOf(BuiltInNonDataExtensions());
    return;
  }
  if (LoadExtensionsFromFile(kListUserData)) return;
  showListFileMessage(ids::IDS_EXT_DATA_CAPTION);
  dataExtensions_ = listOf(BuiltInDataExtensions());
}

void SelectionRules::LoadApplicationExclusions() {
  if (!(run_.mode & MODE_APPS)) return;
  appExclusionsActive_ = settings_.GetUseINIApplExts() ? 1 : 0;
  appExtensions_.clear();
  if (!appExclusionsActive_ || LoadExtensionsFromFile(kListApplications)) return;
  showListFileMessage(ids::IDS_EXT_APPS_CAPTION);
  appExtensions_ = listOf(BuiltInApplicationExclusions());
}

bool SelectionRules::LoadExtensionsFromFile(int which) {
  std::string text;
  if (!readText(windowsFile("HOARDWL.INI"), text)) return false;
  const bool userData = which == kListUserData;
  std::vector<std::string> found =
      ParseExtensionList(text, userData ? kUserDataSection : kApplicationSection);
  std::vector<std::string>& list = userData ? dataExtensions_ : appExtensions_;
  list.insert(list.end(), found.begin(), found.end());
  return true;
}

void SelectionRules::MarkApplicationDirectories() {
  if (!(run_.mode & MODE_APPS)) return;
  // 1. The system's folders: those of the command interpreter and of
  // Windows, and everything below them.
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    if (liesBelow(d, [](const DirEntry& p) { return p.ruleWanted == 1; }) ||
        holdsSystemStarter(d)) {
      d.ruleWanted = 1;
      d.ruleClass = 0;
    }
  });
  // 2. Folders with a program of their own, and what lies below them.
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    if (liesBelow(d, [](const DirEntry& p) { return p.ruleClass != 0; })) {
      takeWhole(d);
    } else if (d.ruleWanted != 1 && holdsProgram(d)) {
      takeWhole(d);
    }
  });
  // 3. An application folder one level into a folder that is not one
  // itself takes that folder and its other children along, unless every
  // child there is an application of its own (a folder of programs).
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    if (d.ruleClass != kClassApplication || d.depth <= 1) return;
    DirEntry* parent = parentOf(d);
    if (!parent || parent->ruleClass == kClassApplication) return;
    if (countChildren(*parent, true) >= countChildren(*parent, false)) return;
    takeWhole(*parent);
    for (DirEntry* c = parent->firstChild; c; c = c->nextSibling) {
      if (c->ruleClass != kClassApplication) takeWhole(*c);
    }
  });
  // 4. Everything below a classified folder.
  forEachDirectory(run_, [](SourceDrive&, DirEntry& d) {
    if (d.ruleClass == kClassApplication || d.depth <= 1) return;
    if (liesBelow(d, [](const DirEntry& p) { return p.ruleClass != 0; })) takeWhole(d);
  });
}

}  // namespace hw
