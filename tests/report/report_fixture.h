// Run records built by hand for the report tests, free of any platform so
// that the host suite and the Windows suite write their reports from the
// same record.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_record.h"
#include "engine/scan_tree.h"
#include "engine/texts.h"
#include "platform/platform.h"

namespace hw::test {

// Builds scan trees by hand.
class TreeBuilder {
 public:
  explicit TreeBuilder(RunRecord& run) : run_(run) {}
  SourceDrive& drive(char letter, bool selected);
  DirEntry& root(SourceDrive& drive);
  // A subdirectory: the first child of `parent` or the next sibling of its
  // last child.
  DirEntry& dir(SourceDrive& drive, DirEntry& parent, const std::string& name);
  FileEntry& file(DirEntry& dir, const std::string& name, std::int32_t disk, bool selected,
                  std::int32_t status, std::uint32_t attributes = kAttrArchive);

 private:
  RunRecord& run_;
};

// The one-disk backup of ONE_DISK.KVX: C: and D: selected, E: present but
// not selected after them; every outcome of a file and of an extra file,
// and two shortened paths. The set is L240315A on F:; where its folder and
// the log copy really go is the caller's (setFolder, logFileBase).
void buildOneDiskRun(RunRecord& run, const Texts& texts);

// The clock at the end of that run: 2024-03-15 14:30:05, local time and
// UTC alike, with the tick count 90 seconds after the start.
inline constexpr std::uint32_t kOneDiskEndTicks = 100000;
SystemTime oneDiskEndTime();

// The spanned backup of THREE_FLOPPIES.KVX, made by the engine on both
// platforms: three files of 900,000 bytes on S:, one per 1.44 MB floppy in
// drive A:, copied in the order of the tree walk. Each folder holds one entry,
// so the walk is the same whatever order a file system lists names in.
struct SpanFile {
  const char* path;
  unsigned seed;  // of the patterned content
};
inline constexpr std::size_t kSpanFileSize = 900000;
inline constexpr SpanFile kSpanFiles[] = {
    {"S:\\THREE.BIN", 3}, {"S:\\DATA\\ONE.BIN", 1}, {"S:\\DATA\\MORE\\TWO.BIN", 2}};
inline constexpr const char* kSpanFolders[] = {"S:\\DATA", "S:\\DATA\\MORE"};
// The run starts on 2024-03-15 at 09:05, which names the set L240315A.
SystemTime spanStartTime();
// The end as the report sees it: 4,000 seconds measured (67 minutes) and
// 3,570 estimated (60 minutes).
inline constexpr double kSpanMeasuredSeconds = 4000;
inline constexpr double kSpanEstimatedSeconds = 3570;

}  // namespace hw::test
