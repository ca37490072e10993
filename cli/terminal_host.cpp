#include "cli/terminal_host.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "engine/backup_engine.h"

namespace hw::cli {

namespace {

// Unattended, a message box that offers Retry is answered Retry this many
// times in a row, then Cancel, so a missing disk cannot hang the run.
constexpr int kUnattendedRetries = 3;

std::string bytesText(double bytes) {
  char text[64];
  if (bytes >= 1024.0 * 1024 * 1024) {
    std::snprintf(text, sizeof text, "%.2f GiB", bytes / (1024.0 * 1024 * 1024));
  } else if (bytes >= 1024.0 * 1024) {
    std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024.0 * 1024));
  } else if (bytes >= 1024.0) {
    std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
  } else {
    std::snprintf(text, sizeof text, "%.0f bytes", bytes);
  }
  return text;
}

}  // namespace

TerminalHost::TerminalHost(Platform& platform, std::istream& in, std::ostream& out,
                           std::ostream& err, bool unattended, bool progressInPlace,
                           const volatile std::sig_atomic_t* interrupted)
    : platform_(platform),
      in_(in),
      out_(out),
      err_(err),
      unattended_(unattended),
      inPlace_(progressInPlace),
      interrupted_(interrupted) {}

bool TerminalHost::readLine(std::string& line) {
  out_.flush();
  if (!std::getline(in_, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool TerminalHost::confirm(const std::string& question, bool defaultYes) {
  clearProgress();
  out_ << question << (defaultYes ? " [Y/n] " : " [y/N] ");
  if (unattended_) {
    out_ << (defaultYes ? "y" : "n") << " (--yes)\n";
    return defaultYes;
  }
  std::string line;
  // No answer at all (input closed): take the safe way, which is no.
  if (!readLine(line)) {
    out_ << "\n";
    return false;
  }
  if (line.empty()) return defaultYes;
  return line[0] == 'y' || line[0] == 'Y';
}

void TerminalHost::notify(int commandId) {
  if (commandId == kNotifyProgress) drawProgress(false);
  if (commandId == kNotifyNewSourceDrive && engine_) {
    clearProgress();
    out_ << "Copying drive " << engine_->record().sourceLetter << ":\n";
  }
}

int TerminalHost::ask(PromptKind kind, const PromptDetails& d) {
  clearProgress();
  switch (kind) {
    case PromptKind::summary: {
      // The summary's first line is the estimated time with its unit.
      const std::string estimate = d.text.substr(0, d.text.find('\n'));
      char line[256];
      std::snprintf(line, sizeof line, "Back up %.0f files (%s) on %d disk%s, about %s?",
                    d.totalFiles, bytesText(d.totalBytes).c_str(), d.diskCount,
                    d.diskCount == 1 ? "" : "s", estimate.c_str());
      return confirm(line, true) ? kAnswerStart : kAnswerCancel;
    }
    case PromptKind::nextDisk: {
      const char letter = engine_ ? engine_->record().destLetter : 'A';
      out_ << (d.afterWriteError ? "The disk is full. " : "")
           << "Insert disk " << d.diskNumber << " of backup set " << d.setName << " into drive "
           << letter << ": and press Enter (q to stop) ";
      std::string line;
      if (unattended_) {
        out_ << "(--yes)\n";
      } else if (!readLine(line) || line == "q" || line == "Q") {
        out_ << "\n";
        return kAnswerAbort;
      }
      // Where media are folders, the next one is put in for the person: a
      // new one each time, also after a medium was taken out.
      lastMedium_ = std::max(lastMedium_, platform_.currentMedium(letter)) + 1;
      platform_.insertMedium(letter, lastMedium_);
      return kAnswerContinue;
    }
    case PromptKind::overwrite: {
      out_ << d.destPath << " exists already.";
      if (!d.text.empty()) out_ << " " << d.text;
      out_ << "\n";
      if (unattended_) {
        out_ << "Overwriting (--yes).\n";
        return kAnswerOverwrite;
      }
      out_ << "Overwrite it? [y]es, [n]o, [a]ll: ";
      std::string line;
      if (!readLine(line)) return kAnswerSkipFile;
      if (line == "a" || line == "A") return kAnswerOverwriteAll;
      if (line.empty() || line[0] == 'y' || line[0] == 'Y') return kAnswerOverwrite;
      return kAnswerSkipFile;
    }
    case PromptKind::copyError: {
      err_ << "Could not copy " << d.directory << "\\" << d.fileName << " (error " << d.code
           << ").\n";
      if (unattended_) {
        err_ << "Skipping it (--yes); it is not counted as saved.\n";
        return kAnswerSkip;
      }
      out_ << "[r]etry, [s]kip, [a]bort? ";
      std::string line;
      if (!readLine(line)) return kAnswerSkip;
      if (line == "r" || line == "R") return kAnswerRetry;
      if (line == "a" || line == "A") return kAnswerAbort;
      return kAnswerSkip;
    }
    case PromptKind::diskInUse: {
      // The engine gives "used\nfree".
      const auto cut = d.text.find('\n');
      out_ << "The disk holds data already: " << d.text.substr(0, cut) << " used, "
           << (cut == std::string::npos ? std::string() : d.text.substr(cut + 1)) << " free.\n";
      if (unattended_) {
        // Never erase unasked: the backup goes beside what is there.
        out_ << "Adding the backup beside it (--yes).\n";
        return kAnswerAppend;
      }
      out_ << "[a]dd the backup beside it, [e]rase the disk, [q]uit? ";
      std::string line;
      if (!readLine(line) || line == "q" || line == "Q") return kAnswerAbort;
      if (line == "e" || line == "E") {
        return confirm("Erase everything on the disk?", false) ? kAnswerErase : kAnswerAbort;
      }
      return kAnswerAppend;
    }
    case PromptKind::fileTooLarge:
      err_ << d.sourcePath << " is larger than one destination disk and is left out.\n";
      return kAnswerSkip;
  }
  return kAnswerAbort;
}

int TerminalHost::messageBox(const std::string& text, const std::string& caption,
                             unsigned type) {
  clearProgress();
  err_ << caption << ": " << text << "\n";
  const unsigned buttons = type & 0xF;
  switch (buttons) {
    case kMbRetryCancel:
      if (unattended_) {
        if (++retriesAnswered_ > kUnattendedRetries) {
          retriesAnswered_ = 0;
          err_ << "Cancel (--yes, after " << kUnattendedRetries << " retries)\n";
          return kIdCancel;
        }
        platform_.clock().sleep(1000);
        return kIdRetry;
      }
      return confirm("Retry?", true) ? kIdRetry : kIdCancel;
    case kMbYesNo:
    case kMbYesNoCancel:
      return confirm("Continue?", true) ? kIdYes : kIdNo;
    default:
      return kIdOk;
  }
}

void TerminalHost::pumpMessages() {
  if (interrupted_ && *interrupted_ && engine_ && engine_->record().active) {
    if (!stopAnnounced_) {
      clearProgress();
      err_ << "Stopping: the backup is not complete.\n";
      stopAnnounced_ = true;
    }
    engine_->record().active = 0;
    engine_->cancelScan();
  }
}

void TerminalHost::setControlText(int controlId, const std::string& text) {
  controls_[controlId] = text;
}

void TerminalHost::showScanWindow(bool visible) {
  if (visible) out_ << "Scanning...\n";
}

void TerminalHost::showWaitWindow(bool) {}

void TerminalHost::drawProgress(bool force) {
  if (!engine_) return;
  const RunRecord& run = engine_->record();
  if ((!run.active && !force) || run.totalFiles == 0) return;
  const int percent = engine_->overallPercent;
  const std::uint32_t now = platform_.clock().tickCount();
  if (inPlace_) {
    // At most ten redraws a second: a terminal is slower than a copy.
    if (!force && progressShown_ && now - lastDraw_ < 100) return;
  } else if (!force && percent / 10 == lastPlainPercent_ / 10) {
    return;
  }
  lastDraw_ = now;
  lastPlainPercent_ = percent;
  auto text = [&](int id) {
    auto it = controls_.find(id);
    return it == controls_.end() ? std::string("-") : it->second;
  };
  char head[64];
  if (percent >= 100) {
    std::snprintf(head, sizeof head, "%3d%%  disks %s", percent, text(2056).c_str());
  } else {
    std::snprintf(head, sizeof head, "%3d%%  disk %d of %d %3d%%", percent, run.diskIndex + 1,
                  run.diskCount, engine_->diskPercent);
  }
  // The figures and units of the run page: files and bytes done and left,
  // elapsed and remaining time.
  const std::string line = std::string(head) + "  files " + text(2055) + " done " + text(2059) +
                           " left  " + text(2054) + " " + text(2082) + " done " + text(2058) +
                           " " + text(2083) + " left  elapsed " + text(2053) + " " +
                           text(2080) +
                           (percent >= 100 ? "" : ", remaining " + text(2057) + " " + text(2081));
  if (inPlace_) {
    out_ << "\r" << line << "\x1b[K" << std::flush;
    progressShown_ = true;
  } else {
    out_ << line << "\n";
  }
}

void TerminalHost::clearProgress() {
  if (inPlace_ && progressShown_) out_ << "\r\x1b[K" << std::flush;
  progressShown_ = false;
}

void TerminalHost::finishProgress() {
  // Plain lines: the last one is out already unless the figure moved since.
  if (inPlace_ || !engine_ || engine_->overallPercent != lastPlainPercent_) drawProgress(true);
  if (inPlace_ && progressShown_) out_ << "\n";
  progressShown_ = false;
}

}  // namespace hw::cli
