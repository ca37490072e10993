// Profile files and the registry through the real calls: what comes back
// out of the caller's buffer, and registry values round the trip.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/win32/scratch_folder.h"

namespace hw {
namespace {

using namespace std::string_literals;

TEST(Win32ProfileTest, BuffersComeBackAsTheCallFillsThem) {
  Win32Platform platform;
  Profile& profile = platform.profile();
  test::ScratchFolder dir;
  const std::string ini = dir / "HOARDWL95.INI";
  ASSERT_TRUE(profile.writeString(ini, "Options", "SaveLogDir", "C:\\HOARDWL\\LOG"));
  ASSERT_TRUE(profile.writeString(ini, "Options", "DLogPeriod", "30"));
  ASSERT_TRUE(profile.writeString(ini, "Drive A", "Rate", "12"));

  EXPECT_EQ(profile.getString(ini, "Options", "SaveLogDir", "", 256), "C:\\HOARDWL\\LOG");
  // Cut to the buffer, the terminating zero included.
  EXPECT_EQ(profile.getString(ini, "Options", "SaveLogDir", "", 6), "C:\\HO");
  EXPECT_EQ(profile.getString(ini, "Options", "Missing", "dflt", 256), "dflt");
  EXPECT_EQ(profile.getString(ini, nullptr, nullptr, "", 256), "Options\0Drive A\0"s);
  EXPECT_EQ(profile.getString(ini, "Options", nullptr, "", 256), "SaveLogDir\0DLogPeriod\0"s);

  ASSERT_TRUE(profile.writeString(ini, "Options", "DLogPeriod", nullptr));
  EXPECT_EQ(profile.getString(ini, "Options", nullptr, "", 256), "SaveLogDir\0"s);
  ASSERT_TRUE(profile.writeString(ini, "Drive A", nullptr, nullptr));
  EXPECT_EQ(profile.getString(ini, nullptr, nullptr, "", 256), "Options\0"s);
}

class Win32RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    key_ = "Software\\Hoardwell Tests\\" + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

  Win32Platform platform_;
  std::string key_;
};

TEST_F(Win32RegistryTest, StringsAreStoredAndReadBack) {
  Registry& registry = platform_.registry();
  ASSERT_EQ(registry.setString(RegistryRoot::currentUser, key_ + "\\.KVX", "", "Hoardwell.Report"),
            Status::ok);
  ASSERT_EQ(registry.setString(RegistryRoot::currentUser, key_ + "\\.KVX", "Content Type",
                               "text/plain"),
            Status::ok);
  std::string value;
  ASSERT_EQ(registry.queryString(RegistryRoot::currentUser, key_ + "\\.KVX", "", value),
            Status::ok);
  EXPECT_EQ(value, "Hoardwell.Report");
  ASSERT_EQ(registry.queryString(RegistryRoot::currentUser, key_ + "\\.KVX", "Content Type", value),
            Status::ok);
  EXPECT_EQ(value, "text/plain");
}

TEST_F(Win32RegistryTest, MissingKeysAndValuesAreNotFound) {
  Registry& registry = platform_.registry();
  std::string value = "untouched";
  EXPECT_EQ(registry.queryString(RegistryRoot::currentUser, key_ + "\\Missing", "", value),
            Status::fileNotFound);
  ASSERT_EQ(registry.setString(RegistryRoot::currentUser, key_, "Present", "1"), Status::ok);
  EXPECT_EQ(registry.queryString(RegistryRoot::currentUser, key_, "Absent", value),
            Status::fileNotFound);
  EXPECT_EQ(value, "untouched");
}

TEST_F(Win32RegistryTest, ValuesThatAreNotStringsAreRefused) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  DWORD number = 7;
  RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  RegCloseKey(key);
  std::string value;
  EXPECT_EQ(platform_.registry().queryString(RegistryRoot::currentUser, key_, "Count", value),
            Status::notSupported);
}

}  // namespace
}  // namespace hw
