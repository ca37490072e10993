// The start-up files on any bytes: the first byte picks the file that gets
// the rest (CONFIG.SYS, AUTOEXEC.BAT, SYSTEM.INI, WIN.INI or the batch file
// AUTOEXEC.BAT calls) and the backup kinds. Whatever the text, the rules add
// only files that exist, by full paths inside their drive, each once, and
// every destination lies in the set's folder.
#include <cstdint>
#include <set>
#include <string>

#include "fuzz/rules_fuzz_bed.h"

namespace {

const char* const kTargets[] = {"CONFIG.SYS", "AUTOEXEC.BAT", "WINDOWS/SYSTEM.INI",
                                "WINDOWS/WIN.INI", "BIN/SETUP.BAT"};

void checkPath(const std::string& path, std::size_t longest) {
  using hw::fuzz::check;
  check(path.size() >= 4 && path.size() <= longest);
  check(path[0] >= 'A' && path[0] <= 'Z' && path[1] == ':' && path[2] == '\\');
  check(path.find_first_of("*?\"<>|/", 3) == std::string::npos);
  check(path.find(':', 2) == std::string::npos);
  const std::string tail = path.substr(2) + "\\";
  check(tail.find("\\.\\") == std::string::npos && tail.find("\\..\\") == std::string::npos);
  check(tail.find("\\\\") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using hw::fuzz::check;
  static hw::fuzz::RulesFuzzBed bed;
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int target = data[0] % 5;
  bed.writeFile("AUTOEXEC.BAT", target == 4 ? "CALL C:\\BIN\\SETUP.BAT\r\n" : "");
  bed.writeFile(kTargets[target], text);

  bed.newRun(hw::MODE_BOOT | ((data[0] >> 3) & (hw::MODE_ALL | hw::MODE_CHANGED)));
  check(bed.rules->ApplyRules());
  std::set<std::string> seen;
  double bytes = 0;
  for (const hw::ExtraFile& e : bed.run.extraFiles) {
    if (e.bootFile) continue;
    check(seen.insert(e.path).second);
    checkPath(e.path, hw::kMaxReferencePath);
    if (e.selected) {
      // Selected means found: the host file is there.
      check(!bed.platform.hostPath(e.path).empty());
      check(std::filesystem::is_regular_file(bed.platform.hostPath(e.path)));
      bytes += e.size;
    }
    const std::string dest = bed.rules->BuildCopyPath(e.path);
    check(dest.rfind("A:\\S\\", 0) == 0);
    checkPath(dest, hw::kMaxReferencePath + 4);
  }
  check(bed.rules->selectedBytes() >= bytes);
  for (const char* name : kTargets) bed.removeFile(name);
  return 0;
}
