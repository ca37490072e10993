// The host profile's case table run against the real GetPrivateProfileStringA
// and WritePrivateProfileStringA: the host platform reads and rewrites a
// settings file exactly as these do, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/host/profile_cases.h"
#include "tests/win32/scratch_folder.h"

namespace hw {
namespace {

using profile_cases::ReadCase;
using profile_cases::WriteCase;


void writeBytes(const std::string& path, std::string_view bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

std::string readBytes(const std::string& path) {
  std::string bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(f, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  CloseHandle(f);
  return bytes;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// One file per case: the functions keep recently used files in memory, so a
// fresh name keeps one case from seeing another's file.
class Win32ProfileCases : public testing::Test {
 protected:
  std::string fileFor(const char* name) { return folder_ / (std::string(name) + ".INI"); }
  test::ScratchFolder folder_;
  Win32Platform platform_;
};

TEST_F(Win32ProfileCases, ReadsMatchTheTable) {
  ASSERT_FALSE(folder_.path().empty());
  for (const ReadCase& c : profile_cases::kReadCases) {
    SCOPED_TRACE(c.name);
    const std::string file = fileFor(c.name);
    if (c.fileExists) writeBytes(file, c.file);
    const std::string got = platform_.profile().getString(file, c.section, c.key, c.defaultValue, c.capacity);
    EXPECT_EQ(profile_cases::visible(got), profile_cases::visible(c.expected));
  }
}

TEST_F(Win32ProfileCases, WritesLeaveTheTablesBytes) {
  ASSERT_FALSE(folder_.path().empty());
  for (const WriteCase& c : profile_cases::kWriteCases) {
    SCOPED_TRACE(c.name);
    const std::string file = fileFor(c.name);
    if (c.fileExists) writeBytes(file, c.before);
    EXPECT_EQ(platform_.profile().writeString(file, c.section, c.key, c.value), c.result);
    EXPECT_EQ(exists(file), c.fileExistsAfter);
    if (c.fileExistsAfter) {
      EXPECT_EQ(profile_cases::visible(readBytes(file)), profile_cases::visible(c.after));
    }
  }
}

}  // namespace
}  // namespace hw
