#include <algorithm>
#include <cctype>

#include "platform/host/host_parts.h"

namespace hw::host {
namespace {

std::string folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "Software\\Hoardwell\\" and "software\\hoardwell" name the same key.
std::string keyName(const std::string& subKey) {
  std::string key = folded(subKey);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  while (!key.empty() && key.front() == '\\') key.erase(key.begin());
  return key;
}

}  // namespace

Status HostRegistry::queryString(RegistryRoot root, const std::string& subKey,
                                 const std::string& valueName, std::string& value) {
  auto key = keys_.find({root, keyName(subKey)});
  if (key == keys_.end()) return Status::fileNotFound;
  auto found = key->second.find(folded(valueName));
  if (found == key->second.end()) return Status::fileNotFound;
  value = found->second;
  return Status::ok;
}

Status HostRegistry::setString(RegistryRoot root, const std::string& subKey,
                               const std::string& valueName, const std::string& value) {
  keys_[{root, keyName(subKey)}][folded(valueName)] = value;
  return Status::ok;
}

}  // namespace hw::host
