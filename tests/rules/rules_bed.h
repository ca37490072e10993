// The selection rules over the host platform: a Windows-like fixture drive,
// the rules applied to scanned trees on their own, and whole backups through
// the engine with the destination listed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tests/engine/engine_bed.h"

namespace hw::test {

using PathSet = std::set<std::string>;

// One file of a fixture: Windows path, content, DOS attributes.
struct FixtureFile {
  std::string path;
  std::string content;
  std::uint32_t attributes = kAttrArchive;
};

class RulesBed : public EngineBed {
 public:
  // C: and D: fixed, the Windows folder C:\WINDOWS, A: a floppy.
  RulesBed();

  // Writes the files, making their folders on the way.
  void write(const std::vector<FixtureFile>& files);
  void write(const std::string& path, const std::string& content,
             std::uint32_t attributes = kAttrArchive);

  // Scans the drives as a run would and applies the rules, without copying.
  bool select(const std::vector<char>& sources, char dest, std::uint32_t mode);

  // What the rules chose: the marked files of the trees, and the extra files
  // (boot files written "boot:" + path) whose mark is set.
  PathSet selectedFiles();
  PathSet selectedExtras();

  // Every file on the destination medium below `letter`: paths in the set's
  // folder start "SET\", others (the boot files) are given as they are; the
  // report of the set is left out.
  PathSet destinationFiles(char letter);
};

// The Windows-like drive C: (and D:\NET, a drive that is not backed up),
// with configuration files that name each other.
std::vector<FixtureFile> WindowsFixture();

// Set operations for composing expected results.
PathSet operator+(PathSet a, const PathSet& b);
PathSet operator-(PathSet a, const PathSet& b);
// Each "C:\x" as "SET\C\x".
PathSet inSet(const PathSet& sourcePaths);

}  // namespace hw::test
