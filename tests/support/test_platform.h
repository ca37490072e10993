// A host platform with its drives on folders of a temporary folder, for
// tests of the engine and its parts:
//
//   TestPlatform t;
//   t.fixed('C').floppy('A');
//   ASSERT_TRUE(writeHostFile(t.root('C') + "/DOCS/A.TXT", 100));
//   BackupEngine engine(t.platform(), ...);
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/host_platform.h"
#include "tests/support/host_tree.h"

namespace hw::test {

class TestPlatform {
 public:
  TestPlatform();

  // A fixed drive of `capacity` bytes (0: 1 GiB).
  TestPlatform& fixed(char letter, std::uint64_t capacity = 0);
  // A 1.44 MB floppy drive with medium 1 in it.
  TestPlatform& floppy(char letter);
  // Any drive; an empty folder is given one under the temporary folder.
  TestPlatform& drive(HostDrive drive);

  HostPlatform& platform() { return platform_; }
  FileSystem& files() { return platform_.files(); }
  // Host folder of the root of what is in the drive now.
  std::string root(char letter);
  const TempDir& temp() const { return temp_; }

 private:
  TempDir temp_;  // declared first, so the folders go after the platform
  HostPlatform platform_;
};

}  // namespace hw::test
