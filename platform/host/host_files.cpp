// Files and folders of the host platform: CreateFile, ReadFile, WriteFile and
// the rest with their Win32 answers, the declared capacity of each medium
// enforced on writes, and the fault rules applied.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>

#include "platform/host/host_attributes.h"
#include "platform/host/host_parts.h"

namespace hw::host {
namespace {

bool sameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

class HostFile final : public File {
 public:
  HostFile(DriveTable& drives, FaultInjector& faults, const Resolved& where, int fd, bool canRead,
           bool canWrite, std::uint64_t size)
      : drives_(drives),
        faults_(faults),
        drive_(*where.drive),
        generation_(where.drive->generation),
        path_(where.windows),
        fd_(fd),
        canRead_(canRead),
        canWrite_(canWrite),
        size_(size) {}
  ~HostFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  HostFile(const HostFile&) = delete;
  HostFile& operator=(const HostFile&) = delete;

  Status read(void* buffer, std::uint32_t size, std::uint32_t& got) override {
    got = 0;
    if (Status s = begin(FaultOp::read); s != Status::ok) return s;
    if (!canRead_) return Status::accessDenied;
    auto* out = static_cast<char*>(buffer);
    while (got < size) {
      const ssize_t n = ::pread(fd_, out + got, size - got, static_cast<off_t>(position_));
      if (n < 0) {
        if (errno == EINTR) continue;
        return Status::readFault;
      }
      if (n == 0) break;
      got += static_cast<std::uint32_t>(n);
      position_ += static_cast<std::uint64_t>(n);
    }
    return Status::ok;
  }

  Status write(const void* buffer, std::uint32_t size, std::uint32_t& written) override {
    written = 0;
    faults_.count(FaultOp::write, drive_.config.letter);
    if (fd_ < 0) return Status::invalidHandle;
    if (gone()) return Status::notReady;
    FaultInjector::Hit hit;
    if (faults_.match(FaultOp::write, drive_.config.letter, path_, size, false, hit)) {
      if (hit.action == FaultAction::removeMedium) {
        drives_.removeMedium(drive_.config.letter);
        return Status::notReady;
      }
      return hit.error;
    }
    if (!canWrite_) return Status::accessDenied;
    const std::uint64_t end = std::max(size_, position_ + size);
    const std::uint64_t more = drive_.clustersFor(end) - drive_.clustersFor(size_);
    if (more > 0 && !drive_.config.hostSpace &&
        drives_.usedClusters(drive_) + more > drive_.totalClusters()) {
      return Status::diskFull;
    }
    const auto* in = static_cast<const char*>(buffer);
    while (written < size) {
      const ssize_t n = ::pwrite(fd_, in + written, size - written, static_cast<off_t>(position_));
      if (n < 0) {
        if (errno == EINTR) continue;
        const Status failure = errno == ENOSPC ? Status::diskFull : Status::writeFault;
        settle();
        return failure;
      }
      written += static_cast<std::uint32_t>(n);
      position_ += static_cast<std::uint64_t>(n);
    }
    // Every byte went where it was meant to: the size follows without asking.
    grow(std::max(size_, position_));
    drives_.spendDeviceTime(drive_, size, 0);
    if (!archiveMarked_ && size > 0) {
      markArchive(fd_);
      archiveMarked_ = true;
    }
    return Status::ok;
  }

  Status getTimes(FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) override {
    if (Status s = begin(FaultOp::getTimes); s != Status::ok) return s;
    struct stat st;
    if (fstat(fd_, &st) != 0) return statusFromErrno(errno);
    if (creation) *creation = creationTime({}, fd_, st);
    if (lastAccess) *lastAccess = lastAccessTime(st);
    if (lastWrite) *lastWrite = lastWriteTime(st);
    return Status::ok;
  }

  Status setTimes(const FileTime* creation, const FileTime* lastAccess,
                  const FileTime* lastWrite) override {
    if (Status s = begin(FaultOp::setTimes); s != Status::ok) return s;
    if (!canWrite_) return Status::accessDenied;
    return writeTimes({}, fd_, creation, lastAccess, lastWrite);
  }

  Status size(std::uint64_t& bytes) override {
    if (Status s = begin(FaultOp::size); s != Status::ok) return s;
    struct stat st;
    if (fstat(fd_, &st) != 0) return statusFromErrno(errno);
    bytes = static_cast<std::uint64_t>(st.st_size);
    return Status::ok;
  }

