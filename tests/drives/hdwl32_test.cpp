// HDWL32.DLL under Wine, linked at load time as the program links it, in a
// prefix whose drives wine-drives.sh declares: A: and B: floppy, C: hard
// disk, D: CD-ROM without a disc, E: CD-ROM with one, F: removable after B:,
// N: network, R: RAM disk; no drive at Q:.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "devicelib/hdwl32.h"
#include "drives/drive_services.h"
#include "engine/run_record.h"
#include "platform/win32/win32_platform.h"
#include "resources/string_ids.h"
#include "resources/texts.h"

namespace hw {
namespace {

std::string currentDirectory() {
  char buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

TEST(Hdwl32, ExportsByOrdinal) {
  HMODULE dll = GetModuleHandleA("HDWL32.DLL");
  ASSERT_NE(dll, nullptr) << "linked at load time, so already loaded";
  const char* names[] = {"ChangeSCSIDisk32", "HDWLASM_ThunkConnect32", "HDWLASM_ThunkData32",
                         "GetDeviceParameters32", "IsCDRDrive32", "IsCDROMDrive32",
                         "IsFloppyDrive32", "IsMediaPresent32", "IsRemovableMedia32", "WEP"};
  for (int ordinal = 1; ordinal <= 10; ++ordinal) {
    FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(ordinal));
    ASSERT_NE(byOrdinal, nullptr) << ordinal;
    EXPECT_EQ(byOrdinal, GetProcAddress(dll, names[ordinal - 1])) << names[ordinal - 1];
  }
  const char* data = reinterpret_cast<const char*>(GetProcAddress(dll, "HDWLASM_ThunkData32"));
  EXPECT_EQ(std::memcmp(data, "LS01", 4), 0);
  EXPECT_EQ(WEP(0), 1);
  EXPECT_NE(HDWLASM_ThunkConnect32("Hdwl16.dll", "Hdwl32.dll", dll, DLL_PROCESS_ATTACH), 0);
}

struct LetterCase {
  int letter;
  int floppy, cdrom, removable, media;
};

TEST(Hdwl32, AnswersForTheDeclaredDrives) {
  const LetterCase cases[] = {
      {'A', 1, 0, 1, 1}, {'B', 1, 0, 1, 1}, {'C', 0, 0, 0, 1}, {'D', 0, 1, 0, 0},
      {'E', 0, 1, 0, 1}, {'F', 0, 0, 1, 1}, {'N', 0, 0, 0, 1}, {'R', 0, 0, 0, 1},
      {'Q', 0, 0, 0, 0},
      // A lower-case letter is never a floppy and never holds media (A: is
      // removable, so it is probed); C: is fixed and answers without a probe.
      {'a', 0, 0, 1, 0}, {'c', 0, 0, 0, 1},
      // Letters outside the drives, and the letter in the low byte only.
      {'1', 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0x7F, 0, 0, 0, 0}, {0x1200 | 'E', 0, 1, 0, 1},
  };
  for (const LetterCase& c : cases) {
    SCOPED_TRACE(std::string("letter ") + char(c.letter & 0xFF));
    const std::string before = currentDirectory();
    EXPECT_EQ(IsFloppyDrive32(c.letter), c.floppy);
    EXPECT_EQ(IsCDROMDrive32(c.letter), c.cdrom);
    EXPECT_EQ(IsCDRDrive32(c.letter), 0);
    EXPECT_EQ(IsRemovableMedia32(c.letter), c.removable);
    EXPECT_EQ(IsMediaPresent32(c.letter), c.media);
    EXPECT_EQ(currentDirectory(), before);
  }
}

TEST(Hdwl32, DeviceParametersOfHardDisksAndOthers) {
  unsigned char block[32];
  std::memset(block, 0xCC, sizeof block);
  GetDeviceParameters32('C' - 'A', block);
  EXPECT_EQ(block[1], 5);                   // fixed disk
  EXPECT_EQ(block[2] | (block[3] << 8), 1);  // media not removable
  EXPECT_NE(block[7] | (block[8] << 8), 0);  // bytes per sector

  GetDeviceParameters32('A' - 'A', block);
  EXPECT_NE(block[1], 5);
  EXPECT_EQ(block[2] | (block[3] << 8), 0);
  GetDeviceParameters32('E' - 'A', block);
  EXPECT_NE(block[1], 5);

  for (int bad : {-1, 26, 'Q' - 'A', 1000}) {
    std::memset(block, 0xCC, sizeof block);
    EXPECT_EQ(GetDeviceParameters32(bad, block), 15) << bad;
    for (unsigned char b : block) ASSERT_EQ(b, 0) << bad;
  }
  EXPECT_EQ(GetDeviceParameters32(2, nullptr), 15);
}

TEST(Hdwl32, DiskChangeLeavesHardDisksAndMissingDrivesAlone) {
  EXPECT_EQ(ChangeSCSIDisk32('C'), 0);
  EXPECT_EQ(ChangeSCSIDisk32('Q'), 0);
  EXPECT_EQ(ChangeSCSIDisk32(0), 0);
  // Wine has no medium to eject behind a folder; the call comes back.
  ChangeSCSIDisk32('D');
  ChangeSCSIDisk32('A');
  EXPECT_EQ(IsMediaPresent32('A'), 1);
}

// The drive services of the program over the real calls and this library.
TEST(DriveServicesUnderWine, ClassifiesTheDeclaredDrives) {
  Win32Platform platform;
  RunRecord run;
  DriveServices drives(platform, run);
  // The floppy drives lie over folders of the host, whose file system holds
  // far more than 3 MiB: floppy-type drives with a large medium.
  const std::pair<char, std::uint32_t> expected[] = {
      {'A', 0x140}, {'B', 0x140}, {'C', 0x002}, {'D', 0x104}, {'E', 0x104},
      {'F', 0x140}, {'N', 0x010}, {'R', 0x080}, {'Q', 0x080},
  };
  for (auto [letter, kind] : expected) {
    EXPECT_EQ(drives.ClassifyDrive(letter), kind) << letter;
  }
  EXPECT_EQ(drives.DefaultSourceDrive(), 'C');
  EXPECT_EQ(drives.DefaultDestinationDrive(), 'F');
  EXPECT_EQ(drives.FloppyKind('A'), 2);
  EXPECT_EQ(drives.FloppyKind('F'), 0);
}

TEST(DriveServicesUnderWine, DescribesMissingMediaAndBadLetters) {
  Win32Platform platform;
  RunRecord run;
  DriveServices drives(platform, run);
  const std::string noDisk = "  [" + std::string(texts::text(ids::IDS_NO_MEDIUM)) + "]";
  std::string text = "old";
  EXPECT_EQ(drives.DescribeVolume("Q:", text, true), 0x0B0u);
  EXPECT_EQ(text, noDisk);
  EXPECT_EQ(drives.DescribeVolume("?:", text, true), VS_BAD_LETTER);
  EXPECT_EQ(text, "");
  EXPECT_FALSE(drives.IsMediaPresent('D'));
  EXPECT_FALSE(drives.IsRootAccessible('D'));
  // Wine answers the volume query of a CD drive without a disc (an empty
  // label on "CDFS"), so the description is that of a disc without a label.
  const std::uint32_t status = drives.DescribeVolume("D:", text, true);
  EXPECT_TRUE(status == 0x1C0u || status == 0x0B0u) << std::hex << status;

  DriveListItem item;
  EXPECT_FALSE(drives.DescribeDrive('Q', item));
  ASSERT_TRUE(drives.DescribeDrive('C', item));
  EXPECT_EQ(item.kind, DK_FIXED);
  EXPECT_EQ(item.readable, 1u);
  EXPECT_GT(item.total, 0);
  EXPECT_DOUBLE_EQ(item.sectorSize, 500.0);
  EXPECT_EQ(item.iconName, "IDR_DRIVES_FIXED");
}

}  // namespace
}  // namespace hw
