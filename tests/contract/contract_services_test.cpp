// Volumes, clock conversions, profile files and the registry, as every
// platform must answer them.
#include <string>

#include "tests/contract/contract_env.h"

namespace hw::contract {
namespace {

class ContractServices : public ContractTest {};

TEST_F(ContractServices, ScratchDriveIsFixedAndAMissingLetterHasNoRoot) {
  Volumes& volumes = platform().volumes();
  EXPECT_EQ(volumes.driveType(env().scratchRoot()), DriveType::fixed);
  const std::uint32_t present = volumes.logicalDrives();
  EXPECT_NE(present & (1u << (env().scratchRoot()[0] - 'A')), 0u);
  for (char letter = 'Z'; letter > 'C'; --letter) {
    if (present & (1u << (letter - 'A'))) continue;
    EXPECT_EQ(volumes.driveType(std::string(1, letter) + ":\\"), DriveType::noRootDir) << letter;
    break;
  }
}

TEST_F(ContractServices, FreeSpaceFiguresAreSane) {
  DiskFreeSpace space;
  ASSERT_EQ(platform().volumes().diskFreeSpace(env().scratchRoot(), space), Status::ok);
  EXPECT_GE(space.bytesPerSector, 512u);
  EXPECT_LE(space.bytesPerSector, 4096u);
  EXPECT_GE(space.sectorsPerCluster, 1u);
  EXPECT_GT(space.totalClusters, 0u);
  EXPECT_LE(space.freeClusters, space.totalClusters);
}

TEST_F(ContractServices, ScratchVolumeDescribesItself) {
  VolumeInfo info;
  ASSERT_EQ(platform().volumes().volumeInformation(env().scratchRoot(), info), Status::ok);
  EXPECT_FALSE(info.fileSystem.empty());
  EXPECT_GE(info.maxComponentLength, 12u);
}

TEST_F(ContractServices, VersionNamesAMajorVersion) {
  EXPECT_GE(platform().volumes().version() & 0xFF, 4u);
}

struct TimeCase {
  std::uint64_t fileTime;
  SystemTime system;
};

TEST_F(ContractServices, FileTimesAndSystemTimesConvertExactly) {
  const TimeCase cases[] = {
      {0, {1601, 1, 1, 1, 0, 0, 0, 0}},                                 // a Monday
      {125911584000000000ULL, {2000, 1, 6, 1, 0, 0, 0, 0}},             // Saturday
      {125911584000000000ULL + 1234560000ULL, {2000, 1, 6, 1, 0, 2, 3, 456}},
      {125962560000000000ULL, {2000, 2, 2, 29, 0, 0, 0, 0}},            // a leap day, Tuesday
      {125166782949990000ULL, {1997, 8, 4, 21, 23, 4, 54, 999}},        // Thursday
  };
  Clock& clock = platform().clock();
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.fileTime);
    SystemTime st;
    ASSERT_TRUE(clock.fileTimeToSystemTime(FileTime::fromValue(c.fileTime), st));
    EXPECT_EQ(st, c.system);
    FileTime back;
    ASSERT_TRUE(clock.systemTimeToFileTime(c.system, back));
    EXPECT_EQ(back.value(), c.fileTime);
  }
}

TEST_F(ContractServices, ConversionsRefuseWhatWindowsRefuses) {
  Clock& clock = platform().clock();
  SystemTime st;
  EXPECT_FALSE(clock.fileTimeToSystemTime(FileTime::fromValue(0x8000000000000000ULL), st));
  FileTime t;
  EXPECT_FALSE(clock.systemTimeToFileTime({1999, 13, 0, 1, 0, 0, 0, 0}, t));
  if (env().checksDaysOfMonth()) {
    EXPECT_FALSE(clock.systemTimeToFileTime({1999, 2, 0, 29, 0, 0, 0, 0}, t));
  } else {
    knownDifference("SystemTimeToFileTime takes 29 February 1999 (Wine)");
  }
  EXPECT_FALSE(clock.systemTimeToFileTime({1999, 1, 0, 1, 24, 0, 0, 0}, t));
  EXPECT_FALSE(clock.systemTimeToFileTime({1600, 12, 0, 31, 0, 0, 0, 0}, t));
}

TEST_F(ContractServices, ProfileStringsWrittenReadBack) {
  Profile& profile = platform().profile();
  const std::string file = env().scratchDir() + "\\TEST.INI";
  ASSERT_TRUE(profile.writeString(file, "Options", "SaveLogDir", "C:\\LOGS"));
  ASSERT_TRUE(profile.writeString(file, "Options", "DLogPeriod", "30"));
  EXPECT_EQ(profile.getString(file, "Options", "SaveLogDir", "", 260), "C:\\LOGS");
  EXPECT_EQ(profile.getString(file, "options", "dlogperiod", "", 260), "30");
  EXPECT_EQ(profile.getString(file, "Options", "Missing", "dflt", 260), "dflt");
  ASSERT_TRUE(profile.writeString(file, "Options", "DLogPeriod", nullptr));
  EXPECT_EQ(profile.getString(file, "Options", "DLogPeriod", "gone", 260), "gone");
}

TEST_F(ContractServices, RegistryStringsRoundTripWithKeysInAnyCase) {
  Registry& registry = platform().registry();
  ASSERT_EQ(registry.setString(RegistryRoot::currentUser, "Software\\HoardwellContract\\Test",
                               "Name", "value one"),
            Status::ok);
  std::string value;
  ASSERT_EQ(registry.queryString(RegistryRoot::currentUser, "SOFTWARE\\hoardwellcontract\\TEST",
                                 "name", value),
            Status::ok);
  EXPECT_EQ(value, "value one");
  ASSERT_EQ(registry.setString(RegistryRoot::currentUser, "Software\\HoardwellContract\\Test", "",
                               "default"),
            Status::ok);
  ASSERT_EQ(registry.queryString(RegistryRoot::currentUser, "Software\\HoardwellContract\\Test",
                                 "", value),
            Status::ok);
  EXPECT_EQ(value, "default");
  EXPECT_EQ(registry.queryString(RegistryRoot::currentUser, "Software\\HoardwellContract\\None",
                                 "Name", value),
            Status::fileNotFound);
  EXPECT_EQ(registry.queryString(RegistryRoot::currentUser, "Software\\HoardwellContract\\Test",
                                 "Other", value),
            Status::fileNotFound);
}

}  // namespace
}  // namespace hw::contract
