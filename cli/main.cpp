// hoardwell: the command-line front-end of the backup engine.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_platform.h"
#include "cli/drives_command.h"
#include "cli/terminal_host.h"
#include "engine/table_texts.h"
#include "app/settings_store.h"
#include "drives/drive_services.h"
#include "engine/backup_engine.h"

namespace {

// Set by Ctrl-C; the terminal host turns it into a stop at the next check.
volatile std::sig_atomic_t gInterrupted = 0;

void onInterrupt(int) { gInterrupted = 1; }

constexpr int kExitDone = 0;
constexpr int kExitCancelled = 1;
constexpr int kExitFatal = 2;
constexpr int kExitUsage = 64;

int fail(int status, const std::string& reason) {
  std::cerr << "hoardwell: " << reason << "\n";
  return status;
}

struct Tally {
  double copied = 0;
  double bytes = 0;  // of the saved files, as copied
  double copiedWithWarning = 0;
  double notSaved = 0;
};

const char* outcomeText(int status) {
  switch (status) {
    case hw::kOutcomeTooLarge: return "larger than one disk";
    case hw::kOutcomeSkipped: return "skipped";
    case hw::kOutcomeDirectoryGone: return "its folder no longer exists";
    case hw::kOutcomeOpenFailed: return "could not be opened";
    case hw::kOutcomeNoSourceTimes: return "saved, but its times could not be read";
    case hw::kOutcomeTimesNotSet: return "saved, but its times could not be set";
    case hw::kOutcomeNoSourceAttributes: return "saved, but its attributes could not be read";
    case hw::kOutcomeAttributesNotSet: return "saved, but its attributes could not be set";
    default: return "not saved";
  }
}

// What became of every file the rules chose, told truthfully.
Tally reportOutcomes(hw::RunRecord& run, std::ostream& err) {
  Tally tally;
  auto one = [&](const std::string& path, int status, int wasSelected, double size) {
    if (status == hw::kOutcomeCopied) {
      tally.copied += 1;
      tally.bytes += size;
      return;
    }
    if (status == hw::kOutcomeNotCopied && !wasSelected) return;
    const bool saved = status >= hw::kOutcomeNoSourceTimes;
    (saved ? tally.copiedWithWarning : tally.notSaved) += 1;
    if (saved) tally.bytes += size;
    err << "  " << path << ": " << outcomeText(status) << "\n";
  };
  for (auto& drive : run.sourceDrives) {
    if (!drive->selected || !drive->root) continue;
    for (hw::DirEntry* d = drive->root; d; d = hw::preorderNext(d)) {
      for (const hw::FileEntry& f : d->files) {
        one(d->fullPath() + "\\" + f.name, f.status, f.selected || f.diskNumber == -1, f.size);
      }
    }
  }
  for (const hw::ExtraFile& e : run.extraFiles) one(e.path, e.status, e.selected, e.size);
  return tally;
}

// Where the report went, or loudly that it did not: it is the only record of
// which file is on which disk.
void tellReport(hw::Platform& platform, const hw::BackupEngine& engine, const hw::RunRecord& run) {
  const std::string onDisk = run.setFolder + "\\" + run.setName + ".KVX";
  const std::string inLog = hw::cli::shownPath(platform, run.logFileBase + ".KVX");
  switch (engine.reportResult()) {
    case hw::kReportWritten:
      std::printf("Report: %s (last disk)%s%s\n", onDisk.c_str(),
                  run.logFileBase.empty() ? "" : ", copy in ", run.logFileBase.empty() ? "" : inLog.c_str());
      break;
    case hw::kReportNoLogCopy:
      std::printf("Report: %s (last disk)\n", onDisk.c_str());
      std::fprintf(stderr, "hoardwell: the report's copy in the log folder could not be written (error %u)\n",
                   unsigned(engine.reportWriter().copyError()));
      break;
    case hw::kReportOnlyLogCopy:
      std::printf("Report: %s\n", inLog.c_str());
      std::fprintf(stderr, "hoardwell: the report could not be written to the last disk (error %u); "
                   "keep the copy in the log folder\n", unsigned(engine.reportWriter().primaryError()));
      break;
    default:
      std::fprintf(stderr, "hoardwell: the backup report could NOT be written (error %u); the list "
                   "above is the only record of what was saved\n",
                   unsigned(engine.reportWriter().primaryError()));
      break;
  }
}

int runBackup(const hw::cli::Options& options) {
  std::string error;
  std::unique_ptr<hw::Platform> platform = hw::cli::makeCliPlatform(options.drives, error);
  if (!platform) return fail(kExitUsage, error);

  hw::SettingsStore settings(*platform, hw::cli::settingsPath(*platform, options.settingsFile));
  // As at the windowed program's start: a first run writes the complete
  // default settings file.
  settings.GetMainPlacement(1);
  hw::RunRecord run;
  hw::DriveServices drives(*platform, run);
  hw::TableTexts texts;
  const bool tty = isatty(STDOUT_FILENO) != 0;
  hw::cli::TerminalHost host(*platform, std::cin, std::cout, std::cerr, options.yes, tty,
                             &gInterrupted);
  hw::BackupEngine engine(*platform, settings, run, drives, host, texts);
  host.attach(engine);
  drives.setHost(&host);

  std::vector<hw::DriveListItem> sources;
  for (char letter : options.sources) {
    hw::DriveListItem item;
    if (!drives.DescribeDrive(letter, item)) {
      return fail(kExitUsage, std::string("source drive ") + letter + ": does not exist");
    }
    sources.push_back(item);
  }
  hw::DriveListItem dest;
  if (!drives.DescribeDrive(options.dest, dest)) {
    return fail(kExitUsage, std::string("destination drive ") + options.dest + ": does not exist");
  }
  if (dest.kind & hw::DK_CDROM) {
    return fail(kExitUsage, std::string("destination drive ") + options.dest +
                                ": is a CD-ROM drive and cannot be written");
  }
  engine.setDestination(dest);

  std::signal(SIGINT, onInterrupt);
  const int result = engine.run(sources, options.mode);
  host.finishProgress();
  std::signal(SIGINT, SIG_DFL);

  const Tally tally = reportOutcomes(run, std::cerr);
  for (const hw::IncompleteCopy& c : run.incompleteCopies) {
    std::cerr << "  " << c.path << " on disk " << c.disk
              << " is a cut-off copy (the disk was taken out); the whole file is on a later disk\n";
  }
  switch (result) {
    case hw::kRunDone:
      std::printf("Backup set %s: %.0f files (%.0f bytes) saved to %s on %d disk%s.\n",
                  run.setName.c_str(), tally.copied + tally.copiedWithWarning, tally.bytes,
                  run.setFolder.c_str(),
                  run.diskIndex, run.diskIndex == 1 ? "" : "s");
      std::printf("Time: %.1f s measured, %.1f s estimated.\n", engine.elapsed,
                  run.estimateSeconds);
      tellReport(*platform, engine, run);
      if (tally.copiedWithWarning > 0) {
        std::printf("%.0f files were saved with a warning (listed above).\n",
                    tally.copiedWithWarning);
      }
      if (tally.notSaved > 0) {
        std::printf("%.0f selected files were NOT saved (listed above).\n", tally.notSaved);
      }
      return kExitDone;
    case hw::kRunNothingPlanned:
      return fail(kExitCancelled, "nothing to back up");
    case hw::kRunFatal:
      return fail(kExitFatal, "the backup was stopped: the destination cannot take it");
    default:
      if (run.filesCopied > 0) {
        std::fprintf(stderr,
                     "hoardwell: cancelled; %.0f files were copied before the stop, but the "
                     "backup is not complete\n",
                     run.filesCopied);
        return kExitCancelled;
      }
      return fail(kExitCancelled, "cancelled");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  hw::cli::Options options;
  std::string error;
  if (!hw::cli::parseOptions(args, options, error)) return fail(kExitUsage, error);
  if (options.command == "help") {
    std::fputs(hw::cli::usageText(), stdout);
    return 0;
  }
  if (options.command == "backup") return runBackup(options);
  std::unique_ptr<hw::Platform> platform = hw::cli::makeCliPlatform(options.drives, error);
  if (!platform) return fail(kExitUsage, error);
  return hw::runDrivesCommand(*platform, std::cout);
}
