// The time estimate against destinations of known speed. The host platform
// models each destination's speed (a cost per byte written and per file
// created) on a manual clock, so "measured" is the time the device would
// take, the same on every machine, and the figures show how the stored rates
// settle from one backup to the next: the same tree goes to the same drive
// again and again with one settings file.
//
//   hw_estimate_model_bench [RUNS]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "drives/drive_services.h"
#include "engine/backup_engine.h"
#include "engine/table_texts.h"
#include "platform/host/host_platform.h"

namespace fs = std::filesystem;

namespace {

// Goes ahead at every question, and at the next-disk prompt puts the next
// medium in.
class AutoHost final : public hw::EngineHost {
 public:
  explicit AutoHost(hw::HostPlatform& platform) : platform_(platform) {}
  void notify(int) override {}
  int ask(hw::PromptKind kind, const hw::PromptDetails& details) override {
    switch (kind) {
      case hw::PromptKind::summary:
        return hw::kAnswerStart;
      case hw::PromptKind::nextDisk:
        platform_.insertMedium('D', details.diskNumber);
        return hw::kAnswerContinue;
      case hw::PromptKind::diskInUse:
        return hw::kAnswerAppend;
      case hw::PromptKind::overwrite:
        return hw::kAnswerOverwrite;
      default:
        return hw::kAnswerSkip;
    }
  }
  int messageBox(const std::string&, const std::string&, unsigned) override { return hw::kIdYes; }
  void pumpMessages() override {}
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}

 private:
  hw::HostPlatform& platform_;
};

// 3,000 files of 1-32 KiB in 30 folders and two files of 8 MiB: about 65 MB.
void makeTree(const fs::path& root) {
  std::mt19937 rng(7);
  std::string block(1 << 20, '\0');
  for (char& c : block) c = static_cast<char>(rng());
  for (int i = 0; i < 3000; ++i) {
    const fs::path folder = root / ("dir" + std::to_string(i % 30));
    fs::create_directories(folder);
    std::ofstream(folder / ("f" + std::to_string(i) + ".dat"), std::ios::binary)
        .write(block.data(), std::streamsize(1024 + rng() % (31 * 1024)));
  }
  for (int i = 0; i < 2; ++i) {
    std::ofstream out(root / ("big" + std::to_string(i) + ".bin"), std::ios::binary);
    for (int m = 0; m < 8; ++m) out.write(block.data(), std::streamsize(block.size()));
  }
}

struct Device {
  const char* name;
  hw::HostDriveKind kind;
  std::uint64_t capacity;
  std::uint64_t bytesPerSecond;
  std::uint32_t msPerFile;
};

void measure(const Device& device, const fs::path& work, const fs::path& tree, int runs) {
  const fs::path dest = work / "dest";
  // The program's own drive P: holds the settings file and the log folder.
  const fs::path program = work / device.name;
  fs::remove_all(program);
  fs::create_directories(program);
  std::printf("\n%s: %.1f MB/s, %u ms per file\n", device.name, device.bytesPerSecond / 1e6,
              device.msPerFile);
  for (int n = 1; n <= runs; ++n) {
    fs::remove_all(dest);
    hw::HostPlatform platform;
    platform.useManualClock();
    hw::HostDrive source;
    source.letter = 'C';
    source.folder = tree.string();
    source.capacity = 1ull << 34;
    platform.addDrive(source);
    hw::HostDrive target;
    target.letter = 'D';
    target.folder = dest.string();
    target.kind = device.kind;
    target.capacity = device.capacity;
    target.bytesPerSecond = device.bytesPerSecond;
    target.msPerFile = device.msPerFile;
    platform.addDrive(target);
    hw::HostDrive own;
    own.letter = 'P';
    own.folder = program.string();
    own.capacity = 1ull << 34;
    platform.addDrive(own);
    platform.setProgramDirectory("P:\\");

    hw::SettingsStore settings(platform, "P:\\HOARDWL95.INI");
    hw::RunRecord run;
    hw::DriveServices drives(platform, run);
    AutoHost host(platform);
    hw::TableTexts texts;
    hw::BackupEngine engine(platform, settings, run, drives, host, texts);
    drives.setHost(&host);
    hw::DriveListItem from, to;
    drives.DescribeDrive('C', from);
    drives.DescribeDrive('D', to);
    engine.setDestination(to);
    const int result = engine.run({from}, hw::MODE_ALL);
    if (result != hw::kRunDone) {
      std::printf("  run %d: the backup did not complete (%d)\n", n, result);
      return;
    }
    if (n == 1) {
      std::printf("  class %u, %.0f files, %.1f MB, %d disk%s\n", unsigned(to.statClass),
                  run.totalFiles, run.totalBytes / 1e6, run.diskIndex,
                  run.diskIndex == 1 ? "" : "s");
    }
    const double off = (run.estimateSeconds - engine.elapsed) * 100 / engine.elapsed;
    std::printf("  run %d: estimated %7.1f s, measured %7.1f s, %+6.1f %%   (rates %u, %u)\n", n,
                run.estimateSeconds, engine.elapsed, off, unsigned(run.rateTotal),
                unsigned(run.rateFile));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 6;
  const fs::path work = fs::temp_directory_path() / "hw-estimate-model-bench";
  fs::remove_all(work);
  const fs::path tree = work / "tree";
  makeTree(tree);
  // Fixed disks faster and slower than their default rates assume, one far
  // faster than the stored rates can hold, and a removable drive.
  const Device devices[] = {
      {"fixed disk at 1 MB/s", hw::HostDriveKind::fixed, 4ull << 30, 1000000, 10},
      {"fixed disk at 0.25 MB/s", hw::HostDriveKind::fixed, 4ull << 30, 250000, 20},
      {"fixed disk at 20 MB/s", hw::HostDriveKind::fixed, 4ull << 30, 20000000, 1},
      {"removable 250 MB at 0.5 MB/s", hw::HostDriveKind::removable, 250ull << 20, 500000, 15},
  };
  for (const Device& device : devices) measure(device, work, tree, runs);
  if (!std::getenv("HW_KEEP")) fs::remove_all(work);
  return 0;
}
