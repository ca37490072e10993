#include "report/old_reports.h"

#include <cctype>
#include <string_view>

#include "report/report_format.h"

namespace hw {

namespace {

constexpr std::uint32_t kSignatureBytes = 255;
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;

std::string_view lineAt(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') ++pos;
  return text.substr(start, pos - start);
}

}  // namespace

bool IsOwnReport(FileSystem& files, const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension != kReportExtension) return false;

  Status status = Status::ok;
  auto file = files.openRead(path, status);
  if (!file) return false;
  char bytes[kSignatureBytes];
  std::uint32_t got = 0;
  if (!succeeded(file->read(bytes, kSignatureBytes, got))) return false;
  const std::string_view text(bytes, got);

  std::size_t pos = 0;
  const std::string_view first = lineAt(text, pos);
  if (first != kReportSignature && first != kReportSignatureDigits) return false;
  while (pos < text.size() && (text[pos] == '\n' || text[pos] == '\r')) ++pos;
  return lineAt(text, pos) == kReportCompanyLine;
}

std::int64_t ReportAgeLimit(unsigned count, unsigned period) {
  std::int64_t days = 30;
  switch (period) {
    case 0: days = 1; break;
    case 1: days = 7; break;
    case 2: days = 30; break;
    case 3: days = 365; break;
    default: break;
  }
  return static_cast<std::int64_t>(count) * days * 86400;
}

void DeleteOldReports(Platform& platform, SettingsStore& settings) {
  if (!settings.GetDelOldLogs()) return;
  const std::int64_t limit = ReportAgeLimit(settings.GetDLogNum(), settings.GetDLogPeriod());
  std::string folder;
  settings.GetSaveLogDir(folder);

  FileTime now;
  if (!platform.clock().systemTimeToFileTime(platform.clock().systemTime(), now)) return;
  FileSystem& files = platform.files();
  FindData entry;
  Status status = Status::ok;
  auto listing = files.findFirst(folder + "\\*.*", entry, status);
  if (!listing) return;
  do {
    const std::int64_t age =
        (static_cast<std::int64_t>(now.value()) -
         static_cast<std::int64_t>(entry.creationTime.value())) / kFileTimeUnitsPerSecond;
    if (age <= limit) continue;
    const std::string path = folder + "\\" + entry.name;
    if (!IsOwnReport(files, path)) continue;
    files.setAttributes(path, kAttrNormal);
    files.deleteFile(path);
  } while (listing->next(entry));
}

}  // namespace hw
