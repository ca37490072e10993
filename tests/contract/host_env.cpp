// The contract environment of the host platform: drive C: over a temporary
// folder, with the Windows folder and a scratch folder in it.
#include <memory>

#include "platform/host/host_platform.h"
#include "tests/contract/contract_env.h"
#include "tests/support/host_tree.h"

namespace hw::contract {
namespace {

class HostEnv final : public ContractEnv {
 public:
  HostEnv() {
    HostDrive c;
    c.letter = 'C';
    c.folder = temp_ / "c";
    c.label = "HOST";
    platform_.addDrive(c);
    platform_.files().createDirectory("C:\\WINDOWS");
    platform_.files().createDirectory("C:\\scratch");
  }

  Platform& platform() override { return platform_; }
  std::string scratchDir() override { return "C:\\scratch"; }
  std::string scratchRoot() override { return "C:\\"; }
  bool keepsArchiveBit() override { return true; }
  bool keepsCreationTime() override { return true; }

 private:
  test::TempDir temp_;
  HostPlatform platform_;
};

}  // namespace

std::unique_ptr<ContractEnv> makeContractEnv() { return std::make_unique<HostEnv>(); }

}  // namespace hw::contract
