// Free space from the declared capacity: whole clusters per file, kept right
// across the platform's own changes, and "disk full" at the byte where a disk
// of that size would fill.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "tests/support/platform_files.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

using test::patternBytes;
using test::TestPlatform;
using test::writeHostFile;
using test::writeWholeFile;

std::uint32_t freeClusters(HostPlatform& p, const char* root) {
  DiskFreeSpace space;
  EXPECT_EQ(p.volumes().diskFreeSpace(root, space), Status::ok);
  return space.freeClusters;
}

TEST(HostCapacity, AnEmptyFloppyHasTheClustersOfA144MbDisk) {
  TestPlatform t;
  t.floppy('A');
  DiskFreeSpace space;
  ASSERT_EQ(t.platform().volumes().diskFreeSpace("A:\\", space), Status::ok);
  EXPECT_EQ(space.bytesPerSector, 512u);
  EXPECT_EQ(space.sectorsPerCluster, 1u);
  EXPECT_EQ(space.totalClusters, 2847u);
  EXPECT_EQ(space.freeClusters, 2847u);
}

TEST(HostCapacity, DeclaredGeometryGivesTheClusterCounts) {
  TestPlatform t;
  HostDrive d;
  d.letter = 'D';
  d.capacity = 100 * 4096 + 100;  // the part-cluster at the end is not usable
  d.sectorsPerCluster = 8;
  t.drive(d);
  ASSERT_TRUE(writeHostFile(t.root('D') + "/OLD/A.BIN", 4097));  // two clusters, found by the walk
  DiskFreeSpace space;
  ASSERT_EQ(t.platform().volumes().diskFreeSpace("D:\\", space), Status::ok);
  EXPECT_EQ(space.sectorsPerCluster * space.bytesPerSector, 4096u);
  EXPECT_EQ(space.totalClusters, 100u);
  EXPECT_EQ(space.freeClusters, 98u);
}

TEST(HostCapacity, FreeSpaceFollowsCreateWriteDeleteAndMatchesAFreshCount) {
  TestPlatform t;
  t.floppy('A');
  HostPlatform& p = t.platform();
  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\A.BIN", patternBytes(1)));     // 1 cluster
  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\B.BIN", patternBytes(1024)));  // 2
  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\C.BIN", ""));                  // 0
  ASSERT_EQ(p.files().createDirectory("A:\\DIR"), Status::ok);              // 0
  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\DIR\\D.BIN", patternBytes(1025)));  // 3
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u - 6);

  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\B.BIN", patternBytes(10)));  // 2 -> 1
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u - 5);
  ASSERT_EQ(p.files().deleteFile("A:\\DIR\\D.BIN"), Status::ok);
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u - 2);
  ASSERT_TRUE(p.profile().writeString("A:\\S.INI", "S", "K", "V"));  // 1
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u - 3);

  const std::uint32_t kept = freeClusters(p, "A:\\");
  p.forgetUsage('A');
  EXPECT_EQ(freeClusters(p, "A:\\"), kept);
}

TEST(HostCapacity, EachMediumKeepsItsOwnFigure) {
  TestPlatform t;
  t.floppy('A');
  HostPlatform& p = t.platform();
  ASSERT_TRUE(writeWholeFile(p.files(), "A:\\BIG.BIN", patternBytes(512 * 100)));
  ASSERT_TRUE(p.insertMedium('A', 2));
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u);
  ASSERT_TRUE(p.insertMedium('A', 1));
  EXPECT_EQ(freeClusters(p, "A:\\"), 2847u - 100);
}

TEST(HostCapacity, AFileOfExactlyTheFreeSpaceFitsAndOneByteMoreDoesNot) {
  TestPlatform t;
  t.floppy('A');
  const std::string all = patternBytes(2847 * 512);
  ASSERT_TRUE(writeWholeFile(t.files(), "A:\\FULL.BIN", all));
  EXPECT_EQ(freeClusters(t.platform(), "A:\\"), 0u);

  Status status;
  auto more = t.files().create("A:\\MORE.BIN", status);
  ASSERT_TRUE(more);  // an empty file takes no cluster
  std::uint32_t written = 99;
  EXPECT_EQ(more->write("x", 1, written), Status::diskFull);
  EXPECT_EQ(written, 0u);
}

