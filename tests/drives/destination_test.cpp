// The questions about the destination disk, labels, statistics classes,
// the system version and the disk-change timeout.
#include <gtest/gtest.h>

#include "drives/drive_services.h"
#include "engine/run_record.h"
#include "tests/drives/drive_fakes.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct Fixture {
  test::TestPlatform t;
  RunRecord run;
  DriveServices drives{t.platform(), run};
};

TEST(Destination, NearlyFullBelowOnePercentOfClustersFree) {
  // A 1.44 MB floppy has 2847 clusters: nearly full below 28 free ones.
  Fixture f;
  f.t.floppy('A');
  EXPECT_FALSE(f.drives.IsNearlyFull('A'));
  ASSERT_TRUE(test::writeHostFile(f.t.root('A') + "/BIG.DAT", (2847 - 28) * 512));
  f.t.platform().forgetUsage('A');
  EXPECT_FALSE(f.drives.IsNearlyFull('A'));
  ASSERT_TRUE(test::writeHostFile(f.t.root('A') + "/ONE.DAT", 512));
  f.t.platform().forgetUsage('A');
  EXPECT_TRUE(f.drives.IsNearlyFull('A'));
  EXPECT_FALSE(f.drives.IsNearlyFull('Q'));  // unknown: not full
}

TEST(Destination, UsableWhenBlankOrListable) {
  Fixture f;
  f.t.floppy('A');
  f.run.destLetter = 'A';
  EXPECT_TRUE(f.drives.IsDestinationUsable());
  ASSERT_TRUE(test::writeHostFile(f.t.root('A') + "/FILE.TXT", 10));
  f.t.platform().forgetUsage('A');
  EXPECT_TRUE(f.drives.IsDestinationUsable());
  // Space in use but nothing to be seen in the root.
  f.t.platform().faults().add(test::failEvery(FaultOp::findFirst, 'A', Status::accessDenied));
  EXPECT_FALSE(f.drives.IsDestinationUsable());
}

TEST(Destination, RoomWhenAlsoSource) {
  Fixture f;
  f.t.fixed('C', 100 * kMiB).fixed('D', 100 * kMiB);
  f.run.destLetter = 'C';
  DriveListItem d;
  d.letter = 'D';
  f.run.sourceList = {d};
  f.run.totalBytes = 1e12;
  EXPECT_TRUE(f.drives.HasRoomWhenAlsoSource());  // not a source
  d.letter = 'C';
  f.run.sourceList.push_back(d);
  double total = 0, free = 0;
  ASSERT_TRUE(f.drives.DiskBytes('C', total, free));
  EXPECT_DOUBLE_EQ(total, 100000000.0);
  f.run.totalBytes = free - 10;  // bytes against scaled bytes, as they stand
  EXPECT_FALSE(f.drives.HasRoomWhenAlsoSource());
  f.run.totalBytes = free - 10.5;
  EXPECT_TRUE(f.drives.HasRoomWhenAlsoSource());
}

TEST(Labels, NextDiskLabelFitsElevenCharacters) {
  struct Case {
    std::string setName;
    int diskIndex;
    const char* label;  // nullptr: refused
  };
  const Case cases[] = {
      {"BACKUP01", 0, "BACKUP01_1"},    {"BACKUP01", 9, "BACKUP01_10"},
      {"BACKUP0123", 9, "BACKUP012310"}, {"SETNAME12", 9, "SETNAME1210"},
      {"S", 999999998, "S_999999999"},   {"S", -2000000000, nullptr},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.run.setName = c.setName;
    f.run.diskIndex = c.diskIndex;
    std::string label = "old";
    EXPECT_EQ(f.drives.MakeNextDiskLabel(label), c.label != nullptr) << c.setName;
    if (c.label) {
      EXPECT_EQ(label, c.label) << c.setName << " " << c.diskIndex;
    }
  }
}

TEST(Labels, SetIsNamedBeforeItsFirstLabel) {
  Fixture f;
  f.drives.setSetNamer([&] { f.run.setName = "HW000101"; });
  std::string label;
  ASSERT_TRUE(f.drives.MakeNextDiskLabel(label));
  EXPECT_EQ(label, "HW000101_1");
}

