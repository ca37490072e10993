// The report of a completed backup: SET.KVX in the set's folder on the
// destination disk then in the drive and, with SaveLog on, the same bytes in
// the log folder. It names the set, the date, the drives, the kind of
// backup, the time, the size, and then gives one line per file with the
// number of the disk that holds it: the only record of what went where.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/settings_store.h"
#include "engine/run_record.h"
#include "engine/texts.h"
#include "platform/platform.h"
#include "report/set_naming.h"

namespace hw {

// What the report needs of the front-end: the windows stay responsive while
// it is written.
class ReportHost {
 public:
  virtual ~ReportHost() = default;
  virtual void pumpMessages() = 0;
};

// Results of WriteReport.
enum ReportResult : int {
  // No report anywhere: the run was not active, no buffer, or the report on
  // the destination could not be created or completed (a cut-off file is
  // removed), and no complete copy exists either.
  kReportNotWritten = 0,
  // The report is on the destination and, with SaveLog on, in the log folder.
  kReportWritten = 1,
  // On the destination only: the log-folder copy was wanted but could not be
  // created or completed (a cut-off copy is removed).
  kReportNoLogCopy = 2,
  // In the log folder only: the destination's file could not be completed
  // (disk full, medium taken out) and was removed.
  kReportOnlyLogCopy = 3,
};

// The text buffer: pieces of less than kReportFlushAt bytes go to the files.
inline constexpr std::size_t kReportBufferSize = 61450;
inline constexpr std::size_t kReportFlushAt = 61440;

class ReportWriter {
 public:
  ReportWriter(Platform& platform, RunRecord& run, SettingsStore& settings, const Texts& texts,
               ReportHost& host);
  ~ReportWriter();
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // Called once after a completed backup. Names the set first when it has
  // no name yet. Sets `reportElapsed`.
  int WriteReport();

  // What the last WriteReport could not do, for a message: the status of the
  // failed create or write of each file (ok when it did not fail).
  Status primaryError() const { return primary_.error; }
  Status copyError() const { return copy_.error; }

 private:
  struct Target {
    std::string path;
    std::unique_ptr<File> file;
    Status error = Status::ok;
    bool failed() const { return !succeeded(error); }
  };

  void WriteReportHeader();
  void WriteFileList();
  void WriteExtraFileSection();
  void WriteShortenedPathSection();

  void append(const std::string& line);
  void appendRaw(const std::string& text);
  void flush();
  void writeTo(Target& target, const char* bytes, std::size_t size);
  void finish(Target& target);
  void removeCutOff(Target& target);
  void release();

  std::string text(int id) const { return texts_.get(id); }
  std::string sourceDrivesText() const;
  std::string kindText() const;
  std::string timeLine();
  std::string sizeLine() const;
  std::string fileSuffix(const FileEntry& file) const;

  Platform& platform_;
  RunRecord& run_;
  SettingsStore& settings_;
  const Texts& texts_;
  ReportHost& host_;
  SetNaming setNaming_;

  std::unique_ptr<char[]> buffer_;  // only while a report is written
  std::size_t used_ = 0;
  Target primary_;
  Target copy_;
  bool copyWanted_ = false;
  std::uint32_t diskSerial_ = 0;
};

// wsprintf's directives (%s %c %d %u %i %lu, %%) in a text of the string
// table, each replaced by the next of `arguments`.
std::string FillText(const std::string& pattern, std::initializer_list<std::string> arguments);

}  // namespace hw
