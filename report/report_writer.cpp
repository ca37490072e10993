#include "report/report_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "common/format_number.h"
#include "report/folders.h"
#include "report/report_format.h"
#include "resources/string_ids.h"

namespace hw {

namespace {

constexpr std::uint32_t kHiddenBit = 0x2;
constexpr const char* kNoFilesLine = "0 \t No regular files were selected for backup.\n";
constexpr const char* kExtraDirGone = " (Source directory not found) \n";
constexpr int kReportPathLimit = 256;

std::string grouped(double value) { return FormatGrouped(value, 0); }

double roundHalfUp(double value) { return std::floor(value + 0.5); }

// A figure of the time and size lines: divided into its unit, rounded, and
// never shown as 0 in a unit larger than the smallest.
double inUnit(double value, double unit) {
  if (unit == 1) return roundHalfUp(value);
  return std::max(1.0, roundHalfUp(value / unit));
}

std::string diskPrefix(std::int32_t diskNumber) {
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "%d \t ", static_cast<int>(diskNumber));
  return prefix;
}

}  // namespace

std::string FillText(const std::string& pattern, std::initializer_list<std::string> arguments) {
  std::string out;
  auto next = arguments.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out += pattern[i];
      continue;
    }
    std::size_t j = i + 1;
    if (pattern[j] == '%') {
      out += '%';
      i = j;
      continue;
    }
    while (j < pattern.size() && pattern[j] == 'l') ++j;
    if (j < pattern.size() && std::string_view("scdui").find(pattern[j]) != std::string_view::npos) {
      if (next != arguments.end()) out += *next++;
      i = j;
      continue;
    }
    out += '%';
  }
  return out;
}

ReportWriter::ReportWriter(Platform& platform, RunRecord& run, SettingsStore& settings,
                           const Texts& texts, ReportHost& host)
    : platform_(platform),
      run_(run),
      settings_(settings),
      texts_(texts),
      host_(host),
      setNaming_(platform, run, settings, texts) {}

ReportWriter::~ReportWriter() = default;

int ReportWriter::WriteReport() {
  primary_ = Target{};
  copy_ = Target{};
  if (!run_.active) return kReportNotWritten;
  copyWanted_ = settings_.GetSaveLog() != 0;
  if (run_.setName.empty()) setNaming_.NameBackupSet();

  buffer_.reset(new (std::nothrow) char[kReportBufferSize]);
  if (!buffer_) return kReportNotWritten;
  used_ = 0;

  FileSystem& files = platform_.files();
  const std::string fileName = run_.setName + "." + std::string(kReportExtension);
  VolumeInfo volume;
  diskSerial_ = 0;
  if (succeeded(platform_.volumes().volumeInformation(std::string(1, run_.destLetter) + ":\\",
                                                      volume))) {
    diskSerial_ = volume.serial;
  }

  primary_.path = run_.setFolder + "\\" + fileName;
  primary_.file = files.create(primary_.path, primary_.error);
  if (!primary_.file && primary_.error == Status::pathNotFound) {
    // The disk in the drive may hold no file of the set (every file went to
    // earlier disks, or none was selected): its report still belongs in
    // the set's folder.
    CreateFolderPath(files, primary_.path, true);
    primary_.file = files.create(primary_.path, primary_.error);
  }
  if (!primary_.file) {
    if (succeeded(primary_.error)) primary_.error = Status::accessDenied;
    release();
    return kReportNotWritten;
  }
  if (copyWanted_) {
    copy_.path = run_.logFileBase + "." + std::string(kReportExtension);
    copy_.file = files.create(copy_.path, copy_.error);
    if (!copy_.file && succeeded(copy_.error)) copy_.error = Status::accessDenied;
  }

  WriteReportHeader();
  host_.pumpMessages();
  append(text(ids::IDS_REPORT_FILES_HEADING));
  append(text(ids::IDS_REPORT_FILES_COLUMNS));
  WriteFileList();
  WriteExtraFileSection();
  WriteShortenedPathSection();
  flush();

  finish(primary_);
  finish(copy_);
  release();

  const bool copyDone = copyWanted_ && !copy_.failed();
  if (primary_.failed()) return copyDone ? kReportOnlyLogCopy : kReportNotWritten;
  if (copyWanted_ && !copyDone) return kReportNoLogCopy;
  return kReportWritten;
}

