// DOS attributes as they lie on disk, in Wine's places: hidden, system and
// archive in user.DOSATTRIB, read-only as a missing owner-write bit. Root
// does not stop writes, so the platform enforces read-only itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstring>

#include "tests/support/platform_files.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

using test::dosAttribOf;
using test::TestPlatform;
using test::writeHostFile;
using test::writeWholeFile;

mode_t modeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

TEST(HostAttributes, SetAttributesWritesWinesFormat) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\F.TXT", "f"));
  const std::string host = t.root('C') + "/F.TXT";
  EXPECT_EQ(dosAttribOf(host), "");  // a new file: archive, without the xattr

  const std::pair<std::uint32_t, const char*> cases[] = {
      {kAttrHidden | kAttrArchive, "0x22"},
      {kAttrSystem | kAttrHidden, "0x6"},
      {kAttrNormal, "0x0"},
      {kAttrArchive | kAttrReadOnly, "0x20"},
  };
  for (const auto& [attributes, stored] : cases) {
    SCOPED_TRACE(stored);
    ASSERT_EQ(t.files().setAttributes("C:\\F.TXT", attributes), Status::ok);
    EXPECT_EQ(dosAttribOf(host), stored);
    EXPECT_EQ((modeOf(host) & S_IWUSR) == 0, (attributes & kAttrReadOnly) != 0);
  }
}

TEST(HostAttributes, AFixtureTreeReadsAsWineWouldLayItDown) {
  TestPlatform t;
  t.fixed('C');
  const std::string root = t.root('C');
  struct Fixture {
    const char* name;
    const char* xattr;  // null: none
    mode_t mode;
    std::uint32_t expected;
  };
  const Fixture cases[] = {
      {"PLAIN", nullptr, 0644, kAttrArchive},
      {"HIDDEN", "0x2", 0644, kAttrHidden},
      {"SYSRO", "0x24", 0444, kAttrSystem | kAttrArchive | kAttrReadOnly},
      {"CLEARED", "0x0", 0644, kAttrNormal},
      {"SAMBA", "0x22\0", 0644, kAttrHidden | kAttrArchive},  // with its zero
      {"GROUPW", nullptr, 0464, kAttrArchive | kAttrReadOnly},
      {"BROKEN", "junk", 0644, kAttrArchive},
  };
  for (const Fixture& f : cases) {
    const std::string path = root + "/" + f.name;
    ASSERT_TRUE(writeHostFile(path, 1));
    if (f.xattr) {
      const std::size_t size = std::string(f.name) == "SAMBA" ? 5 : std::strlen(f.xattr);
      ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", f.xattr, size, 0), 0);
    }
    ASSERT_EQ(chmod(path.c_str(), f.mode), 0);
  }
  for (const Fixture& f : cases) {
    SCOPED_TRACE(f.name);
    std::uint32_t attributes = 0;
    ASSERT_EQ(t.files().getAttributes(std::string("C:\\") + f.name, attributes), Status::ok);
    EXPECT_EQ(attributes, f.expected);
  }
}

TEST(HostAttributes, DirectoriesReportTheDirectoryBitAndTheirStoredBits) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_EQ(t.files().createDirectory("C:\\D"), Status::ok);
  std::uint32_t attributes = 0;
  ASSERT_EQ(t.files().getAttributes("C:\\D", attributes), Status::ok);
  EXPECT_EQ(attributes, kAttrDirectory);
  ASSERT_EQ(t.files().setAttributes("C:\\D", kAttrHidden | kAttrDirectory), Status::ok);
  ASSERT_EQ(t.files().getAttributes("C:\\D", attributes), Status::ok);
  EXPECT_EQ(attributes, kAttrDirectory | kAttrHidden);
}

TEST(HostAttributes, ReadOnlyHoldsEvenForRoot) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\RO.TXT", "keep"));
  ASSERT_EQ(t.files().setAttributes("C:\\RO.TXT", kAttrReadOnly), Status::ok);
  Status status;
  EXPECT_FALSE(t.files().create("C:\\RO.TXT", status));
  EXPECT_EQ(status, Status::accessDenied);
  EXPECT_EQ(t.files().deleteFile("C:\\RO.TXT"), Status::accessDenied);
  std::string bytes;
  ASSERT_TRUE(test::readHostFile(t.root('C') + "/RO.TXT", bytes));
  EXPECT_EQ(bytes, "keep");
}

TEST(HostAttributes, WritingAFileSetsItsArchiveBitAgain) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\LOG.TXT", "one"));
  ASSERT_EQ(t.files().setAttributes("C:\\LOG.TXT", kAttrHidden), Status::ok);
  Status status;
  auto file = t.files().openReadWrite("C:\\LOG.TXT", status);
  ASSERT_TRUE(file);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write("two", 3, written), Status::ok);
  file.reset();
  std::uint32_t attributes = 0;
  ASSERT_EQ(t.files().getAttributes("C:\\LOG.TXT", attributes), Status::ok);
  EXPECT_EQ(attributes, kAttrHidden | kAttrArchive);

  ASSERT_EQ(t.files().setAttributes("C:\\LOG.TXT", kAttrNormal), Status::ok);
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\LOG.TXT", "new"));  // created anew
  ASSERT_EQ(t.files().getAttributes("C:\\LOG.TXT", attributes), Status::ok);
  EXPECT_EQ(attributes, kAttrArchive);
}

TEST(HostAttributes, CreationTimeIsKeptApartFromTheWriteTime) {
  TestPlatform t;
  t.fixed('C');
  const FileTime creation = FileTime::fromValue(125911584000000000ULL);
  const FileTime write = FileTime::fromValue(125911584000000000ULL + 36'000'000'000ULL);
  Status status;
  auto file = t.files().create("C:\\T.TXT", status);
  ASSERT_TRUE(file);
  FileTime c, w;
  ASSERT_EQ(file->getTimes(&c, nullptr, &w), Status::ok);
  EXPECT_EQ(c, w);  // without a creation time of its own
  ASSERT_EQ(file->setTimes(&creation, nullptr, &write), Status::ok);
  file.reset();
  std::vector<FindData> entries;
  ASSERT_TRUE(test::listAll(t.files(), "C:\\T.TXT", entries));
  EXPECT_EQ(entries[0].creationTime, creation);
  EXPECT_EQ(entries[0].lastWriteTime, write);
}

TEST(HostAttributes, SetTimesNeedsAHandleOpenForWriting) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\T.TXT", "t"));
  Status status;
  auto file = t.files().openRead("C:\\T.TXT", status);
  ASSERT_TRUE(file);
  const FileTime when = FileTime::fromValue(125911584000000000ULL);
  EXPECT_EQ(file->setTimes(nullptr, nullptr, &when), Status::accessDenied);
  std::uint32_t written = 0;
  EXPECT_EQ(file->write("x", 1, written), Status::accessDenied);
}

}  // namespace
}  // namespace hw
