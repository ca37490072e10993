#include "drives/drive_services.h"

#include <cstdio>

#include "engine/run_record.h"
#include "engine/table_texts.h"
#include "resources/string_ids.h"

namespace hw {
namespace {

char upper(char letter) { return static_cast<char>(letter & ~0x20); }

int slotOf(char letter) {
  const char l = upper(letter);
  return l >= 'A' && l <= 'Z' ? l - 'A' : -1;
}

}  // namespace

DriveServices::DriveServices(Platform& platform, RunRecord& run)
    : platform_(platform),
      run_(run),
      ownDevices_(makeDeviceQueries(platform)),
      devices_(*ownDevices_),
      ownTexts_(std::make_unique<TableTexts>()),
      texts_(ownTexts_.get()) {}

DriveServices::DriveServices(Platform& platform, RunRecord& run, DeviceQueries& devices)
    : platform_(platform),
      run_(run),
      devices_(devices),
      ownTexts_(std::make_unique<TableTexts>()),
      texts_(ownTexts_.get()) {}

DriveServices::~DriveServices() = default;

std::string DriveServices::text(int id) const {
  return texts_ ? texts_->get(id) : ownTexts_->get(id);
}

char DriveServices::destLetter() const { return run_.destLetter; }

// ---- Classification --------------------------------------------------------

std::uint32_t DriveServices::ClassifyDrive(char letter) {
  const int slot = slotOf(letter);
  if (slot < 0) return DK_UNKNOWN;
  if (kinds_[slot]) return kinds_[slot];
  letter = static_cast<char>('A' + slot);
  const DriveType type = platform_.volumes().driveType(rootOf(letter));
  std::uint32_t kind = DK_UNKNOWN;
  if (devices_.isCDROMDrive(letter)) {
    kind = devices_.isCDRDrive(letter) ? kKindRecordableCd : kKindCdrom;
  } else if (type == DriveType::remote) {
    kind = DK_NETWORK;
  } else if (type == DriveType::removable) {
    kind = FloppyKind(letter) == 1 ? kKindFloppy : kKindOtherRemovable;
  } else if (type == DriveType::fixed) {
    DeviceParameters block;
    devices_.getDeviceParameters(letter - 'A', block);
    if (block.deviceType() != kDeviceTypeFixedDisk) {
      kind = IsRootAccessible(letter) ? DK_RAM : kKindOtherRemovable;
    } else if (block.attributes() == kDeviceNotRemovable) {
      kind = DK_FIXED;
    } else {
      // Attributes 0 say "removable media"; any other value is taken the
      // same way, since a hard disk reports exactly 1.
      kind = kKindOtherRemovable;
    }
  }
  kinds_[slot] = kind;
  return kind;
}

void DriveServices::SetCachedKind(char letter, std::uint32_t kind) {
  if (const int slot = slotOf(letter); slot >= 0) kinds_[slot] = kind;
}

int DriveServices::FloppyKind(char letter) {
  const int r = devices_.isFloppyDrive(letter);
  if (r == 0 || devices_.isMediaPresent(letter) == 0) return r;
  double total = 0;
  if (totalBytes(letter, total) && total > 3000000.0) return 2;
  return r;
}

bool DriveServices::IsRootAccessible(char letter) {
  return succeeded(platform_.files().setCurrentDirectory(rootOf(upper(letter))));
}

std::uint32_t DriveServices::DescribeVolume(const std::string& path, std::string& text,
                                            bool queryRemovable) {
  const char letter = path.empty() ? 0 : upper(path[0]);
  if (letter < 'A' || letter > 'Z') {
    text.clear();
    return VS_BAD_LETTER;
  }
  if (!queryRemovable && (ClassifyDrive(letter) & DK_REMOVABLE)) return VS_SKIPPED;
  VolumeInfo info;
  if (succeeded(platform_.volumes().volumeInformation(rootOf(letter), info))) {
    std::string label = info.label.empty() ? this->text(ids::IDS_NO_LABEL) : info.label;
    std::erase(label, '.');
    text = "  [" + label + "]";
    return VS_READABLE | VS_DESCRIBED | VS_LABEL;
  }
  if (devices_.isMediaPresent(letter)) {
    if (IsRootAccessible(letter)) {
      text = "  [" + this->text(ids::IDS_NO_LABEL) + "]";
      return VS_READABLE | VS_DESCRIBED | VS_NO_LABEL;
    }
    text = "  [" + this->text(ids::IDS_UNREADABLE) + "]";
    return VS_UNREADABLE | VS_DESCRIBED | VS_NO_LABEL;
  }
  text = "  [" + this->text(ids::IDS_NO_MEDIUM) + "]";
  return VS_DESCRIBED | VS_NO_LABEL | VS_NO_MEDIA;
}

char DriveServices::DefaultSourceDrive() {
  std::uint32_t kinds[26];
  for (int i = 0; i < 26; ++i) kinds[i] = ClassifyDrive(static_cast<char>('A' + i));
  // Media are asked for only where the kind qualifies: a probe of an empty
  // floppy drive is slow.
  auto present = [&](int i) { return devices_.isMediaPresent(static_cast<char>('A' + i)) != 0; };
  for (int i = 0; i < 26; ++i) {
    if ((kinds[i] & DK_FIXED) && present(i)) return static_cast<char>('A' + i);
  }
  for (int i = 0; i < 26; ++i) {
    if (kinds[i] && present(i)) return static_cast<char>('A' + i);
  }
  for (int i = 0; i < 26; ++i) {
    if (kinds[i]) return static_cast<char>('A' + i);
  }
  return 'C';
}

char DriveServices::DefaultDestinationDrive() {
  std::uint32_t kinds[26];
  for (int i = 0; i < 26; ++i) kinds[i] = ClassifyDrive(static_cast<char>('A' + i));
  auto present = [&](int i) { return devices_.isMediaPresent(static_cast<char>('A' + i)) != 0; };
  for (int i = 'C' - 'A'; i < 26; ++i) {
    if ((kinds[i] & DK_REMOVABLE) && !(kinds[i] & DK_CDROM)) return static_cast<char>('A' + i);
  }
  for (int i = 0; i < 26; ++i) {
    if ((kinds[i] & DK_FLOPPY) && present(i)) return static_cast<char>('A' + i);
  }
  for (int i = 0; i < 26; ++i) {
    if (kinds[i] && present(i)) return static_cast<char>('A' + i);
  }
  for (int i = 0; i < 26; ++i) {
    if (kinds[i]) return static_cast<char>('A' + i);
  }
  return 'A';
}

int DriveServices::WindowsVersionCode() {
  const std::uint32_t version = platform_.volumes().version();
  const int major = version & 0xFF;
  int minor = (version >> 8) & 0xFF;
  if (minor >= 95) minor = 100;
  const int code = major * 100 + minor;
  if (code >= 400) return 400;
  if (code == 311 || code == 310 || code == 300) return code;
  return 200;
}

// ---- The destination --------------------------------------------------------

bool DriveServices::DiskBytes(char letter, double& total, double& free) {
  DiskFreeSpace space;
  if (!succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space))) return false;
  const double cluster = double(space.sectorsPerCluster) * double(space.bytesPerSector);
  total = ScaledBytes(double(space.totalClusters) * cluster);
  free = ScaledBytes(double(space.freeClusters) * cluster);
  return true;
}

