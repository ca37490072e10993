#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_parts.h"

namespace hw {

Win32Platform::Win32Platform()
    : files_(win32::makeFileSystem()),
      volumes_(win32::makeVolumes()),
      clock_(win32::makeClock()),
      profile_(win32::makeProfile()),
      registry_(win32::makeRegistry()) {}

Win32Platform::~Win32Platform() = default;

std::string Win32Platform::programDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return {};
  std::string path(buffer, n);
  std::string::size_type slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool runningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace hw
