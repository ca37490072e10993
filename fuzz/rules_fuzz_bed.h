// What the rules' fuzz targets share: drive C: on a scratch folder (removed
// at exit) with a Windows folder and a few files for references to find, a
// settings store, and a front-end that answers nothing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "app/settings_store.h"
#include "engine/engine_host.h"
#include "engine/run_record.h"
#include "engine/texts.h"
#include "platform/host/host_platform.h"
#include "rules/selection_rules.h"

namespace hw::fuzz {

inline void check(bool condition) {
  if (!condition) std::abort();
}

class SilentHost final : public EngineHost {
 public:
  void notify(int) override {}
  int ask(PromptKind, const PromptDetails&) override { return kAnswerAbort; }
  int messageBox(const std::string&, const std::string&, unsigned) override {
    ++messages;
    return kIdOk;
  }
  void pumpMessages() override {}
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}
  int messages = 0;
};

class NoTexts final : public Texts {
 public:
  std::string get(int) const override { return {}; }
};

class RulesFuzzBed {
 public:
  RulesFuzzBed() {
    char inMemory[] = "/dev/shm/hw-fuzz-rules-XXXXXX";
    char onDisk[] = "/tmp/hw-fuzz-rules-XXXXXX";
    const char* made = mkdtemp(inMemory);
    if (!made) made = mkdtemp(onDisk);
    check(made != nullptr);
    folder = made;
    std::filesystem::create_directories(folder + "/WINDOWS/SYSTEM");
    std::filesystem::create_directories(folder + "/DOS");
    std::filesystem::create_directories(folder + "/BIN");
    for (const char* name : {"DOS/HIMEM.SYS", "DOS/ANSI.SYS", "BIN/SETUP.BAT", "WINDOWS/SYSTEM/VMM32.VXD",
                             "COMMAND.COM", "IO.SYS", "MSDOS.SYS"}) {
      writeFile(name, "REM x\r\nC:\\DOS\\HIMEM.SYS\r\n");
    }
    HostDrive drive;
    drive.letter = 'C';
    drive.folder = folder;
    check(platform.addDrive(drive) == Status::ok);
    platform.setWindowsDirectory("C:\\WINDOWS");
    platform.useManualClock();
    settings = std::make_unique<SettingsStore>(platform, "C:\\HOARDWL95.INI");
    rules = std::make_unique<SelectionRules>(platform, run, *settings, host, texts);
  }
  ~RulesFuzzBed() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // A file below the drive's folder ("DOS/X.SYS").
  void writeFile(const std::string& name, std::string_view bytes) const {
    std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    check(f != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  void removeFile(const std::string& name) const { std::remove((folder + "/" + name).c_str()); }

  // One source drive C: with an empty scanned root, for a run of `mode`.
  void newRun(std::uint32_t mode) {
    run.mode = mode;
    run.active = 1;
    run.destLetter = 'A';
    run.destFlags = DK_FLOPPY | DK_REMOVABLE;
    run.setName = "S";
    run.sourceList.clear();
    DriveListItem item;
    item.letter = 'C';
    item.kind = DK_FIXED;
    item.readable = 1;
    run.sourceList.push_back(item);
    run.sourceDrives.clear();
    auto drive = std::make_unique<SourceDrive>(makeSourceDrive(item));
    drive->selected = 1;
    DirEntry& root = drive->newDirectory();
    root.name = "C:";
    drive->root = &root;
    run.sourceDrives.push_back(std::move(drive));
    rules->ResetClassification();
    rules->ResetRunState();
    rules->ResetSelection();
  }

  std::string folder;
  HostPlatform platform;
  RunRecord run;
  SilentHost host;
  NoTexts texts;
  std::unique_ptr<SettingsStore> settings;
  std::unique_ptr<SelectionRules> rules;
};

}  // namespace hw::fuzz
