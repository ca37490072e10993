// The settings file (HOARDWL95.INI next to the program) and the colours in
// force. The store is the only way into the file: every getter reads it
// afresh and every setter writes through at once, so nothing is cached and a
// change made anywhere is seen by every later read. A missing file, section
// or key reads as the key's default; the first read of a "Main" placement key
// in a file without one writes the complete default file.
//
// Setters return whether the write reached the file; callers that have
// nothing better to do may ignore it, the program goes on with the defaults.
// The GDI side of the colour scheme (brushes, frame drawing) is in
// app/win32/settings_drawing.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace hw {

class SettingsStore {
 public:
  // Colour references: red in the low byte, then green, then blue.
  static constexpr std::uint32_t defaultTextColor = 0;            // black
  static constexpr std::uint32_t defaultBackColor = 12632256;     // light grey
  static constexpr std::uint32_t customColorDefault = 16777215;  // white
  // What a missing "Main" placement key reads as: the mark of a first run.
  static constexpr int kNoPlacement = -2000;
  // Longest value a read returns (a 520-byte read buffer).
  static constexpr std::uint32_t kValueCapacity = 520;

  // `iniPath` is the program's path of the file ("C:\\HOARDWL\\HOARDWL95.INI");
  // it is handed to the platform's profile functions as it is.
  SettingsStore(Platform& platform, std::string iniPath);

  const std::string& iniPath() const { return iniPath_; }

  // The screen size a first run writes as ScrnWidth and ScrnHeight; start-up
  // sets it before the first placement read (640 x 480 until then).
  void setScreenSize(int width, int height);

  // The colours in force (what windows paint with) and the copies written
  // back by SaveBackColor / SaveTextColor. Every change of a colour sets both
  // copies; the options dialog also restores them on Cancel.
  std::uint32_t backColor = defaultBackColor;
  std::uint32_t textColor = defaultTextColor;
  std::uint32_t savedBackColor = defaultBackColor;
  std::uint32_t savedTextColor = defaultTextColor;

  // Section "Main". Selectors: 1 Left, 2 Top, 3 ScrnWidth, 4 ScrnHeight.
  // A read giving -2000 runs WriteDefaults first and still returns -2000.
  // Another selector reads nothing and gives -2000; its setter writes nothing.
  int GetMainPlacement(int selector);
  bool SetMainPlacement(int selector, int value);
  // `value` holds the default on entry and receives the value read.
  std::size_t GetAppDir(std::string& value);
  bool SetAppDir(const std::string& value);

  // Section "Preferences". Placement selectors: 1 Left, 2 Top; another
  // selector reads 0 and writes nothing (the same for "About").
  int GetPreferencesPlacement(int selector);
  bool SetPreferencesPlacement(int selector, int value);
  std::uint32_t GetBackColor();
  bool SetBackColor(std::uint32_t color);
  std::uint32_t GetTextColor();
  bool SetTextColor(std::uint32_t color);
  // Read the colour into both copies (the brushes follow in the win32 part).
  void LoadBackColor();
  void LoadTextColor();
  bool SaveBackColor();
  bool SaveTextColor();
  // Indexes 1 to 16 ("CustColor01" .. "CustColor16"); beyond 16 the getter
  // gives white without reading and the setter writes nothing.
  std::uint32_t GetCustColor(unsigned index);
  bool SetCustColor(unsigned index, std::uint32_t color);
  std::string GetSourceDrive();
  bool SetSourceDrive(const std::string& drives);
  std::string GetDestinDrive();
  bool SetDestinDrive(const std::string& drive);
  // The value cut to its first `maxLength` characters.
  std::string GetPrefFilter(std::size_t maxLength);
  bool SetPrefFilter(const std::string& indexes);
  int GetSaveLog();  // 1 when the stored number is above 0
  bool SetSaveLog(int value);
  // `folder` holds a base folder on entry (the default is folder\LOGFILES)
  // and receives the value read.
  std::uint16_t GetSaveLogDir(std::string& folder);
  bool SetSaveLogDir(const std::string& folder);
  int GetDelOldLogs();  // 1 when the stored number is above 0
  bool SetDelOldLogs(int value);
  unsigned GetDLogNum();
  // The count is taken as 16 bits, then clamped to 500.
  bool SetDLogNum(unsigned count);
  // 0 days, 1 weeks, 2 months, 3 years; anything else reads as 2.
  unsigned GetDLogPeriod();
  // The unit's text as the options dialog shows it ("Day(s)" ...); any other
  // text is written as months.
  bool SetDLogPeriod(std::string_view unitText);
  int GetBootableSysFlt();
  bool SetBootableSysFlt(int value);
  int GetAutoAppendDstDisk();
  bool SetAutoAppendDstDisk(int value);
  int GetUseINIDataExts();
  bool SetUseINIDataExts(int value);
  int GetUseINIApplExts();
  bool SetUseINIApplExts(int value);

  // Section "About". Selectors: 1 Left, 2 Top.
  int GetAboutPlacement(int selector);
  bool SetAboutPlacement(int selector, int value);

  // Section "DriveTimes", per drive letter as passed ('A' .. 'Z').
  int GetUseDrive(char letter);
  bool SetUseDrive(char letter, int value);
  std::uint32_t GetDriveSize(char letter);
  bool SetDriveSize(char letter, std::uint32_t size);
  unsigned GetDrvTotTime(char letter);
  bool SetDrvTotTime(char letter, unsigned time);
  unsigned GetDrvFilTime(char letter);
  bool SetDrvFilTime(char letter, unsigned time);
  unsigned GetDrvDelTime(char letter);
  bool SetDrvDelTime(char letter, unsigned time);

  // Sections "UserDataExts" and "ApplicationExts": key "Ext%03d" of `index`.
  bool SetUserDataExt(int index, const std::string& line);
  bool SetApplicationExt(int index, const std::string& line);

  // The complete default file, in the order Main, Preferences, About,
  // DriveTimes, UserDataExts, ApplicationExts, then the document type of
  // report files. True when every write reached the file.
  bool WriteDefaults();

  // Section "resource", key "lang" (never written by the program): at most
  // four characters, "enu" when missing.
  std::string GetLang();

 private:
  std::string read(const char* section, const std::string& key, const std::string& defaultValue);
  bool write(const char* section, const std::string& key, const std::string& value);
  int readInteger(const char* section, const std::string& key, const std::string& defaultValue);
  std::uint32_t readReal(const char* section, const std::string& key, const std::string& defaultValue);

  Platform& platform_;
  std::string iniPath_;
  int screenWidth_ = 640;
  int screenHeight_ = 480;
};

}  // namespace hw
