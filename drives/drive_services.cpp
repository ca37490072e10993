#include "drives/drive_services.h"

#include "engine/run_record.h"

namespace hw {

std::uint32_t DriveServices::ClassifyDrive(char letter) {
  switch (platform_.volumes().driveType(rootOf(letter))) {
    case DriveType::removable: {
      // Drives of floppy size are floppies; larger removable media are
      // cartridges.
      DiskFreeSpace space;
      const bool known = succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space));
      const double bytes =
          double(space.sectorsPerCluster) * space.bytesPerSector * space.totalClusters;
      if (!known || bytes <= 2.88 * 1024 * 1024) return DK_FLOPPY | DK_REMOVABLE;
      return DK_MO | DK_REMOVABLE;
    }
    case DriveType::fixed: return DK_FIXED;
    case DriveType::remote: return DK_NETWORK;
    case DriveType::cdrom: return DK_CDROM;
    case DriveType::ramdisk: return DK_RAM;
    case DriveType::noRootDir: return 0;
    default: return DK_UNKNOWN;
  }
}

bool DriveServices::DescribeDrive(char letter, DriveListItem& item) {
  const std::uint32_t kind = ClassifyDrive(letter);
  if (kind == 0) return false;
  item = DriveListItem{};
  item.letter = letter;
  item.kind = kind;
  item.statClass = kind & DK_FLOPPY ? DK_FLOPPY : kind & ~DK_REMOVABLE;
  item.text = std::string(1, letter) + ":";
  double total = 0, free = 0;
  item.readable = DiskBytes(letter, total, free) ? 1 : 0;
  if (item.readable) {
    item.total = total;
    item.free = free;
    item.used = total - free;
    DiskFreeSpace space;
    platform_.volumes().diskFreeSpace(rootOf(letter), space);
    item.sectorSize = space.bytesPerSector * 1000.0 / 1024.0;
  }
  return true;
}

bool DriveServices::IsMediaPresent(char letter) {
  VolumeInfo info;
  return succeeded(platform_.volumes().volumeInformation(rootOf(letter), info));
}

bool DriveServices::IsRootAccessible(char letter) {
  return succeeded(platform_.files().setCurrentDirectory(rootOf(letter)));
}

bool DriveServices::IsDestinationUsable(char letter) {
  FindData first;
  Status status = Status::ok;
  auto listing = platform_.files().findFirst(rootOf(letter) + "*.*", first, status);
  return listing != nullptr || status == Status::fileNotFound || status == Status::noMoreFiles;
}

bool DriveServices::DiskBytes(char letter, double& total, double& free) {
  DiskFreeSpace space;
  if (!succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space))) return false;
  const double cluster = double(space.sectorsPerCluster) * space.bytesPerSector;
  const double scale = 1000.0 / 1024.0 * 1000.0 / 1024.0;
  total = cluster * space.totalClusters * scale;
  free = cluster * space.freeClusters * scale;
  return true;
}

bool DriveServices::IsNearlyFull(char letter) {
  DiskFreeSpace space;
  if (!succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space))) return false;
  return double(space.freeClusters) < double(space.totalClusters) * 0.01;
}

bool DriveServices::HasRoomWhenAlsoSource() {
  bool alsoSource = false;
  for (const DriveListItem& item : run_.sourceList) {
    if (item.letter == run_.destLetter) alsoSource = true;
  }
  if (!alsoSource) return true;
  double total = 0, free = 0;
  if (!DiskBytes(run_.destLetter, total, free)) return false;
  return !(run_.totalBytes + 10 >= free);
}

}  // namespace hw
