// The settings tests over the real Win32 calls (under Wine): the file in a
// scratch folder, sharing modes held by a handle of the test, and the real
// registry, whose ".DOC" and ".KVX" keys are put back as they were.
#include <windows.h>

#include <optional>

#include "platform/win32/win32_platform.h"
#include "tests/app/settings_env.h"
#include "tests/win32/scratch_folder.h"

namespace hw::test {
namespace {

std::optional<std::string> defaultValueOf(const char* key) {
  char value[1024];
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::string(value);
}

void restoreKey(const char* key, const std::optional<std::string>& value) {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  if (value) RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value->c_str(), static_cast<DWORD>(value->size()));
}

class Win32SettingsEnv final : public SettingsEnv {
 public:
  Win32SettingsEnv() : savedDoc_(defaultValueOf(".DOC")), savedKvx_(defaultValueOf(".KVX")) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".DOC");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".KVX");
  }
  ~Win32SettingsEnv() override {
    release();
    restoreKey(".DOC", savedDoc_);
    restoreKey(".KVX", savedKvx_);
  }

  Platform& platform() override { return platform_; }
  std::string iniPath() override { return folder_ / "HOARDWL95.INI"; }
  bool fileExists() override { return GetFileAttributesA(iniPath().c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::string readFile() override {
    std::string bytes;
    HANDLE f = CreateFileA(iniPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(f, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
    CloseHandle(f);
    return bytes;
  }
  void writeFile(std::string_view bytes) override {
    HANDLE f = CreateFileA(iniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  void lockFile() override { hold(GENERIC_READ | GENERIC_WRITE, 0); }
  void holdForReading() override { hold(GENERIC_READ, FILE_SHARE_READ); }
  void release() override {
    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
    held_ = INVALID_HANDLE_VALUE;
  }
  bool documentTypeOf(const std::string& extension, std::string& type) override {
    std::optional<std::string> value = defaultValueOf(extension.c_str());
    if (value) type = *value;
    return value.has_value();
  }
  void setDocumentType(const std::string& extension, const std::string& type) override {
    RegSetValueA(HKEY_CLASSES_ROOT, extension.c_str(), REG_SZ, type.c_str(), static_cast<DWORD>(type.size()));
  }

 private:
  void hold(DWORD access, DWORD share) {
    release();
    held_ = CreateFileA(iniPath().c_str(), access, share, nullptr, OPEN_ALWAYS, 0, nullptr);
  }

  std::optional<std::string> savedDoc_;
  std::optional<std::string> savedKvx_;
  ScratchFolder folder_;
  Win32Platform platform_;
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<SettingsEnv> makeSettingsEnv() { return std::make_unique<Win32SettingsEnv>(); }

}  // namespace hw::test
