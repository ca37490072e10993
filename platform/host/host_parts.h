// The pieces HostPlatform is built from; each works on the shared drive
// table and fault injector it is given.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/host/host_drives.h"
#include "platform/platform.h"

namespace hw::host {

class HostFileSystem final : public FileSystem {
 public:
  HostFileSystem(DriveTable& drives, FaultInjector& faults) : drives_(drives), faults_(faults) {}

  std::unique_ptr<DirectoryListing> findFirst(const std::string& pattern, FindData& first,
                                              Status& status) override;
  std::unique_ptr<File> openRead(const std::string& path, Status& status) override;
  std::unique_ptr<File> create(const std::string& path, Status& status) override;
  std::unique_ptr<File> openReadWrite(const std::string& path, Status& status) override;
  Status getAttributes(const std::string& path, std::uint32_t& attributes) override;
  Status setAttributes(const std::string& path, std::uint32_t attributes) override;
  Status deleteFile(const std::string& path) override;
  Status createDirectory(const std::string& path) override;
  Status removeDirectory(const std::string& path) override;
  Status setDirectoryTimes(const std::string& path, const FileTime* creation,
                           const FileTime* lastAccess, const FileTime* lastWrite) override;
  Status getDirectoryTimes(const std::string& path, FileTime* creation, FileTime* lastAccess,
                           FileTime* lastWrite) override;
  Status setCurrentDirectory(const std::string& path) override;
  std::string windowsDirectory() override { return windowsDirectory_; }

  void setWindowsDirectory(std::string path) { windowsDirectory_ = std::move(path); }

 private:
  // Resolves, counts the call and applies a `fail` rule; false when the
  // call ends there (with `status` set).
  bool begin(FaultOp op, const std::string& path, bool wildcards, Resolved& where,
             Status& status);
  std::unique_ptr<File> open(FaultOp op, const std::string& path, Status& status);
  void applyToFile(const Resolved& where, FaultAction action, std::uint64_t value);

  DriveTable& drives_;
  FaultInjector& faults_;
  std::string windowsDirectory_ = "C:\\WINDOWS";
};

class HostVolumes final : public Volumes {
 public:
  explicit HostVolumes(DriveTable& drives) : drives_(drives) {}

  std::uint32_t logicalDrives() override { return drives_.logicalDrives(); }
  DriveType driveType(const std::string& root) override;
  Status diskFreeSpace(const std::string& root, DiskFreeSpace& space) override;
  Status volumeInformation(const std::string& root, VolumeInfo& info) override;
  Status setVolumeLabel(const std::string& root, const std::string& label) override;
  std::uint32_t version() override { return version_; }

  void setVersion(std::uint32_t version) { version_ = version; }

 private:
  Status driveOf(const std::string& root, DriveState*& drive);

  DriveTable& drives_;
  std::uint32_t version_ = 0xC3B00004;  // 4.0, build 950, the 9x family bit
};

// An in-memory registry; key and value names compare without regard to case.
class HostRegistry final : public Registry {
 public:
  Status queryString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                     std::string& value) override;
  Status setString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                   const std::string& value) override;

 private:
  using KeyName = std::tuple<RegistryRoot, std::string>;
  std::map<KeyName, std::map<std::string, std::string>> keys_;
};

}  // namespace hw::host
