#include <unistd.h>

#include <filesystem>

#include "cli/cli_platform.h"
#include "platform/host/host_platform.h"

namespace hw::cli {

namespace {

HostDriveKind kindOf(const std::string& kind) {
  if (kind == "floppy") return HostDriveKind::floppy;
  if (kind == "removable") return HostDriveKind::removable;
  if (kind == "cdrom") return HostDriveKind::cdrom;
  if (kind == "network") return HostDriveKind::network;
  if (kind == "ram") return HostDriveKind::ram;
  return HostDriveKind::fixed;
}

}  // namespace

std::unique_ptr<Platform> makeCliPlatform(const std::vector<DriveOption>& drives,
                                          std::string& error) {
  auto platform = std::make_unique<HostPlatform>();
  for (const DriveOption& option : drives) {
    HostDrive drive;
    if (option.kind == "floppy") {
      drive = floppyDrive(option.letter, option.folder);
      if (option.bytes) drive.capacity = option.bytes;
    } else {
      drive.letter = option.letter;
      drive.folder = option.folder;
      drive.kind = kindOf(option.kind);
      drive.capacity = option.bytes;
      // A drive of no declared size is the host file system under it.
      if (!drive.capacity && !drive.holdsMedia()) drive.hostSpace = true;
    }
    if (!succeeded(platform->addDrive(drive))) {
      error = std::string("drive ") + option.letter + ": cannot be set up on " + option.folder;
      return nullptr;
    }
  }
  return platform;
}

std::string settingsPath(Platform& platform, const std::string& given) {
  std::error_code ignored;
  std::filesystem::path file;
  if (!given.empty()) {
    file = std::filesystem::absolute(given, ignored);
  } else {
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ignored);
    const auto folder = program.empty() ? std::filesystem::current_path(ignored) : program.parent_path();
    file = folder / "HOARDWL95.INI";
  }
  // The settings file's folder becomes the program's own drive (the last
  // free letter), so the log folder and the report copies go beside the
  // settings and never onto a drive being backed up.
  auto& host = static_cast<HostPlatform&>(platform);
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (host.volumes().driveType(std::string(1, letter) + ":\\") != DriveType::noRootDir) continue;
    HostDrive drive;
    drive.letter = letter;
    drive.folder = file.parent_path().string();
    drive.hostSpace = true;
    if (!succeeded(host.addDrive(drive))) break;
    host.setProgramDirectory(std::string(1, letter) + ":\\");
    return std::string(1, letter) + ":\\" + file.filename().string();
  }
  return file.string();
}

std::string shownPath(Platform& platform, const std::string& path) {
  const std::string host = static_cast<HostPlatform&>(platform).hostPath(path);
  return host.empty() ? path : path + " (" + host + ")";
}

}  // namespace hw::cli
