#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

namespace hw::test {

TestPlatform::TestPlatform() { platform_.useManualClock(); }

TestPlatform& TestPlatform::drive(HostDrive d) {
  if (d.folder.empty()) d.folder = temp_ / std::string("drive-") + d.letter;
  const Status s = platform_.addDrive(d);
  EXPECT_EQ(s, Status::ok) << "adding drive " << d.letter;
  return *this;
}

TestPlatform& TestPlatform::fixed(char letter, std::uint64_t capacity) {
  HostDrive d;
  d.letter = letter;
  d.capacity = capacity;
  return drive(d);
}

TestPlatform& TestPlatform::floppy(char letter) { return drive(floppyDrive(letter, {})); }

std::string TestPlatform::root(char letter) {
  return platform_.mediumFolder(letter, platform_.currentMedium(letter));
}

}  // namespace hw::test
