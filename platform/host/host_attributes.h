// DOS attributes and times of host files, kept where Wine keeps them:
// hidden, system and archive in the `user.DOSATTRIB` xattr ("0x22"),
// read-only as a missing owner-write bit. Each call takes the open file's
// descriptor when there is one (fd >= 0), else the host path.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace hw::host {

inline constexpr const char* kDosAttribName = "user.DOSATTRIB";
inline constexpr const char* kCreationName = "user.hw.creation";
inline constexpr std::uint32_t kStoredBits = kAttrHidden | kAttrSystem | kAttrArchive;

// The attribute word GetFileAttributes would answer.
// `noXattrs`: the caller knows the file has no extended attributes at all,
// so none is looked up (a listing of many plain files stays quick).
std::uint32_t attributesOf(const std::string& path, int fd, const struct stat& st,
                           bool noXattrs = false);
// SetFileAttributes: the directory and normal bits are ignored.
Status writeAttributes(const std::string& path, const struct stat& st, std::uint32_t attributes);
// The archive bit goes on when a file is written, as on Windows.
void markArchive(int fd);
// A file created over an old one starts again as a new file (archive set).
void forgetStoredBits(int fd);

FileTime creationTime(const std::string& path, int fd, const struct stat& st,
                      bool noXattrs = false);
// Whether a file carries any extended attribute (true when it cannot be told).
bool hasXattrs(const std::string& path);
FileTime lastWriteTime(const struct stat& st);
FileTime lastAccessTime(const struct stat& st);
// SetFileTime: a null or zero time leaves that time alone.
Status writeTimes(const std::string& path, int fd, const FileTime* creation,
                  const FileTime* lastAccess, const FileTime* lastWrite);

inline bool isReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

Status statusFromErrno(int error);
// fileNotFound when the parent folder exists, else pathNotFound.
Status missingStatus(const std::string& hostPath);

}  // namespace hw::host
