#include "app/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/default_tables.h"
#include "app/doc_type.h"
#include "app/settings_parse.h"
#include "resources/string_ids.h"
#include "resources/texts.h"

namespace hw {
namespace {

constexpr const char* kMain = "Main";
constexpr const char* kPreferences = "Preferences";
constexpr const char* kAbout = "About";
constexpr const char* kUserDataExts = "UserDataExts";
constexpr const char* kApplicationExts = "ApplicationExts";
constexpr const char* kDriveTimes = "DriveTimes";
constexpr const char* kResource = "resource";

constexpr unsigned kMaxLogCount = 500;
constexpr unsigned kMonths = 2;

std::string signedText(int value) { return std::to_string(value); }
std::string unsignedText(std::uint32_t value) { return std::to_string(value); }
std::string flagText(bool on) { return on ? "1" : "0"; }

std::string numberedKey(const char* format, unsigned number) {
  char key[24];
  std::snprintf(key, sizeof key, format, number);
  return key;
}

std::string driveKey(const char* prefix, char letter) { return std::string(prefix) + letter; }

// Key names of the placement selectors, null for a selector the section lacks.
const char* placementKey(int selector, bool withScreenSize) {
  switch (selector) {
    case 1: return "Left";
    case 2: return "Top";
    case 3: return withScreenSize ? "ScrnWidth" : nullptr;
    case 4: return withScreenSize ? "ScrnHeight" : nullptr;
    default: return nullptr;
  }
}

}  // namespace

SettingsStore::SettingsStore(Platform& platform, std::string iniPath)
    : platform_(platform), iniPath_(std::move(iniPath)) {}

void SettingsStore::setScreenSize(int width, int height) {
  screenWidth_ = width;
  screenHeight_ = height;
}

std::string SettingsStore::read(const char* section, const std::string& key,
                                const std::string& defaultValue) {
  return platform_.profile().getString(iniPath_, section, key.c_str(), defaultValue.c_str(),
                                       kValueCapacity);
}

// A value is one line of the file: a line break in it would start new keys
// or sections, so the value ends there.
bool SettingsStore::write(const char* section, const std::string& key, const std::string& value) {
  const std::string line = value.substr(0, value.find_first_of("\r\n"));
  return platform_.profile().writeString(iniPath_, section, key.c_str(), line.c_str());
}

int SettingsStore::readInteger(const char* section, const std::string& key,
                               const std::string& defaultValue) {
  return ParseInteger(read(section, key, defaultValue));
}

std::uint32_t SettingsStore::readReal(const char* section, const std::string& key,
                                      const std::string& defaultValue) {
  return ParseRealTruncated(read(section, key, defaultValue));
}

// --- Main -------------------------------------------------------------------

int SettingsStore::GetMainPlacement(int selector) {
  const char* key = placementKey(selector, true);
  if (!key) return kNoPlacement;
  const int value = readInteger(kMain, key, signedText(kNoPlacement));
  if (value == kNoPlacement) WriteDefaults();
  return value;
}

bool SettingsStore::SetMainPlacement(int selector, int value) {
  const char* key = placementKey(selector, true);
  return key && write(kMain, key, signedText(value));
}

std::size_t SettingsStore::GetAppDir(std::string& value) {
  value = read(kMain, "AppDir", value);
  return value.size();
}

bool SettingsStore::SetAppDir(const std::string& value) { return write(kMain, "AppDir", value); }

// --- Preferences ----------------------------------------------------------------

int SettingsStore::GetPreferencesPlacement(int selector) {
  switch (selector) {
    case 1: return readInteger(kPreferences, "Left", "5");
    case 2: return readInteger(kPreferences, "Top", "25");
    default: return 0;
  }
}

bool SettingsStore::SetPreferencesPlacement(int selector, int value) {
  const char* key = placementKey(selector, false);
  return key && write(kPreferences, key, signedText(value));
}

std::uint32_t SettingsStore::GetBackColor() {
  return readReal(kPreferences, "BackColor", unsignedText(defaultBackColor));
}

bool SettingsStore::SetBackColor(std::uint32_t color) {
  return write(kPreferences, "BackColor", unsignedText(color));
}

std::uint32_t SettingsStore::GetTextColor() {
  return readReal(kPreferences, "TextColor", signedText(static_cast<int>(defaultTextColor)));
}

bool SettingsStore::SetTextColor(std::uint32_t color) {
  return write(kPreferences, "TextColor", unsignedText(color));
}

void SettingsStore::LoadBackColor() { backColor = savedBackColor = GetBackColor(); }
void SettingsStore::LoadTextColor() { textColor = savedTextColor = GetTextColor(); }
bool SettingsStore::SaveBackColor() { return SetBackColor(savedBackColor); }
bool SettingsStore::SaveTextColor() { return SetTextColor(savedTextColor); }

std::uint32_t SettingsStore::GetCustColor(unsigned index) {
  if (index > 16) return customColorDefault;
  return readReal(kPreferences, numberedKey("CustColor%02u", index),
                  signedText(static_cast<int>(customColorDefault)));
}

bool SettingsStore::SetCustColor(unsigned index, std::uint32_t color) {
  if (index > 16) return false;
  return write(kPreferences, numberedKey("CustColor%02u", index), unsignedText(color));
}

std::string SettingsStore::GetSourceDrive() { return read(kPreferences, "SourceDrive", "C:"); }
bool SettingsStore::SetSourceDrive(const std::string& drives) {
  return write(kPreferences, "SourceDrive", drives);
}

// A missing destination reads as C: as well, not the first-run D:.
std::string SettingsStore::GetDestinDrive() { return read(kPreferences, "DestinDrive", "C:"); }
bool SettingsStore::SetDestinDrive(const std::string& drive) {
  return write(kPreferences, "DestinDrive", drive);
}

std::string SettingsStore::GetPrefFilter(std::size_t maxLength) {
  std::string value = read(kPreferences, "PrefFilter", "0");
  if (value.size() > maxLength) value.resize(maxLength);
  return value;
}

bool SettingsStore::SetPrefFilter(const std::string& indexes) {
  return write(kPreferences, "PrefFilter", indexes);
}

int SettingsStore::GetSaveLog() { return readInteger(kPreferences, "SaveLog", "1") > 0 ? 1 : 0; }
bool SettingsStore::SetSaveLog(int value) { return write(kPreferences, "SaveLog", flagText(value > 0)); }

std::uint16_t SettingsStore::GetSaveLogDir(std::string& folder) {
  folder = read(kPreferences, "SaveLogDir", folder + "\\LOGFILES");
  return static_cast<std::uint16_t>(folder.size());
}

bool SettingsStore::SetSaveLogDir(const std::string& folder) {
  return write(kPreferences, "SaveLogDir", folder);
}

int SettingsStore::GetDelOldLogs() { return readInteger(kPreferences, "DelOldLogs", "0") > 0 ? 1 : 0; }
bool SettingsStore::SetDelOldLogs(int value) {
  return write(kPreferences, "DelOldLogs", flagText(value > 0));
}

unsigned SettingsStore::GetDLogNum() {
  return static_cast<unsigned>(readInteger(kPreferences, "DLogNum", "2"));
}

bool SettingsStore::SetDLogNum(unsigned count) {
  const unsigned count16 = static_cast<std::uint16_t>(count);
  return write(kPreferences, "DLogNum", unsignedText(std::min(count16, kMaxLogCount)));
}

unsigned SettingsStore::GetDLogPeriod() {
  const int code = readInteger(kPreferences, "DLogPeriod", "2");
  return code >= 0 && code <= 3 ? static_cast<unsigned>(code) : kMonths;
}

bool SettingsStore::SetDLogPeriod(std::string_view unitText) {
  static constexpr int kUnitTexts[] = {ids::IDS_PERIOD_DAYS, ids::IDS_PERIOD_WEEKS,
                                       ids::IDS_PERIOD_MONTHS, ids::IDS_PERIOD_YEARS};
  unsigned code = kMonths;
  for (unsigned i = 0; i < 4; ++i) {
    if (unitText == texts::text(kUnitTexts[i])) code = i;
  }
  return write(kPreferences, "DLogPeriod", unsignedText(code));
}

int SettingsStore::GetBootableSysFlt() { return readInteger(kPreferences, "BootableSysFlt", "1"); }
bool SettingsStore::SetBootableSysFlt(int value) {
  return write(kPreferences, "BootableSysFlt", flagText(value != 0));
}

int SettingsStore::GetAutoAppendDstDisk() { return readInteger(kPreferences, "AutoAppendDstDisk", "0"); }
bool SettingsStore::SetAutoAppendDstDisk(int value) {
  return write(kPreferences, "AutoAppendDstDisk", flagText(value != 0));
}

int SettingsStore::GetUseINIDataExts() { return readInteger(kPreferences, "UseINIDataExts", "0"); }
bool SettingsStore::SetUseINIDataExts(int value) {
  return write(kPreferences, "UseINIDataExts", flagText(value != 0));
}

int SettingsStore::GetUseINIApplExts() { return readInteger(kPreferences, "UseINIApplExts", "0"); }
bool SettingsStore::SetUseINIApplExts(int value) {
  return write(kPreferences, "UseINIApplExts", flagText(value != 0));
}

// --- About ----------------------------------------------------------------------

int SettingsStore::GetAboutPlacement(int selector) {
  switch (selector) {
    case 1: return readInteger(kAbout, "Left", "-25");
    case 2: return readInteger(kAbout, "Top", "25");
    default: return 0;
  }
}

bool SettingsStore::SetAboutPlacement(int selector, int value) {
  const char* key = placementKey(selector, false);
  return key && write(kAbout, key, signedText(value));
}

// --- DriveTimes -------------------------------------------------------------------

int SettingsStore::GetUseDrive(char letter) { return readInteger(kDriveTimes, driveKey("UseDrive", letter), "0"); }
bool SettingsStore::SetUseDrive(char letter, int value) {
  return write(kDriveTimes, driveKey("UseDrive", letter), flagText(value != 0));
}

std::uint32_t SettingsStore::GetDriveSize(char letter) {
  return readReal(kDriveTimes, driveKey("DriveSize", letter), "0");
}
bool SettingsStore::SetDriveSize(char letter, std::uint32_t size) {
  return write(kDriveTimes, driveKey("DriveSize", letter), unsignedText(size));
}

unsigned SettingsStore::GetDrvTotTime(char letter) {
  return static_cast<unsigned>(readInteger(kDriveTimes, driveKey("DrvTotTime", letter), "0"));
}
bool SettingsStore::SetDrvTotTime(char letter, unsigned time) {
  return write(kDriveTimes, driveKey("DrvTotTime", letter), unsignedText(time));
}

unsigned SettingsStore::GetDrvFilTime(char letter) {
  return static_cast<unsigned>(readInteger(kDriveTimes, driveKey("DrvFilTime", letter), "0"));
}
bool SettingsStore::SetDrvFilTime(char letter, unsigned time) {
  return write(kDriveTimes, driveKey("DrvFilTime", letter), unsignedText(time));
}

unsigned SettingsStore::GetDrvDelTime(char letter) {
  return static_cast<unsigned>(readInteger(kDriveTimes, driveKey("DrvDelTime", letter), "0"));
}
bool SettingsStore::SetDrvDelTime(char letter, unsigned time) {
  return write(kDriveTimes, driveKey("DrvDelTime", letter), unsignedText(time));
}

// --- Extension lists ----------------------------------------------------------------

bool SettingsStore::SetUserDataExt(int index, const std::string& line) {
  return write(kUserDataExts, numberedKey("Ext%03d", static_cast<unsigned>(index)), line);
}

bool SettingsStore::SetApplicationExt(int index, const std::string& line) {
  return write(kApplicationExts, numberedKey("Ext%03d", static_cast<unsigned>(index)), line);
}

std::string SettingsStore::GetLang() { return platform_.profile().getString(iniPath_, kResource, "lang", "enu", 5); }

// --- First run ------------------------------------------------------------------------

bool SettingsStore::WriteDefaults() {
  // Every write is tried even after one failed, so a file that refuses one
  // key still gets the others.
  bool ok = true;
  auto step = [&ok](bool written) { ok = written && ok; };

  step(SetMainPlacement(1, 50));
  step(SetMainPlacement(2, 50));
  step(SetMainPlacement(3, screenWidth_));
  step(SetMainPlacement(4, screenHeight_));
  std::string appDir;
  if (GetAppDir(appDir) == 0) step(SetAppDir("None"));

  step(SetPreferencesPlacement(1, 5));
  step(SetPreferencesPlacement(2, 25));
  step(SaveBackColor());
  step(SaveTextColor());
  step(SetSourceDrive("C:"));
  step(SetDestinDrive("D:"));
  step(SetPrefFilter("1"));
  step(SetSaveLog(1));
  step(SetSaveLogDir("None"));
  step(SetDelOldLogs(1));
  step(SetDLogNum(6));
  step(SetDLogPeriod(texts::text(ids::IDS_PERIOD_MONTHS)));
  for (unsigned i = 1; i <= 16; ++i) step(SetCustColor(i, customColorDefault));
  step(SetBootableSysFlt(1));
  step(SetAutoAppendDstDisk(0));
  step(SetUseINIDataExts(0));
  step(SetUseINIApplExts(0));

  step(SetAboutPlacement(1, -25));
  step(SetAboutPlacement(2, 25));

  for (char letter = 'A'; letter <= 'E'; ++letter) {
    step(SetUseDrive(letter, 0));
    step(SetDriveSize(letter, 0));
    step(SetDrvTotTime(letter, 0));
    step(SetDrvFilTime(letter, 0));
    step(SetDrvDelTime(letter, 0));
  }

  for (const ExtensionLine& entry : DefaultUserDataExts()) step(SetUserDataExt(entry.index, std::string(entry.line)));
  for (const ExtensionLine& entry : DefaultApplicationExts()) {
    step(SetApplicationExt(entry.index, std::string(entry.line)));
  }

  // A registry without ".DOC" is no failure of the settings file.
  RegisterReportDocumentType(platform_.registry());
  return ok;
}

}  // namespace hw
