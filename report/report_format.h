// The fixed texts of a backup report that the program supplies itself: the
// two signature lines that mark a file as one of its reports (old-report
// deletion looks for them), and the report's extension.
#pragma once

#include <string_view>

namespace hw {

inline constexpr std::string_view kReportExtension = "KVX";
// First line: "KVX-Backup-" and the characters 1 to 5, then a blank.
inline constexpr std::string_view kReportSignature = "KVX-Backup-\x01\x02\x03\x04\x05 ";
// The form older reports carry.
inline constexpr std::string_view kReportSignatureDigits = "KVX-Backup-12345 ";
inline constexpr std::string_view kReportCompanyLine = "Ferrowind, Inc. ";
inline constexpr std::string_view kReportProgramLine = "Hoardwell %s \n";
inline constexpr std::string_view kReportVersion = "Version 2.0";

// Working-folder and log-folder names.
inline constexpr std::string_view kAppFolderName = "HOARDWL95";
inline constexpr std::string_view kLogFolderName = "LOGFILES";

}  // namespace hw
