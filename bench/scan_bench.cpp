// Scan speed and memory: the engine's scan of 100,000 files on the host
// platform against `find -printf '%s %T@\n'` over the same tree, and the heap
// taken per scanned file beyond its name.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "drives/drive_services.h"
#include "engine/backup_engine.h"
#include "engine/table_texts.h"
#include "platform/host/host_platform.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;

class QuietHost final : public hw::EngineHost {
 public:
  void notify(int) override {}
  int ask(hw::PromptKind, const hw::PromptDetails&) override { return hw::kAnswerCancel; }
  int messageBox(const std::string&, const std::string&, unsigned) override { return hw::kIdOk; }
  void pumpMessages() override {}
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}
};

const std::string& tree() {
  static const std::string root = [] {
    std::string base = std::filesystem::temp_directory_path() / "hw-scan-bench";
    const std::string done = base + "/.complete";
    if (!std::filesystem::exists(done)) {
      std::filesystem::remove_all(base);
      for (int d = 0; d < kFolders; ++d) {
        const std::string folder = base + "/folder" + std::to_string(d);
        std::filesystem::create_directories(folder);
        for (int f = 0; f < kFilesPerFolder; ++f) {
          std::ofstream(folder + "/file" + std::to_string(f) + ".dat") << d << ' ' << f;
        }
      }
      std::ofstream(done) << "ok";
    }
    return base;
  }();
  return root;
}

struct Scanner {
  hw::HostPlatform platform;
  hw::SettingsStore settings{platform, tree() + ".ini"};
  hw::RunRecord run;
  hw::DriveServices drives{platform, run};
  QuietHost host;
  hw::TableTexts texts;
  std::unique_ptr<hw::BackupEngine> engine;
  hw::SourceDrive drive;

  Scanner() {
    hw::HostDrive c;
    c.letter = 'C';
    c.folder = tree();
    c.capacity = 1ull << 34;
    platform.addDrive(c);
    engine = std::make_unique<hw::BackupEngine>(platform, settings, run, drives, host, texts);
    drive.letter = 'C';
  }
  double scan() {
    engine->scanDrive(drive);
    return drive.scannedFiles;
  }
};

void BM_EngineScan(benchmark::State& state) {
  Scanner scanner;
  double files = 0;
  for (auto _ : state) files = scanner.scan();
  state.counters["files"] = files;
  state.counters["files/s"] = benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EngineScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FindPrintf(benchmark::State& state) {
  const std::string command = "find '" + tree() + "' -printf '%s %T@\\n' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
  }
  state.counters["files"] = kFolders * kFilesPerFolder;
}
BENCHMARK(BM_FindPrintf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Heap growth of one scan, less the bytes of the names kept beyond what fits
// in a string's own storage, per file.
void BM_ScanMemoryPerFile(benchmark::State& state) {
  double perFile = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto scanner = std::make_unique<Scanner>();
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    state.ResumeTiming();
    scanner->scan();
    state.PauseTiming();
    const std::size_t after = mallinfo2().uordblks;
    double nameBytes = 0;
    for (hw::DirEntry* d = scanner->drive.root; d; d = hw::preorderNext(d)) {
      for (const hw::FileEntry& f : d->files) nameBytes += f.name.size();
    }
    perFile = (double(after - before) - nameBytes) / scanner->drive.scannedFiles;
    state.ResumeTiming();
  }
  state.counters["bytes/file"] = perFile;
}
BENCHMARK(BM_ScanMemoryPerFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
