// The backup engine: one long-lived object that carries out a backup run from
// scan to report, on the user-interface thread, talking to its front-end only
// through EngineHost.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/settings_store.h"
#include "drives/drive_services.h"
#include "engine/engine_host.h"
#include "engine/run_record.h"
#include "engine/texts.h"
#include "platform/platform.h"
#include "report/report_writer.h"
#include "report/set_naming.h"
#include "rules/selection_rules.h"

namespace hw {

// Results of copyFile.
enum CopyResult : int {
  kCopyOk = 0,
  kCopyOpenFailed = 1,
  kCopyCreateFailed = 2,
  kCopyNoMemory = 3,
  kCopyReadFailed = 5,
  kCopyWriteFailed = 6,
  kCopyNoSourceTimes = 7,
  kCopyTimesNotSet = 8,
  kCopyNoSourceAttributes = 9,
  kCopyAttributesNotSet = 10,
  kCopyStopped = 11,
  kCopySkipped = 12,
  kCopyRepeatedWriteFailures = 13,
  kCopyNoDestDirectory = 14,
};

// The refusal to erase a destination that is also a source.
inline constexpr int kMessageEraseSourceRefused = 10;

// Destination paths longer than this are shortened.
inline constexpr std::size_t kMaxDestPath = 256;
// The longest path a file can be created at (MAX_PATH less the terminator).
inline constexpr std::size_t kMaxFilePath = 259;
// Copy in 128 KiB blocks so the window stays responsive between them.
inline constexpr std::uint32_t kCopyBlock = 0x20000;
inline constexpr std::size_t kCopyBufferSize = 0x2000A;

class BackupEngine {
 public:
  BackupEngine(Platform& platform, SettingsStore& settings, RunRecord& run,
               DriveServices& drives, EngineHost& host, const Texts& texts);
  ~BackupEngine();
  BackupEngine(const BackupEngine&) = delete;
  BackupEngine& operator=(const BackupEngine&) = delete;

  // The destination drive of the next run, as the drive list describes it:
  // what the front-end copies into the records before each run.
  void setDestination(const DriveListItem& destination);
  // One whole backup of the selected source drives with the mode bits.
  int run(const std::vector<DriveListItem>& sourceList, std::uint32_t mode);
  void rescanDrive(char letter, bool keepRecord);
  void pauseLoop();
  // The scan window's and the erase window's cancel buttons.
  void cancelScan();
  void cancelErase() { eraseCancelled_ = true; }

  // Progress figures for the front-end.
  std::int32_t diskPercent = 0;
  std::int32_t overallPercent = 0;
  std::uint32_t writeFailures = 0;
  double currentDiskTime = 0;  // seconds to fill what remains of this disk
  double diskCapacity = 0;     // bytes one destination disk takes
  std::int32_t milestone25 = 0;
  std::int32_t milestone50 = 0;
  std::int32_t milestone75 = 0;
  double elapsed = 0;
  double remaining = 0;
  double estimatedTotal = 0;
  double bytesOnDisk = 0;
  double baseEstimate = 0;   // after the estimate: seconds per full disk
  double diskEraseTime = 0;  // seconds to erase one full disk
  double diskSpaceLeft = 0;
  double eraseRemaining = 0;
  double bytesAlreadyOnDisk = 0;

  RunRecord& record() { return run_; }
  // What became of the report of the last completed run (ReportResult), or
  // -1 when no run completed.
  int reportResult() const { return reportResult_; }
  const ReportWriter& reportWriter() const { return *report_; }
  SelectionRules& rules() { return *rules_; }

  // Pieces of the run, public so they can be driven one by one.
  bool scanDrive(SourceDrive& drive);
  int copyFile(const std::string& source, const std::string& dest, bool keep,
               bool checkExisting);
  bool createDestDirs(const std::string& path, bool pathEndsWithFileName, bool freshDisk);
  bool shortenDestPath(const std::string& sourcePath, std::string& destPath, std::size_t limit);
  void clearArchiveBits();

  // Planning and the time estimate.
  bool estimate(bool withPrompts);
  bool planDisks(bool withPrompts);
  double loadRates();
  void loadEraseRate();
  void refineRemaining();
  void recalibrate(int percent);
  void storeTimings(double capacity);
  void calibrateErase(double estimatedSeconds, double measuredSeconds);
  void stopClock();
  void startClock();

  // The progress feed; `current` is what of the file being copied is written.
  void fullUpdate(double current);
  void bytesUpdate(double current);
  void elapsedUpdate();
  void diskUpdate(double current);
  void finalUpdate();
  int fillSummary();

 private:
  struct CopyTarget;  // a FileEntry or an ExtraFile