  Status close() override {
    if (fd_ < 0) return Status::invalidHandle;
    faults_.count(FaultOp::close, drive_.config.letter);
    FaultInjector::Hit hit;
    const bool failed = faults_.match(FaultOp::close, drive_.config.letter, path_, 0, false, hit);
    const int rc = ::close(fd_);
    fd_ = -1;
    if (failed) return hit.error;
    return rc == 0 ? Status::ok : Status::writeFault;
  }

 private:
  bool gone() const { return drive_.generation != generation_; }

  Status begin(FaultOp op) {
    faults_.count(op, drive_.config.letter);
    if (fd_ < 0) return Status::invalidHandle;
    if (gone()) return Status::notReady;
    FaultInjector::Hit hit;
    if (faults_.match(op, drive_.config.letter, path_, 0, false, hit)) return hit.error;
    return Status::ok;
  }

  // Brings the size and the medium's usage up to what the file now holds.
  void settle() {
    struct stat st;
    if (fstat(fd_, &st) == 0) grow(static_cast<std::uint64_t>(st.st_size));
  }
  void grow(std::uint64_t now) {
    drives_.adjustUsage(drive_, size_, now);
    size_ = now;
  }

  DriveTable& drives_;
  FaultInjector& faults_;
  DriveState& drive_;
  std::uint64_t generation_;
  std::string path_;
  int fd_;
  bool canRead_;
  bool canWrite_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  bool archiveMarked_ = false;
};

}  // namespace

bool HostFileSystem::begin(FaultOp op, const std::string& path, bool wildcards, Resolved& where,
                           Status& status) {
  where = drives_.resolve(path, wildcards);
  faults_.count(op, where.letter);
  status = where.status;
  if (status != Status::ok) return false;
  FaultInjector::Hit hit;
  if (faults_.match(op, where.letter, where.windows, 0, false, hit)) {
    if (hit.action == FaultAction::vanish || hit.action == FaultAction::resize) {
      applyToFile(where, hit.action, hit.value);
      return true;
    }
    status = hit.error;
    return false;
  }
  return true;
}

void HostFileSystem::applyToFile(const Resolved& where, FaultAction action, std::uint64_t value) {
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  const auto before = static_cast<std::uint64_t>(st.st_size);
  if (action == FaultAction::vanish) {
    if (unlink(where.host.c_str()) == 0) drives_.adjustUsage(*where.drive, before, 0);
  } else if (action == FaultAction::resize) {
    if (truncate(where.host.c_str(), static_cast<off_t>(value)) == 0) {
      drives_.adjustUsage(*where.drive, before, value);
    }
  }
}

std::unique_ptr<File> HostFileSystem::open(FaultOp op, const std::string& path, Status& status) {
  Resolved where;
  if (!begin(op, path, false, where, status)) return nullptr;
  const bool writing = op != FaultOp::openRead;
  if (writing && where.drive->config.writeProtected) {
    status = Status::writeProtect;
    return nullptr;
  }
  if (where.isRoot()) {
    status = Status::accessDenied;
    return nullptr;
  }
  struct stat st;
  const bool exists = stat(where.host.c_str(), &st) == 0;
  if (!exists && (op == FaultOp::openRead || errno != ENOENT)) {
    status = errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
    return nullptr;
  }
  if (exists) {
    // Windows refuses to open a folder as a file, to write a read-only file,
    // and to replace a hidden or system file with a plain one.
    const std::uint32_t attributes = attributesOf(where.host, -1, st);
    if (S_ISDIR(st.st_mode) || (writing && isReadOnly(st)) ||
        (op == FaultOp::create && (attributes & (kAttrHidden | kAttrSystem)))) {
      status = Status::accessDenied;
      return nullptr;
    }
  }
  int flags = O_RDONLY;
  if (op == FaultOp::create) flags = O_WRONLY | O_CREAT | O_TRUNC;
  if (op == FaultOp::openReadWrite) flags = O_RDWR | O_CREAT;
  const int fd = ::open(where.host.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) {
    status = errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
    return nullptr;
  }
  std::uint64_t size = exists ? static_cast<std::uint64_t>(st.st_size) : 0;
  if (op == FaultOp::create) {
    if (exists) forgetStoredBits(fd);
    drives_.adjustUsage(*where.drive, size, 0);
    size = 0;
    drives_.spendDeviceTime(*where.drive, 0, 1);
  }
  status = Status::ok;
  return std::make_unique<HostFile>(drives_, faults_, where, fd, op != FaultOp::create, writing,
                                    size);
}

std::unique_ptr<File> HostFileSystem::openRead(const std::string& path, Status& status) {
  return open(FaultOp::openRead, path, status);
}

std::unique_ptr<File> HostFileSystem::create(const std::string& path, Status& status) {
  return open(FaultOp::create, path, status);
}

std::unique_ptr<File> HostFileSystem::openReadWrite(const std::string& path, Status& status) {
  return open(FaultOp::openReadWrite, path, status);
}

Status HostFileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::getAttributes, path, false, where, status)) return status;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  attributes = where.isRoot() ? kAttrDirectory : attributesOf(where.host, -1, st);
  return Status::ok;
}

