// The platform over the real Win32 calls, for the Windows build (and Wine).
// This header stays free of <windows.h>: the core includes it at start-up.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace hw {

class Win32Platform final : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;

  FileSystem& files() override { return *files_; }
  Volumes& volumes() override { return *volumes_; }
  Clock& clock() override { return *clock_; }
  Profile& profile() override { return *profile_; }
  Registry& registry() override { return *registry_; }
  std::string programDirectory() override;
  // A person swaps the media on a real machine.
  bool insertMedium(char letter, int number) override { return false; }
  int currentMedium(char letter) override { return 0; }

 private:
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Volumes> volumes_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Profile> profile_;
  std::unique_ptr<Registry> registry_;
};

// True when the program runs under Wine rather than Windows (ntdll exports
// wine_get_version there). Tests use it to mark Wine's known differences.
bool runningUnderWine();

}  // namespace hw
