#include "platform/host/host_attributes.h"

#include <fcntl.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/host/host_clock.h"

namespace hw::host {
namespace {

ssize_t getAttr(const std::string& path, int fd, const char* name, char* buffer, std::size_t size) {
  return fd >= 0 ? fgetxattr(fd, name, buffer, size) : getxattr(path.c_str(), name, buffer, size);
}

int setAttr(const std::string& path, int fd, const char* name, const char* value,
            std::size_t size) {
  return fd >= 0 ? fsetxattr(fd, name, value, size, 0)
                 : setxattr(path.c_str(), name, value, size, 0);
}

// The stored bits, or -1 without a readable xattr. Wine writes "0x%x" with
// no terminating zero; Samba may add one.
long storedBits(const std::string& path, int fd) {
  char text[32];
  const ssize_t n = getAttr(path, fd, kDosAttribName, text, sizeof text - 1);
  if (n < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return -1;
  text[n] = '\0';
  char* end = nullptr;
  const long value = std::strtol(text + 2, &end, 16);
  if (end == text + 2 || *end != '\0') return -1;
  return value;
}

Status storeBits(const std::string& path, int fd, std::uint32_t bits) {
  char text[16];
  const int n = std::snprintf(text, sizeof text, "0x%x", bits & kStoredBits);
  return setAttr(path, fd, kDosAttribName, text, static_cast<std::size_t>(n)) == 0
             ? Status::ok
             : statusFromErrno(errno);
}

}  // namespace

std::uint32_t attributesOf(const std::string& path, int fd, const struct stat& st, bool noXattrs) {
  std::uint32_t attributes = S_ISDIR(st.st_mode) ? kAttrDirectory : 0;
  const long stored = noXattrs ? -1 : storedBits(path, fd);
  if (stored >= 0) {
    attributes |= static_cast<std::uint32_t>(stored) & kStoredBits;
  } else if (!S_ISDIR(st.st_mode)) {
    attributes |= kAttrArchive;
  }
  if (isReadOnly(st)) attributes |= kAttrReadOnly;
  return attributes ? attributes : kAttrNormal;
}

Status writeAttributes(const std::string& path, const struct stat& st, std::uint32_t attributes) {
  Status s = storeBits(path, -1, attributes);
  if (s != Status::ok) return s;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
  } else {
    mode |= S_IWUSR;
  }
  if (mode != (st.st_mode & 07777) && chmod(path.c_str(), mode) != 0) return statusFromErrno(errno);
  return Status::ok;
}

void markArchive(int fd) {
  const long stored = storedBits({}, fd);
  if (stored >= 0 && (stored & kAttrArchive) == 0) {
    storeBits({}, fd, static_cast<std::uint32_t>(stored) | kAttrArchive);
  }
}

void forgetStoredBits(int fd) { fremovexattr(fd, kDosAttribName); }

FileTime lastWriteTime(const struct stat& st) {
  return fileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

FileTime lastAccessTime(const struct stat& st) {
  return fileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
}

bool hasXattrs(const std::string& path) {
  return listxattr(path.c_str(), nullptr, 0) != 0;
}

FileTime creationTime(const std::string& path, int fd, const struct stat& st, bool noXattrs) {
  if (noXattrs) return lastWriteTime(st);
  char text[24];
  const ssize_t n = getAttr(path, fd, kCreationName, text, sizeof text - 1);
  if (n > 0) {
    text[n] = '\0';
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 16);
    if (*end == '\0') return FileTime::fromValue(v);
  }
  return lastWriteTime(st);
}

Status writeTimes(const std::string& path, int fd, const FileTime* creation,
                  const FileTime* lastAccess, const FileTime* lastWrite) {
  struct timespec times[2];
  const FileTime* given[2] = {lastAccess, lastWrite};
  for (int i = 0; i < 2; ++i) {
    if (given[i] && !given[i]->isZero()) {
      std::int64_t s, ns;
      fileTimeToUnix(*given[i], s, ns);
      times[i].tv_sec = static_cast<time_t>(s);
      times[i].tv_nsec = static_cast<long>(ns);
    } else {
      times[i].tv_sec = 0;
      times[i].tv_nsec = UTIME_OMIT;
    }
  }
  const int rc = fd >= 0 ? futimens(fd, times) : utimensat(AT_FDCWD, path.c_str(), times, 0);
  if (rc != 0) return statusFromErrno(errno);
  if (creation && !creation->isZero()) {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%016llx",
                                static_cast<unsigned long long>(creation->value()));
    if (setAttr(path, fd, kCreationName, text, static_cast<std::size_t>(n)) != 0) {
      return statusFromErrno(errno);
    }
  }
  return Status::ok;
}

Status statusFromErrno(int error) {
  switch (error) {
    case 0: return Status::ok;
    case ENOENT: return Status::fileNotFound;
    case ENOTDIR: return Status::pathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return Status::accessDenied;
    case EEXIST: return Status::alreadyExists;
    case ENOTEMPTY: return Status::dirNotEmpty;
    case ENOSPC:
    case EDQUOT: return Status::diskFull;
    case ENAMETOOLONG: return Status::filenameTooLong;
    case EROFS: return Status::writeProtect;
    case EBADF: return Status::invalidHandle;
    case EINVAL: return Status::invalidParameter;
    case ENOMEM: return Status::notEnoughMemory;
    case EBUSY: return Status::sharingViolation;
    default: return Status::ioDevice;
  }
}

Status missingStatus(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return Status::pathNotFound;
  struct stat st;
  const std::string parent = hostPath.substr(0, slash);
  return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? Status::fileNotFound
                                                               : Status::pathNotFound;
}

}  // namespace hw::host
