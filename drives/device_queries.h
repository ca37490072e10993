// The questions the drive services ask of the device query library, HDWL32.
// The program asks the library itself (linked at load time); the host build
// answers the same questions from the platform's drive table.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace hw {

// The MS-DOS "get device parameters" block: special functions, device type,
// device attributes, cylinders, media type, then a 25-byte BIOS parameter
// block. Only the device type and the attributes are read.
struct DeviceParameters {
  std::uint8_t bytes[32] = {};

  std::uint8_t deviceType() const { return bytes[1]; }
  std::uint16_t attributes() const {
    return static_cast<std::uint16_t>(bytes[2] | (bytes[3] << 8));
  }
};

inline constexpr std::uint8_t kDeviceTypeFixedDisk = 5;
inline constexpr std::uint16_t kDeviceNotRemovable = 0x0001;

class DeviceQueries {
 public:
  virtual ~DeviceQueries() = default;
  // Letters are passed as they come; the library expects upper case.
  virtual int isFloppyDrive(char letter) = 0;
  virtual int isCDROMDrive(char letter) = 0;
  virtual int isCDRDrive(char letter) = 0;
  virtual int isMediaPresent(char letter) = 0;
  virtual int isRemovableMedia(char letter) = 0;
  // Leaves the drive ready for the user to change media; callers ignore the result.
  virtual int changeSCSIDisk(char letter) = 0;
  // driveNumber 0 is A:. Callers ignore the result and read the block.
  virtual int getDeviceParameters(int driveNumber, DeviceParameters& block) = 0;
};

// The device library of this build: HDWL32.DLL on Windows, the platform's
// drive table elsewhere.
std::unique_ptr<DeviceQueries> makeDeviceQueries(Platform& platform);

}  // namespace hw
