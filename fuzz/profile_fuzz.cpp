// The profile reader and writer on any file: no crash, no read longer than
// its buffer, and a written key reads back and leaves every other key as it
// read before.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_file.h"
#include "platform/host/host_profile.h"

namespace {

constexpr const char* kIniPath = "C:\\HOARDWL95.INI";

void check(bool condition) {
  if (!condition) std::abort();
}

// Section and key names taken from the file itself, so the lookups hit.
std::string nameAt(std::string_view bytes, std::size_t at) {
  std::string name;
  for (std::size_t i = at; i < bytes.size() && name.size() < 12; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n' || c == '\0' || c == '=' || c == '[' || c == ']') break;
    name.push_back(c);
  }
  return name;
}

bool hasNamelessSections(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return true;
  for (std::size_t open = bytes.find('['); open != std::string_view::npos; open = bytes.find('[', open + 1)) {
    std::size_t i = open + 1;
    while (i < bytes.size() && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r') || bytes[i] == '\x1a')) ++i;
    if (i < bytes.size() && bytes[i] == ']') return true;
  }
  return false;
}

bool isFuzzSection(const std::string& name) {
  std::string folded;
  for (char c : name) {
    if (c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a') continue;
    folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
  }
  return folded == "fuzz";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static hw::fuzz::ScratchFile file;
  if (size < 2) return 0;
  const std::uint32_t capacity = 1u + data[0] % 64;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  file.write(bytes);
  const std::string host = file.path();
  hw::HostProfile profile([host](const std::string&) { return host; });

  const std::string section = nameAt(bytes, data[1] % (bytes.size() + 1));
  const std::string key = nameAt(bytes, (data[1] * 7u) % (bytes.size() + 1));
  check(profile.getString(kIniPath, nullptr, nullptr, "d", capacity).size() < capacity);
  check(profile.getString(kIniPath, section.c_str(), nullptr, "d", capacity).size() < capacity);
  check(profile.getString(kIniPath, section.c_str(), key.c_str(), "d", capacity).size() < capacity);

  // A write of a fresh key changes that key only. Not so in a file with a
  // nameless section ("[]", or a name that starts with a zero byte): the
  // rewrite leaves out its header, so its keys join the section before, and
  // a line whose name starts with a zero byte becomes a blank line. Windows'
  // own rewrite does the same (see tests/app/profile_rewrite_test.cpp).
  const std::string before = profile.getString(kIniPath, section.c_str(), key.c_str(), "<none>", 4096);
  check(profile.writeString(kIniPath, "Fuzz", "Written", "value 1"));
  check(profile.getString(kIniPath, "Fuzz", "Written", "", 64) == "value 1");
  if (!isFuzzSection(section) && !hasNamelessSections(bytes)) {
    check(profile.getString(kIniPath, section.c_str(), key.c_str(), "<none>", 4096) == before);
  }
  // Rewrites settle: after the first, a rewrite gives the same bytes again.
  check(profile.writeString(kIniPath, "Fuzz", "Written", "value 2"));
  check(profile.writeString(kIniPath, "Fuzz", "Written", "value 1"));
  const std::string settled = file.read();
  check(profile.writeString(kIniPath, "Fuzz", "Written", "value 2"));
  check(profile.writeString(kIniPath, "Fuzz", "Written", "value 1"));
  check(file.read() == settled);
  profile.writeString(kIniPath, section.c_str(), nullptr, nullptr);
  profile.writeString(kIniPath, section.c_str(), key.c_str(), nullptr);
  return 0;
}
