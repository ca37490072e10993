// Profile files and the registry through the Win32 calls.
#include <string>
#include <vector>

#include "platform/win32/win32_parts.h"

namespace hw::win32 {
namespace {

class Win32Profile final : public Profile {
 public:
  std::string getString(const std::string& file, const char* section, const char* key,
                        const char* defaultValue, std::uint32_t capacity) override {
    if (capacity == 0) return {};
    std::vector<char> buffer(capacity);
    DWORD n = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), capacity,
                                       file.c_str());
    return std::string(buffer.data(), n);
  }

  bool writeString(const std::string& file, const char* section, const char* key,
                   const char* value) override {
    return WritePrivateProfileStringA(section, key, value, file.c_str()) != 0;
  }
};

HKEY rootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::classesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::currentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::localMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

// The registry calls return their error instead of setting GetLastError.
Status fromRegistry(LONG code) { return static_cast<Status>(code); }

class Win32Registry final : public Registry {
 public:
  Status queryString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                     std::string& value) override {
    HKEY key;
    LONG rc = RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS) return fromRegistry(rc);
    DWORD type = 0, size = 0;
    rc = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    std::vector<char> data(size + 1, '\0');
    if (rc == ERROR_SUCCESS) {
      rc = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return fromRegistry(rc);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return Status::notSupported;
    // The stored size counts the terminating zero, when the writer stored one.
    value.assign(data.data(), size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return Status::ok;
  }

  Status setString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                   const std::string& value) override {
    HKEY key;
    LONG rc = RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return fromRegistry(rc);
    rc = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return fromRegistry(rc);
  }
};

}  // namespace

std::unique_ptr<Profile> makeProfile() { return std::make_unique<Win32Profile>(); }
std::unique_ptr<Registry> makeRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace hw::win32
