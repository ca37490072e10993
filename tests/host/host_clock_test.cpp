// The manual clock that tests drive, and the real clock's local time.
#include <gtest/gtest.h>

#include "platform/host/host_platform.h"
#include "tests/support/platform_files.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

TEST(HostClock, ManualClockMovesOnlyWhenTold) {
  HostPlatform p;
  ManualClock& clock = p.useManualClock();
  EXPECT_EQ(&p.clock(), &clock);
  clock.setSystemTime({1997, 8, 0, 21, 23, 4, 54, 0});
  clock.setTickCount(0xFFFFFF00u);
  EXPECT_EQ(p.clock().tickCount(), 0xFFFFFF00u);
  p.clock().sleep(0x200);  // wraps as GetTickCount does
  EXPECT_EQ(p.clock().tickCount(), 0x100u);
  const SystemTime now = p.clock().systemTime();
  EXPECT_EQ(now, (SystemTime{1997, 8, 4, 21, 23, 4, 54, 512}));
  EXPECT_EQ(p.clock().localTime(), now);  // UTC offset 0 by default
}

TEST(HostClock, ManualClockLocalTimeUsesItsOffset) {
  ManualClock clock;
  clock.setSystemTime({1999, 12, 0, 31, 23, 30, 0, 0});
  clock.setUtcOffsetMinutes(90);
  EXPECT_EQ(clock.localTime(), (SystemTime{2000, 1, 6, 1, 1, 0, 0, 0}));
  FileTime local;
  ASSERT_TRUE(clock.fileTimeToLocalFileTime(clock.now(), local));
  EXPECT_EQ(local.value() - clock.now().value(), 90ull * 60 * 10'000'000);
  clock.setUtcOffsetMinutes(-60);
  EXPECT_EQ(clock.localTime().hour, 22);
}

// A drive of modelled speed spends its device time on the platform's clock,
// to the millisecond over many small writes; other drives cost nothing.
TEST(HostClock, ADriveOfModelledSpeedSpendsItsTimeOnTheClock) {
  test::TestPlatform t;
  HostDrive slow;
  slow.letter = 'D';
  slow.bytesPerSecond = 300000;  // 0.3 byte per millisecond
  slow.msPerFile = 25;
  t.drive(slow).fixed('C');
  ManualClock& clock = t.platform().useManualClock();
  const std::string bytes = test::patternBytes(90000);

  ASSERT_TRUE(test::writeWholeFile(t.files(), "C:\\FAST.BIN", bytes, 1000));
  EXPECT_EQ(clock.tickCount(), 0u);
  // 90 writes of 1,000 bytes, 3 1/3 ms each: 300 ms, plus 25 ms for the file.
  ASSERT_TRUE(test::writeWholeFile(t.files(), "D:\\SLOW.BIN", bytes, 1000));
  EXPECT_EQ(clock.tickCount(), 325u);
}

TEST(HostClock, RealClockLocalTimeFollowsTheHostsZone) {
  RealClock clock;
  const SystemTime utc = clock.systemTime();
  const SystemTime local = clock.localTime();
  FileTime u, l, shifted;
  ASSERT_TRUE(clock.systemTimeToFileTime(utc, u));
  ASSERT_TRUE(clock.systemTimeToFileTime(local, l));
  ASSERT_TRUE(clock.fileTimeToLocalFileTime(u, shifted));
  // The two readings are moments apart; the offset itself must agree.
  const auto offset = static_cast<std::int64_t>(shifted.value() - u.value());
  const auto measured = static_cast<std::int64_t>(l.value() - u.value());
  EXPECT_LT(std::llabs(measured - offset), 600'000'000LL);  // within a minute
}

}  // namespace
}  // namespace hw
