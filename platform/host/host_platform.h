// The host platform: drive letters mapped onto folders of the host, with the
// Win32 meaning of every answer kept, numbered media in removable drives, a
// declared capacity per drive (so "disk full" happens where it would on a
// real disk of that size), a manual clock, and fault injection.
//
// Choices where Windows leaves room:
// - Names are case-sensitive on the host; wildcard patterns match without
//   regard to case. Listings come sorted by upper-cased name (NTFS-like),
//   "." and ".." first for a directory other than a root.
// - Hidden, system and archive live in the `user.DOSATTRIB` xattr as Wine
//   writes it ("0x" and lower-case hex); read-only is a missing owner-write
//   bit. A file without the xattr reads as archive set, as a new file is on
//   Windows; clearing every bit writes "0x0" so "no archive" is remembered.
// - The creation time lives in the `user.hw.creation` xattr once set;
//   without it a file reports its last-write time.
// - Files take whole clusters; directories take no space. A write that does
//   not fit writes nothing and fails with Status::diskFull.
// - Paths longer than 259 characters fail with Status::filenameTooLong.
// - Unknown drive letters answer Status::pathNotFound (DRIVE_NO_ROOT_DIR for
//   the drive type). CD-ROM drives are write-protected.
// - Sharing modes are not enforced. Open files refer to the platform's drive
//   table and must not outlive the platform; a file open on a medium that
//   has since left the drive answers Status::notReady.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_clock.h"
#include "platform/platform.h"

namespace hw {

enum class HostDriveKind { floppy, fixed, removable, cdrom, network, ram };

struct HostDrive {
  char letter = 'C';
  // The host folder behind the drive. For a removable kind (floppy,
  // removable, cdrom) it holds the media: "disk1", "disk2", ... and beside
  // each its label file "disk1.label"; otherwise it is the drive's root.
  std::string folder;
  HostDriveKind kind = HostDriveKind::fixed;
  std::uint64_t capacity = 0;  // bytes; 0 gives 1 GiB
  // The size and free space are those of the host file system under the
  // folder (capacity is then unused), and a full disk is the host's own:
  // nothing is counted, so large trees cost no walk.
  bool hostSpace = false;
  std::uint32_t bytesPerSector = 512;
  std::uint32_t sectorsPerCluster = 0;  // 0: 1 up to 2 MB of capacity, else 8
  std::string label;         // of the drive, or the first label of medium 1
  std::uint32_t serial = 0x1A2B3C4D;  // medium n gets serial + (n - 1) * 0x10001
  bool hasMedia = true;      // removable kinds: medium 1 is in the drive at start
  bool writeProtected = false;  // every change fails with Status::writeProtect
                                // (always so for a CD-ROM drive)
  std::string fileSystem;    // empty: "FAT" (floppy, removable, RAM), "FAT32"
                             // (fixed), "CDFS", "NTFS" (network)
  // A modelled device speed, for measuring the time estimate against a
  // device of known speed: every byte written to the drive costs
  // 1 / bytesPerSecond seconds and every file created msPerFile, spent on the
  // platform's clock (a manual clock moves on, the real one sleeps).
  // 0: as fast as the host's own disk.
  std::uint64_t bytesPerSecond = 0;
  std::uint32_t msPerFile = 0;