void ReportWriter::release() {
  buffer_.reset();
  used_ = 0;
}

// --- Buffer and files -----------------------------------------------------------

void ReportWriter::appendRaw(const std::string& line) {
  std::copy(line.begin(), line.end(), buffer_.get() + used_);
  used_ += line.size();
}

void ReportWriter::append(const std::string& line) {
  if (used_ + line.size() >= kReportFlushAt) {
    flush();
    host_.pumpMessages();
  }
  if (line.size() >= kReportFlushAt) {
    // Longer than any line the report makes; it goes out on its own.
    writeTo(primary_, line.data(), line.size());
    writeTo(copy_, line.data(), line.size());
    return;
  }
  appendRaw(line);
}

void ReportWriter::flush() {
  writeTo(primary_, buffer_.get(), used_);
  writeTo(copy_, buffer_.get(), used_);
  used_ = 0;
}

void ReportWriter::writeTo(Target& target, const char* bytes, std::size_t size) {
  if (!target.file || target.failed() || size == 0) return;
  std::uint32_t written = 0;
  const Status status = target.file->write(bytes, static_cast<std::uint32_t>(size), written);
  if (!succeeded(status)) {
    target.error = status;
  } else if (written != size) {
    target.error = Status::diskFull;
  }
}

void ReportWriter::finish(Target& target) {
  if (!target.file) return;
  const Status closed = target.file->close();
  target.file.reset();
  if (!succeeded(closed) && !target.failed()) target.error = closed;
  if (target.failed()) removeCutOff(target);
}

void ReportWriter::removeCutOff(Target& target) {
  // A report that lost its end must not pass for a complete one.
  FileSystem& files = platform_.files();
  files.setAttributes(target.path, kAttrNormal);
  if (succeeded(files.deleteFile(target.path))) return;
  if (&target != &primary_ || !(run_.destFlags & DK_REMOVABLE)) return;
  // The disk left the drive with it: the engine removes it should that disk
  // come back, and tells the user otherwise.
  run_.incompleteCopies.push_back({target.path, std::max(1, run_.diskIndex), diskSerial_});
}

// --- Header ------------------------------------------------------------------------

std::string ReportWriter::sourceDrivesText() const {
  std::vector<char> letters;
  for (const auto& drive : run_.sourceDrives) {
    if (drive->selected) letters.push_back(drive->letter);
  }
  std::string line = text(ids::IDS_REPORT_SOURCES);
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const std::string letter(1, letters[i]);
    if (i + 1 == letters.size()) {
      line += letter + ":      ";
    } else if (i + 2 == letters.size()) {
      line += FillText(text(ids::IDS_REPORT_SOURCE_LAST_BUT_ONE), {letter});
    } else {
      line += FillText(text(ids::IDS_REPORT_SOURCE_ITEM), {letter});
    }
  }
  return line + " \n";
}

std::string ReportWriter::kindText() const {
  std::string line = text(ids::IDS_REPORT_KIND);
  const std::uint32_t mode = run_.mode;
  if (mode & MODE_ALL) {
    line += text(ids::IDS_KIND_ALL);
  } else if (mode & MODE_CHANGED) {
    line += text(ids::IDS_KIND_CHANGED);
  } else {
    bool first = true;
    auto add = [&](std::uint32_t bit, int name, bool commaBefore) {
      if (!(mode & bit)) return;
      if (!first) line += text(commaBefore ? ids::IDS_LIST_SEPARATOR : ids::IDS_LAST_SEPARATOR);
      line += text(name);
      first = false;
    };
    add(MODE_DATA, ids::IDS_KIND_DATA, false);
    // Of three names the first two are joined by a comma, the last by "and".
    add(MODE_APPS, ids::IDS_KIND_APPS, (mode & MODE_BOOT) != 0);
    add(MODE_BOOT, ids::IDS_KIND_BOOT, false);
  }
  return line + " \n";
}

