// The command line of `hoardwell`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hw::cli {

// --drive C=DIR[:KIND[:BYTES]]: a drive of the host platform.
struct DriveOption {
  char letter = 0;
  std::string folder;
  std::string kind = "fixed";  // fixed, floppy, removable, cdrom, network, ram
  std::uint64_t bytes = 0;     // 0: a default for the kind
};

struct Options {
  std::string command;  // "backup", "help"
  std::vector<DriveOption> drives;
  std::vector<char> sources;
  char dest = 0;
  std::uint32_t mode = 0;
  bool yes = false;
  std::string settingsFile;
};

// Parses argv; false with a one-line reason in `error` on bad usage.
bool parseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// Mode words ("all,changed,data,apps,boot") to mode bits; false on an
// unknown word.
bool parseMode(const std::string& text, std::uint32_t& mode);

// "1440k", "1457664", "100M", "2G" (binary units) to bytes.
bool parseBytes(const std::string& text, std::uint64_t& bytes);

const char* usageText();

}  // namespace hw::cli
