// Drives as the real calls see them. The Wine runner declares A: a floppy
// drive over a folder of the build (HKLM\Software\Wine\Drives), so a
// removable drive is there to be found.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/wine_difference.h"

namespace hw {
namespace {

class Win32DriveTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!(volumes().logicalDrives() & 1)) GTEST_SKIP() << "no drive A: on this machine";
  }
  Volumes& volumes() { return platform_.volumes(); }
  Win32Platform platform_;
};

TEST_F(Win32DriveTest, DriveTypesOfFloppyFixedAndUnusedLetters) {
  EXPECT_EQ(volumes().driveType("A:\\"), DriveType::removable);
  EXPECT_EQ(volumes().driveType("C:\\"), DriveType::fixed);
  // The first letter not in use has no root directory.
  std::uint32_t drives = volumes().logicalDrives();
  int unused = 2;
  while (unused < 26 && (drives & (1u << unused))) ++unused;
  ASSERT_LT(unused, 26);
  std::string root = std::string(1, static_cast<char>('A' + unused)) + ":\\";
  EXPECT_EQ(volumes().driveType(root), DriveType::noRootDir) << root;
  VolumeInfo info;
  EXPECT_EQ(volumes().volumeInformation(root, info), Status::pathNotFound) << root;
}

TEST_F(Win32DriveTest, RootListingHasNoDotEntries) {
  FileSystem& fs = platform_.files();
  test::removeTree("A:\\HWTEST");
  ASSERT_EQ(fs.createDirectory("A:\\HWTEST"), Status::ok);
  Status status;
  FindData entry;
  std::unique_ptr<DirectoryListing> listing = fs.findFirst("A:\\*.*", entry, status);
  ASSERT_NE(listing, nullptr);
  bool sawFolder = false;
  do {
    EXPECT_NE(entry.name, ".");
    EXPECT_NE(entry.name, "..");
    sawFolder = sawFolder || entry.name == "HWTEST";
  } while (listing->next(entry));
  EXPECT_TRUE(sawFolder);
  listing.reset();
  EXPECT_EQ(fs.removeDirectory("A:\\HWTEST"), Status::ok);
}

// A short root leaves room for a name longer than one component may be.
TEST_F(Win32DriveTest, NamesEndAt255Characters) {
  FileSystem& fs = platform_.files();
  const std::string longest = "A:\\" + std::string(255, 'n');
  Status status;
  std::unique_ptr<File> f = fs.create(longest, status);
  ASSERT_NE(f, nullptr);
  f.reset();
  EXPECT_EQ(fs.deleteFile(longest), Status::ok);

  EXPECT_EQ(fs.create(longest + "n", status), nullptr);
  // Linux refuses the name as too long, which Wine reports as not found.
  KNOWN_WINE_DIFFERENCE("256-character name", Status::invalidName, Status::fileNotFound,
                        status);
}

TEST_F(Win32DriveTest, FreeSpaceAndVolumeInformationAnswer) {
  DiskFreeSpace space;
  ASSERT_EQ(volumes().diskFreeSpace("A:\\", space), Status::ok);
  EXPECT_GT(space.bytesPerSector, 0u);
  EXPECT_GT(space.sectorsPerCluster, 0u);
  EXPECT_GT(space.totalClusters, 0u);
  EXPECT_LE(space.freeClusters, space.totalClusters);

  VolumeInfo info;
  ASSERT_EQ(volumes().volumeInformation("A:\\", info), Status::ok);
  EXPECT_FALSE(info.fileSystem.empty());
  EXPECT_GT(info.maxComponentLength, 12u);
}

TEST_F(Win32DriveTest, VolumeLabelIsWrittenToTheDrive) {
  VolumeInfo before;
  ASSERT_EQ(volumes().volumeInformation("A:\\", before), Status::ok);
  const std::string label = before.label == "HWSET1" ? "HWSET2" : "HWSET1";
  ASSERT_EQ(volumes().setVolumeLabel("A:\\", label), Status::ok);

  VolumeInfo after;
  ASSERT_EQ(volumes().volumeInformation("A:\\", after), Status::ok);
  // Wine keeps the label in a file in the drive's root and reads it once per
  // process; a later program sees the new label.
  KNOWN_WINE_DIFFERENCE("label read back in the same process", label, before.label,
                        after.label);
  if (runningUnderWine()) {
    std::uint32_t attributes = 0;
    EXPECT_EQ(platform_.files().getAttributes("A:\\.windows-label", attributes), Status::ok);
  }
  EXPECT_EQ(volumes().setVolumeLabel("A:\\", before.label), Status::ok);
}

TEST(Win32VersionTest, VersionIsAWin32Version) {
  Win32Platform platform;
  std::uint32_t version = platform.volumes().version();
  EXPECT_GE(version & 0xFF, 4u) << "major version";
  // The top bit is set only on the 9x family, which a 64-bit program never sees.
  EXPECT_EQ(version & 0x80000000u, 0u);
}

}  // namespace
}  // namespace hw
