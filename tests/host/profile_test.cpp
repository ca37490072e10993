#include "platform/host/host_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tests/host/profile_cases.h"

namespace hw {
namespace {

namespace fs = std::filesystem;
using profile_cases::ReadCase;
using profile_cases::WriteCase;

constexpr const char* kProgramPath = "C:\\HOARDWELL\\HOARDWL95.INI";

// A folder of its own per test; the profile maps the program's path of the
// settings file onto a file in it.
class ProfileFixture : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    folder_ = fs::path(testing::TempDir()) / ("hw_profile_" + name);
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = folder_ / "HOARDWL95.INI";
  }
  void TearDown() override { fs::remove_all(folder_); }

  HostProfile makeProfile() {
    const std::string host = file_.string();
    return HostProfile([host](const std::string& path) { return path == kProgramPath ? host : std::string(); });
  }

  void writeFile(std::string_view bytes) {
    std::ofstream out(file_, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::string readFile() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path folder_;
  fs::path file_;
};


class ProfileReadTest : public ProfileFixture, public testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileReadTest, MatchesWindows) {
  const ReadCase& c = GetParam();
  if (c.fileExists) writeFile(c.file);
  HostProfile profile = makeProfile();
  const std::string got = profile.getString(kProgramPath, c.section, c.key, c.defaultValue, c.capacity);
  EXPECT_EQ(profile_cases::visible(got), profile_cases::visible(c.expected));
  EXPECT_LT(got.size(), c.capacity);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileReadTest, testing::ValuesIn(profile_cases::kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

class ProfileWriteTest : public ProfileFixture, public testing::WithParamInterface<WriteCase> {};

TEST_P(ProfileWriteTest, LeavesExactFile) {
  const WriteCase& c = GetParam();
  if (c.fileExists) writeFile(c.before);
  HostProfile profile = makeProfile();
  EXPECT_EQ(profile.writeString(kProgramPath, c.section, c.key, c.value), c.result);
  ASSERT_EQ(fs::exists(file_), c.fileExistsAfter);
  if (c.fileExistsAfter) {
    EXPECT_EQ(profile_cases::visible(readFile()), profile_cases::visible(c.after));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWriteTest, testing::ValuesIn(profile_cases::kWriteCases),
                         [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

using ProfileTest = ProfileFixture;

TEST_F(ProfileTest, WrittenValuesReadBack) {
  HostProfile profile = makeProfile();
  ASSERT_TRUE(profile.writeString(kProgramPath, "Options", "SaveLogDir", "C:\\LOGS"));
  ASSERT_TRUE(profile.writeString(kProgramPath, "Colors", "Back", "12632256"));
  ASSERT_TRUE(profile.writeString(kProgramPath, "Options", "DLogPeriod", "30"));
  EXPECT_EQ(profile.getString(kProgramPath, "options", "dlogperiod", "", 64), "30");
  EXPECT_EQ(profile.getString(kProgramPath, "Colors", "Back", "", 64), "12632256");
  EXPECT_EQ(readFile(), "[Options]\r\nSaveLogDir=C:\\LOGS\r\nDLogPeriod=30\r\n[Colors]\r\nBack=12632256\r\n");
}

TEST_F(ProfileTest, UnreachableFileGivesDefaultAndWritesFail) {
  HostProfile profile([](const std::string&) { return std::string(); });
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "\"d\"  ", 64), "\"d\"");
  EXPECT_EQ(profile.getString(kProgramPath, nullptr, nullptr, "d", 64), "");
  EXPECT_FALSE(profile.writeString(kProgramPath, "A", "k", "v"));
  EXPECT_FALSE(profile.writeString(kProgramPath, "A", nullptr, nullptr));
}

TEST_F(ProfileTest, FolderInPlaceOfFile) {
  fs::create_directory(file_);
  HostProfile profile = makeProfile();
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "d", 64), "d");
  EXPECT_FALSE(profile.writeString(kProgramPath, "A", "k", "v"));
  EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(ProfileTest, MissingFolderFailsWrite) {
  const std::string host = (folder_ / "missing" / "HOARDWL95.INI").string();
  HostProfile profile([host](const std::string&) { return host; });
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "d", 64), "d");
  EXPECT_FALSE(profile.writeString(kProgramPath, "A", "k", "v"));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(ProfileTest, HugeLinesAndCapacities) {
  const std::string longValue(300000, 'x');
  writeFile("[A]\r\nk=" + longValue + "\r\n" + std::string(100000, '[') + "\r\n=\r\n=\r\n");
  HostProfile profile = makeProfile();
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "", 0xFFFFFFFFu), longValue);
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "", 256), std::string(255, 'x'));
  // The first "=" line is a key without a name; the one right after it is dropped.
  EXPECT_EQ(profile.getString(kProgramPath, "A", nullptr, "", 0xFFFFFFFFu), std::string("k\0\0", 3));
  EXPECT_EQ(profile.getString(kProgramPath, nullptr, nullptr, "", 0xFFFFFFFFu), std::string("A\0", 2));
  EXPECT_EQ(profile.getString(kProgramPath, "A", "k", "", 0), "");
}

TEST_F(ProfileTest, BinaryFileDoesNotBreakReadOrWrite) {
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 131 + 7) & 0xff));
  writeFile(noise);
  HostProfile profile = makeProfile();
  profile.getString(kProgramPath, nullptr, nullptr, "", 1024);
  for (const char* section : {"", "\x80", "A"}) profile.getString(kProgramPath, section, nullptr, "", 1024);
  ASSERT_TRUE(profile.writeString(kProgramPath, "Options", "k", "v"));
  EXPECT_EQ(profile.getString(kProgramPath, "Options", "k", "", 64), "v");
}

}  // namespace
}  // namespace hw
