// The program's one authority on what a drive letter is and what is in it:
// classification, volume descriptions, default drives, the questions about
// the destination disk, labels, statistics classes, the timed waits that let
// a removable destination settle, and the records of the drive lists.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "drives/device_queries.h"
#include "drives/drive_kind.h"
#include "platform/platform.h"

namespace hw {

struct RunRecord;
class EngineHost;
class Texts;

// Notifications to the main panel around the drive waits (WM_COMMAND ids).
inline constexpr int kNotifyDriveWaitEnded = 2087;
inline constexpr int kNotifyDriveWaitBegins = 2089;
inline constexpr int kNotifyDriveStillWaiting = 2091;

// Sizes of drives are "scaled bytes": bytes x 1000/1024 x 1000/1024, so one
// MiB is 1,000,000. Worked out in this order, in double precision.
double ScaledBytes(double bytes);

// DriveStatClass of a drive: the key of its timing statistics.
std::uint32_t StatClassOf(double capacity, std::uint32_t kind);
// The drive bitmap's resource name for a kind.
const char* IconNameOf(std::uint32_t kind);

class DriveServices {
 public:
  // With the device library of this build (makeDeviceQueries).
  DriveServices(Platform& platform, RunRecord& run);
  // With a device library the caller keeps alive.
  DriveServices(Platform& platform, RunRecord& run, DeviceQueries& devices);
  ~DriveServices();
  DriveServices(const DriveServices&) = delete;
  DriveServices& operator=(const DriveServices&) = delete;

  // Where notifications go and whose message pump the waits run; without a
  // host the waits only let the time pass.
  void setHost(EngineHost* host) { host_ = host; }
  // The string table of texts 5832, 5939 and 5940; the built-in table by default.
  void setTexts(const Texts* texts) { texts_ = texts; }
  // Names the backup set when a label is wanted before it has a name.
  void setSetNamer(std::function<void()> namer) { setNamer_ = std::move(namer); }

  static std::string rootOf(char letter) { return std::string(1, letter) + ":\\"; }

  // ---- Classification --------------------------------------------------
  // DriveKind of a letter, classified once per object through the device
  // library; a letter without a drive is DK_UNKNOWN.
  std::uint32_t ClassifyDrive(char letter);
  void SetCachedKind(char letter, std::uint32_t kind);
  // 0 not a floppy drive, 1 floppy, 2 floppy-type drive whose medium holds
  // more than 3 MiB.
  int FloppyKind(char letter);
  // The drive's root directory can be made the current directory (and is
  // left current).
  bool IsRootAccessible(char letter);
  // VolumeStatus; `text` gets "  [label]" or the bracketed text of a
  // drive without a label, without media or with an unreadable one.
  std::uint32_t DescribeVolume(const std::string& path, std::string& text, bool queryRemovable);
  char DefaultSourceDrive();
  char DefaultDestinationDrive();
  int WindowsVersionCode();

  // ---- Device library --------------------------------------------------
  bool IsCDROM(char letter) { return devices_.isCDROMDrive(letter) != 0; }
  bool IsCDR(char letter) { return devices_.isCDRDrive(letter) != 0; }
  bool IsMediaPresent(char letter) { return devices_.isMediaPresent(letter) != 0; }
  int GetDeviceParameters(int driveIndex, DeviceParameters& block) {
    return devices_.getDeviceParameters(driveIndex, block);
  }

  // ---- The destination ---------------------------------------------------
  // Fewer than 1 percent of the clusters are free; false when not known.
  bool IsNearlyFull(char letter);
  // The destination is not one of the selected sources, or has room for the
  // backup too.
  bool HasRoomWhenAlsoSource();
  // Blank, or a search of its root finds an entry.
  bool IsDestinationUsable();
  bool IsDestinationUsable(char letter);
  // The description (as DescribeVolume makes it) is the set's name followed
  // by the current disk number.
  bool IsSetLabel(const std::string& description);
  // The label for disk diskIndex + 1; false when it would not fit 11 characters.
  bool MakeNextDiskLabel(std::string& label);
  // Writes the label on a floppy destination only.
  bool SetDestinationLabel(const std::string& label);
  // Total and free bytes of the drive in scaled bytes; false when not known.
  bool DiskBytes(char letter, double& total, double& free);

  // ---- Waits -------------------------------------------------------------
  // Stores the machine's slowness factor in the run record.
  void CalibrateMachineSpeed();
  // Lets a removable, non-floppy destination settle; with changeDisk the
  // medium is released for the next disk.
  void WaitForDriveIdle(char letter, bool changeDisk);
  void WaitForDriveIdle(bool changeDisk) { WaitForDriveIdle(destLetter(), changeDisk); }
  // After a disk change, until the destination's root answers promptly.
  void WaitForRootAccess();
  // Auto-continue time of the next-disk prompt in milliseconds; 0 for none.
  std::uint32_t DiskChangeTimeout();

  // ---- Drive list entries ------------------------------------------------
  // The record AddDriveItem attaches to a new entry with this text.
  DriveListItem MakeDriveItem(const std::string& text, int readable);
  // Used, free, total and sector size of the entry, and its statistics class.
  void MeasureDrive(DriveListItem& item);
  // An entry as the drive lists make it when the drive is chosen: described
  // (media queried), reclassified when a floppy-type drive holds a large
  // medium, and measured. False when the letter names no drive.
  bool DescribeDrive(char letter, DriveListItem& item);

 private:
  char destLetter() const;
  bool destinationSettles() const;
  std::string text(int id) const;
  void pump();
  void pumpFor(std::uint32_t milliseconds);
  std::uint32_t now();
  bool totalBytes(char letter, double& total);

  Platform& platform_;
  RunRecord& run_;
  std::unique_ptr<DeviceQueries> ownDevices_;
  DeviceQueries& devices_;
  std::unique_ptr<Texts> ownTexts_;
  const Texts* texts_ = nullptr;
  EngineHost* host_ = nullptr;
  std::function<void()> setNamer_;
  std::uint32_t kinds_[26] = {};
};

}  // namespace hw
