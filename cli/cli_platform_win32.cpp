#include "cli/cli_platform.h"
#include "platform/win32/win32_platform.h"

namespace hw::cli {

std::unique_ptr<Platform> makeCliPlatform(const std::vector<DriveOption>& drives,
                                          std::string& error) {
  if (!drives.empty()) {
    error = "--drive is for the host platform; on Windows the real drives are used";
    return nullptr;
  }
  return std::make_unique<Win32Platform>();
}

std::string settingsPath(Platform& platform, const std::string& given) {
  if (!given.empty()) return given;
  return platform.programDirectory() + "\\HOARDWL95.INI";
}

std::string shownPath(Platform&, const std::string& path) { return path; }

}  // namespace hw::cli
