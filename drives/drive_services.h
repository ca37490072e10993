// Drive questions the engine asks about its destination.
#pragma once

#include <cstdint>
#include <string>

#include "drives/drive_kind.h"
#include "platform/platform.h"

namespace hw {

struct RunRecord;
class EngineHost;

class DriveServices {
 public:
  DriveServices(Platform& platform, RunRecord& run) : platform_(platform), run_(run) {}

  static std::string rootOf(char letter) { return std::string(1, letter) + ":\\"; }

  // DriveKind bits of a drive letter; 0 when there is no such drive.
  std::uint32_t ClassifyDrive(char letter);
  // A drive list entry as the drive lists make it, with its sizes measured:
  // false when the letter names no drive.
  bool DescribeDrive(char letter, DriveListItem& item);

  bool IsMediaPresent(char letter);
  // The drive's root directory can be made the current directory.
  bool IsRootAccessible(char letter);
  // Empty, or a search for all entries in its root finds one.
  bool IsDestinationUsable(char letter);
  // Fewer than 1 percent of the clusters are free; false when not known.
  bool IsNearlyFull(char letter);
  // Total and free bytes of the drive in scaled bytes (x 1000/1024 x 1000/1024).
  bool DiskBytes(char letter, double& total, double& free);
  // The destination is not one of the sources, or has room for the backup too.
  bool HasRoomWhenAlsoSource();
  // Medium settling after a backup; nothing to wait for on these drives yet.
  void WaitForDriveIdle(bool eject) {}

 private:
  Platform& platform_;
  RunRecord& run_;
};

}  // namespace hw