  int copyPhase();
  void copyTree(SourceDrive& drive);
  bool copyDirectory(DirEntry& dir);
  int ensureRoomFor(double size);
  void accountCopied(CopyTarget target, double size);
  void copyAndAccount(CopyTarget target, const std::string& source, const std::string& dest,
                      bool checkExisting);
  void handleCopyResult(CopyTarget target, const std::string& source, const std::string& dest,
                        int code);
  bool retryCopy(CopyTarget target, const std::string& source, const std::string& dest);
  void copyBootFilesFirst();
  void copyExtraFiles();
  bool listDirectoryInto(SourceDrive& drive, DirEntry& dir);
  bool usableShortPath(std::string& path);
  void stampCreatedDirectories();
  void removePartialFile(const std::string& dest);
  void noteDiskStateAtWriteFailure(Status status);
  void removeIncompleteCopiesOnThisDisk();

  // Destination disks.
  int prepareDisk();
  int fixedDiskCheck();
  bool handleUsedDisk(double total, double free);
  void appendToDisk(double used);
  bool eraseDisk(double used);
  bool deleteTree(const std::string& dir, bool isRoot);
  bool deleteFilesOf(const std::string& dir);
  bool deleteOneFile(const std::string& path);
  void showEraseFigures(double secondsLeft, bool atLeastTwo);
  int askNextDisk(bool afterWriteError);
  bool newDiskAfterWriteError();
  bool askUntilNextDiskReady();
  void noteFilledDiskLabel();
  bool destinationIsASource() const;
  bool labelOfThisSet(const std::string& description) const;
  std::string figureText(double bytes) const;
  void nameBackupSet();

  void updateProgress(bool full) { full ? fullUpdate(bytesInFlight_) : bytesUpdate(bytesInFlight_); }
  double seconds();
  std::uint32_t capacityKey() const;
  bool planFile(const std::string& path, std::int32_t& selected, std::int32_t& status,
                double fileSize, bool withPrompts, double& fill);
  void dropTooLarge(std::int32_t& selected, std::int32_t& status, double size);
  void resetDisplay();
  void showText(int control, const std::string& text);
  int runTimeUnit() const;
  void showRunTime(double seconds, double atLeast, int valueControl, int unitControl,
                   std::string& unitCache);
  void elapsedShow();
  void measureElapsed();
  // Asks until the answer is not pause (the user resumed) or the run stopped;
  // the clock is stopped around it by the caller.
  int askWithPauses(PromptKind kind, const PromptDetails& details);
  // The engine's message boxes by number; figures for those that show some.
  int showMessage(int number, double figure1 = 0, double figure2 = 0);

  std::string attributesText(std::uint32_t attributes) const;

  Platform& platform_;
  SettingsStore& settings_;
  RunRecord& run_;
  DriveServices& drives_;
  EngineHost& host_;
  const Texts& texts_;
  std::unique_ptr<SelectionRules> rules_;
  SetNaming setNaming_;
  // The report writer keeps the window alive through the engine's host.
  class ReportPump final : public ReportHost {
   public:
    explicit ReportPump(EngineHost& host) : host_(host) {}
    void pumpMessages() override { host_.pumpMessages(); }

   private:
    EngineHost& host_;
  };
  ReportPump reportPump_;
  std::unique_ptr<ReportWriter> report_;
  int reportResult_ = -1;

  std::int32_t dirsCreated_ = 0;
  std::int32_t skipAllTooLarge_ = 0;
  std::int32_t confirmOverwrite_ = 0;
  std::vector<char> copyBuffer_;
  double pauseStart_ = 0;
  bool clockStopped_ = false;
  std::uint32_t blockCounter_ = 0;
  bool scanRunning_ = true;  // cleared by the scan window's cancel
  bool scanCancelled_ = false;
  bool eraseCancelled_ = false;
  std::uint32_t diskSerial_ = 0;
  // The last failed write found the disk full (before its cut-off copy was
  // removed).
  bool fullAtWriteFailure_ = false;  // serial number of the disk in the drive
  SourceDrive* currentDrive_ = nullptr;
  DirEntry* currentDir_ = nullptr;
  // Directories made on the current disk with the times they must end up
  // with: adding files to a directory moves its write time, so they are
  // stamped again once the disk is finished.
  std::vector<std::pair<std::string, FileTime>> createdDirs_;
  // Source directory -> its shortened destination, for this run.
  std::map<std::string, std::string> shortenedDirs_;
  std::uint64_t lastCopiedBytes_ = 0;
  // Full progress updates since the remaining time was last refined; kept
  // for the program's life.
  int refineCalls_ = 0;
  // What the run page shows now, so a text is written only when it changes.
  struct DisplayCache {
    std::int64_t elapsedSeconds = -1;
    std::int64_t remainingSeconds = -1;
    std::int64_t diskSeconds = -1;
    double bytesDone = -1;
    double filesDone = -1;
    std::int32_t disksLeft = -1;
    std::string elapsedUnit, remainingUnit, doneUnit, leftUnit;
  };
  DisplayCache display_;
  // Bytes of the file being copied that are already written, for progress.
  double bytesInFlight_ = 0;
};

}  // namespace hw
