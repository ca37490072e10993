// The timed waits and the calibration, on the host platform's manual clock:
// nothing here sleeps.
#include <gtest/gtest.h>

#include "drives/drive_services.h"
#include "engine/run_record.h"
#include "tests/drives/drive_fakes.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

// A cartridge drive M: as the destination of an active run, with its volume
// queries shaped and its disk changes counted.
struct WaitFixture {
  WaitFixture() {
    t.drive(test::hostDrive('M', HostDriveKind::removable, 100 * kMiB));
    t.floppy('A');
    run.destLetter = 'M';
    run.destFlags = kKindOtherRemovable;
    run.active = 1;
    shaped.shaped.slowLetter = 'M';
    drives.setHost(&host);
  }
  std::uint32_t now() { return t.platform().clock().tickCount(); }

  test::TestPlatform t;
  test::ShapedPlatform shaped{t.platform()};
  test::ScriptedDevices devices{shaped};
  RunRecord run;
  test::RecordingHost host;
  DriveServices drives{shaped, run, devices};
};

TEST(WaitForDriveIdle, PromptDriveWaitsOneRoundAndTheSettlingTime) {
  WaitFixture f;
  f.drives.WaitForDriveIdle('M', false);
  // 3 s, one 10 s round (the first test always finds the query slow), then
  // max(13000 / 30, 5000) + 1000 ms.
  EXPECT_EQ(f.now(), 19000u);
  EXPECT_EQ(f.host.notifications, (std::vector<int>{2089, 2091, 2087}));
  EXPECT_TRUE(f.devices.diskChanges.empty());
  EXPECT_GT(f.host.pumps, 0);
}

TEST(WaitForDriveIdle, SlowAnswersKeepItWaiting) {
  WaitFixture f;
  // The query after step 2 and the first one of the loop each take 300 ms.
  f.shaped.shaped.slowAnswers = {300, 300, 0};
  f.drives.WaitForDriveIdle(true);
  EXPECT_EQ(f.host.notifications, (std::vector<int>{2089, 2091, 2091, 2087}));
  // 3000 + 300, then 10000 + 300, then 10000: elapsed 23,600 ms, extra 5000.
  EXPECT_EQ(f.now(), 23600u + 6000u);
  EXPECT_EQ(f.devices.diskChanges, std::vector<char>{'M'});
}

TEST(WaitForDriveIdle, MediumGoneEndsTheWaitEarly) {
  WaitFixture f;
  ASSERT_TRUE(f.t.platform().removeMedium('M'));
  f.drives.WaitForDriveIdle('M', true);
  EXPECT_EQ(f.now(), 4000u);
  EXPECT_EQ(f.host.notifications, (std::vector<int>{2089, 2087}));
  EXPECT_EQ(f.devices.diskChanges, std::vector<char>{'M'});
}

TEST(WaitForDriveIdle, NothingForFloppyOrFixedDestinations) {
  for (std::uint32_t kind : {kKindFloppy, std::uint32_t{DK_FIXED}}) {
    WaitFixture f;
    f.run.destFlags = kind;
    f.drives.WaitForDriveIdle(true);
    f.drives.WaitForRootAccess();
    EXPECT_EQ(f.now(), 0u);
    EXPECT_TRUE(f.host.notifications.empty());
    EXPECT_TRUE(f.devices.diskChanges.empty());
  }
}

TEST(WaitForDriveIdle, StoppedRunStopsDispatchingButStillWaits) {
  WaitFixture f;
  f.run.active = 0;
  f.drives.WaitForDriveIdle('M', false);
  EXPECT_EQ(f.host.pumps, 0);
  EXPECT_EQ(f.now(), 19000u);
}

TEST(WaitForRootAccess, PromptRootEndsAtOnce) {
  WaitFixture f;
  f.drives.WaitForRootAccess();
  EXPECT_EQ(f.now(), 0u);
  EXPECT_EQ(f.host.notifications, std::vector<int>{2087});
}

// A host whose first pump takes all the time the calibration is to measure.
class ChargingHost final : public EngineHost {
 public:
  ChargingHost(Clock& clock, std::uint32_t ms) : clock_(clock), ms_(ms) {}
  int pumps = 0;
  void notify(int) override {}
  int ask(PromptKind, const PromptDetails&) override { return 0; }
  int messageBox(const std::string&, const std::string&, unsigned) override { return 0; }
  void pumpMessages() override {
    if (pumps++ == 0) clock_.sleep(ms_);
  }
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}

 private:
  Clock& clock_;
  std::uint32_t ms_;
};

TEST(Calibration, FactorFollowsThePumpTime) {
  struct Case {
    std::uint32_t ms;
    std::uint32_t factor;
  };
  // Every step is "above": exactly 450 ms is still factor 8.
  const Case cases[] = {{0, 1},    {50, 1},   {51, 2},     {150, 2},   {151, 4},   {350, 6},
                        {351, 8},  {450, 8},  {451, 10},   {700, 10},  {701, 15},  {1400, 20},
                        {2400, 40}, {2900, 50}, {2901, 60}, {100000, 60}};
  for (const Case& c : cases) {
    test::TestPlatform t;
    // The tick count wraps during the measurement.
    t.platform().useManualClock().setTickCount(0xFFFFFF00u);
    RunRecord run;
    ChargingHost host(t.platform().clock(), c.ms);
    DriveServices drives(t.platform(), run);
    drives.setHost(&host);
    drives.CalibrateMachineSpeed();
    EXPECT_EQ(host.pumps, 10000);
    EXPECT_EQ(run.slownessRating, c.factor) << c.ms << " ms";
  }
}

}  // namespace
}  // namespace hw
