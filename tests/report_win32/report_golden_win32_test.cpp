// The one-disk report written through the Win32 platform: files, folders and
// the settings file are real, the clock is fixed, and the bytes must be
// those of the golden file the host suite checks.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/settings_store.h"
#include "engine/run_record.h"
#include "engine/table_texts.h"
#include "platform/win32/win32_platform.h"
#include "report/report_writer.h"
#include "tests/report/report_fixture.h"
#include "tests/win32/scratch_folder.h"

namespace hw::test {
namespace {

// Times set by the test; conversions are the real clock's, so a file time
// means what it means on Windows.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Clock& real) : real_(real) {}
  void set(const SystemTime& time, std::uint32_t ticks) {
    time_ = time;
    ticks_ = ticks;
  }

  std::uint32_t tickCount() override { return ticks_; }
  // No offset: the local time is UTC, as on the host suite's manual clock.
  SystemTime localTime() override { return time_; }
  SystemTime systemTime() override { return time_; }
  bool fileTimeToSystemTime(FileTime time, SystemTime& out) override {
    return real_.fileTimeToSystemTime(time, out);
  }
  bool systemTimeToFileTime(const SystemTime& time, FileTime& out) override {
    return real_.systemTimeToFileTime(time, out);
  }
  bool fileTimeToLocalFileTime(FileTime time, FileTime& out) override {
    out = time;
    return true;
  }
  void sleep(std::uint32_t milliseconds) override { ticks_ += milliseconds; }

 private:
  Clock& real_;
  SystemTime time_;
  std::uint32_t ticks_ = 0;
};

// The real platform with the fixed clock in place of the real one.
class FixedClockPlatform final : public Platform {
 public:
  explicit FixedClockPlatform(std::string programDirectory)
      : programDirectory_(std::move(programDirectory)) {}

  FileSystem& files() override { return real_.files(); }
  Volumes& volumes() override { return real_.volumes(); }
  Clock& clock() override { return clock_; }
  Profile& profile() override { return real_.profile(); }
  Registry& registry() override { return real_.registry(); }
  std::string programDirectory() override { return programDirectory_; }
  bool insertMedium(char, int) override { return false; }
  int currentMedium(char) override { return 0; }

  FixedClock& fixedClock() { return clock_; }

 private:
  Win32Platform real_;
  FixedClock clock_{real_.clock()};
  std::string programDirectory_;
};

class NoPumping final : public ReportHost {
 public:
  void pumpMessages() override {}
};

// The whole file in binary: a text-mode read would hide stray carriage returns.
std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<cannot open " + path + ">";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The golden folder is a Unix path; Wine shows the Unix root as drive Z:.
std::string goldenPath(const std::string& name) {
  std::string path = std::string(HW_REPORT_GOLDEN_DIR) + "/" + name;
  if (path.front() == '/' && runningUnderWine()) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// The run names F: as its destination and the report prints that letter;
// the set's folder and the log folder are real folders under the scratch
// folder, since the writer only writes where the run record points.
TEST(ReportGoldenWin32, OneDiskBackupMatchesTheGoldenFile) {
  ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  FixedClockPlatform platform(scratch.path());
  ASSERT_EQ(platform.files().createDirectory(scratch / "L240315A"), Status::ok);
  ASSERT_EQ(platform.files().createDirectory(scratch / "LOGFILES"), Status::ok);

  SettingsStore settings(platform, scratch / "HOARDWL95.INI");
  TableTexts texts;
  RunRecord run;
  buildOneDiskRun(run, texts);
  run.setFolder = scratch / "L240315A";
  run.logFileBase = scratch / "LOGFILES\\L240315A";
  platform.fixedClock().set(oneDiskEndTime(), kOneDiskEndTicks);

  NoPumping host;
  ReportWriter writer(platform, run, settings, texts, host);
  ASSERT_EQ(writer.WriteReport(), kReportWritten)
      << "primary " << int(writer.primaryError()) << " copy " << int(writer.copyError());

  const std::string expected = bytesOf(goldenPath("ONE_DISK.KVX"));
  ASSERT_EQ(expected.rfind("<cannot open", 0), std::string::npos) << expected;
  const std::string report = bytesOf(scratch / "L240315A\\L240315A.KVX");
  EXPECT_EQ(report, expected);
  EXPECT_EQ(bytesOf(scratch / "LOGFILES\\L240315A.KVX"), report);
  EXPECT_DOUBLE_EQ(run.reportElapsed, 90);
}

}  // namespace
}  // namespace hw::test
