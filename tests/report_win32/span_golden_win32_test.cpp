// The spanned backup of the fixture through the real Win32 calls: the engine
// copies three files onto three 1.44 MB media in drive A:, and the report on
// the last one must be the golden file the host suite checks, byte for byte.
//
// The media are real (tmpfs mounts of 1440k) and only a script outside Wine
// can change them: tests/wine_span/span_golden.sh runs this program with
// HW_SPAN_CONTROL naming a folder they talk through. At each next-disk
// prompt the program writes the disk number to "want" there and waits for
// "have-N", which the script makes once disk N is in the drive. Without the
// script the test is skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "drives/drive_services.h"
#include "engine/backup_engine.h"
#include "engine/run_record.h"
#include "engine/table_texts.h"
#include "report/report_writer.h"
#include "tests/report/report_fixture.h"
#include "tests/report_win32/fixed_clock_platform.h"
#include "tests/support/platform_files.h"
#include "tests/win32/scratch_folder.h"

namespace hw::test {
namespace {

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Answers as a person at the machine would, and has the script change the
// medium at the next-disk prompt. Anything a clean run never asks is
// recorded and answered with a stop, so the test fails with what was asked.
class SpanHost final : public EngineHost {
 public:
  explicit SpanHost(std::string control) : control_(std::move(control)) {}

  void notify(int) override {}
  int ask(PromptKind kind, const PromptDetails& details) override {
    switch (kind) {
      case PromptKind::summary:
        return kAnswerStart;
      case PromptKind::nextDisk:
        disksAskedFor.push_back(details.diskNumber);
        return changeMedium(details.diskNumber) ? kAnswerContinue : kAnswerAbort;
      case PromptKind::diskInUse:
        // Wine's label file makes every fresh medium look used.
        return kAnswerAppend;
      default:
        unexpected.push_back("prompt " + std::to_string(int(kind)) + ": " + details.sourcePath +
                             " " + details.text);
        return kAnswerAbort;
    }
  }
  int messageBox(const std::string& text, const std::string& caption, unsigned type) override {
    // Wine keeps a volume's old label until the session ends, so a new disk
    // can look like the one just filled: a person says it is a new one.
    if ((type & 0xf) == kMbYesNo) {
      confirmed.push_back(caption);
      return kIdYes;
    }
    unexpected.push_back(caption + ": " + text);
    return kIdCancel;
  }
  void pumpMessages() override {}
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}

  std::vector<int> disksAskedFor;
  std::vector<std::string> confirmed;
  std::vector<std::string> unexpected;

 private:
  // Written whole under another name, then renamed, so the script never
  // reads half a number.
  bool changeMedium(int disk) {
    const std::string want = control_ + "\\want";
    {
      std::ofstream out(want + ".tmp", std::ios::binary | std::ios::trunc);
      out << disk << "\n";
    }
    if (!MoveFileExA((want + ".tmp").c_str(), want.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      unexpected.push_back("cannot ask for disk " + std::to_string(disk));
      return false;
    }
    const std::string have = control_ + "\\have-" + std::to_string(disk);
    for (int waited = 0; waited < 1200; ++waited) {
      if (fileExists(have)) return true;
      Sleep(100);
    }
    unexpected.push_back("disk " + std::to_string(disk) + " never came");
    return false;
  }

  std::string control_;
};

class NoPumping final : public ReportHost {
 public:
  void pumpMessages() override {}
};

void writeSource(const SpanFile& file) {
  std::ofstream out(file.path, std::ios::binary | std::ios::trunc);
  const std::string bytes = patternBytes(kSpanFileSize, file.seed);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << file.path;
}

TEST(SpanGoldenWin32, BackupOverThreeFloppiesMatchesTheGoldenFile) {
  const char* control = std::getenv("HW_SPAN_CONTROL");
  if (!control || !*control) GTEST_SKIP() << "run by tests/wine_span/span_golden.sh";
  ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());

  // S: is an empty folder of the script's; the files are the fixture's.
  for (const char* folder : kSpanFolders) {
    ASSERT_TRUE(CreateDirectoryA(folder, nullptr)) << folder << " " << GetLastError();
  }
  for (const SpanFile& file : kSpanFiles) ASSERT_NO_FATAL_FAILURE(writeSource(file));

  // What the command line and the windowed program set up before a run.
  FixedClockPlatform platform(scratch.path());
  platform.fixedClock().set(spanStartTime(), 5000000);
  SettingsStore settings(platform, scratch / "HOARDWL95.INI");
  RunRecord run;
  DriveServices drives(platform, run);
  SpanHost host(windowsPathOf(control));
  TableTexts texts;
  BackupEngine engine(platform, settings, run, drives, host, texts);
  drives.setHost(&host);
  DriveListItem source, dest;
  ASSERT_TRUE(drives.DescribeDrive('S', source));
  ASSERT_TRUE(drives.DescribeDrive('A', dest));
  ASSERT_TRUE(dest.kind & DK_REMOVABLE) << "A: must be the runner's floppy drive";
  engine.setDestination(dest);

  ASSERT_EQ(engine.run({source}, MODE_ALL), kRunDone);
  for (const std::string& what : host.unexpected) ADD_FAILURE() << what;
  for (const std::string& caption : host.confirmed) std::printf("confirmed: %s\n", caption.c_str());
  ASSERT_EQ(run.setName, "L240315A");
  EXPECT_EQ(host.disksAskedFor, (std::vector<int>{2, 3}));

  // The end of the run as the report sees it, with the times fixed.
  NoPumping reportHost;
  ReportWriter writer(platform, run, settings, texts, reportHost);
  run.active = 1;
  run.startTime = platform.fixedClock().tickCount() / 1000.0 - kSpanMeasuredSeconds;
  run.estimateSeconds = kSpanEstimatedSeconds;
  ASSERT_EQ(writer.WriteReport(), kReportWritten)
      << "primary " << int(writer.primaryError()) << " copy " << int(writer.copyError());

  const std::string expected = bytesOf(goldenPath("THREE_FLOPPIES.KVX"));
  ASSERT_EQ(expected.rfind("<cannot open", 0), std::string::npos) << expected;
  const std::string report = bytesOf("A:\\L240315A\\L240315A.KVX");
  EXPECT_EQ(report, expected);
  EXPECT_EQ(bytesOf(scratch / "LOGFILES\\L240315A.KVX"), report);
}

}  // namespace
}  // namespace hw::test