Status HostFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::setAttributes, path, false, where, status)) return status;
  if (where.drive->config.writeProtected) return Status::writeProtect;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  return writeAttributes(where.host, st, attributes);
}

Status HostFileSystem::deleteFile(const std::string& path) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::deleteFile, path, false, where, status)) return status;
  if (where.drive->config.writeProtected) return Status::writeProtect;
  struct stat st;
  if (lstat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  if (S_ISDIR(st.st_mode) || isReadOnly(st)) return Status::accessDenied;
  if (unlink(where.host.c_str()) != 0) return statusFromErrno(errno);
  if (S_ISREG(st.st_mode)) {
    drives_.adjustUsage(*where.drive, static_cast<std::uint64_t>(st.st_size), 0);
  }
  return Status::ok;
}

Status HostFileSystem::createDirectory(const std::string& path) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::createDirectory, path, false, where, status)) return status;
  if (where.drive->config.writeProtected) return Status::writeProtect;
  if (where.isRoot()) return Status::alreadyExists;
  if (mkdir(where.host.c_str(), 0755) == 0) return Status::ok;
  if (errno == EEXIST) return Status::alreadyExists;
  return errno == ENOENT || errno == ENOTDIR ? Status::pathNotFound : statusFromErrno(errno);
}

Status HostFileSystem::removeDirectory(const std::string& path) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::removeDirectory, path, false, where, status)) return status;
  if (where.drive->config.writeProtected) return Status::writeProtect;
  if (where.isRoot()) return Status::accessDenied;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  // The current directory is held open on Windows.
  if (!S_ISDIR(st.st_mode) || isReadOnly(st)) return Status::accessDenied;
  if (sameText(where.windows, drives_.currentDirectory())) return Status::sharingViolation;
  if (rmdir(where.host.c_str()) == 0) return Status::ok;
  return errno == ENOTEMPTY || errno == EEXIST ? Status::dirNotEmpty : statusFromErrno(errno);
}

Status HostFileSystem::setDirectoryTimes(const std::string& path, const FileTime* creation,
                                         const FileTime* lastAccess, const FileTime* lastWrite) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::setDirectoryTimes, path, false, where, status)) return status;
  if (where.drive->config.writeProtected) return Status::writeProtect;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  return writeTimes(where.host, -1, creation, lastAccess, lastWrite);
}

Status HostFileSystem::getDirectoryTimes(const std::string& path, FileTime* creation,
                                         FileTime* lastAccess, FileTime* lastWrite) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::getDirectoryTimes, path, false, where, status)) return status;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  if (creation) *creation = creationTime(where.host, -1, st);
  if (lastAccess) *lastAccess = lastAccessTime(st);
  if (lastWrite) *lastWrite = lastWriteTime(st);
  return Status::ok;
}

Status HostFileSystem::setCurrentDirectory(const std::string& path) {
  Resolved where;
  Status status;
  if (!begin(FaultOp::setCurrentDirectory, path, false, where, status)) return status;
  struct stat st;
  if (stat(where.host.c_str(), &st) != 0) {
    return errno == ENOENT ? missingStatus(where.host) : statusFromErrno(errno);
  }
  // Windows answers ERROR_DIRECTORY for a file; the nearest code here.
  if (!S_ISDIR(st.st_mode)) return Status::pathNotFound;
  drives_.setCurrentDirectory(where.windows);
  return Status::ok;
}

}  // namespace hw::host
