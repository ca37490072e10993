// `hoardwell drives` on the host platform.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/drives_command.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

TEST(DrivesCommand, OneLinePerDriveWithKindVolumeAndSizes) {
  test::TestPlatform t;
  HostDrive b = floppyDrive('B', {});
  b.hasMedia = false;
  HostDrive c;
  c.letter = 'C';
  c.capacity = 100ull * 1024 * 1024;
  c.label = "SYSTEM";
  t.floppy('A').drive(b).drive(c);
  std::ostringstream out;
  EXPECT_EQ(runDrivesCommand(t.platform(), out), 0);
  const std::string expected =
      "Drive  Kind           Volume                  Total                 Free\n"
      "A:     floppy         [no label]              1,390 Kilobytes       1,390 Kilobytes\n"
      "B:     floppy         [no disk]               -                     -\n"
      "C:     fixed          [SYSTEM]                100,000 Kilobytes     100,000 Kilobytes\n";
  EXPECT_EQ(out.str(), expected);
}

}  // namespace
}  // namespace hw
