// Drives as the real calls see them. The Wine runner declares A: a floppy
// drive over a folder of the build (HKLM\Software\Wine\Drives), so a
// removable drive is there to be found.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/wine_difference.h"

namespace hw {
namespace {

constexpr const char* kLabelChildVariable = "HW_LABEL_CHILD_OUTPUT";

// The label of A: as another process sees it: this program run again with
// only Win32LabelChild, which writes what it reads into a file.
std::string labelSeenByAnotherProcess() {
  char program[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
  if (n == 0 || n >= sizeof program) return "(no program name)";
  const char* output = "A:\\HWLABEL.TXT";
  std::string command = std::string("\"") + program +
                        "\" --gtest_filter=Win32LabelChild.WritesTheLabelItSees";
  SetEnvironmentVariableA(kLabelChildVariable, output);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &process);
  SetEnvironmentVariableA(kLabelChildVariable, nullptr);
  if (!started) return "(not started)";
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::string text = "(no answer)";
  HANDLE h = CreateFileA(output, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    char buffer[64];
    DWORD got = 0;
    if (ReadFile(h, buffer, sizeof buffer, &got, nullptr)) text.assign(buffer, got);
    CloseHandle(h);
  }
  DeleteFileA(output);
  return text;
}

TEST(Win32LabelChild, WritesTheLabelItSees) {
  char output[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(kLabelChildVariable, output, sizeof output);
  if (n == 0 || n >= sizeof output) GTEST_SKIP() << "run by VolumeLabelIsWrittenToTheDrive";
  Win32Platform platform;
  VolumeInfo info;
  ASSERT_EQ(platform.volumes().volumeInformation("A:\\", info), Status::ok);
  HANDLE h = CreateFileA(output, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, info.label.data(), static_cast<DWORD>(info.label.size()), &written, nullptr);
  CloseHandle(h);
}

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
  // Wine writes the label to a file in the drive's root, but its mount
  // manager read that file when the Wine session started and answers from
  // memory until the session ends: in this process and in any other one.
  KNOWN_WINE_DIFFERENCE("label read back in the same process", label, before.label,
                        after.label);
  KNOWN_WINE_DIFFERENCE("label read back by another process", label, before.label,
                        labelSeenByAnotherProcess());
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
