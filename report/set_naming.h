// The backup set's name and folders: "L", six characters of the date, and a
// letter, chosen so that it collides with nothing on the destination or in
// the log folder.
#pragma once

#include <string>

#include "app/settings_store.h"
#include "engine/run_record.h"
#include "engine/texts.h"
#include "platform/platform.h"

namespace hw {

// Expands the %-directives of a date pattern (%y %Y %m %d %H %M %S %%) with
// a local time; other characters are kept.
std::string FormatDateText(const std::string& pattern, const SystemTime& time);

class SetNaming {
 public:
  SetNaming(Platform& platform, RunRecord& run, SettingsStore& settings, const Texts& texts)
      : platform_(platform), run_(run), settings_(settings), texts_(texts) {}

  // Decides the working folder (AppDir) and the log folder (SaveLogDir) and
  // leaves the log folder in `logFileBase`. 1 when an existing log folder was
  // kept, 0 when one was (re)created at its default place; settings that are
  // unset ("None") or point nowhere are repaired on the way.
  int SetUpLogFolder();

  // 0 when the set has a name already, 1 when one was made: `setName`,
  // `setFolder` (D:\SET) and `logFileBase` (log folder\SET).
  int NameBackupSet();

  bool IsSetNameFree(const std::string& name);
  bool NoRootFolderNamed(const std::string& name);
  // 1 when a free name was found; otherwise the last one tried is kept.
  int MakeSetNameUnique(std::string& name);

 private:
  bool fileExists(const std::string& path);
  std::string programFolder();
  int logFolderOnAFixedSource(const std::string& unset);

  Platform& platform_;
  RunRecord& run_;
  SettingsStore& settings_;
  const Texts& texts_;
};

}  // namespace hw
