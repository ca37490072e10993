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
#include "tests/report_win32/fixed_clock_platform.h"
#include "tests/win32/scratch_folder.h"

namespace hw::test {
namespace {

class NoPumping final : public ReportHost {
 public:
  void pumpMessages() override {}
};

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
