// The contract environment of the Windows build: the real Win32 platform and
// a scratch folder under the Windows temp folder, on Windows or under Wine.
#include <memory>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/contract/contract_env.h"
#include "tests/win32/scratch_folder.h"
#include "tests/win32/wine_difference.h"

namespace hw::contract {
namespace {

class Win32Env final : public ContractEnv {
 public:
  Win32Env() : wine_(runningUnderWine()) {}

  Platform& platform() override { return platform_; }
  std::string scratchDir() override { return scratch_.path(); }
  std::string scratchRoot() override {
    const std::string& dir = scratch_.path();
    return dir.size() >= 3 && dir[1] == ':' ? dir.substr(0, 3) : std::string();
  }
  // Wine has nowhere on a Linux file system to keep either.
  bool keepsArchiveBit() override { return !wine_; }
  bool keepsCreationTime() override { return !wine_; }
  bool readOnlyStopsWrites() override { return !(wine_ && test::wineRunsAsRoot()); }
  bool createRefusesHiddenFiles() override { return !wine_; }
  bool checksDaysOfMonth() override { return !wine_; }

 private:
  Win32Platform platform_;
  test::ScratchFolder scratch_;
  bool wine_;
};

}  // namespace

std::unique_ptr<ContractEnv> makeContractEnv() { return std::make_unique<Win32Env>(); }

}  // namespace hw::contract
