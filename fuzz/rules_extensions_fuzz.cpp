// The extension list file HOARDWL.INI on any bytes, read for both lists as a
// run that asked for it would: every extension is one upper-case line part
// without comment, line end or trailing blank, and the file never costs a
// message once it can be read.
#include <cstdint>
#include <string>

#include "fuzz/rules_fuzz_bed.h"

namespace {

void checkList(const std::vector<std::string>& list, std::size_t lines) {
  using hw::fuzz::check;
  check(list.size() <= lines);
  for (const std::string& e : list) {
    check(e.find_first_of(";\r\n", 0) == std::string::npos);
    check(e.find('\0') == std::string::npos);
    check(e.empty() || (e.back() != ' ' && e.back() != '\t'));
    for (char c : e) check(c < 'a' || c > 'z');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using hw::fuzz::check;
  static hw::fuzz::RulesFuzzBed bed;
  static const bool once = [] {
    bed.settings->SetUseINIDataExts(1);
    bed.settings->SetUseINIApplExts(1);
    return true;
  }();
  (void)once;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  bed.writeFile("WINDOWS/HOARDWL.INI", text);
  bed.newRun(hw::MODE_DATA | hw::MODE_APPS);
  check(bed.rules->ApplyRules());
  check(bed.host.messages == 0);
  const std::size_t lines = hw::SplitTextLines(text.substr(0, hw::kMaxRulesText)).size();
  checkList(bed.rules->dataExtensions(), lines);
  checkList(bed.rules->appExtensions(), lines);
  check(bed.rules->dataListIncludes() == 1 && bed.rules->appExclusionsActive() == 1);
  return 0;
}
