// Deleting the program's old reports from the log folder. Only files that
// carry the report signature in their first two lines are ever deleted: a
// file of someone else's that merely ends in ".KVX" stays, whatever its age.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings_store.h"
#include "platform/platform.h"

namespace hw {

// True when `path` ends in ".KVX" (any case) and its first two lines are a
// report signature and the company line.
bool IsOwnReport(FileSystem& files, const std::string& path);

// Seconds a report is kept: `count` units of `period` (0 days, 1 weeks,
// 2 months of 30 days, 3 years of 365 days; anything else months). 64 bits,
// since 500 years of seconds do not fit in 32.
std::int64_t ReportAgeLimit(unsigned count, unsigned period);

// With DelOldLogs on, deletes every report of the log folder (SaveLogDir)
// whose creation lies more than the chosen age back; read-only, hidden and
// system marks do not protect it. Failures leave the file where it is.
void DeleteOldReports(Platform& platform, SettingsStore& settings);

}  // namespace hw
