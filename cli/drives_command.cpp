#include "cli/drives_command.h"

#include <iomanip>
#include <string>

#include "common/format_number.h"
#include "drives/drive_services.h"
#include "engine/run_record.h"
#include "resources/string_ids.h"
#include "resources/texts.h"

namespace hw {
namespace {

const char* kindName(std::uint32_t kind) {
  if (kind & DK_FLOPPY) return "floppy";
  if (kind & DK_MO) return "removable";
  if (kind & DK_FIXED) return "fixed";
  if (kind & DK_CDROM) return "CD-ROM";
  if (kind & DK_CDR) return "recordable CD";
  if (kind & DK_NETWORK) return "network";
  if (kind & DK_RAM) return "RAM disk";
  return "unknown";
}

// The size display of the main window: megabytes from 5e10 scaled bytes on,
// kilobytes from 10,000, whole numbers with thousands separators.
std::string sizeText(double scaled, double megabyteLimit) {
  double value = scaled;
  int unit = ids::IDS_UNIT_BYTES;
  if (scaled >= megabyteLimit) {
    value = scaled * 0.000001;
    unit = ids::IDS_UNIT_MEGABYTES;
  } else if (scaled >= 10000) {
    value = scaled * 0.001;
    unit = ids::IDS_UNIT_KILOBYTES;
  }
  return FormatGrouped(value, 0) + " " + std::string(texts::text(unit));
}

}  // namespace

int runDrivesCommand(Platform& platform, std::ostream& out) {
  RunRecord run;
  DriveServices drives(platform, run);
  out << std::left << std::setw(7) << "Drive" << std::setw(15) << "Kind" << std::setw(24)
      << "Volume" << std::setw(22) << "Total" << "Free\n";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    DriveListItem item;
    if (!drives.DescribeDrive(letter, item)) continue;
    // The entry text is "X:" and the description "  [label]".
    std::string volume = item.text.size() > 2 ? item.text.substr(2) : "";
    volume.erase(0, volume.find_first_not_of(' '));
    out << std::setw(7) << item.text.substr(0, 2) << std::setw(15) << kindName(item.kind)
        << std::setw(24) << volume;
    if (item.readable) {
      out << std::setw(22) << sizeText(item.total, run.megabyteLimitPart)
          << sizeText(item.free, run.megabyteLimitPart);
    } else {
      out << std::setw(22) << texts::text(ids::IDS_NO_VALUE) << texts::text(ids::IDS_NO_VALUE);
    }
    out << "\n";
  }
  return 0;
}

}  // namespace hw
