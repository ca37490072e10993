// The host build has no device library: the platform's drive table answers.
#include "drives/platform_device_queries.h"

namespace hw {

std::unique_ptr<DeviceQueries> makeDeviceQueries(Platform& platform) {
  return std::make_unique<PlatformDeviceQueries>(platform);
}

}  // namespace hw
