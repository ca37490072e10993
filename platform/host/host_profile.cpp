#include "platform/host/host_profile.h"

namespace hw {

HostProfile::HostProfile(std::function<std::string(const std::string&)> toHostPath)
    : toHostPath_(std::move(toHostPath)) {}

std::string HostProfile::getString(const std::string&, const char*, const char*,
                                   const char* defaultValue, std::uint32_t) {
  return defaultValue ? defaultValue : "";
}

bool HostProfile::writeString(const std::string&, const char*, const char*, const char*) {
  return false;
}

}  // namespace hw
