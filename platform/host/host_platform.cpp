#include "platform/host/host_platform.h"

#include <sys/stat.h>

#include "platform/host/host_drives.h"
#include "platform/host/host_parts.h"
#include "platform/host/host_profile.h"

namespace hw {
namespace {

std::uint64_t sizeOnHost(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size)
                                                              : 0;
}

// The profile functions over the drive table; a rewrite of a settings file
// keeps the free-space figure of its medium right.
class DriveProfile final : public Profile {
 public:
  explicit DriveProfile(host::DriveTable& drives)
      : drives_(drives), files_([&drives](const std::string& path) {
          // A host path (the command line's settings file) is taken as it is.
          if (!path.empty() && path[0] == '/') return path;
          host::Resolved r = drives.resolve(path);
          return r.status == Status::ok && !r.drive->config.writeProtected ? r.host
                                                                           : std::string();
        }) {}

  std::string getString(const std::string& file, const char* section, const char* key,
                        const char* defaultValue, std::uint32_t capacity) override {
    return files_.getString(file, section, key, defaultValue, capacity);
  }

  bool writeString(const std::string& file, const char* section, const char* key,
                   const char* value) override {
    host::Resolved r = drives_.resolve(file);
    const std::uint64_t before = r.status == Status::ok ? sizeOnHost(r.host) : 0;
    const bool ok = files_.writeString(file, section, key, value);
    if (r.status == Status::ok) drives_.adjustUsage(*r.drive, before, sizeOnHost(r.host));
    return ok;
  }

 private:
  host::DriveTable& drives_;
  HostProfile files_;
};

}  // namespace

HostDrive floppyDrive(char letter, std::string folder) {
  HostDrive d;
  d.letter = letter;
  d.folder = std::move(folder);
  d.kind = HostDriveKind::floppy;
  d.capacity = 2847ull * 512;
  d.bytesPerSector = 512;
  d.sectorsPerCluster = 1;
  return d;
}

HostPlatform::HostPlatform()
    : faults_(std::make_unique<FaultInjector>()),
      drives_(std::make_unique<host::DriveTable>()),
      files_(std::make_unique<host::HostFileSystem>(*drives_, *faults_)),
      volumes_(std::make_unique<host::HostVolumes>(*drives_)),
      clock_(std::make_unique<RealClock>()),
      profile_(std::make_unique<DriveProfile>(*drives_)),
      registry_(std::make_unique<host::HostRegistry>()) {
  drives_->setClock(clock_.get());
}

HostPlatform::~HostPlatform() = default;

Status HostPlatform::addDrive(const HostDrive& drive) { return drives_->add(drive); }

bool HostPlatform::insertMedium(char letter, int number) {
  return drives_->insertMedium(letter, number);
}

int HostPlatform::currentMedium(char letter) {
  const host::DriveState* d = drives_->find(letter);
  return d ? d->medium : 0;
}

bool HostPlatform::removeMedium(char letter) { return drives_->removeMedium(letter); }

std::string HostPlatform::mediumFolder(char letter, int number) const {
  const host::DriveState* d = drives_->find(letter);
  return d ? d->mediumFolder(number) : std::string();
}

std::string HostPlatform::hostPath(const std::string& windowsPath) const {
  host::Resolved r = drives_->resolve(windowsPath);
  return r.status == Status::ok ? r.host : std::string();
}

void HostPlatform::forgetUsage(char letter) { drives_->forgetUsage(letter); }

void HostPlatform::setWindowsDirectory(std::string path) {
  static_cast<host::HostFileSystem&>(*files_).setWindowsDirectory(std::move(path));
}

void HostPlatform::setProgramDirectory(std::string path) { programDirectory_ = std::move(path); }

void HostPlatform::setVersion(std::uint32_t version) {
  static_cast<host::HostVolumes&>(*volumes_).setVersion(version);
}

ManualClock& HostPlatform::useManualClock() {
  auto manual = std::make_unique<ManualClock>();
  ManualClock& clock = *manual;
  clock_ = std::move(manual);
  drives_->setClock(clock_.get());
  return clock;
}

}  // namespace hw
