// The state of the current backup run, shared by the engine, the drive
// services, the selection rules, the report writer and the main panel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drives/drive_kind.h"
#include "engine/scan_tree.h"

namespace hw {

class SettingsStore;

// Backup mode bits.
inline constexpr std::uint32_t MODE_ALL = 0x01;
inline constexpr std::uint32_t MODE_CHANGED = 0x02;
inline constexpr std::uint32_t MODE_DATA = 0x04;
inline constexpr std::uint32_t MODE_APPS = 0x08;
inline constexpr std::uint32_t MODE_BOOT = 0x10;

// Results of BackupEngine::run.
inline constexpr int kRunNothingPlanned = 0;
inline constexpr int kRunDone = 2;
inline constexpr int kRunCancelled = 3;
inline constexpr int kRunFatal = 16;

// A cut-off copy that could not be removed because its disk had left the
// drive.
struct IncompleteCopy {
  std::string path;
  std::int32_t disk = 0;
  std::uint32_t serial = 0;
};

struct RunRecord {
  std::uint32_t slownessRating = 1;
  std::uint32_t mode = 0;
  std::int32_t diskIndex = 0;
  std::int32_t diskCount = 0;
  std::uint32_t destFlags = 0;
  std::uint32_t destType = 0;
  std::uint32_t rateTotal = 0;
  std::uint32_t rateFile = 0;
  std::uint32_t rateErase = 0;
  std::int32_t active = 0;
  std::int32_t paused = 0;
  char destLetter = 0;
  char sourceLetter = 0;
  SettingsStore* settingsStore = nullptr;
  // The selected entries of the source drive list given to the run.
  std::vector<DriveListItem> sourceList;
  double totalBytes = 0;
  double totalFiles = 0;
  double estimateSeconds = 0;
  double bytesCopied = 0;
  double filesCopied = 0;
  double startTime = 0;
  double megabyteLimit = 1e11;
  double megabyteLimitPart = 5e10;
  double clusterSize = 0;
  std::string logFileBase;
  std::string setFolder;
  std::string setLabel;
  std::string setName;
  std::vector<ShortenedPath> shortenedPaths;
  std::vector<IncompleteCopy> incompleteCopies;
  std::vector<ExtraFile> extraFiles;
  // unique_ptr so a drive's tree keeps its place while the list changes.
  std::vector<std::unique_ptr<SourceDrive>> sourceDrives;
  double reportElapsed = 0;

  SourceDrive* findDrive(char letter);
};

}  // namespace hw
