#include "cli/cli_platform.h"

namespace hw::cli {

std::unique_ptr<Platform> makeCliPlatform(const std::vector<DriveOption>& drives,
                                          std::string& error) {
  error = "the host platform is not built yet";
  return nullptr;
}

}  // namespace hw::cli
