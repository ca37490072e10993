// Scaled sizes, statistics classes, icons and the records of the drive lists.
#include "drives/drive_services.h"

namespace hw {
namespace {

struct CapacityStep {
  double above;
  std::uint32_t statClass;
};
constexpr CapacityStep kCartridgeClasses[] = {
    {2000000000.0, 1010}, {1000000000.0, 1009}, {600000000.0, 1008}, {540000000.0, 1007},
    {270000000.0, 1006},  {200000000.0, 1005},  {140000000.0, 1004}, {110000000.0, 1003},
    {90000000.0, 1002},   {40000000.0, 1001},   {20000000.0, 1000},
};

}  // namespace

double ScaledBytes(double bytes) {
  return bytes * 1000.0 * (1.0 / 1024.0) * 1000.0 * (1.0 / 1024.0);
}

std::uint32_t StatClassOf(double capacity, std::uint32_t kind) {
  if (kind & DK_MO) {
    for (const CapacityStep& step : kCartridgeClasses) {
      if (capacity > step.above) return step.statClass;
    }
    return DK_MO;
  }
  for (std::uint32_t bit : {DK_FLOPPY, DK_FIXED, DK_CDROM, DK_CDR, DK_NETWORK, DK_RAM,
                            DK_REMOVABLE}) {
    if (kind & bit) return bit;
  }
  return DK_UNKNOWN;
}

const char* IconNameOf(std::uint32_t kind) {
  if (kind & DK_FLOPPY) return "IDR_DRIVES_FLOPPY";
  if (kind & DK_MO) return "IDR_DRIVES_MO";
  if (kind & DK_FIXED) return "IDR_DRIVES_FIXED";
  if (kind & DK_CDROM) return "IDR_DRIVES_CDROM";
  if (kind & DK_CDR) return "IDR_DRIVES_CDR";
  if (kind & DK_NETWORK) return "IDR_DRIVES_NETWORK";
  if (kind & DK_RAM) return "IDR_DRIVES_RAM";
  return "IDR_DRIVES_UNKNOWN";
}

DriveListItem DriveServices::MakeDriveItem(const std::string& text, int readable) {
  DriveListItem item;
  item.text = text;
  item.textLength = static_cast<std::uint32_t>(text.size());
  item.letter = text.empty() ? 0 : text[0];
  item.kind = ClassifyDrive(item.letter);
  item.statClass = item.kind;
  item.readable = readable >= 1 ? 1 : 0;
  item.iconName = IconNameOf(item.kind);
  return item;
}

void DriveServices::MeasureDrive(DriveListItem& item) {
  item.used = item.free = item.total = item.sectorSize = 0;
  DiskFreeSpace space;
  if (item.readable &&
      succeeded(platform_.volumes().diskFreeSpace(rootOf(item.letter), space))) {
    const double cluster = double(space.sectorsPerCluster) * double(space.bytesPerSector);
    item.sectorSize = space.bytesPerSector * 1000.0 / 1024.0;
    item.free = ScaledBytes(double(space.freeClusters) * cluster);
    item.total = ScaledBytes(double(space.totalClusters) * cluster);
    item.used = item.total - item.free;
    if (item.total <= 0 || item.used < 0 || item.free < 0) item.used = item.free = item.total = 0;
  }
  item.statClass = StatClassOf(item.total, item.kind);
}

bool DriveServices::DescribeDrive(char letter, DriveListItem& item) {
  letter = static_cast<char>(letter & ~0x20);
  if (letter < 'A' || letter > 'Z') return false;
  const DriveType type = platform_.volumes().driveType(rootOf(letter));
  if (type == DriveType::unknown || type == DriveType::noRootDir) return false;
  const std::string name = std::string(1, letter) + ":";
  std::string description;
  const std::uint32_t status = DescribeVolume(name, description, true);
  const std::uint32_t kind = ClassifyDrive(letter);
  if ((status & VS_READABLE) && !(kind & DK_MO) && FloppyKind(letter) == 2) {
    SetCachedKind(letter, kKindOtherRemovable);
  }
  item = MakeDriveItem(status & VS_DESCRIBED ? name + description : name,
                       status & VS_READABLE ? 1 : 0);
  MeasureDrive(item);
  return true;
}

}  // namespace hw
