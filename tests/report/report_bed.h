// A host platform with a program drive, source drives and a destination, a
// settings file, a run record and a report writer, for the report and
// log-folder tests. Times come from the manual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/settings_store.h"
#include "engine/run_record.h"
#include "engine/table_texts.h"
#include "platform/host/host_platform.h"
#include "report/report_writer.h"
#include "report/set_naming.h"
#include "tests/report/report_fixture.h"
#include "tests/support/test_platform.h"

namespace hw::test {

class CountingHost final : public ReportHost {
 public:
  void pumpMessages() override { ++pumps; }
  int pumps = 0;
};

// The program lives in C:\HOARDWELL, its settings file beside it; the
// destination is the fixed drive F unless a test says otherwise.
class ReportBed {
 public:
  static constexpr const char* kIni = "C:\\HOARDWELL\\HOARDWL95.INI";

  ReportBed();

  HostPlatform& platform() { return t.platform(); }
  FileSystem& files() { return t.files(); }
  ManualClock& clock();
  // The end time of the one-disk run (2024-03-15 14:30:05), tick count `ticks`.
  void setTime(std::uint32_t ticks);

  // Through the platform.
  void write(const std::string& path, const std::string& bytes);
  std::string read(const std::string& path);
  bool exists(const std::string& path);
  void makeDir(const std::string& path);
  // The raw value of a settings key, "<missing>" when there is none.
  std::string setting(const char* section, const char* key);
  void setSetting(const char* section, const char* key, const char* value);

  // A set as the copy phase leaves it: name, folders, the set folder on
  // the destination.
  void nameSet(const std::string& name, char dest = 'F');

  TestPlatform t;
  SettingsStore settings{t.platform(), kIni};
  RunRecord run;
  TableTexts texts;
  CountingHost host;
  ReportWriter writer{t.platform(), run, settings, texts, host};
  SetNaming naming{t.platform(), run, settings, texts};
};

// The bytes of a golden report file.
std::string golden(const std::string& name);

// The line `n` (from 1) of a text, with its line feed.
std::string lineOf(const std::string& text, int n);

}  // namespace hw::test
