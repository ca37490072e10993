// Drive configurations of the host platform through the drive services:
// kind bits, statistics class, icon, description and figures.
#include <gtest/gtest.h>

#include "drives/drive_services.h"
#include "engine/run_record.h"
#include "resources/string_ids.h"
#include "resources/texts.h"
#include "tests/drives/drive_fakes.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

std::string bracketed(int id) { return "  [" + std::string(texts::text(id)) + "]"; }

using test::hostDrive;

struct DriveCase {
  const char* name;
  HostDrive config;
  DeviceTraits traits;
  std::uint32_t kind;
  std::uint32_t statClass;  // after measuring
  const char* icon;
  std::string text;         // the entry text
  bool readable;
  double total;             // scaled bytes
};
// Test names and failures show the case, not its bytes.
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }

constexpr std::uint64_t kMiB = 1024 * 1024;

std::vector<DriveCase> driveCases() {
  HostDrive empty = floppyDrive('B', {});
  empty.hasMedia = false;
  HostDrive hardDiskRam = hostDrive('S', HostDriveKind::fixed, 4 * kMiB, "RAMDRIVE");
  HostDrive cartridgeAtA = hostDrive('A', HostDriveKind::removable, 100 * kMiB, "ZIP");
  HostDrive floppy144 = floppyDrive('A', {});
  floppy144.label = "MY.DISK";
  HostDrive noLabel = hostDrive('C', HostDriveKind::fixed, 100 * kMiB, "");
  return {
      {"floppy 720 KB", hostDrive('A', HostDriveKind::floppy, 1440 * 512), {}, 0x101, DK_FLOPPY,
       "IDR_DRIVES_FLOPPY", "A:  [DISK]", true, 703125},
      {"floppy 1.44 MB", floppy144, {}, 0x101, DK_FLOPPY, "IDR_DRIVES_FLOPPY", "A:  [MYDISK]",
       true, 1390136.71875},
      {"fixed", noLabel, {}, 0x002, DK_FIXED, "IDR_DRIVES_FIXED",
       "C:" + bracketed(ids::IDS_NO_LABEL), true, 100000000},
      {"CD-ROM", hostDrive('D', HostDriveKind::cdrom, 650 * kMiB, "CD"), {}, 0x104, DK_CDROM,
       "IDR_DRIVES_CDROM", "D:  [CD]", true, 650000000},
      {"recordable CD", hostDrive('E', HostDriveKind::cdrom, 650 * kMiB, "CDR"), {.recordable = true},
       0x108, DK_CDR, "IDR_DRIVES_CDR", "E:  [CDR]", true, 650000000},
      {"network", hostDrive('N', HostDriveKind::network, 100 * kMiB, "SHARE"), {}, 0x010, DK_NETWORK,
       "IDR_DRIVES_NETWORK", "N:  [SHARE]", true, 100000000},
      // A RAM disk that says so in its drive type is of no kind the program
      // knows; one that answers as a fixed drive but is no hard disk is.
      {"RAM disk (drive type 6)", hostDrive('R', HostDriveKind::ram, 4 * kMiB, "RAM"), {}, 0x080,
       DK_UNKNOWN, "IDR_DRIVES_UNKNOWN", "R:  [RAM]", true, 4000000},
      {"RAM disk (fixed, no hard disk)", hardDiskRam, {.hardDisk = false}, 0x020, DK_RAM,
       "IDR_DRIVES_RAM", "S:  [RAMDRIVE]", true, 4000000},
      {"hard-disk-type cartridge", hostDrive('H', HostDriveKind::fixed, 100 * kMiB, "JAZ"),
       {.removableMedia = true}, 0x140, 1002, "IDR_DRIVES_MO", "H:  [JAZ]", true, 100000000},
      {"removable cartridge", hostDrive('M', HostDriveKind::removable, 100 * kMiB, "ZIP"), {}, 0x140,
       1002, "IDR_DRIVES_MO", "M:  [ZIP]", true, 100000000},
      {"large medium in a floppy-type drive", cartridgeAtA, {}, 0x140, 1002, "IDR_DRIVES_MO",
       "A:  [ZIP]", true, 100000000},
      {"no medium", empty, {}, 0x101, DK_FLOPPY, "IDR_DRIVES_FLOPPY",
       "B:" + bracketed(ids::IDS_NO_MEDIUM), false, 0},
  };
}

