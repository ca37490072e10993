#include "platform/host/host_clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace hw {
namespace {

constexpr std::uint64_t kTicksPerMs = 10'000;
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kTicksPerDay = kTicksPerSecond * 86'400;
constexpr std::int64_t kDays1601To1970 = 134'774;
constexpr std::int64_t kSeconds1601To1970 = kDays1601To1970 * 86'400;

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, unsigned& month, unsigned& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

SystemTime systemTimeOf(std::uint64_t value) {
  SystemTime st;
  convertFileTimeToSystemTime(FileTime::fromValue(value), st);
  return st;
}

std::uint64_t nowAsFileTime() {
  const auto since = std::chrono::system_clock::now().time_since_epoch();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
  return fileTimeFromUnix(ns / 1'000'000'000, ns % 1'000'000'000).value();
}

// The host's current offset of local time from UTC, in 100 ns units. Like
// Windows, one bias for every conversion: that of now, not of the instant.
std::int64_t currentLocalBias() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::int64_t>(local.tm_gmtoff) * static_cast<std::int64_t>(kTicksPerSecond);
}

bool shift(FileTime time, std::int64_t bias, FileTime& out) {
  const std::int64_t v = static_cast<std::int64_t>(time.value()) + bias;
  if (v < 0) return false;
  out = FileTime::fromValue(static_cast<std::uint64_t>(v));
  return true;
}

}  // namespace

bool convertFileTimeToSystemTime(FileTime time, SystemTime& out) {
  const std::uint64_t v = time.value();
  if (v >= 0x8000000000000000ULL) return false;
  const std::uint64_t days = v / kTicksPerDay;
  std::uint64_t rest = v % kTicksPerDay;
  int year;
  unsigned month, day;
  civilFromDays(static_cast<std::int64_t>(days) - kDays1601To1970, year, month, day);
  out.year = static_cast<std::uint16_t>(year);
  out.month = static_cast<std::uint16_t>(month);
  out.day = static_cast<std::uint16_t>(day);
  out.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  out.hour = static_cast<std::uint16_t>(rest / (kTicksPerSecond * 3600));
  rest %= kTicksPerSecond * 3600;
  out.minute = static_cast<std::uint16_t>(rest / (kTicksPerSecond * 60));
  rest %= kTicksPerSecond * 60;
  out.second = static_cast<std::uint16_t>(rest / kTicksPerSecond);
  rest %= kTicksPerSecond;
  out.milliseconds = static_cast<std::uint16_t>(rest / kTicksPerMs);
  return true;
}

bool convertSystemTimeToFileTime(const SystemTime& t, FileTime& out) {
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > daysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
      t.milliseconds > 999) {
    return false;
  }
  const std::int64_t days = daysFromCivil(t.year, t.month, t.day) + kDays1601To1970;
  const std::uint64_t seconds = static_cast<std::uint64_t>(days) * 86'400 + t.hour * 3600u +
                                t.minute * 60u + t.second;
  out = FileTime::fromValue(seconds * kTicksPerSecond + t.milliseconds * kTicksPerMs);
  return true;
}

FileTime fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  const std::int64_t s = seconds + kSeconds1601To1970;
  if (s < 0) return FileTime{};
  return FileTime::fromValue(static_cast<std::uint64_t>(s) * kTicksPerSecond +
                             static_cast<std::uint64_t>(nanoseconds / 100));
}

void fileTimeToUnix(FileTime time, std::int64_t& seconds, std::int64_t& nanoseconds) {
  const std::uint64_t v = time.value();
  seconds = static_cast<std::int64_t>(v / kTicksPerSecond) - kSeconds1601To1970;
  nanoseconds = static_cast<std::int64_t>(v % kTicksPerSecond) * 100;
}

// ---- RealClock

std::uint32_t RealClock::tickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

SystemTime RealClock::systemTime() { return systemTimeOf(nowAsFileTime()); }

SystemTime RealClock::localTime() {
  FileTime local;
  shift(FileTime::fromValue(nowAsFileTime()), currentLocalBias(), local);
  return systemTimeOf(local.value());
}

bool RealClock::fileTimeToSystemTime(FileTime time, SystemTime& out) {
  return convertFileTimeToSystemTime(time, out);
}

bool RealClock::systemTimeToFileTime(const SystemTime& time, FileTime& out) {
  return convertSystemTimeToFileTime(time, out);
}

bool RealClock::fileTimeToLocalFileTime(FileTime time, FileTime& out) {
  return shift(time, currentLocalBias(), out);
}

void RealClock::sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// ---- ManualClock

void ManualClock::setSystemTime(const SystemTime& utc) {
  FileTime t;
  if (convertSystemTimeToFileTime(utc, t)) now_ = t.value();
}

void ManualClock::advance(std::uint32_t milliseconds) {
  ticks_ += milliseconds;
  now_ += std::uint64_t{milliseconds} * kTicksPerMs;
}

SystemTime ManualClock::systemTime() { return systemTimeOf(now_); }

SystemTime ManualClock::localTime() {
  FileTime local;
  fileTimeToLocalFileTime(FileTime::fromValue(now_), local);
  return systemTimeOf(local.value());
}

bool ManualClock::fileTimeToSystemTime(FileTime time, SystemTime& out) {
  return convertFileTimeToSystemTime(time, out);
}

bool ManualClock::systemTimeToFileTime(const SystemTime& time, FileTime& out) {
  return convertSystemTimeToFileTime(time, out);
}

bool ManualClock::fileTimeToLocalFileTime(FileTime time, FileTime& out) {
  return shift(time, std::int64_t{offsetMinutes_} * 60 * static_cast<std::int64_t>(kTicksPerSecond),
               out);
}

}  // namespace hw
