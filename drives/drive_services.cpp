#include "drives/drive_services.h"

#include "engine/run_record.h"

namespace hw {

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
