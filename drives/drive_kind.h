// What kind of drive a letter is, what a volume query found, and the record
// a drive list carries for each of its entries.
#pragma once

#include <cstdint>
#include <string>

namespace hw {

// DriveKind bits. 0 means "not classified yet"; a classified letter is one of
// the kinds below.
inline constexpr std::uint32_t DK_FLOPPY = 0x001;
inline constexpr std::uint32_t DK_FIXED = 0x002;
inline constexpr std::uint32_t DK_CDROM = 0x004;
inline constexpr std::uint32_t DK_CDR = 0x008;
inline constexpr std::uint32_t DK_NETWORK = 0x010;
inline constexpr std::uint32_t DK_RAM = 0x020;
inline constexpr std::uint32_t DK_MO = 0x040;
inline constexpr std::uint32_t DK_UNKNOWN = 0x080;
inline constexpr std::uint32_t DK_REMOVABLE = 0x100;

inline constexpr std::uint32_t kKindFloppy = DK_FLOPPY | DK_REMOVABLE;          // 0x101
inline constexpr std::uint32_t kKindCdrom = DK_CDROM | DK_REMOVABLE;            // 0x104
inline constexpr std::uint32_t kKindRecordableCd = DK_CDR | DK_REMOVABLE;       // 0x108
inline constexpr std::uint32_t kKindOtherRemovable = DK_MO | DK_REMOVABLE;      // 0x140

// VolumeStatus: codes 1 and 2, otherwise a set of the VS_ bits.
inline constexpr std::uint32_t VS_BAD_LETTER = 1;
inline constexpr std::uint32_t VS_SKIPPED = 2;
inline constexpr std::uint32_t VS_NO_MEDIA = 0x010;
inline constexpr std::uint32_t VS_NO_LABEL = 0x020;
inline constexpr std::uint32_t VS_LABEL = 0x040;
inline constexpr std::uint32_t VS_DESCRIBED = 0x080;
inline constexpr std::uint32_t VS_READABLE = 0x100;
inline constexpr std::uint32_t VS_UNREADABLE = 0x200;

// One entry of a drive list box.
struct DriveListItem {
  std::uint32_t textLength = 0;
  std::uint32_t readable = 0;  // 1 when the volume could be read when the entry was made
  std::uint32_t kind = 0;      // DriveKind bits
  std::uint32_t statClass = 0; // DriveStatClass: the kind until the drive is measured
  char letter = 0;
  std::string text;            // "C:" and the volume description
  std::string iconName;
  double used = 0;             // scaled bytes
  double free = 0;
  double total = 0;
  double sectorSize = 0;       // bytes per sector x 1000 / 1024
};

}  // namespace hw
