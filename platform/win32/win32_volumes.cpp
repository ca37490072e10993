// Drives and volumes, and the clock: the Win32 calls as they are.
#include <string>

#include "platform/win32/win32_parts.h"

namespace hw::win32 {
namespace {

class Win32Volumes final : public Volumes {
 public:
  std::uint32_t logicalDrives() override { return GetLogicalDrives(); }

  DriveType driveType(const std::string& root) override {
    return static_cast<DriveType>(GetDriveTypeA(root.c_str()));
  }

  Status diskFreeSpace(const std::string& root, DiskFreeSpace& space) override {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
      return lastError();
    }
    space = DiskFreeSpace{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    return Status::ok;
  }

  Status volumeInformation(const std::string& root, VolumeInfo& info) override {
    char label[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, &maxComponent, &flags,
                               fileSystem, sizeof fileSystem)) {
      return lastError();
    }
    info = VolumeInfo{label, serial, maxComponent, flags, fileSystem};
    return Status::ok;
  }

  Status setVolumeLabel(const std::string& root, const std::string& label) override {
    return SetVolumeLabelA(root.c_str(), label.c_str()) ? Status::ok : lastError();
  }

  std::uint32_t version() override { return GetVersion(); }
};

SystemTime fromSystemtime(const SYSTEMTIME& t) {
  return SystemTime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay,
                    t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

SYSTEMTIME toSystemtime(const SystemTime& t) {
  SYSTEMTIME out;
  out.wYear = t.year;
  out.wMonth = t.month;
  out.wDayOfWeek = t.dayOfWeek;
  out.wDay = t.day;
  out.wHour = t.hour;
  out.wMinute = t.minute;
  out.wSecond = t.second;
  out.wMilliseconds = t.milliseconds;
  return out;
}

class Win32Clock final : public Clock {
 public:
  std::uint32_t tickCount() override { return GetTickCount(); }

  SystemTime localTime() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return fromSystemtime(t);
  }

  SystemTime systemTime() override {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return fromSystemtime(t);
  }

  bool fileTimeToSystemTime(FileTime time, SystemTime& out) override {
    FILETIME in = toFiletime(time);
    SYSTEMTIME t;
    if (!FileTimeToSystemTime(&in, &t)) return false;
    out = fromSystemtime(t);
    return true;
  }

  bool systemTimeToFileTime(const SystemTime& time, FileTime& out) override {
    SYSTEMTIME in = toSystemtime(time);
    FILETIME t;
    if (!SystemTimeToFileTime(&in, &t)) return false;
    out = fromFiletime(t);
    return true;
  }

  bool fileTimeToLocalFileTime(FileTime time, FileTime& out) override {
    FILETIME in = toFiletime(time);
    FILETIME t;
    if (!FileTimeToLocalFileTime(&in, &t)) return false;
    out = fromFiletime(t);
    return true;
  }

  void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

}  // namespace

std::unique_ptr<Volumes> makeVolumes() { return std::make_unique<Win32Volumes>(); }
std::unique_ptr<Clock> makeClock() { return std::make_unique<Win32Clock>(); }

}  // namespace hw::win32
