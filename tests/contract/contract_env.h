// What the platform contract suite needs from the platform it checks. The
// suite's sources use only platform/platform.h and this header; each build
// links one implementation: host_env.cpp natively, win32_env.cpp in the
// Windows build (run under Wine or on Windows).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace hw::contract {

class ContractEnv {
 public:
  virtual ~ContractEnv() = default;
  virtual Platform& platform() = 0;
  // A Windows path to a fresh, empty folder of this environment, without a
  // trailing backslash ("C:\\scratch"). Removed with the environment.
  virtual std::string scratchDir() = 0;
  // The root of the drive that holds it ("C:\\").
  virtual std::string scratchRoot() = 0;
  // Wine reads every file back with the archive bit set.
  virtual bool keepsArchiveBit() = 0;
  // Wine cannot set a creation time on a Linux file system.
  virtual bool keepsCreationTime() = 0;
  // Wine run as root opens a read-only file for writing (it only refuses
  // the delete).
  virtual bool readOnlyStopsWrites() { return true; }
  // Wine lets CREATE_ALWAYS replace a hidden or system file.
  virtual bool createRefusesHiddenFiles() { return true; }
  // Wine's SystemTimeToFileTime takes days a month does not have.
  virtual bool checksDaysOfMonth() { return true; }
};

// A new environment with a new scratch folder; one per test.
std::unique_ptr<ContractEnv> makeContractEnv();

// Each contract test gets its environment from here.
class ContractTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = makeContractEnv();
    ASSERT_TRUE(env_);
    scratch_ = env_->scratchDir();
    ASSERT_FALSE(scratch_.empty());
  }
  void TearDown() override { env_.reset(); }

  Platform& platform() { return env_->platform(); }
  FileSystem& files() { return env_->platform().files(); }
  ContractEnv& env() { return *env_; }
  std::string at(const std::string& name) const { return scratch_ + "\\" + name; }

  // A marked difference of the platform under test: the check is not made,
  // and the test says so in its output and its XML properties.
  void knownDifference(const char* what) {
    RecordProperty("KNOWN_DIFFERENCE", what);
    std::printf("[ KNOWN DIFFERENCE ] %s\n", what);
  }

 private:
  std::unique_ptr<ContractEnv> env_;
  std::string scratch_;
};

}  // namespace hw::contract
