#include "tests/win32/scratch_folder.h"

#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "tests/win32/wine_difference.h"

namespace hw::test {

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) return;
  std::string base(temp, n);
  if (base.back() != '\\') base += '\\';
  // The performance counter tells apart the folders of one program and those
  // left by an earlier program under the same process number.
  for (int attempt = 0; attempt < 100; ++attempt) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::string candidate = base + "hw-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(now.QuadPart + attempt);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
}

ScratchFolder::~ScratchFolder() {
  if (!path_.empty()) removeTree(path_);
}

void removeTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name != "." && name != "..") removeTree(path + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

bool wineRunsAsRoot() {
  char name[256];
  DWORD size = sizeof name;
  return runningUnderWine() && GetUserNameA(name, &size) && std::string(name) == "root";
}

}  // namespace hw::test
