// The timed waits of the drive services and the machine-speed calibration.
// Time comes from the platform's clock; between pumps the waits sleep a
// little, so the processor is not kept busy and a test clock moves on.
#include <algorithm>

#include "drives/drive_services.h"
#include "engine/engine_host.h"
#include "engine/run_record.h"

namespace hw {
namespace {

constexpr std::uint32_t kPumpSliceMs = 20;
// A volume query slower than this means the drive is still busy.
constexpr std::uint32_t kSlowAnswerMs = 200;

struct SpeedStep {
  std::uint32_t aboveMs;
  std::uint32_t factor;
};
constexpr SpeedStep kSpeedSteps[] = {
    {2900, 60}, {2400, 50}, {1900, 40}, {1400, 30}, {900, 20}, {700, 15},
    {450, 10},  {350, 8},   {250, 6},   {150, 4},   {50, 2},
};

}  // namespace

std::uint32_t DriveServices::now() { return platform_.clock().tickCount(); }

// Dispatches pending input while the run may go on; with the run stopped the
// input stays queued for the main loop.
void DriveServices::pump() {
  if (host_ && run_.active) host_->pumpMessages();
}

void DriveServices::pumpFor(std::uint32_t milliseconds) {
  const std::uint32_t start = now();
  for (;;) {
    pump();
    const std::uint32_t passed = now() - start;
    if (passed >= milliseconds) return;
    platform_.clock().sleep(std::min(kPumpSliceMs, milliseconds - passed));
  }
}

bool DriveServices::destinationSettles() const {
  return (run_.destFlags & DK_REMOVABLE) && !(run_.destFlags & DK_FLOPPY);
}

void DriveServices::CalibrateMachineSpeed() {
  // Runs outside a backup, where the run flag is clear: the host's queue is
  // pumped outright, since the pump's own cost is what is measured.
  const std::uint32_t t0 = now();
  for (int i = 0; i < 10000; ++i) {
    if (host_) host_->pumpMessages();
  }
  const std::uint32_t elapsed = now() - t0;
  std::uint32_t factor = 1;
  for (const SpeedStep& step : kSpeedSteps) {
    if (elapsed > step.aboveMs) {
      factor = step.factor;
      break;
    }
  }
  run_.slownessRating = factor;
}

void DriveServices::WaitForDriveIdle(char letter, bool changeDisk) {
  if (!destinationSettles()) return;
  if (host_) host_->notify(kNotifyDriveWaitBegins);
  const std::uint32_t t0 = now();
  pumpFor(3000);
  std::string scratch;
  const std::string root = rootOf(run_.destLetter);
  std::uint32_t s = DescribeVolume(root, scratch, true);
  std::uint32_t t = t0;
  // Until a volume query answers promptly, or the medium is gone.
  while (now() - t > kSlowAnswerMs && !(s & VS_NO_MEDIA)) {
    pumpFor(10000);
    if (host_) host_->notify(kNotifyDriveStillWaiting);
    t = now();
    s = DescribeVolume(root, scratch, true);
  }
  const std::uint32_t elapsed = now() - t0;
  const std::uint32_t extra = elapsed > 5000 ? std::max<std::uint32_t>(elapsed / 30, 5000) : 0;
  pumpFor(extra + 1000);
  if (changeDisk) devices_.changeSCSIDisk(letter);
  if (host_) host_->notify(kNotifyDriveWaitEnded);
}

void DriveServices::WaitForRootAccess() {
  if (!destinationSettles()) return;
  std::uint32_t t = now();
  IsRootAccessible(run_.destLetter);
  while (now() - t > kSlowAnswerMs) {
    pumpFor(5000);
    t = now();
    IsRootAccessible(run_.destLetter);
  }
  if (host_) host_->notify(kNotifyDriveWaitEnded);
}

std::uint32_t DriveServices::DiskChangeTimeout() {
  if (!destinationSettles()) return 0;
  const std::uint32_t r = run_.rateTotal;
  if (r == 0) return 28000;
  return std::min<std::uint32_t>(r, 1000) / 10 * 3000 + 3000;
}

}  // namespace hw
