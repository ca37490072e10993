#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>

#include "platform/host/host_parts.h"

namespace hw::host {
namespace {

constexpr std::uint32_t kCasePreserved = 0x2;       // FS_CASE_IS_PRESERVED
constexpr std::uint32_t kUnicodeOnDisk = 0x4;       // FS_UNICODE_STORED_ON_DISK
constexpr std::uint32_t kCaseSensitive = 0x1;       // FS_CASE_SENSITIVE
constexpr std::uint32_t kReadOnlyVolume = 0x80000;  // FILE_READ_ONLY_VOLUME
constexpr std::size_t kFatLabelLength = 11;

// "X:\\", "X:/" or "X:"; the current drive for an empty root.
char letterOfRoot(const std::string& root, char current) {
  if (root.empty()) return current;
  if (root.size() < 2 || root.size() > 3 || root[1] != ':' ||
      !std::isalpha(static_cast<unsigned char>(root[0]))) {
    return 0;
  }
  if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
}

std::string fileSystemOf(const HostDrive& d) {
  if (!d.fileSystem.empty()) return d.fileSystem;
  switch (d.kind) {
    case HostDriveKind::fixed: return "FAT32";
    case HostDriveKind::cdrom: return "CDFS";
    case HostDriveKind::network: return "NTFS";
    default: return "FAT";
  }
}

bool isFat(const std::string& fileSystem) { return fileSystem.rfind("FAT", 0) == 0; }

}  // namespace

Status HostVolumes::driveOf(const std::string& root, DriveState*& drive) {
  const char letter = letterOfRoot(root, drives_.currentDirectory()[0]);
  drive = letter ? drives_.find(letter) : nullptr;
  if (!drive) return letter ? Status::pathNotFound : Status::invalidName;
  return drive->present() ? Status::ok : Status::notReady;
}

DriveType HostVolumes::driveType(const std::string& root) {
  const char letter = letterOfRoot(root, drives_.currentDirectory()[0]);
  const DriveState* d = letter ? drives_.find(letter) : nullptr;
  if (!d) return DriveType::noRootDir;
  switch (d->config.kind) {
    case HostDriveKind::floppy:
    case HostDriveKind::removable: return DriveType::removable;
    case HostDriveKind::fixed: return DriveType::fixed;
    case HostDriveKind::cdrom: return DriveType::cdrom;
    case HostDriveKind::network: return DriveType::remote;
    case HostDriveKind::ram: return DriveType::ramdisk;
  }
  return DriveType::unknown;
}

Status HostVolumes::diskFreeSpace(const std::string& root, DiskFreeSpace& space) {
  DriveState* d = nullptr;
  if (Status s = driveOf(root, d); s != Status::ok) return s;
  std::uint64_t total = 0, free = 0;
  if (d->config.hostSpace) {
    struct statvfs fs {};
    if (statvfs(d->root().c_str(), &fs) != 0) return Status::notReady;
    total = std::uint64_t(fs.f_blocks) * fs.f_frsize / d->clusterBytes();
    free = std::uint64_t(fs.f_bavail) * fs.f_frsize / d->clusterBytes();
  } else {
    total = d->totalClusters();
    const std::uint64_t used = drives_.usedClusters(*d);
    free = total > used ? total - used : 0;
  }
  space.bytesPerSector = d->config.bytesPerSector ? d->config.bytesPerSector : 512;
  space.sectorsPerCluster = d->clusterBytes() / space.bytesPerSector;
  space.totalClusters = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, 0xFFFFFFFFu));
  space.freeClusters = static_cast<std::uint32_t>(std::min<std::uint64_t>(free, 0xFFFFFFFFu));
  return Status::ok;
}

Status HostVolumes::volumeInformation(const std::string& root, VolumeInfo& info) {
  DriveState* d = nullptr;
  if (Status s = driveOf(root, d); s != Status::ok) return s;
  info.label = drives_.label(*d);
  info.serial = drives_.serial(*d);
  info.fileSystem = fileSystemOf(d->config);
  info.maxComponentLength = 255;
  info.fileSystemFlags = kCasePreserved | kUnicodeOnDisk;
  if (info.fileSystem == "NTFS") info.fileSystemFlags |= kCaseSensitive;
  if (d->config.writeProtected) {
    info.fileSystemFlags |= kReadOnlyVolume;
  }
  return Status::ok;
}

Status HostVolumes::setVolumeLabel(const std::string& root, const std::string& label) {
  DriveState* d = nullptr;
  if (Status s = driveOf(root, d); s != Status::ok) return s;
  if (d->config.writeProtected) {
    return Status::writeProtect;
  }
  if (isFat(fileSystemOf(d->config)) && label.size() > kFatLabelLength) return Status::invalidName;
  return drives_.setLabel(*d, label);
}

}  // namespace hw::host
