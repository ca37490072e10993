// The program's device library: HDWL32.DLL, linked at load time, so the
// program does not start without it.
#include "devicelib/hdwl32.h"
#include "drives/device_queries.h"

namespace hw {
namespace {

class Hdwl32DeviceQueries final : public DeviceQueries {
 public:
  int isFloppyDrive(char letter) override { return IsFloppyDrive32(letterArg(letter)); }
  int isCDROMDrive(char letter) override { return IsCDROMDrive32(letterArg(letter)); }
  int isCDRDrive(char letter) override { return IsCDRDrive32(letterArg(letter)); }
  int isMediaPresent(char letter) override { return IsMediaPresent32(letterArg(letter)); }
  int isRemovableMedia(char letter) override { return IsRemovableMedia32(letterArg(letter)); }
  int changeSCSIDisk(char letter) override { return ChangeSCSIDisk32(letterArg(letter)); }
  int getDeviceParameters(int driveNumber, DeviceParameters& block) override {
    return GetDeviceParameters32(driveNumber, block.bytes);
  }

 private:
  // The library takes the letter in the low byte of a 32-bit value.
  static int letterArg(char letter) { return static_cast<unsigned char>(letter); }
};

}  // namespace

std::unique_ptr<DeviceQueries> makeDeviceQueries(Platform&) {
  return std::make_unique<Hdwl32DeviceQueries>();
}

}  // namespace hw
