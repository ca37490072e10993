// Clocks of the host platform and the exact FILETIME <-> SYSTEMTIME
// conversions they share (1601-01-01 epoch, 100 ns units, proleptic
// Gregorian calendar, years 1601 to 30827 as on Windows).
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace hw {

bool convertFileTimeToSystemTime(FileTime time, SystemTime& out);
bool convertSystemTimeToFileTime(const SystemTime& time, FileTime& out);

// FILETIME of a POSIX time (seconds and nanoseconds since 1970), and back.
FileTime fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
void fileTimeToUnix(FileTime time, std::int64_t& seconds, std::int64_t& nanoseconds);

// The host's clocks; local time through the host's time zone.
class RealClock final : public Clock {
 public:
  std::uint32_t tickCount() override;
  SystemTime localTime() override;
  SystemTime systemTime() override;
  bool fileTimeToSystemTime(FileTime time, SystemTime& out) override;
  bool systemTimeToFileTime(const SystemTime& time, FileTime& out) override;
  bool fileTimeToLocalFileTime(FileTime time, FileTime& out) override;
  void sleep(std::uint32_t milliseconds) override;
};

// A clock that tests set and move. Starts at 2000-01-01 00:00:00 UTC with a
// tick count of 0 and local time equal to UTC.
class ManualClock final : public Clock {
 public:
  void setSystemTime(const SystemTime& utc);
  void setFileTime(FileTime utc) { now_ = utc.value(); }
  FileTime now() const { return FileTime::fromValue(now_); }
  void setTickCount(std::uint32_t ticks) { ticks_ = ticks; }
  // Local time = UTC + offset.
  void setUtcOffsetMinutes(int minutes) { offsetMinutes_ = minutes; }
  // Moves the tick count and the time together.
  void advance(std::uint32_t milliseconds);

  std::uint32_t tickCount() override { return ticks_; }
  SystemTime localTime() override;
  SystemTime systemTime() override;
  bool fileTimeToSystemTime(FileTime time, SystemTime& out) override;
  bool systemTimeToFileTime(const SystemTime& time, FileTime& out) override;
  bool fileTimeToLocalFileTime(FileTime time, FileTime& out) override;
  void sleep(std::uint32_t milliseconds) override { advance(milliseconds); }

 private:
  std::uint64_t now_ = 125911584000000000ULL;  // 2000-01-01 00:00:00 UTC
  std::uint32_t ticks_ = 0;
  int offsetMinutes_ = 0;
};

}  // namespace hw