class DriveTable : public testing::TestWithParam<DriveCase> {};

TEST_P(DriveTable, ClassifiesDescribesAndMeasures) {
  const DriveCase& c = GetParam();
  test::TestPlatform t;
  t.drive(c.config);
  PlatformDeviceQueries devices(t.platform());
  devices.declare(c.config.letter, c.traits);
  RunRecord run;
  DriveServices drives(t.platform(), run, devices);

  DriveListItem item;
  ASSERT_TRUE(drives.DescribeDrive(c.config.letter, item));
  EXPECT_EQ(item.kind, c.kind);
  EXPECT_EQ(drives.ClassifyDrive(c.config.letter), c.kind);
  EXPECT_EQ(item.statClass, c.statClass);
  EXPECT_EQ(item.iconName, c.icon);
  EXPECT_EQ(item.text, c.text);
  EXPECT_EQ(item.textLength, c.text.size());
  EXPECT_EQ(item.letter, c.config.letter);
  EXPECT_EQ(item.readable, c.readable ? 1u : 0u);
  EXPECT_DOUBLE_EQ(item.total, c.total);
  EXPECT_DOUBLE_EQ(item.used + item.free, item.total);
  EXPECT_DOUBLE_EQ(item.sectorSize, c.readable ? 500.0 : 0.0);
}

