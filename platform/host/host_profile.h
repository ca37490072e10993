// Profile (INI) files read and written with the behaviour of
// GetPrivateProfileStringA and WritePrivateProfileStringA, so a settings file
// means the same to the host platform and to Windows.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace hw {

class HostProfile final : public Profile {
 public:
  // `toHostPath` turns the program's path ("C:\\HOARDWELL\\HOARDWL95.INI")
  // into a path of the host's file system; an empty answer means the file
  // cannot be reached (reads give the default, writes fail).
  explicit HostProfile(std::function<std::string(const std::string&)> toHostPath);

  std::string getString(const std::string& file, const char* section, const char* key,
                        const char* defaultValue, std::uint32_t capacity) override;
  bool writeString(const std::string& file, const char* section, const char* key,
                   const char* value) override;

 private:
  std::function<std::string(const std::string&)> toHostPath_;
};

}  // namespace hw
