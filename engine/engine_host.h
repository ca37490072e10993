// How the engine talks to its front-end: notifications to the main panel,
// prompts and message boxes, and the message pump. The windows implement it
// with real dialogs, the command line with a terminal, tests with scripts.
#pragma once

#include <cstdint>
#include <string>

namespace hw {

// Notifications to the main panel (WM_COMMAND ids).
inline constexpr int kNotifyStopped = 2074;
inline constexpr int kNotifyPause = 2077;
inline constexpr int kNotifyProgress = 2084;
inline constexpr int kNotifyNewSourceDrive = 2085;
inline constexpr int kNotifyDialogClosed = 2086;
inline constexpr int kNotifyHintBigBackup = 2088;
inline constexpr int kNotifyHintHugeBackup = 2090;

// Prompt answers.
inline constexpr int kAnswerStart = 2;       // summary: go ahead
inline constexpr int kAnswerCancel = 3;      // summary: cancel
inline constexpr int kAnswerOverwrite = 2;   // overwrite prompt
inline constexpr int kAnswerSkipFile = 3;    // overwrite prompt
inline constexpr int kAnswerOverwriteAll = 4;
inline constexpr int kAnswerPause = 5;
inline constexpr int kAnswerContinue = 6;
inline constexpr int kAnswerErase = 7;      // disk in use
inline constexpr int kAnswerAppend = 8;     // disk in use
inline constexpr int kAnswerAbort = 9;
inline constexpr int kAnswerSkip = 10;
inline constexpr int kAnswerSkipAll = 11;
inline constexpr int kAnswerRetry = 12;

// Message box buttons, icons and answers (MB_*, ID*).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNoCancel = 0x3;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbRetryCancel = 0x5;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

enum class PromptKind {
  summary,       // confirm the planned backup
  nextDisk,      // insert disk n of the set
  overwrite,     // the destination file exists
  copyError,     // a file could not be copied
  diskInUse,     // the inserted disk holds data
  fileTooLarge,  // a file is larger than one destination disk
};

// What a prompt shows; each kind fills the fields it needs.
struct PromptDetails {
  std::string text;         // the composed message (attributes of an existing file, ...)
  std::string fileName;
  std::string directory;
  std::string sourcePath;
  std::string destPath;
  int code = 0;             // copy result code for the error prompt
  int diskNumber = 0;       // next disk: which disk of the set
  std::string setName;
  bool systemFile = false;  // overwrite prompt: the existing file is a system file
  bool afterWriteError = false;
  double totalBytes = 0;    // summary; file-too-large: the file's size
  double totalFiles = 0;
  int diskCount = 0;
  double estimatedSeconds = 0;
  std::uint32_t timeoutMs = 0;  // next disk: go on by itself after this; 0 never
};

class EngineHost {
 public:
  virtual ~EngineHost() = default;
  virtual void notify(int commandId) = 0;
  virtual int ask(PromptKind kind, const PromptDetails& details) = 0;
  virtual int messageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
  // Handle pending user input: stop, pause and cancel only set flags that
  // the engine reads at its next check.
  virtual void pumpMessages() = 0;
  // A text line of the main panel (control id) or of a status window.
  virtual void setControlText(int controlId, const std::string& text) = 0;
  // The scan status window; its path line shows where the scan is.
  virtual void showScanWindow(bool visible) = 0;
  virtual void showWaitWindow(bool visible) = 0;
  // The erase window; its cancel button calls BackupEngine::cancelErase.
  virtual void showEraseWindow(bool visible) {}
};

}  // namespace hw
