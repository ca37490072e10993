// Private to platform/win32: the pieces Win32Platform is made of, and the one
// place where a failed call becomes a Status.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/platform.h"

namespace hw::win32 {

// The error of the call that just failed. A failure that left no error
// number still must not read as success.
inline Status lastError() {
  DWORD code = GetLastError();
  return code == ERROR_SUCCESS ? Status::ioDevice : static_cast<Status>(code);
}

inline FileTime fromFiletime(const FILETIME& t) {
  return FileTime{t.dwLowDateTime, t.dwHighDateTime};
}

inline FILETIME toFiletime(const FileTime& t) {
  FILETIME out;
  out.dwLowDateTime = t.low;
  out.dwHighDateTime = t.high;
  return out;
}

std::unique_ptr<FileSystem> makeFileSystem();
std::unique_ptr<Volumes> makeVolumes();
std::unique_ptr<Clock> makeClock();
std::unique_ptr<Profile> makeProfile();
std::unique_ptr<Registry> makeRegistry();

}  // namespace hw::win32
