// A backup engine on the host platform, with a scripted front-end, for
// driving whole runs in tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drives/drive_services.h"
#include "engine/backup_engine.h"
#include "engine/table_texts.h"
#include "platform/host/host_platform.h"

namespace hw::test {

// Answers the engine's prompts from a policy the test sets, and records what
// it was told.
class ScriptedHost final : public EngineHost {
 public:
  explicit ScriptedHost(HostPlatform& platform) : platform_(platform) {}

  void notify(int commandId) override { notifications.push_back(commandId); }
  int ask(PromptKind kind, const PromptDetails& details) override;
  int messageBox(const std::string& text, const std::string& caption, unsigned type) override {
    messages.push_back(caption + ": " + text);
    return messageAnswer;
  }
  void pumpMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}

  int count(PromptKind kind) const;
  int countNotifications(int id) const;

  // Null: the defaults below (start, overwrite, next medium, skip).
  std::function<int(PromptKind, const PromptDetails&)> answer;
  std::function<void()> onPump;
  int messageAnswer = kIdCancel;
  std::vector<int> notifications;
  std::vector<PromptKind> prompts;
  std::vector<PromptDetails> details;
  std::vector<std::string> messages;
  long pumps = 0;

 private:
  HostPlatform& platform_;
  int lastMedium_ = 1;
};

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class EngineBed {
 public:
  EngineBed();

  // Drives: a fixed drive (the folder is its root), a 1.44 MB floppy drive
  // holding numbered media.
  void addFixed(char letter, std::uint64_t capacity = 1ull << 30);
  void addFloppy(char letter, std::uint64_t capacity = 0);

  // Files through the platform, so attributes and times are the platform's.
  void writeFile(const std::string& path, const std::string& content);
  void makeDir(const std::string& path);
  void setAttributes(const std::string& path, std::uint32_t attributes);
  void setFileTime(const std::string& path, FileTime time);
  void setDirTime(const std::string& path, FileTime time);
  std::string readFile(const std::string& path);
  bool exists(const std::string& path);
  std::uint32_t attributes(const std::string& path);
  FileTime fileTime(const std::string& path);
  FileTime dirTime(const std::string& path);

  // Runs a backup as the main window would start one.
  int backup(const std::vector<char>& sources, char dest, std::uint32_t mode);

  // The destination folder of source path "C:\x": "D:\SET\C\x".
  std::string destOf(const std::string& sourcePath) const;
  FileEntry* entry(const std::string& sourcePath);

  ScratchFolder scratch;
  HostPlatform platform;
  // The program's own drive P: holds the settings file and the log folder,
  // so nothing of the program's lands on the drives a test backs up.
  SettingsStore settings{platform, "P:\\HOARDWL95.INI"};
  RunRecord run;
  DriveServices drives{platform, run};
  ScriptedHost host{platform};
  TableTexts texts;
  std::unique_ptr<BackupEngine> engine;
};

// A FILETIME of a calendar date, for fixture times.
FileTime fileTimeOf(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

// The content of a file of `size` bytes whose bytes differ with position and
// seed, so a misplaced block shows.
std::string patterned(std::size_t size, unsigned seed = 1);

}  // namespace hw::test
