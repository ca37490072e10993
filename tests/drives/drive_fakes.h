// Stand-ins around the host platform for the drive services' tests: a host
// that records notifications and may charge time per pump, volumes that fail
// or answer slowly for chosen letters, and a device library whose answers
// can be overridden.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "drives/platform_device_queries.h"
#include "engine/engine_host.h"
#include "platform/host/host_platform.h"

namespace hw::test {

class RecordingHost final : public EngineHost {
 public:
  explicit RecordingHost(Clock* clock = nullptr, std::uint32_t msPerPump = 0)
      : clock_(clock), msPerPump_(msPerPump) {}

  std::vector<int> notifications;
  int pumps = 0;

  void notify(int commandId) override { notifications.push_back(commandId); }
  int ask(PromptKind, const PromptDetails&) override { return 0; }
  int messageBox(const std::string&, const std::string&, unsigned) override { return 0; }
  void pumpMessages() override {
    ++pumps;
    if (clock_ && msPerPump_) clock_->sleep(msPerPump_);
  }
  void setControlText(int, const std::string&) override {}
  void showScanWindow(bool) override {}
  void showWaitWindow(bool) override {}

 private:
  Clock* clock_;
  std::uint32_t msPerPump_;
};

// The host platform's volumes, except that volume information fails for the
// letters in `noVolumeInfo`, and each volume query of the letters in
// `slowAnswers` costs the next figure of that list in milliseconds.
class ShapedVolumes final : public Volumes {
 public:
  ShapedVolumes(Volumes& inner, Clock& clock) : inner_(inner), clock_(clock) {}

  std::set<char> noVolumeInfo;
  char slowLetter = 0;
  std::vector<std::uint32_t> slowAnswers;
  int volumeQueries = 0;

  std::uint32_t logicalDrives() override { return inner_.logicalDrives(); }
  DriveType driveType(const std::string& root) override { return inner_.driveType(root); }
  Status diskFreeSpace(const std::string& root, DiskFreeSpace& space) override {
    return inner_.diskFreeSpace(root, space);
  }
  Status volumeInformation(const std::string& root, VolumeInfo& info) override {
    const char letter = root.empty() ? 0 : root[0];
    if (letter == slowLetter) {
      ++volumeQueries;
      if (!slowAnswers.empty()) {
        clock_.sleep(slowAnswers.front());
        slowAnswers.erase(slowAnswers.begin());
      }
    }
    if (noVolumeInfo.count(letter)) return Status::notReady;
    return inner_.volumeInformation(root, info);
  }
  Status setVolumeLabel(const std::string& root, const std::string& label) override {
    return inner_.setVolumeLabel(root, label);
  }
  std::uint32_t version() override { return inner_.version(); }

 private:
  Volumes& inner_;
  Clock& clock_;
};

// A host platform seen through ShapedVolumes.
class ShapedPlatform final : public Platform {
 public:
  explicit ShapedPlatform(HostPlatform& inner)
      : inner_(inner), shaped(inner.volumes(), inner.clock()) {}

  FileSystem& files() override { return inner_.files(); }
  Volumes& volumes() override { return shaped; }
  Clock& clock() override { return inner_.clock(); }
  Profile& profile() override { return inner_.profile(); }
  Registry& registry() override { return inner_.registry(); }
  std::string programDirectory() override { return inner_.programDirectory(); }
  bool insertMedium(char letter, int number) override { return inner_.insertMedium(letter, number); }
  int currentMedium(char letter) override { return inner_.currentMedium(letter); }

 private:
  HostPlatform& inner_;

 public:
  ShapedVolumes shaped;
};

// The platform's device answers, with media presence overridable per letter
// and the disk changes counted.
// A drive of the host platform, for the cases where floppyDrive() will not do.
inline HostDrive hostDrive(char letter, HostDriveKind kind, std::uint64_t capacity,
                           std::string label = "DISK") {
  HostDrive d;
  d.letter = letter;
  d.kind = kind;
  d.capacity = capacity;
  d.label = std::move(label);
  return d;
}

// Every call of `op` on `drive` fails with `error`.
inline FaultRule failEvery(FaultOp op, char drive, Status error) {
  FaultRule rule;
  rule.op = op;
  rule.drive = drive;
  rule.nth = 0;
  rule.error = error;
  return rule;
}

class ScriptedDevices final : public DeviceQueries {
 public:
  explicit ScriptedDevices(Platform& platform) : inner(platform) {}

  PlatformDeviceQueries inner;
  std::set<char> mediaClaimed;  // said to hold media, whatever the probe finds
  std::vector<char> diskChanges;

  int isFloppyDrive(char letter) override { return inner.isFloppyDrive(letter); }
  int isCDROMDrive(char letter) override { return inner.isCDROMDrive(letter); }
  int isCDRDrive(char letter) override { return inner.isCDRDrive(letter); }
  int isMediaPresent(char letter) override {
    return mediaClaimed.count(letter) ? 1 : inner.isMediaPresent(letter);
  }
  int isRemovableMedia(char letter) override { return inner.isRemovableMedia(letter); }
  int changeSCSIDisk(char letter) override {
    diskChanges.push_back(letter);
    return 0;
  }
  int getDeviceParameters(int driveNumber, DeviceParameters& block) override {
    return inner.getDeviceParameters(driveNumber, block);
  }
};

}  // namespace hw::test