INSTANTIATE_TEST_SUITE_P(Configurations, DriveTable, testing::ValuesIn(driveCases()),
                         [](const testing::TestParamInfo<DriveCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

TEST(DriveClassification, LetterWithoutDriveIsUnknownAndHasNoMedium) {
  test::TestPlatform t;
  t.fixed('C');
  RunRecord run;
  DriveServices drives(t.platform(), run);
  EXPECT_EQ(drives.ClassifyDrive('Q'), DK_UNKNOWN);
  EXPECT_STREQ(IconNameOf(drives.ClassifyDrive('Q')), "IDR_DRIVES_UNKNOWN");
  std::string text = "old";
  EXPECT_EQ(drives.DescribeVolume("Q:", text, true), 0x0B0u);
  EXPECT_EQ(text, bracketed(ids::IDS_NO_MEDIUM));
  DriveListItem item;
  EXPECT_FALSE(drives.DescribeDrive('Q', item));
}

TEST(DriveClassification, KindIsKeptForTheRunUntilSetCachedKind) {
  test::TestPlatform t;
  HostDrive a = floppyDrive('A', {});
  a.hasMedia = false;
  t.drive(a);
  RunRecord run;
  DriveServices drives(t.platform(), run);
  ASSERT_EQ(drives.ClassifyDrive('A'), 0x101u);
  // A large medium arriving later does not reclassify the letter by itself.
  ASSERT_TRUE(t.platform().insertMedium('A', 1));
  EXPECT_EQ(drives.ClassifyDrive('a'), 0x101u);
  drives.SetCachedKind('A', kKindOtherRemovable);
  EXPECT_EQ(drives.ClassifyDrive('A'), 0x140u);
}

TEST(DriveClassification, FloppyKindFollowsTheMediumInTheDrive) {
  test::TestPlatform t;
  t.drive(hostDrive('A', HostDriveKind::removable, 100 * kMiB)).floppy('B');
  t.drive(hostDrive('M', HostDriveKind::removable, 100 * kMiB));
  RunRecord run;
  DriveServices drives(t.platform(), run);
  EXPECT_EQ(drives.FloppyKind('A'), 2);
  EXPECT_EQ(drives.FloppyKind('B'), 1);
  EXPECT_EQ(drives.FloppyKind('M'), 0);  // not below C
  ASSERT_TRUE(t.platform().removeMedium('A'));
  EXPECT_EQ(drives.FloppyKind('A'), 1);
}

// ---- DescribeVolume ---------------------------------------------------------

TEST(DescribeVolume, BadLetterGivesCodeOneAndEmptyText) {
  test::TestPlatform t;
  t.fixed('C');
  RunRecord run;
  DriveServices drives(t.platform(), run);
  for (const std::string path : {"", "1:", "@:\\", "[:"}) {
    std::string text = "old";
    EXPECT_EQ(drives.DescribeVolume(path, text, true), VS_BAD_LETTER) << path;
    EXPECT_EQ(text, "") << path;
  }
}

TEST(DescribeVolume, RemovableDriveIsNotTouchedUnlessAsked) {
  test::TestPlatform t;
  t.floppy('A');
  RunRecord run;
  DriveServices drives(t.platform(), run);
  std::string text = "unchanged";
  EXPECT_EQ(drives.DescribeVolume("A:", text, false), VS_SKIPPED);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(drives.DescribeVolume("a:\\anything", text, true), 0x1C0u);
}

TEST(DescribeVolume, MediumWithoutVolumeInformation) {
  test::TestPlatform t;
  t.floppy('A').floppy('B');
  test::ShapedPlatform shaped(t.platform());
  shaped.shaped.noVolumeInfo = {'A', 'B'};
  // B: cannot be entered either, as an unformatted disk.
  t.platform().faults().add(
      test::failEvery(FaultOp::setCurrentDirectory, 'B', Status::accessDenied));
  test::ScriptedDevices devices(shaped);
  RunRecord run;
  DriveServices drives(shaped, run, devices);

  std::string text;
  EXPECT_EQ(drives.DescribeVolume("A:", text, true), 0x1A0u);
  EXPECT_EQ(text, bracketed(ids::IDS_NO_LABEL));
  // The device library reports a medium it cannot enter as none...
  EXPECT_EQ(drives.DescribeVolume("B:", text, true), 0x0B0u);
  EXPECT_EQ(text, bracketed(ids::IDS_NO_MEDIUM));
  // ...and one it says is there, but which cannot be entered, is unreadable.
  devices.mediaClaimed = {'B'};
  EXPECT_EQ(drives.DescribeVolume("B:", text, true), 0x2A0u);
  EXPECT_EQ(text, bracketed(ids::IDS_UNREADABLE));
}

// ---- Default drives ---------------------------------------------------------

TEST(DefaultDrives, FixedDiskWithMediaIsTheSourceRemovableAfterBTheDestination) {
  test::TestPlatform t;
  t.floppy('A').fixed('C').fixed('D');
  t.drive(hostDrive('E', HostDriveKind::cdrom, 650 * kMiB));
  t.drive(hostDrive('F', HostDriveKind::cdrom, 650 * kMiB));
  PlatformDeviceQueries devices(t.platform());
  devices.declare('F', {.recordable = true});
  RunRecord run;
  DriveServices drives(t.platform(), run, devices);
  EXPECT_EQ(drives.DefaultSourceDrive(), 'C');
  // E: is a plain CD-ROM drive; the recordable one qualifies.
  EXPECT_EQ(drives.DefaultDestinationDrive(), 'F');
}

TEST(DefaultDrives, WithoutMediaOrFixedDisksTheFirstClassifiedLetter) {
  test::TestPlatform t;
  HostDrive b = floppyDrive('B', {});
  b.hasMedia = false;
  t.drive(b);
  RunRecord run;
  DriveServices drives(t.platform(), run);
  // Letters without a drive classify too (as unknown), so A: comes first.
  EXPECT_EQ(drives.DefaultSourceDrive(), 'A');
  EXPECT_EQ(drives.DefaultDestinationDrive(), 'A');
}

TEST(DefaultDrives, DestinationPrefersFloppyWithMediaWhenNoRemovableAfterB) {
  test::TestPlatform t;
  HostDrive a = floppyDrive('A', {});
  a.hasMedia = false;
  t.drive(a).floppy('B').fixed('C');
  RunRecord run;
  DriveServices drives(t.platform(), run);
  EXPECT_EQ(drives.DefaultDestinationDrive(), 'B');
  EXPECT_EQ(drives.DefaultSourceDrive(), 'C');
}

}  // namespace
}  // namespace hw
