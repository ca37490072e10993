// The settings tests over the host platform: drive C on a temporary folder.
// The host has no sharing modes, so an unusable file is played by a profile
// that refuses reads or writes, as the real functions do for such a file.
#include <filesystem>

#include "platform/host/host_platform.h"
#include "tests/app/settings_env.h"
#include "tests/support/test_platform.h"

namespace hw::test {
namespace {

class GuardedProfile final : public Profile {
 public:
  explicit GuardedProfile(Profile& inner) : inner_(inner) {}
  bool locked = false;
  bool readOnly = false;

  std::string getString(const std::string& file, const char* section, const char* key,
                        const char* defaultValue, std::uint32_t capacity) override {
    if (!locked) return inner_.getString(file, section, key, defaultValue, capacity);
    // What an unopenable file reads as: the default, trailing blanks trimmed.
    std::string text = defaultValue ? defaultValue : "";
    while (text.size() > 1 && text.back() == ' ') text.pop_back();
    return capacity == 0 ? std::string() : text.substr(0, capacity - 1);
  }
  bool writeString(const std::string& file, const char* section, const char* key,
                   const char* value) override {
    return !locked && !readOnly && inner_.writeString(file, section, key, value);
  }

 private:
  Profile& inner_;
};

class GuardedPlatform final : public Platform {
 public:
  explicit GuardedPlatform(HostPlatform& inner) : inner_(inner), profile_(inner.profile()) {}
  FileSystem& files() override { return inner_.files(); }
  Volumes& volumes() override { return inner_.volumes(); }
  Clock& clock() override { return inner_.clock(); }
  Profile& profile() override { return profile_; }
  Registry& registry() override { return inner_.registry(); }
  std::string programDirectory() override { return inner_.programDirectory(); }
  bool insertMedium(char letter, int number) override { return inner_.insertMedium(letter, number); }
  int currentMedium(char letter) override { return inner_.currentMedium(letter); }
  GuardedProfile& guard() { return profile_; }

 private:
  HostPlatform& inner_;
  GuardedProfile profile_;
};

class HostSettingsEnv final : public SettingsEnv {
 public:
  HostSettingsEnv() : platform_(host_.platform()) { host_.fixed('C'); }

  Platform& platform() override { return platform_; }
  std::string iniPath() override { return "C:\\HOARDWL95.INI"; }
  bool fileExists() override { return std::filesystem::exists(hostFile()); }
  std::string readFile() override {
    std::string bytes;
    readHostFile(hostFile(), bytes);
    return bytes;
  }
  void writeFile(std::string_view bytes) override { writeHostFile(hostFile(), std::string(bytes)); }
  void lockFile() override { platform_.guard().locked = true; }
  void holdForReading() override { platform_.guard().readOnly = true; }
  void release() override { platform_.guard().locked = platform_.guard().readOnly = false; }
  bool documentTypeOf(const std::string& extension, std::string& type) override {
    return succeeded(platform_.registry().queryString(RegistryRoot::classesRoot, extension, "", type));
  }
  void setDocumentType(const std::string& extension, const std::string& type) override {
    platform_.registry().setString(RegistryRoot::classesRoot, extension, "", type);
  }

 private:
  std::string hostFile() { return host_.root('C') + "/HOARDWL95.INI"; }

  TestPlatform host_;
  GuardedPlatform platform_;
};

}  // namespace

std::unique_ptr<SettingsEnv> makeSettingsEnv() { return std::make_unique<HostSettingsEnv>(); }

}  // namespace hw::test
