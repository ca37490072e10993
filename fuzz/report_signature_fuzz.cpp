// The recognition of the program's own reports (the old-report clean-up
// deletes only those) on any file: no crash, no read past its buffer, and a
// file is taken for a report only when it starts with one of the two
// signature lines followed by the company line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_file.h"
#include "platform/host/host_platform.h"
#include "report/old_reports.h"
#include "report/report_format.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool startsWith(const std::string& text, std::string_view head) {
  return text.compare(0, head.size(), head) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static hw::fuzz::ScratchFile scratch;
  static hw::HostPlatform platform;
  static const bool ready = [] {
    hw::HostDrive drive;
    drive.letter = 'L';
    drive.folder = scratch.folder();
    return platform.addDrive(drive) == hw::Status::ok;
  }();
  check(ready);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The scratch file is HOARDWL95.INI: give the report its own name.
  const std::string host = scratch.folder() + "/OLD.KVX";
  if (std::FILE* f = std::fopen(host.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  const bool own = hw::IsOwnReport(platform.files(), "L:\\OLD.KVX");
  // Only the first 255 bytes are read: a report signature must lie there.
  const std::string head = bytes.substr(0, 255);
  if (own) {
    check(startsWith(head, hw::kReportSignature) || startsWith(head, hw::kReportSignatureDigits));
    check(head.find(hw::kReportCompanyLine) != std::string::npos);
  }
  std::remove(host.c_str());
  return 0;
}
