#include "report/set_naming.h"

#include <cstdio>

#include "report/folders.h"
#include "report/report_format.h"
#include "resources/string_ids.h"

namespace hw {

std::string FormatDateText(const std::string& pattern, const SystemTime& t) {
  std::string out;
  char field[8];
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out += pattern[i];
      continue;
    }
    const char d = pattern[++i];
    unsigned value = 0;
    const char* format = "%02u";
    switch (d) {
      case 'y': value = t.year % 100u; break;
      case 'Y': value = t.year; format = "%04u"; break;
      case 'm': value = t.month; break;
      case 'd': value = t.day; break;
      case 'H': value = t.hour; break;
      case 'M': value = t.minute; break;
      case 'S': value = t.second; break;
      case '%': out += '%'; continue;
      default: out += '%'; out += d; continue;
    }
    std::snprintf(field, sizeof field, format, value % 10000u);
    out += field;
  }
  return out;
}

bool SetNaming::fileExists(const std::string& path) {
  std::uint32_t attributes = 0;
  return succeeded(platform_.files().getAttributes(path, attributes)) &&
         !(attributes & kAttrDirectory);
}

bool SetNaming::NoRootFolderNamed(const std::string& name) {
  FindData entry;
  Status status = Status::ok;
  auto listing = platform_.files().findFirst(run_.setFolder + "\\*.*", entry, status);
  if (!listing) return true;
  do {
    // Exact, case-sensitive comparison.
    if (entry.isDirectory() && entry.name == name) return false;
  } while (listing->next(entry));
  return true;
}

bool SetNaming::IsSetNameFree(const std::string& name) {
  if (fileExists(run_.setFolder + "\\" + name + ".KVX")) return false;
  if (!run_.logFileBase.empty() && fileExists(run_.logFileBase + "\\" + name + ".KVX")) {
    return false;
  }
  return NoRootFolderNamed(name);
}

int SetNaming::MakeSetNameUnique(std::string& name) {
  if (IsSetNameFree(name)) return 1;
  for (char last = 'B'; last <= 'Z'; ++last) {
    name[7] = last;
    if (IsSetNameFree(name)) return 1;
  }
  for (char first = 'A'; first <= 'Z'; ++first) {
    if (first == 'L') continue;
    name[0] = first;
    for (char last = 'A'; last <= 'Z'; ++last) {
      name[7] = last;
      if (IsSetNameFree(name)) return 1;
    }
  }
  return 0;
}

std::string SetNaming::programFolder() {
  // The settings file lies in the program's folder. A settings file given
  // by a host path (the command line and tests off Windows) says nothing
  // about drives, so the platform's program folder stands in for it.
  const std::string& ini = settings_.iniPath();
  const std::size_t cut = ini.rfind('\\');
  if (cut == std::string::npos) return platform_.programDirectory();
  return ini.substr(0, cut);
}

int SetNaming::SetUpLogFolder() {
  FileSystem& files = platform_.files();
  const std::string unset = texts_.get(ids::IDS_NONE);
  const std::string logName(kLogFolderName);

  std::string appDirText = unset;
  settings_.GetAppDir(appDirText);
  bool repairAppDir = appDirText == unset;
  const std::string program = programFolder();
  std::string appDir = program;
  settings_.GetAppDir(appDir);
  if (!FolderExists(files, appDir, false)) {
    repairAppDir = true;
    appDir = program;
  }
  if (!FolderExists(files, appDir, false)) return logFolderOnAFixedSource(unset);

  std::string& logFolder = run_.logFileBase;
  logFolder = appDir + "\\" + logName;
  // A missing key reads as "None\LOGFILES", which names no folder.
  std::string stored = unset;
  settings_.GetSaveLogDir(stored);
  const bool customKept = stored != unset && FolderExists(files, stored, false);
  if (customKept) logFolder = stored;
  if (repairAppDir) settings_.SetAppDir(appDir);
  if (customKept) return 1;
  CreateFolderPath(files, logFolder, false);
  settings_.SetSaveLogDir(logFolder);
  return 0;
}

// Not even the program's folder can be reached: the working folder is looked
// for on the fixed drives among the sources, else it goes to C:.
int SetNaming::logFolderOnAFixedSource(const std::string& unset) {
  FileSystem& files = platform_.files();
  const std::string appName(kAppFolderName);
  const std::string logName(kLogFolderName);
  std::string& logFolder = run_.logFileBase;
  for (const DriveListItem& item : run_.sourceList) {
    if (!(item.kind & DK_FIXED)) continue;
    const std::string candidate = std::string(1, item.letter) + ":\\" + appName;
    if (!FolderExists(files, candidate, false)) continue;
    logFolder = candidate + "\\" + logName;
    const bool logExists = FolderExists(files, logFolder, false);
    settings_.SetAppDir(candidate);
    if (logExists) {
      std::string stored = unset;
      settings_.GetSaveLogDir(stored);
      if (stored == unset) settings_.SetSaveLogDir(logFolder);
      return 1;
    }
    CreateFolderPath(files, logFolder, false);
    settings_.SetSaveLogDir(logFolder);
    return 0;
  }
  const std::string appDir = "C:\\" + appName;
  logFolder = appDir + "\\" + logName;
  settings_.SetAppDir(appDir);
  settings_.SetSaveLogDir(logFolder);
  CreateFolderPath(files, logFolder, false);
  return 0;
}

int SetNaming::NameBackupSet() {
  if (!run_.setName.empty()) return 0;
  run_.setFolder = std::string(1, run_.destLetter) + ":";
  SetUpLogFolder();
  std::string date =
      FormatDateText(texts_.get(ids::IDS_SET_NAME_DATE_FORMAT), platform_.clock().localTime());
  // Six characters, whatever the pattern gives, so the name keeps its form.
  date.resize(6, '0');
  std::string name = "L" + date + "A";
  MakeSetNameUnique(name);
  run_.setName = name;
  if (!run_.logFileBase.empty()) run_.logFileBase += "\\" + name;
  run_.setFolder += "\\" + name;
  return 1;
}

}  // namespace hw