std::string ReportWriter::timeLine() {
  run_.reportElapsed = platform_.clock().tickCount() / 1000.0 - run_.startTime;
  const double elapsed = run_.reportElapsed;
  const double estimate = run_.estimateSeconds;
  double unit = 1;
  int singular = ids::IDS_UNIT_SECOND, plural = ids::IDS_UNIT_SECONDS;
  // Hours only from 50 hours on: a long backup still reads in minutes.
  if (elapsed >= 180000 || estimate >= 180000) {
    unit = 3600;
    singular = ids::IDS_UNIT_HOUR;
    plural = ids::IDS_UNIT_HOURS;
  } else if (elapsed >= 60 || estimate >= 60) {
    unit = 60;
    singular = ids::IDS_UNIT_MINUTE;
    plural = ids::IDS_UNIT_MINUTES;
  }
  const double first = inUnit(elapsed, unit);
  const double second = inUnit(estimate, unit);
  return text(ids::IDS_REPORT_TIME_LABEL) + grouped(first) + " " +
         text(first == 1 ? singular : plural) + text(ids::IDS_REPORT_ACTUAL) + grouped(second) +
         " " + text(second == 1 ? singular : plural) + text(ids::IDS_REPORT_ESTIMATED);
}

std::string ReportWriter::sizeLine() const {
  const double copied = run_.bytesCopied;
  const double total = run_.totalBytes;
  double unit = 1;
  std::string singular = "Byte", plural = text(ids::IDS_UNIT_BYTES);
  if (copied >= 500000000 || total >= 500000000) {
    unit = 1000000;
    singular = text(ids::IDS_UNIT_MEGABYTE);
    plural = text(ids::IDS_UNIT_MEGABYTES);
  } else if (copied >= 10000 || total >= 10000) {
    unit = 1000;
    singular = text(ids::IDS_UNIT_KILOBYTE);
    plural = text(ids::IDS_UNIT_KILOBYTES);
  }
  const double first = inUnit(copied, unit);
  const double second = inUnit(total, unit);
  return text(ids::IDS_REPORT_SIZE_LABEL) + grouped(first) + " " +
         (first == 1 ? singular : plural) + text(ids::IDS_REPORT_ACTUAL) + grouped(second) + " " +
         (second == 1 ? singular : plural) + text(ids::IDS_REPORT_ESTIMATED);
}

void ReportWriter::WriteReportHeader() {
  const SystemTime now = platform_.clock().localTime();
  const std::string destLetter(1, run_.destLetter);
  appendRaw(std::string(kReportSignature) + "\n");
  appendRaw(std::string(kReportCompanyLine) + "\n");
  appendRaw(FillText(std::string(kReportProgramLine), {std::string(kReportVersion)}));
  appendRaw(FillText(text(ids::IDS_REPORT_NAME_LINE), {run_.setName, std::string(kReportExtension)}));
  appendRaw(FormatDateText(text(ids::IDS_REPORT_DATE_FORMAT), now) + " \n");
  appendRaw(FormatDateText(text(ids::IDS_REPORT_TIME_FORMAT), now) + " \n");
  appendRaw(sourceDrivesText());
  appendRaw(FillText(text(ids::IDS_REPORT_DEST_LINE), {destLetter}));
  appendRaw(FillText(text(ids::IDS_REPORT_FOLDER_LINE), {destLetter + ":\\" + run_.setName}));
  appendRaw(kindText());
  appendRaw(timeLine());
  appendRaw(sizeLine());
  appendRaw(text(ids::IDS_REPORT_FILES_LABEL) + grouped(run_.filesCopied) + " (actual)     " +
            grouped(run_.totalFiles) + text(ids::IDS_REPORT_ESTIMATED));
  appendRaw(text(ids::IDS_REPORT_DISKS_LABEL) +
            grouped(static_cast<std::uint32_t>(run_.diskIndex)) + text(ids::IDS_REPORT_ACTUAL) +
            grouped(static_cast<std::uint32_t>(run_.diskCount)) +
            text(ids::IDS_REPORT_ESTIMATED) + "\n");
}

// --- File lines -----------------------------------------------------------------------

std::string ReportWriter::fileSuffix(const FileEntry& file) const {
  if (file.diskNumber == -1) return text(ids::IDS_REPORT_ON_NO_DISK);
  std::string suffix;
  if (file.attributes & kHiddenBit) suffix += text(ids::IDS_REPORT_HIDDEN);
  if (file.status >= kOutcomeNoSourceTimes && file.status <= kOutcomeAttributesNotSet) {
    suffix += text(ids::IDS_REPORT_STATUS_7 + (file.status - kOutcomeNoSourceTimes));
  }
  return suffix + " \n";
}

