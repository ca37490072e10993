// The device library's answers worked out from the platform alone, the way
// HDWL32 works them out from the Win32 calls: drive type, a probe of the
// root, free-space figures. What no platform call tells (a recordable CD, a
// fixed drive that is not a hard disk) can be declared per letter.
#pragma once

#include <array>

#include "drives/device_queries.h"

namespace hw {

struct DeviceTraits {
  bool recordable = false;      // a CD drive that can write
  bool hardDisk = true;         // fixed drives: false for a RAM disk and the like
  bool removableMedia = false;  // fixed drives: a hard-disk-type drive with removable media
};

class PlatformDeviceQueries final : public DeviceQueries {
 public:
  explicit PlatformDeviceQueries(Platform& platform) : platform_(platform) {}

  void declare(char letter, const DeviceTraits& traits);

  int isFloppyDrive(char letter) override;
  int isCDROMDrive(char letter) override;
  int isCDRDrive(char letter) override;
  int isMediaPresent(char letter) override;
  int isRemovableMedia(char letter) override;
  int changeSCSIDisk(char letter) override;
  int getDeviceParameters(int driveNumber, DeviceParameters& block) override;

 private:
  DriveType typeOf(char letter);
  const DeviceTraits& traitsOf(char letter) const;

  Platform& platform_;
  std::array<DeviceTraits, 26> traits_{};
};

}  // namespace hw
