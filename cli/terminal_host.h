// The engine's front-end on a terminal: prompts asked on standard input (or
// answered with their go-ahead answer for an unattended run), a progress
// line, and Ctrl-C as the stop button.
#pragma once

#include <csignal>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>

#include "engine/engine_host.h"
#include "platform/platform.h"

namespace hw {
class BackupEngine;
}

namespace hw::cli {

class TerminalHost final : public EngineHost {
 public:
  TerminalHost(Platform& platform, std::istream& in, std::ostream& out, std::ostream& err,
               bool unattended, bool progressInPlace, const volatile std::sig_atomic_t* interrupted);

  // The engine whose figures the progress line shows; set once it exists.
  void attach(BackupEngine& engine) { engine_ = &engine; }
  void finishProgress();

  void notify(int commandId) override;
  int ask(PromptKind kind, const PromptDetails& details) override;
  int messageBox(const std::string& text, const std::string& caption, unsigned type) override;
  void pumpMessages() override;
  void setControlText(int controlId, const std::string& text) override;
  void showScanWindow(bool visible) override;
  void showWaitWindow(bool visible) override;

 private:
  // Reads a line; false at the end of the input.
  bool readLine(std::string& line);
  bool confirm(const std::string& question, bool defaultYes);
  void drawProgress(bool force);
  void clearProgress();

  Platform& platform_;
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool unattended_;
  bool inPlace_;
  const volatile std::sig_atomic_t* interrupted_;
  BackupEngine* engine_ = nullptr;
  // The run page's texts as the engine's progress feed writes them.
  std::map<int, std::string> controls_;
  bool progressShown_ = false;
  std::uint32_t lastDraw_ = 0;
  int lastPlainPercent_ = -1;
  int retriesAnswered_ = 0;
  int lastMedium_ = 1;
  bool stopAnnounced_ = false;
};

}  // namespace hw::cli