namespace {

// The suffix of a file that was meant to be saved and was dropped; 0 for a
// file that gets no line.
int droppedSuffix(std::int32_t status) {
  switch (status) {
    case kOutcomeTooLarge: return ids::IDS_REPORT_TOO_LARGE;
    case kOutcomeSkipped: return ids::IDS_REPORT_SKIPPED;
    case kOutcomeDirectoryGone: return ids::IDS_REPORT_DIR_GONE;
    case kOutcomeOpenFailed: return ids::IDS_REPORT_NOT_OPENED;
    default: return 0;
  }
}

}  // namespace

void ReportWriter::WriteFileList() {
  for (const auto& drive : run_.sourceDrives) {
    if (drive->selected && drive->root) resetWalk(drive->root, kWalkResetVisit);
  }
  bool selectedLine = false;
  for (const auto& drive : run_.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    DirEntry* dir = drive->root;
    dir->visitMark = 1;
    while (dir) {
      const std::string path = dir->fullPath();
      for (const FileEntry& file : dir->files) {
        const std::string prefix = diskPrefix(file.diskNumber) + path + "\\" + file.name;
        if (file.selected) {
          append(prefix + fileSuffix(file));
          selectedLine = true;
        } else if (const int suffix = droppedSuffix(file.status)) {
          append(prefix + text(suffix));
        }
      }
      dir = walkNext(dir, kWalkVisit);
    }
  }
  if (!selectedLine) append(kNoFilesLine);
}

void ReportWriter::WriteExtraFileSection() {
  if (run_.extraFiles.empty()) return;
  append(text(ids::IDS_REPORT_EXTRA_HEADING));
  append(text(ids::IDS_REPORT_EXTRA_COLUMNS));
  for (const ExtraFile& extra : run_.extraFiles) {
    const std::string prefix = diskPrefix(extra.diskNumber) + extra.path;
    if (extra.selected) {
      if (extra.diskNumber == -1) {
        append(prefix + text(ids::IDS_REPORT_ON_NO_DISK));
        continue;
      }
      std::string line = prefix;
      if (extra.bootFile) line += text(ids::IDS_REPORT_BOOT_FILE);
      if (extra.attributes & kHiddenBit) line += text(ids::IDS_REPORT_HIDDEN);
      if (extra.status >= kOutcomeNoSourceTimes && extra.status <= kOutcomeAttributesNotSet) {
        line += text(ids::IDS_REPORT_STATUS_7 + (extra.status - kOutcomeNoSourceTimes));
      }
      append(line + " \n");
      continue;
    }
    switch (extra.status) {
      case kOutcomeTooLarge: append(prefix + text(ids::IDS_REPORT_TOO_LARGE)); break;
      case kOutcomeSkipped: append(prefix + text(ids::IDS_REPORT_SKIPPED)); break;
      // This one is the program's own text, not the table's.
      case kOutcomeDirectoryGone: append(prefix + kExtraDirGone); break;
      case kOutcomeOpenFailed: append(prefix + text(ids::IDS_REPORT_NOT_OPENED)); break;
      case 4: break;
      default: append(prefix + text(ids::IDS_REPORT_EXTRA_NOT_SAVED)); break;
    }
  }
}

void ReportWriter::WriteShortenedPathSection() {
  if (run_.shortenedPaths.empty()) return;
  append(text(ids::IDS_REPORT_SHORT_HEADING));
  append(FillText(text(ids::IDS_REPORT_SHORT_INTRO), {std::to_string(kReportPathLimit)}));
  append(text(ids::IDS_REPORT_SHORT_LINE_1));
  append(text(ids::IDS_REPORT_SHORT_LINE_2));
  int number = 1;
  for (const ShortenedPath& entry : run_.shortenedPaths) {
    append(FillText(text(ids::IDS_REPORT_SHORT_ENTRY), {std::to_string(number++)}));
    append("  " + entry.sourcePath + " \n");
    append("  " + entry.destPath + " \n");
  }
}

}  // namespace hw