bool DriveServices::totalBytes(char letter, double& total) {
  double free = 0;
  return DiskBytes(letter, total, free);
}

bool DriveServices::IsNearlyFull(char letter) {
  DiskFreeSpace space;
  if (!succeeded(platform_.volumes().diskFreeSpace(rootOf(letter), space))) return false;
  return space.freeClusters < space.totalClusters / 100;
}

bool DriveServices::HasRoomWhenAlsoSource() {
  bool alsoSource = false;
  const std::size_t count = run_.sourceList.size() < 26 ? run_.sourceList.size() : 26;
  for (std::size_t i = 0; i < count; ++i) {
    if (run_.sourceList[i].letter == run_.destLetter) alsoSource = true;
  }
  if (!alsoSource) return true;
  double total = 0, free = 0;
  DiskBytes(run_.destLetter, total, free);  // unknown space counts as none
  return !(run_.totalBytes + 10 >= free);
}

bool DriveServices::IsDestinationUsable() { return IsDestinationUsable(run_.destLetter); }

bool DriveServices::IsDestinationUsable(char letter) {
  double total = 0, free = 0;
  if (DiskBytes(letter, total, free) && free == total) return true;  // a blank disk
  FindData first;
  Status status = Status::ok;
  return platform_.files().findFirst(rootOf(letter) + "*.*", first, status) != nullptr;
}

bool DriveServices::IsSetLabel(const std::string& description) {
  char digits[16];
  const int n = std::snprintf(digits, sizeof digits, "%u", static_cast<unsigned>(run_.diskIndex));
  if (n >= 12) return false;
  if (description.size() < static_cast<std::size_t>(n)) return false;
  return description.compare(0, description.size() - n, run_.setName) == 0 &&
         description.size() - n == run_.setName.size();
}

bool DriveServices::MakeNextDiskLabel(std::string& label) {
  char digits[16];
  const int n = std::snprintf(digits, sizeof digits, "%d", run_.diskIndex + 1);
  if (n + 1 > 11) return false;
  if (run_.setName.empty() && setNamer_) setNamer_();
  label = run_.setName;
  if (label.size() + n <= 10) label += '_';
  label += digits;
  return true;
}

bool DriveServices::SetDestinationLabel(const std::string& label) {
  if (!(run_.destFlags & DK_FLOPPY)) return false;
  return succeeded(platform_.volumes().setVolumeLabel(rootOf(run_.destLetter), label));
}

}  // namespace hw