  bool holdsMedia() const {
    return kind == HostDriveKind::floppy || kind == HostDriveKind::removable ||
           kind == HostDriveKind::cdrom;
  }
};

// A 3.5" 1.44 MB floppy: 2847 free clusters of one 512-byte sector.
HostDrive floppyDrive(char letter, std::string folder);

// ---- Fault injection ------------------------------------------------------

enum class FaultOp {
  findFirst, openRead, create, openReadWrite, read, write, close, getTimes, setTimes,
  size, getAttributes, setAttributes, createDirectory, removeDirectory, deleteFile,
  setDirectoryTimes, getDirectoryTimes, setCurrentDirectory,
};
inline constexpr int kFaultOpCount = 18;

enum class FaultAction {
  fail,            // the call fails with `error`
  diskFullAtByte,  // (write) once `value` bytes were written on the drive, a
                   // write that would pass that mark fails with diskFull
  removeMedium,    // (write) the medium leaves the drive: this write and all
                   // later calls on it fail with notReady
  vanish,          // (openRead, findFirst) the file is deleted: before the
                   // open, or right after the listing showed it
  resize,          // (openRead, findFirst) the file is cut or zero-extended to
                   // `value` bytes, at the same moments as vanish
};

struct FaultRule {
  FaultOp op = FaultOp::write;
  std::string pathContains;  // matched without regard to case; empty: any path
  char drive = 0;            // 0: any drive
  int nth = 1;               // fires on the nth matching call (for vanish and
                             // resize on findFirst: the nth matching listed
                             // entry); 0: on every one
  FaultAction action = FaultAction::fail;
  Status error = Status::writeFault;
  std::uint64_t value = 0;
};

class FaultInjector {
 public:
  void add(FaultRule rule);
  void clear();  // rules only; the counters stay

  // Calls made per operation, on one drive (letter) or all (0). A call whose
  // path names no known drive counts under 0 only.
  std::uint64_t calls(FaultOp op, char drive = 0) const;
  void resetCounts();

  // For the platform's own use.
  struct Hit {
    FaultAction action;
    Status error;
    std::uint64_t value;
  };
  void count(FaultOp op, char drive);
  // The rule that fires for this call, if any. `entry` picks the rules that
  // act on a listed entry (vanish, resize on findFirst) rather than the call.
  bool match(FaultOp op, char drive, const std::string& path, std::uint64_t bytes, bool entry,
             Hit& hit);

 private:
  struct Armed {
    FaultRule rule;
    int seen = 0;
    std::uint64_t bytes = 0;
  };
  std::vector<Armed> rules_;
  std::array<std::array<std::uint64_t, 27>, kFaultOpCount> calls_{};
};

// ---- The platform ----------------------------------------------------------

namespace host {
class DriveTable;
}

class HostPlatform final : public Platform {
 public:
  HostPlatform();
  ~HostPlatform() override;
  HostPlatform(const HostPlatform&) = delete;
  HostPlatform& operator=(const HostPlatform&) = delete;

  // Creates the drive's folder (and medium 1 when present) as needed.
  // Fails with invalidParameter for a bad letter, alreadyExists for a letter
  // in use, pathNotFound when the folder cannot be made.
  Status addDrive(const HostDrive& drive);
  bool insertMedium(char letter, int number) override;
  int currentMedium(char letter) override;
  bool removeMedium(char letter);
  // The host folder of medium `number` (removable kinds) or the drive's root.
  std::string mediumFolder(char letter, int number = 0) const;
  // The host path behind a Windows path; empty when it names no reachable
  // drive. For tests and the CLI.
  std::string hostPath(const std::string& windowsPath) const;
  // Call after changing a drive's folders behind the platform's back, so the
  // free space is counted again.
  void forgetUsage(char letter);

  void setWindowsDirectory(std::string path);
  void setProgramDirectory(std::string path);
  void setVersion(std::uint32_t version);

  // Switches to a clock that only moves when told to (sleep() moves it too).
  ManualClock& useManualClock();
  FaultInjector& faults() { return *faults_; }

  FileSystem& files() override { return *files_; }
  Volumes& volumes() override { return *volumes_; }
  Clock& clock() override { return *clock_; }
  Profile& profile() override { return *profile_; }
  Registry& registry() override { return *registry_; }
  std::string programDirectory() override { return programDirectory_; }

 private:
  std::unique_ptr<FaultInjector> faults_;
  std::unique_ptr<host::DriveTable> drives_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Volumes> volumes_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Profile> profile_;
  std::unique_ptr<Registry> registry_;
  std::string programDirectory_ = "C:\\HOARDWELL";
};

}  // namespace hw