TEST(HostCapacity, AWriteThatDoesNotFitWritesNothing) {
  TestPlatform t;
  t.floppy('A');
  ASSERT_TRUE(writeWholeFile(t.files(), "A:\\FILL.BIN", patternBytes(2840 * 512)));
  Status status;
  auto file = t.files().create("A:\\LAST.BIN", status);
  ASSERT_TRUE(file);
  const std::string block = patternBytes(4096, 3);  // 8 clusters; 7 are left
  std::uint32_t written = 0;
  ASSERT_EQ(file->write(block.data(), 3000, written), Status::ok);  // 6 clusters
  EXPECT_EQ(file->write(block.data(), 1000, written), Status::diskFull);
  EXPECT_EQ(written, 0u);
  ASSERT_EQ(file->write(block.data(), 584, written), Status::ok);  // fills cluster 7 exactly
  EXPECT_EQ(file->write(block.data(), 1, written), Status::diskFull);
  ASSERT_EQ(file->close(), Status::ok);
  std::string bytes;
  ASSERT_TRUE(test::readHostFile(t.root('A') + "/LAST.BIN", bytes));
  EXPECT_EQ(bytes.size(), 3584u);
  EXPECT_EQ(freeClusters(t.platform(), "A:\\"), 0u);
}

TEST(HostCapacity, ManyFilesKeepTheRunningFigureExact) {
  TestPlatform t;
  t.fixed('C', 64ull << 20);
  HostPlatform& p = t.platform();
  ASSERT_EQ(p.files().createDirectory("C:\\MANY"), Status::ok);
  const std::uint32_t before = freeClusters(p, "C:\\");
  std::uint64_t clusters = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::size_t size = static_cast<std::size_t>(i % 9000);
    ASSERT_TRUE(writeWholeFile(p.files(), "C:\\MANY\\F" + std::to_string(i), patternBytes(size, i)));
    clusters += (size + 4095) / 4096;
  }
  for (int i = 0; i < 3000; i += 3) {
    ASSERT_EQ(p.files().deleteFile("C:\\MANY\\F" + std::to_string(i)), Status::ok);
    clusters -= (static_cast<std::size_t>(i % 9000) + 4095) / 4096;
  }
  EXPECT_EQ(freeClusters(p, "C:\\"), before - clusters);
  p.forgetUsage('C');
  EXPECT_EQ(freeClusters(p, "C:\\"), before - clusters);
}

// A drive that takes its size from the host: the host file system's figures,
// in 4 KiB clusters, and a write far beyond any declared capacity succeeds.
TEST(HostCapacity, ADriveOnHostSpaceReportsTheHostFileSystem) {
  TestPlatform t;
  HostDrive d;
  d.letter = 'D';
  d.hostSpace = true;
  d.capacity = 4096;  // ignored
  t.drive(d);
  struct statvfs host {};
  ASSERT_EQ(statvfs(t.root('D').c_str(), &host), 0);
  DiskFreeSpace space;
  ASSERT_EQ(t.platform().volumes().diskFreeSpace("D:\\", space), Status::ok);
  EXPECT_EQ(std::uint64_t(space.sectorsPerCluster) * space.bytesPerSector, 4096u);
  EXPECT_EQ(space.totalClusters, std::uint64_t(host.f_blocks) * host.f_frsize / 4096);
  // Free space moves with everything else on the host: near, not equal.
  const double hostFree = double(host.f_bavail) * host.f_frsize / 4096;
  EXPECT_NEAR(double(space.freeClusters), hostFree, hostFree * 0.01 + 256);
  EXPECT_TRUE(writeWholeFile(t.files(), "D:\\BIG.BIN", patternBytes(65536)));
}

}  // namespace
}  // namespace hw
