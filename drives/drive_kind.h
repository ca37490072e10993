// What kind of drive a letter is, and the record a drive list carries for
// each of its entries.
#pragma once

#include <cstdint>
#include <string>

namespace hw {

// DriveKind bits.
inline constexpr std::uint32_t DK_FLOPPY = 0x001;
inline constexpr std::uint32_t DK_FIXED = 0x002;
inline constexpr std::uint32_t DK_CDROM = 0x004;
inline constexpr std::uint32_t DK_CDR = 0x008;
inline constexpr std::uint32_t DK_NETWORK = 0x010;
inline constexpr std::uint32_t DK_RAM = 0x020;
inline constexpr std::uint32_t DK_MO = 0x040;
inline constexpr std::uint32_t DK_UNKNOWN = 0x080;
inline constexpr std::uint32_t DK_REMOVABLE = 0x100;

// One entry of a drive list box.
struct DriveListItem {
  std::uint32_t readable = 0;  // 1 when the volume could be read when the entry was made
  std::uint32_t kind = 0;      // DriveKind bits
  std::uint32_t statClass = 0; // DriveStatClass
  char letter = 0;
  std::string text;            // "C:" and the volume description
  std::string iconName;
  double used = 0;             // scaled bytes
  double free = 0;
  double total = 0;
  double sectorSize = 0;       // bytes per sector x 1000 / 1024
};

}  // namespace hw
