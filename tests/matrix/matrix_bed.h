// One cell of the fault matrix: a backup on the host platform with a fault
// armed, and afterwards the checks a user would make.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "report/report_writer.h"
#include "tests/engine/engine_bed.h"
#include "tests/support/host_tree.h"

namespace hw::test {

// The source trees the cells back up.
enum class Fixture {
  small,     // a few files, one of 400,000 bytes: fits on one floppy
  spanning,  // twelve files of about 300 KB in one folder: three floppies
  longPaths, // folders whose copies need paths longer than the limit
};

// Where the backup goes.
enum class Destination {
  fixed,   // D:, a fixed disk
  floppy,  // A:, 1.44 MB floppies
};

class MatrixBed {
 public:
  MatrixBed(Fixture fixture, Destination destination);

  // Source path of the file in the fixture that the cells strike.
  const std::string& victim() const { return victim_; }
  char destLetter() const { return dest_ == Destination::fixed ? 'D' : 'A'; }

  // A file on the destination that is not ours (on the medium in the drive
  // now); checked after the run unless `erasable`.
  void addForeignFile(const std::string& path, const std::string& content, bool erasable);
  // A source file written behind the platform's back (paths too long for it).
  void addHostSourceFile(const std::string& relativePath, const std::string& content);

  int backup();
  // The highest medium number the floppy drive has seen.
  int lastMedium() const;

  EngineBed bed;
  // Answers that differ from a patient user's (start, insert a new disk,
  // overwrite, skip a file that cannot be copied, append to a disk in use).
  std::map<PromptKind, int> answers;
  // Called first for every prompt; an answer of -1 leaves it to the above.
  std::function<int(PromptKind, const PromptDetails&)> onPrompt;
  std::uint32_t mode = MODE_ALL;

 private:
  friend class CellChecks;
  struct Foreign {
    int medium = 0;
    std::string path;
    std::string content;
    bool erasable = false;
  };
  void writeSource(const std::string& path, const std::string& content);

  Destination dest_;
  std::string victim_;
  TreeSnapshot sourceBefore_;
  std::vector<Foreign> foreign_;
};

// What a cell expects beyond the checks every cell makes.
struct Expectations {
  int result = kRunDone;
  // Source files the fault itself deletes or resizes: their copies are
  // compared with what they are now, their sources are not.
  std::set<std::string> changedByOthers;
  // The fault is one the engine must get around: every file chosen for the
  // backup ends up saved.
  bool allSaved = false;
  // Clearing an archive bit was made to fail: it may stay set on a saved file.
  bool archiveMayStay = false;
  // Outcome the victim must end with; -1 for any.
  int victimStatus = -1;
};

// The checks, with figures for the whole matrix.
class CellChecks {
 public:
  // Every problem found, one line each; empty when the cell is sound.
  std::vector<std::string> check(MatrixBed& m, int result, const Expectations& expect);

  int filesChecked = 0;
  int reportLines = 0;  // lines of reports that name a file
  int losses = 0;

 private:
  void checkSource(MatrixBed& m, int result, const Expectations& expect,
                   std::vector<std::string>& problems);
  void checkDestination(MatrixBed& m, int result, const Expectations& expect,
                        std::vector<std::string>& problems);
  void checkReports(MatrixBed& m, int result, const std::vector<std::pair<int, std::string>>& reports,
                    const std::set<std::pair<std::string, int>>& verified,
                    std::vector<std::string>& problems);
};

// The host path of a Windows path on medium `medium` (0: whatever is in the
// drive, or a drive without media).
std::string hostPathOn(HostPlatform& platform, const std::string& windowsPath, int medium);

}  // namespace hw::test
