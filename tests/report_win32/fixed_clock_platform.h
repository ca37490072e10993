// The real Win32 platform with a clock the test sets, and the golden files
// read from the Unix tree, for the report tests run under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "platform/win32/win32_platform.h"

namespace hw::test {

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

// The whole file in binary: a text-mode read would hide stray carriage returns.
inline std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<cannot open " + path + ">";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A Unix path as the program sees it: Wine shows the Unix root as drive Z:.
inline std::string windowsPathOf(std::string path) {
  if (!path.empty() && path.front() == '/' && runningUnderWine()) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

inline std::string goldenPath(const std::string& name) {
  return windowsPathOf(std::string(HW_REPORT_GOLDEN_DIR) + "/" + name);
}

}  // namespace hw::test