TEST(Labels, SetLabelIsTheNameFollowedByTheDiskNumber) {
  Fixture f;
  f.run.setName = "HW000101";
  f.run.diskIndex = 12;
  EXPECT_TRUE(f.drives.IsSetLabel("HW00010112"));
  EXPECT_FALSE(f.drives.IsSetLabel("HW000101_12"));
  EXPECT_FALSE(f.drives.IsSetLabel("hw00010112"));
  EXPECT_FALSE(f.drives.IsSetLabel("2"));
  // The display form of a label written by the engine never matches.
  EXPECT_FALSE(f.drives.IsSetLabel("  [HW000101_12]"));
}

TEST(Labels, WrittenOnFloppyDestinationsOnly) {
  Fixture f;
  f.t.floppy('A').drive(test::hostDrive('M', HostDriveKind::removable, 100 * kMiB));
  f.run.destLetter = 'M';
  f.run.destFlags = f.drives.ClassifyDrive('M');
  EXPECT_FALSE(f.drives.SetDestinationLabel("SET_1"));
  f.run.destLetter = 'A';
  f.run.destFlags = f.drives.ClassifyDrive('A');
  EXPECT_TRUE(f.drives.SetDestinationLabel("SET_1"));
  VolumeInfo info;
  ASSERT_EQ(f.t.platform().volumes().volumeInformation("A:\\", info), Status::ok);
  EXPECT_EQ(info.label, "SET_1");
  std::string text;
  EXPECT_EQ(f.drives.DescribeVolume("A:", text, true), 0x1C0u);
  EXPECT_EQ(text, "  [SET_1]");
}

TEST(StatClass, CartridgesByCapacityOthersByFirstKindBit) {
  struct Case {
    double capacity;
    std::uint32_t kind;
    std::uint32_t statClass;
  };
  const Case cases[] = {
      {100000000, kKindOtherRemovable, 1002}, {90000000, kKindOtherRemovable, 1001},
      {90000001, kKindOtherRemovable, 1002},  {20000000, kKindOtherRemovable, 64},
      {2000000001, kKindOtherRemovable, 1010}, {1400000, kKindFloppy, 1},
      {5e9, DK_FIXED, 2},                      {0, kKindCdrom, 4},
      {0, kKindRecordableCd, 8},               {0, DK_NETWORK, 16},
      {0, DK_RAM, 32},                         {0, DK_REMOVABLE, 256},
      {0, DK_UNKNOWN, 128},                    {0, 0, 128},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatClassOf(c.capacity, c.kind), c.statClass) << c.capacity << " " << c.kind;
  }
}

TEST(Version, CodesFromGetVersion) {
  struct Case {
    std::uint32_t version;
    int code;
  };
  const Case cases[] = {{0x0004, 400}, {0x5F03, 400}, {0x0A03, 310}, {0x0B03, 311},
                        {0x0003, 300}, {0x1E03, 200}, {0x0002, 200}, {0x000A, 400}};
  for (const Case& c : cases) {
    Fixture f;
    f.t.platform().setVersion(c.version);
    EXPECT_EQ(f.drives.WindowsVersionCode(), c.code) << std::hex << c.version;
  }
}

TEST(DiskChangeTimeout, FromTheRateOnRemovableNonFloppyDestinations) {
  struct Case {
    std::uint32_t kind;
    std::uint32_t rate;
    std::uint32_t ms;
  };
  const Case cases[] = {{kKindOtherRemovable, 0, 28000}, {kKindOtherRemovable, 2500, 303000},
                        {kKindOtherRemovable, 5, 3000},  {kKindOtherRemovable, 19, 6000},
                        {kKindFloppy, 100, 0},           {DK_FIXED, 100, 0}};
  for (const Case& c : cases) {
    Fixture f;
    f.run.destFlags = c.kind;
    f.run.rateTotal = c.rate;
    EXPECT_EQ(f.drives.DiskChangeTimeout(), c.ms) << c.kind << " " << c.rate;
  }
}

TEST(ScaledBytes, OneMebibyteIsAMillion) {
  EXPECT_DOUBLE_EQ(ScaledBytes(1048576.0), 1000000.0);
  EXPECT_DOUBLE_EQ(ScaledBytes(3145728.0), 3000000.0);
}

}  // namespace
}  // namespace hw
