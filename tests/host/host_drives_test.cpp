// The drive table: letters over folders, drive kinds, numbered media in
// removable drives, labels and serials per medium.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/platform_files.h"
#include "tests/support/test_platform.h"

namespace hw {
namespace {

using test::listAll;
using test::readWholeFile;
using test::TestPlatform;
using test::writeHostFile;
using test::writeWholeFile;

TEST(HostDrives, WindowsPathsMapOntoTheDriveFolder) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeWholeFile(t.files(), "C:\\DOCS\\..\\A.TXT", "a"));
  ASSERT_EQ(t.files().createDirectory("c:\\DOCS"), Status::ok);
  ASSERT_TRUE(writeWholeFile(t.files(), "C:/DOCS/./B.TXT", "b"));
  std::string bytes;
  EXPECT_TRUE(test::readHostFile(t.root('C') + "/A.TXT", bytes));
  EXPECT_EQ(bytes, "a");
  EXPECT_TRUE(test::readHostFile(t.root('C') + "/DOCS/B.TXT", bytes));
  EXPECT_EQ(t.platform().hostPath("C:\\DOCS\\B.TXT"), t.root('C') + "/DOCS/B.TXT");
}

TEST(HostDrives, RelativePathsFollowTheCurrentDirectory) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_EQ(t.files().createDirectory("C:\\WORK"), Status::ok);
  ASSERT_EQ(t.files().setCurrentDirectory("C:\\WORK"), Status::ok);
  ASSERT_TRUE(writeWholeFile(t.files(), "REL.TXT", "r"));
  std::uint32_t attributes = 0;
  EXPECT_EQ(t.files().getAttributes("C:\\WORK\\REL.TXT", attributes), Status::ok);
  EXPECT_EQ(t.files().getAttributes("\\WORK\\REL.TXT", attributes), Status::ok);
}

TEST(HostDrives, TheRootAnswersInBothSpellingsAndListsWithoutDots) {
  TestPlatform t;
  t.fixed('C');
  ASSERT_TRUE(writeHostFile(t.root('C') + "/F.TXT", 3));
  ASSERT_EQ(t.files().createDirectory("C:\\DIR"), Status::ok);
  for (const char* root : {"C:\\", "C:"}) {
    SCOPED_TRACE(root);
    EXPECT_EQ(t.files().setCurrentDirectory(root), Status::ok);
    DiskFreeSpace space;
    EXPECT_EQ(t.platform().volumes().diskFreeSpace(root, space), Status::ok);
    EXPECT_EQ(t.platform().volumes().driveType(root), DriveType::fixed);
    std::uint32_t attributes = 0;
    EXPECT_EQ(t.files().getAttributes(root, attributes), Status::ok);
    EXPECT_EQ(attributes, kAttrDirectory);
  }
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(t.files(), "C:\\*.*", entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "DIR");
  EXPECT_EQ(entries[1].name, "F.TXT");
}

TEST(HostDrives, ListingsAreSortedByNameWithoutRegardToCase) {
  TestPlatform t;
  t.fixed('C');
  for (const char* name : {"b.txt", "A.TXT", "c.TXT", "B2"}) {
    ASSERT_TRUE(writeHostFile(t.root('C') + "/D/" + name, 1));
  }
  std::vector<FindData> entries;
  ASSERT_TRUE(listAll(t.files(), "C:\\D\\*", entries));
  std::vector<std::string> names;
  for (const FindData& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "A.TXT", "b.txt", "B2", "c.TXT"}));
}

TEST(HostDrives, WildcardsFollowTheWindowsRules) {
  TestPlatform t;
  t.fixed('C');
  for (const char* name : {"README", "READ.ME", "data.txt", "DATA.TXT.BAK", "x1.doc", "x22.doc"}) {
    ASSERT_TRUE(writeHostFile(t.root('C') + "/W/" + name, 1));
  }
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"*.txt", {"data.txt"}},
      {"README.*", {"README"}},
      {"*.", {"README"}},
      {"x?.doc", {"x1.doc"}},
      {"x??.doc", {"x1.doc", "x22.doc"}},
      {"*.T*", {"data.txt", "DATA.TXT.BAK"}},
      {"READ*", {"READ.ME", "README"}},
  };
  for (const auto& [pattern, expected] : cases) {
    SCOPED_TRACE(pattern);
    std::vector<FindData> entries;
    ASSERT_TRUE(listAll(t.files(), std::string("C:\\W\\") + pattern, entries));
    std::vector<std::string> names;
    for (const FindData& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, expected);
  }
}

