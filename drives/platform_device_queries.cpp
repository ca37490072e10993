#include "drives/platform_device_queries.h"

#include <string>

namespace hw {
namespace {

const DeviceTraits kPlainDrive{};

// The letters the library takes: 'A' (drive 1) up to the 31st drive.
bool isDriveLetter(char letter) { return letter - 64 > 0 && letter - 64 < 32; }

std::string rootOf(char letter) { return std::string(1, letter) + ":\\"; }

void putWord(DeviceParameters& block, int at, std::uint32_t value) {
  block.bytes[at] = static_cast<std::uint8_t>(value);
  block.bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLong(DeviceParameters& block, int at, std::uint32_t value) {
  putWord(block, at, value & 0xFFFF);
  putWord(block, at + 2, value >> 16);
}

// The MS-DOS device type of a removable drive, from what its medium holds.
std::uint8_t removableDeviceType(double bytes) {
  if (bytes <= 368640) return 0;    // 360 KB 5.25"
  if (bytes <= 737280) return 2;    // 720 KB 3.5"
  if (bytes <= 1228800) return 1;   // 1.2 MB 5.25"
  if (bytes <= 1474560) return 7;   // 1.44 MB 3.5"
  if (bytes <= 2949120) return 9;   // 2.88 MB 3.5"
  return 8;                         // optical or cartridge disk
}

}  // namespace

void PlatformDeviceQueries::declare(char letter, const DeviceTraits& traits) {
  if (letter >= 'A' && letter <= 'Z') traits_[letter - 'A'] = traits;
}

const DeviceTraits& PlatformDeviceQueries::traitsOf(char letter) const {
  return letter >= 'A' && letter <= 'Z' ? traits_[letter - 'A'] : kPlainDrive;
}

DriveType PlatformDeviceQueries::typeOf(char letter) {
  return platform_.volumes().driveType(rootOf(letter));
}

int PlatformDeviceQueries::isFloppyDrive(char letter) {
  return typeOf(letter) == DriveType::removable && letter < 'C' ? 1 : 0;
}

int PlatformDeviceQueries::isCDROMDrive(char letter) {
  return typeOf(letter) == DriveType::cdrom ? 1 : 0;
}

int PlatformDeviceQueries::isCDRDrive(char letter) {
  return typeOf(letter) == DriveType::cdrom && traitsOf(letter).recordable ? 1 : 0;
}

int PlatformDeviceQueries::isRemovableMedia(char letter) {
  return typeOf(letter) == DriveType::removable ? 1 : 0;
}

int PlatformDeviceQueries::isMediaPresent(char letter) {
  const DriveType type = typeOf(letter);
  if (type == DriveType::unknown || type == DriveType::noRootDir) return 0;
  if (type == DriveType::fixed) return 1;
  // A drive that cannot be entered (no medium, unformatted medium) holds none.
  // The platform has no "current directory" query to put it back with, so
  // the probe leaves the root current, as IsRootAccessible does.
  if (!isDriveLetter(letter)) return 0;
  return succeeded(platform_.files().setCurrentDirectory(rootOf(letter))) ? 1 : 0;
}

int PlatformDeviceQueries::changeSCSIDisk(char letter) { return 0; }

int PlatformDeviceQueries::getDeviceParameters(int driveNumber, DeviceParameters& block) {
  block = DeviceParameters{};
  if (driveNumber < 0 || driveNumber > 25) return 0;
  const char letter = static_cast<char>('A' + driveNumber);
  const DriveType type = typeOf(letter);
  const DeviceTraits& traits = traitsOf(letter);
  DiskFreeSpace space;
  const bool measured = succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space));
  const double bytes =
      measured ? double(space.totalClusters) * space.sectorsPerCluster * space.bytesPerSector : 0;

  std::uint8_t deviceType = 7;  // "other block device"
  std::uint16_t attributes = 0;
  if (type == DriveType::fixed && traits.hardDisk) {
    deviceType = kDeviceTypeFixedDisk;
    attributes = traits.removableMedia ? 0 : kDeviceNotRemovable;
  } else if (type == DriveType::removable || type == DriveType::cdrom) {
    deviceType = removableDeviceType(bytes);
  } else {
    attributes = kDeviceNotRemovable;
  }
  block.bytes[1] = deviceType;
  putWord(block, 2, attributes);
  if (!measured) return 1;
  // The BIOS parameter block, from the free-space figures.
  const std::uint32_t sectors = space.totalClusters * space.sectorsPerCluster;
  putWord(block, 7, space.bytesPerSector);
  block.bytes[9] = static_cast<std::uint8_t>(space.sectorsPerCluster);
  putWord(block, 10, 1);  // reserved sectors
  block.bytes[12] = 2;    // FATs
  putWord(block, 15, sectors < 0x10000 ? sectors : 0);
  block.bytes[17] = deviceType == kDeviceTypeFixedDisk ? 0xF8 : 0xF0;
  putLong(block, 28, sectors < 0x10000 ? 0 : sectors);
  return 1;
}

}  // namespace hw
