// The settings store on any settings file, and the number parses and the
// text fitting on any text: no crash, values within their read buffer, a
// setting written reads back, and a shortened text stays within its text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/fit_text.h"
#include "app/settings_parse.h"
#include "app/settings_store.h"
#include "fuzz/fuzz_file.h"
#include "platform/host/host_platform.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void fitText(std::string_view text, std::uint8_t a, std::uint8_t b, int pathFlag) {
  std::string out;
  const long textWidth = static_cast<long>(text.size()) * (1 + a % 9);
  const long controlWidth = static_cast<long>(b) * 3 - 20;
  const int fits = hw::FitText(text, textWidth, controlWidth, pathFlag, out);
  if (fits == 1) {
    check(out == text);
    return;
  }
  const std::size_t dots = out.find(" ... ");
  check(dots != std::string::npos);
  check(text.substr(0, dots) == out.substr(0, dots));
  const std::string_view tail = std::string_view(out).substr(dots + 5);
  check(tail.size() <= text.size() && text.substr(text.size() - tail.size()) == tail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static hw::fuzz::ScratchFile file;
  static hw::HostPlatform* platform = [] {
    auto* p = new hw::HostPlatform;
    hw::HostDrive drive;
    drive.letter = 'C';
    drive.folder = file.folder();
    p->addDrive(drive);
    return p;
  }();
  if (size < 3) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);
  hw::ParseInteger(text);
  hw::ParseRealTruncated(text);
  fitText(text.substr(0, 300), data[0], data[1], data[2] & 1);

  file.write(text);
  hw::SettingsStore store(*platform, "C:\\HOARDWL95.INI");
  std::string folder = "C:\\HOARDWL";
  store.GetSaveLogDir(folder);
  check(folder.size() < hw::SettingsStore::kValueCapacity);
  check(store.GetSourceDrive().size() < hw::SettingsStore::kValueCapacity);
  check(store.GetPrefFilter(data[0]).size() <= data[0]);
  check(store.GetDLogPeriod() <= 3);
  store.GetCustColor(data[1] % 20);
  store.GetDriveSize(static_cast<char>('A' + data[2] % 26));
  store.LoadBackColor();
  store.LoadTextColor();
  check(store.GetLang().size() <= 4);
  const unsigned count = data[0] * 300u;
  check(store.SetDLogNum(count));
  check(store.GetDLogNum() == std::min<unsigned>(static_cast<std::uint16_t>(count), 500));
  check(store.SetDestinDrive(std::string(text.substr(0, 40))));
  const std::string destination = store.GetDestinDrive();
  check(destination.size() <= 40);
  // A whole first run rewrites the file some 150 times: only now and then.
  if (data[2] % 16 == 2) {
    store.setScreenSize(data[0], data[1]);
    check(store.WriteDefaults());
    check(store.GetMainPlacement(3) == data[0]);
  }
  return 0;
}
