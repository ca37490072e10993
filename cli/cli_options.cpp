#include "cli/cli_options.h"

#include <cctype>
#include <sstream>

#include "engine/run_record.h"

namespace hw::cli {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

bool parseLetter(const std::string& text, char& letter) {
  std::string t = text;
  if (t.size() == 2 && t[1] == ':') t.resize(1);
  if (t.size() != 1 || !std::isalpha(static_cast<unsigned char>(t[0]))) return false;
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
  return true;
}

bool isKind(const std::string& kind) {
  for (const char* k : {"fixed", "floppy", "removable", "cdrom", "network", "ram"}) {
    if (kind == k) return true;
  }
  return false;
}

bool parseDrive(const std::string& value, DriveOption& drive, std::string& error) {
  const auto eq = value.find('=');
  if (eq == std::string::npos || !parseLetter(value.substr(0, eq), drive.letter)) {
    error = "--drive takes LETTER=FOLDER[:KIND[:BYTES]], not '" + value + "'";
    return false;
  }
  std::vector<std::string> parts = split(value.substr(eq + 1), ':');
  // A folder may itself hold colons: KIND and BYTES are taken from the end.
  if (parts.size() >= 3 && isKind(parts[parts.size() - 2])) {
    if (!parseBytes(parts.back(), drive.bytes) || drive.bytes == 0) {
      error = "bad size '" + parts.back() + "' in --drive " + value;
      return false;
    }
    parts.pop_back();
    drive.kind = parts.back();
    parts.pop_back();
  } else if (parts.size() >= 2 && isKind(parts.back())) {
    drive.kind = parts.back();
    parts.pop_back();
  }
  std::string folder;
  for (std::size_t i = 0; i < parts.size(); ++i) folder += (i ? ":" : "") + parts[i];
  if (folder.empty()) {
    error = "--drive " + value + " names no folder";
    return false;
  }
  drive.folder = folder;
  return true;
}

}  // namespace

bool parseBytes(const std::string& text, std::uint64_t& bytes) {
  if (text.empty()) return false;
  std::uint64_t value = 0;
  std::size_t i = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (value > (UINT64_MAX - 9) / 10) return false;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  if (i == 0) return false;
  std::uint64_t unit = 1;
  if (i < text.size()) {
    switch (std::tolower(static_cast<unsigned char>(text[i]))) {
      case 'k': unit = 1024ull; break;
      case 'm': unit = 1024ull * 1024; break;
      case 'g': unit = 1024ull * 1024 * 1024; break;
      default: return false;
    }
    if (i + 1 != text.size()) return false;
  }
  if (value > UINT64_MAX / unit) return false;
  bytes = value * unit;
  return true;
}

bool parseMode(const std::string& text, std::uint32_t& mode) {
  mode = 0;
  for (const std::string& word : split(text, ',')) {
    if (word == "all") mode |= MODE_ALL;
    else if (word == "changed") mode |= MODE_CHANGED;
    else if (word == "data") mode |= MODE_DATA;
    else if (word == "apps") mode |= MODE_APPS;
    else if (word == "boot") mode |= MODE_BOOT;
    else return false;
  }
  return mode != 0;
}

bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  if (args.empty()) {
    error = "no command given (try --help)";
    return false;
  }
  std::size_t i = 0;
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    options.command = "help";
    return true;
  }
  options.command = args[i++];
  if (options.command != "backup" && options.command != "drives") {
    error = "unknown command '" + options.command + "' (try --help)";
    return false;
  }
  auto value = [&](const std::string& flag, std::string& out) {
    if (i + 1 >= args.size()) {
      error = flag + " needs a value";
      return false;
    }
    out = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    if (a == "--help" || a == "-h") {
      options.command = "help";
      return true;
    } else if (a == "--yes" || a == "-y") {
      options.yes = true;
    } else if (a == "--drive") {
      DriveOption drive;
      if (!value(a, v) || !parseDrive(v, drive, error)) return false;
      for (const DriveOption& d : options.drives) {
        if (d.letter == drive.letter) {
          error = std::string("drive ") + drive.letter + ": is given twice";
          return false;
        }
      }
      options.drives.push_back(drive);
    } else if (a == "--source") {
      char letter = 0;
      if (!value(a, v)) return false;
      if (!parseLetter(v, letter)) {
        error = "--source takes a drive letter, not '" + v + "'";
        return false;
      }
      options.sources.push_back(letter);
    } else if (a == "--dest") {
      if (!value(a, v)) return false;
      if (!parseLetter(v, options.dest)) {
        error = "--dest takes a drive letter, not '" + v + "'";
        return false;
      }
    } else if (a == "--mode") {
      if (!value(a, v)) return false;
      if (!parseMode(v, options.mode)) {
        error = "--mode takes all, changed, data, apps or boot, joined by commas, not '" + v + "'";
        return false;
      }
    } else if (a == "--settings") {
      if (!value(a, options.settingsFile)) return false;
    } else {
      error = "unknown option '" + a + "' (try --help)";
      return false;
    }
  }
  if (options.command == "backup") {
    if (options.sources.empty()) {
      error = "backup needs at least one --source";
      return false;
    }
    if (options.dest == 0) {
      error = "backup needs --dest";
      return false;
    }
    if (options.mode == 0) options.mode = MODE_ALL;
  }
  return true;
}

const char* usageText() {
  return R"(hoardwell - back up drives to fixed, network or removable disks

Usage:
  hoardwell backup --source C [--source D ...] --dest A [--mode KINDS] [--yes]
                   [--drive C=DIR[:KIND[:BYTES]] ...] [--settings FILE]
  hoardwell drives [--drive ...]
  hoardwell --help

backup   Scans the source drives, selects files by the backup kinds, and copies
         them to the destination as A:\SET\C\path with names, times and
         attributes kept. A backup that does not fit one removable disk spans
         several; you are asked for each next disk.

Options:
  --source C     a drive to back up (repeat for more drives)
  --dest A       the destination drive
  --mode KINDS   what to back up, one or more of: all, changed, data, apps, boot,
                 joined by commas (default: all)
                   all      every file
                   changed  files changed since the last backup (archive bit)
                   data     user data files, by extension
                   apps     application directories
                   boot     the files that start the machine
  --yes          answer every question with its go-ahead answer, so the run is
                 unattended: start, overwrite, insert the next disk, and skip a
                 file that still cannot be copied after a retry
  --drive C=DIR[:KIND[:BYTES]]
                 (host platform) drive C: is the folder DIR. KIND is fixed
                 (default), floppy, removable, cdrom, network or ram; BYTES is
                 the capacity (suffix k, M or G for binary units; floppy default
                 1440k). A removable or floppy drive holds numbered media
                 DIR/disk1, DIR/disk2, ...; the next disk is inserted for you.
                 On Windows the real drives are used and --drive is refused.
  --settings FILE  the settings file to use

While copying, a progress line shows the percentage, files, bytes and the
elapsed time. Ctrl-C stops the run after the current block; files already
copied stay on the destination and are not counted as a complete backup.

Exit status:
  0   the backup was carried out
  1   cancelled, or nothing to do
  2   fatal stop (the destination cannot hold the backup, or no disk was ready)
  64  bad usage
)";
}

}  // namespace hw::cli
