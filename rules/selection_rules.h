// Which scanned files a run saves, the extra files from outside the scanned
// trees (start-up files, files named in configuration files, the DOS boot
// files), and where each file goes on the destination.
//
// Once per run the engine resets the rules, scans, and calls ApplyRules,
// which marks FileEntry::selected in the selected drives' trees and appends
// ExtraFile entries to RunRecord::extraFiles. The backup kinds of
// RunRecord::mode combine; the first kind that answers for a file decides
// (FileWanted), so MODE_ALL overrides everything and MODE_CHANGED every kind
// after it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "engine/engine_host.h"
#include "engine/run_record.h"
#include "engine/texts.h"
#include "platform/platform.h"
#include "rules/text_scan.h"

namespace hw {

// DirEntry::ruleClass of a directory that belongs to an application.
inline constexpr std::int32_t kClassApplication = 2;

// LoadExtensionsFromFile: which section of the list file.
inline constexpr int kListUserData = 4;
inline constexpr int kListApplications = 8;

class SelectionRules {
 public:
  // The host shows the one message of the rules (an unreadable list file);
  // the texts give its wording.
  SelectionRules(Platform& platform, RunRecord& run, SettingsStore& settings, EngineHost& host,
                 const Texts& texts);
  SelectionRules(const SelectionRules&) = delete;
  SelectionRules& operator=(const SelectionRules&) = delete;

  // The three per-run resets, before the scan. A drive that is not scanned
  // again keeps its tree from the run before, with that run's classes and
  // marks: these start it afresh.
  void ResetClassification();  // ruleClass and ruleWanted of every directory
  void ResetRunState();        // the extra files and both extension lists
  void ResetSelection();       // every file's mark, and the totals

  // Marks what to save in every selected drive. False when there is no
  // source drive record.
  bool ApplyRules();
  double selectedBytes() const { return selectedBytes_; }
  double selectedFiles() const { return selectedFiles_; }

  // The final decision for file `file` of directory `dir`; may clear the
  // file's mark (an excluded extension in an application folder).
  bool FileWanted(const DirEntry& dir, FileEntry& file);

  // Appends an extra file. When `selected`, the file is looked up: its size
  // and attributes are taken and counted, or the mark is cleared when it is
  // missing.
  void AddExtraFile(const std::string& path, bool selected, bool bootFile);

  // Source and destination of a directory (`name` in `parentPath`; a root
  // has an empty parentPath and its "X:" as name): C:\WINDOWS\SYSTEM of set
  // S on A: is A:\S\C\WINDOWS\SYSTEM, the root of C: is A:\S\C. False when
  // both outputs are null, both inputs empty, or the set has no name yet.
  bool BuildCopyPaths(std::string* sourceOut, std::string* destOut,
                      const std::string& parentPath, const std::string& name) const;
  // The same for a scanned directory.
  bool BuildCopyPaths(const DirEntry& dir, std::string& sourcePath, std::string& destDir) const;
  // The destination of a file given by its full path; empty when it has none.
  std::string BuildCopyPath(const std::string& sourcePath) const;

  // ---- User data and applications --------------------------------------

  // The text after the last "."; a name without a "." has no extension.
  static std::string ExtensionOf(const std::string& name);
  bool IsDataExtension(const std::string& extension) const;
  bool IsExcludedApplicationExtension(const std::string& extension) const;
  void LoadDataExtensions();
  void LoadApplicationExclusions();
  // Reads one section of HOARDWL.INI in the Windows folder into its list;
  // false when the file is missing or cannot be opened.
  bool LoadExtensionsFromFile(int which);
  void MarkApplicationDirectories();

  const std::vector<std::string>& dataExtensions() const { return dataExtensions_; }
  const std::vector<std::string>& appExtensions() const { return appExtensions_; }
  int dataListIncludes() const { return dataListIncludes_; }
  int appExclusionsActive() const { return appExclusionsActive_; }

  // ---- The files that start the machine ---------------------------------

  void AddBootableSet();
  void MarkBootDirectories();
  void CollectStartupFiles();
  // Appends the file itself and every existing file it names that the run
  // does not save already; with `rememberBatches`, batch files it names are
  // read afterwards.
  void ReadReferences(const std::string& path, CommentRule rule, bool rememberBatches);

 private:
  bool fileExists(const std::string& path);
  bool readText(const std::string& path, std::string& text);
  std::string windowsFile(const std::string& name);
  void showListFileMessage(int captionId);
  bool covered(const std::string& path) const;
  void expandLongNames(std::string& path);
  void applyRootExclusions(DirEntry& root);

  Platform& platform_;
  RunRecord& run_;
  SettingsStore& settings_;
  EngineHost& host_;
  const Texts& texts_;

  double selectedBytes_ = 0;
  double selectedFiles_ = 0;
  // Batch files named by the start-up files, read once those are done.
  std::vector<std::string> pendingBatches_;
  int dataListIncludes_ = 0;
  int appExclusionsActive_ = 0;
  double driveBytes_ = 0;
  double driveFiles_ = 0;
  std::vector<std::string> dataExtensions_;
  std::vector<std::string> appExtensions_;
};

}  // namespace hw