TEST(HostDrives, UnknownLettersAnswerLikeWindows) {
  TestPlatform t;
  t.fixed('C');
  Volumes& v = t.platform().volumes();
  EXPECT_EQ(v.driveType("Q:\\"), DriveType::noRootDir);
  EXPECT_EQ(v.logicalDrives(), 1u << 2);
  DiskFreeSpace space;
  EXPECT_EQ(v.diskFreeSpace("Q:\\", space), Status::pathNotFound);
  Status status;
  EXPECT_FALSE(t.files().openRead("Q:\\FILE", status));
  EXPECT_EQ(status, Status::pathNotFound);
  EXPECT_EQ(t.files().setCurrentDirectory("Q:\\"), Status::pathNotFound);
}

TEST(HostDrives, KindsGiveTheirDriveTypesAndFileSystems) {
  TestPlatform t;
  const std::tuple<HostDriveKind, DriveType, const char*> cases[] = {
      {HostDriveKind::floppy, DriveType::removable, "FAT"},
      {HostDriveKind::removable, DriveType::removable, "FAT"},
      {HostDriveKind::fixed, DriveType::fixed, "FAT32"},
      {HostDriveKind::cdrom, DriveType::cdrom, "CDFS"},
      {HostDriveKind::network, DriveType::remote, "NTFS"},
      {HostDriveKind::ram, DriveType::ramdisk, "FAT"},
  };
  char letter = 'D';
  for (const auto& [kind, type, fileSystem] : cases) {
    HostDrive d;
    d.letter = letter;
    d.kind = kind;
    t.drive(d);
    const std::string root = std::string(1, letter) + ":\\";
    EXPECT_EQ(t.platform().volumes().driveType(root), type) << root;
    VolumeInfo info;
    ASSERT_EQ(t.platform().volumes().volumeInformation(root, info), Status::ok) << root;
    EXPECT_EQ(info.fileSystem, fileSystem) << root;
    ++letter;
  }
}

TEST(HostMedia, EachMediumIsItsOwnFolderWithItsOwnLabelAndSerial) {
  TestPlatform t;
  HostDrive a = floppyDrive('A', {});
  a.label = "FIRST";
  t.drive(a);
  EXPECT_EQ(t.platform().currentMedium('A'), 1);
  ASSERT_TRUE(writeWholeFile(t.files(), "A:\\ONE.TXT", "1"));

  ASSERT_TRUE(t.platform().insertMedium('A', 2));
  EXPECT_EQ(t.platform().currentMedium('A'), 2);
  std::vector<FindData> entries;
  Status status;
  FindData entry;
  EXPECT_FALSE(t.files().findFirst("A:\\*.*", entry, status));
  EXPECT_EQ(status, Status::fileNotFound);
  ASSERT_EQ(t.platform().volumes().setVolumeLabel("A:\\", "SET_2"), Status::ok);
  VolumeInfo second;
  ASSERT_EQ(t.platform().volumes().volumeInformation("A:\\", second), Status::ok);
  EXPECT_EQ(second.label, "SET_2");

  ASSERT_TRUE(t.platform().insertMedium('A', 1));
  VolumeInfo first;
  ASSERT_EQ(t.platform().volumes().volumeInformation("A:\\", first), Status::ok);
  EXPECT_EQ(first.label, "FIRST");
  EXPECT_NE(first.serial, second.serial);
  ASSERT_TRUE(listAll(t.files(), "A:\\*.*", entries));
  ASSERT_EQ(entries.size(), 1u);  // the label files stay beside the media
  EXPECT_EQ(entries[0].name, "ONE.TXT");
  EXPECT_TRUE(std::filesystem::exists(t.platform().mediumFolder('A', 2) + ".label"));
}

TEST(HostMedia, WithoutAMediumEveryCallFailsNotReady) {
  TestPlatform t;
  t.floppy('A');
  ASSERT_TRUE(writeWholeFile(t.files(), "A:\\F.TXT", "f"));
  ASSERT_TRUE(t.platform().removeMedium('A'));
  EXPECT_EQ(t.platform().currentMedium('A'), 0);

  Volumes& v = t.platform().volumes();
  EXPECT_EQ(v.driveType("A:\\"), DriveType::removable);
  EXPECT_NE(v.logicalDrives() & 1u, 0u);
  DiskFreeSpace space;
  EXPECT_EQ(v.diskFreeSpace("A:\\", space), Status::notReady);
  VolumeInfo info;
  EXPECT_EQ(v.volumeInformation("A:\\", info), Status::notReady);
  EXPECT_EQ(v.setVolumeLabel("A:\\", "X"), Status::notReady);
  Status status;
  FindData entry;
  EXPECT_FALSE(t.files().findFirst("A:\\*.*", entry, status));
  EXPECT_EQ(status, Status::notReady);
  EXPECT_FALSE(t.files().openRead("A:\\F.TXT", status));
  EXPECT_EQ(status, Status::notReady);
  EXPECT_FALSE(t.files().create("A:\\G.TXT", status));
  EXPECT_EQ(status, Status::notReady);
  EXPECT_EQ(t.files().setCurrentDirectory("A:\\"), Status::notReady);
  EXPECT_EQ(t.files().createDirectory("A:\\D"), Status::notReady);
}

