// The drive table of the host platform: which folder a drive letter means,
// which medium is in a removable drive, Windows paths turned into host
// paths, and the clusters each medium uses (counted once by a walk, then
// kept up to date by the platform's own changes).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/host/host_platform.h"

namespace hw::host {

struct DriveState {
  HostDrive config;
  int medium = 0;                 // the medium in a removable drive; 0 for none
  std::uint64_t generation = 0;   // moves on at every change of medium
  std::map<int, std::uint64_t> usedClusters;  // per medium, once counted
  std::string fixedLabel;         // label of a drive without media
  double owedMs = 0;              // modelled device time not yet spent

  std::uint32_t clusterBytes() const;
  std::uint64_t totalClusters() const;
  std::uint64_t clustersFor(std::uint64_t bytes) const {
    return (bytes + clusterBytes() - 1) / clusterBytes();
  }
  bool present() const { return !config.holdsMedia() || medium != 0; }
  // Host folder of the root of what is in the drive now.
  std::string root() const;
  std::string mediumFolder(int number) const;
};

// A Windows path resolved against the drive table.
struct Resolved {
  Status status = Status::ok;
  DriveState* drive = nullptr;
  char letter = 0;           // 0 when no drive could be named
  std::string windows;       // "C:\\DIR\\FILE", normalized
  std::string host;          // the host path behind it
  std::string name;          // last component; empty for a root
  bool trailingSeparator = false;
  bool isRoot() const { return name.empty(); }
};

class DriveTable {
 public:
  Status add(const HostDrive& drive);
  DriveState* find(char letter);
  const DriveState* find(char letter) const;
  std::uint32_t logicalDrives() const;

  // `wildcards` lets the last component hold '*' and '?'.
  Resolved resolve(const std::string& path, bool wildcards = false) const;

  bool insertMedium(char letter, int number);
  bool removeMedium(char letter);

  // Clusters used on what is in the drive (walks the medium the first time).
  std::uint64_t usedClusters(DriveState& drive);
  // Keeps a counted figure right after a change; uncounted media are left
  // for their first walk.
  void adjustUsage(DriveState& drive, std::uint64_t oldBytes, std::uint64_t newBytes);
  void forgetUsage(char letter);

  // Label and serial of what is in the drive.
  std::string label(const DriveState& drive) const;
  std::uint32_t serial(const DriveState& drive) const;
  Status setLabel(DriveState& drive, const std::string& label);

  // Spends the modelled device time of writing `bytes` and creating
  // `files` files on the drive (see HostDrive::bytesPerSecond).
  void spendDeviceTime(DriveState& drive, std::uint64_t bytes, int files);
  void setClock(Clock* clock) { clock_ = clock; }

  void setCurrentDirectory(std::string windowsPath) { currentDirectory_ = std::move(windowsPath); }
  const std::string& currentDirectory() const { return currentDirectory_; }

 private:
  std::array<std::unique_ptr<DriveState>, 26> drives_;
  std::string currentDirectory_ = "C:\\";
  Clock* clock_ = nullptr;
};

int slotOf(char letter);  // 0..25, or -1 for no letter

}  // namespace hw::host