TEST(HostMedia, ADriveDeclaredEmptyStartsWithoutMedium) {
  TestPlatform t;
  HostDrive a = floppyDrive('A', {});
  a.hasMedia = false;
  t.drive(a);
  EXPECT_EQ(t.platform().currentMedium('A'), 0);
  ASSERT_TRUE(t.platform().insertMedium('A', 3));
  EXPECT_TRUE(std::filesystem::is_directory(t.platform().mediumFolder('A', 3)));
  EXPECT_FALSE(t.platform().insertMedium('A', 0));
  t.fixed('C');
  EXPECT_FALSE(t.platform().insertMedium('C', 1));
}

TEST(HostMedia, AFileOpenWhenTheMediumChangesIsNoLongerReady) {
  TestPlatform t;
  t.floppy('A');
  Status status;
  auto file = t.files().create("A:\\F.TXT", status);
  ASSERT_TRUE(file);
  ASSERT_TRUE(t.platform().insertMedium('A', 2));
  std::uint32_t written = 0;
  EXPECT_EQ(file->write("x", 1, written), Status::notReady);
  EXPECT_EQ(written, 0u);
}

TEST(HostVolumesLabels, FatLabelsAreElevenCharactersAtMost) {
  TestPlatform t;
  t.floppy('A');
  EXPECT_EQ(t.platform().volumes().setVolumeLabel("A:\\", "TWELVE_CHARS"), Status::invalidName);
  EXPECT_EQ(t.platform().volumes().setVolumeLabel("A:\\", "ELEVENCHARS"), Status::ok);
  VolumeInfo info;
  ASSERT_EQ(t.platform().volumes().volumeInformation("A:\\", info), Status::ok);
  EXPECT_EQ(info.label, "ELEVENCHARS");
}

TEST(HostDrives, WriteProtectedDrivesRefuseEveryChange) {
  TestPlatform t;
  HostDrive d;
  d.letter = 'E';
  d.writeProtected = true;
  t.drive(d);
  ASSERT_TRUE(writeHostFile(t.root('E') + "/F.TXT", 5));
  Status status;
  EXPECT_FALSE(t.files().create("E:\\G.TXT", status));
  EXPECT_EQ(status, Status::writeProtect);
  EXPECT_EQ(t.files().deleteFile("E:\\F.TXT"), Status::writeProtect);
  EXPECT_EQ(t.files().setAttributes("E:\\F.TXT", kAttrNormal), Status::writeProtect);
  EXPECT_EQ(t.files().createDirectory("E:\\D"), Status::writeProtect);
  std::string bytes;
  EXPECT_TRUE(readWholeFile(t.files(), "E:\\F.TXT", bytes));

  HostDrive cd;
  cd.letter = 'R';
  cd.kind = HostDriveKind::cdrom;
  t.drive(cd);
  EXPECT_FALSE(t.files().create("R:\\G.TXT", status));
  EXPECT_EQ(status, Status::writeProtect);
  EXPECT_EQ(t.platform().volumes().setVolumeLabel("R:\\", "CD"), Status::writeProtect);
}

TEST(HostDrives, SettingsOfThePlatformAreKept) {
  HostPlatform p;
  EXPECT_EQ(p.files().windowsDirectory(), "C:\\WINDOWS");
  p.setWindowsDirectory("D:\\WIN95");
  EXPECT_EQ(p.files().windowsDirectory(), "D:\\WIN95");
  p.setProgramDirectory("C:\\TOOLS");
  EXPECT_EQ(p.programDirectory(), "C:\\TOOLS");
  EXPECT_EQ(p.volumes().version() & 0xFFFF, 0x0004u);
  p.setVersion(0x0A03);
  EXPECT_EQ(p.volumes().version(), 0x0A03u);
}

TEST(HostDrives, PathsLongerThanMaxPathAreRefused) {
  TestPlatform t;
  t.fixed('C');
  const std::string longest = "C:\\" + std::string(256, 'n');  // 259 characters
  const std::string tooLong = longest + "n";
  Status status;
  EXPECT_TRUE(t.files().create(longest.substr(0, 3 + 250), status));
  EXPECT_FALSE(t.files().create(tooLong, status));
  EXPECT_EQ(status, Status::filenameTooLong);
}

}  // namespace
}  // namespace hw
