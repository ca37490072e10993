// HDWL32.DLL. On Windows 95 two of its answers came from a 16-bit companion
// through a flat thunk; 64-bit Windows has neither, so every answer is
// worked out here from the drive type, a probe of the drive and the device
// I/O controls that answer for volumes (on Wine, the drive types declared
// in its registry; its device controls answer for a hard disk).
#define HDWL32_BUILDING
#include "devicelib/hdwl32.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>

namespace {

constexpr unsigned char kDeviceFixedDisk = 5;
constexpr unsigned char kDeviceOther = 7;
constexpr unsigned short kAttrNotRemovable = 0x0001;
constexpr int kErrorInvalidDrive = 15;

// The low byte of the argument is the letter; signed, as the comparisons
// below ("below C", letter - 64) treat it.
char letterOf(int value) { return static_cast<char>(value & 0xFF); }

UINT driveTypeOf(char letter) {
  char root[4] = "A:\\";
  root[0] = letter;
  return GetDriveTypeA(root);
}

// \\.\X: without read or write access: enough for the device queries and
// needs no privileges.
HANDLE openVolume(char letter, DWORD access) {
  char path[8] = "\\\\.\\A:";
  path[4] = letter;
  return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

// Makes drive `number` (1 = A) current through "X:"; numbers outside 1..31 fail.
bool enterDrive(int number) {
  if (number <= 0 || number >= 32) return false;
  char path[3] = "A:";
  path[0] = static_cast<char>(number + 64);
  return SetCurrentDirectoryA(path) != 0;
}

void putWord(unsigned char* block, int at, unsigned value) {
  block[at] = static_cast<unsigned char>(value);
  block[at + 1] = static_cast<unsigned char>(value >> 8);
}

void putLong(unsigned char* block, int at, unsigned long value) {
  putWord(block, at, value & 0xFFFF);
  putWord(block, at + 2, static_cast<unsigned>(value >> 16));
}

// MS-DOS device type of a removable drive, from the medium's geometry or,
// without one, from its size.
unsigned char removableDeviceType(const DISK_GEOMETRY* geometry, double bytes) {
  if (geometry) {
    switch (geometry->MediaType) {
      case F5_360_512: case F5_320_512: case F5_320_1024: case F5_180_512: case F5_160_512:
        return 0;
      case F5_1Pt2_512: return 1;
      case F3_720_512: return 2;
      case F3_1Pt44_512: return 7;
      case F3_2Pt88_512: return 9;
      default: break;
    }
  }
  if (bytes <= 0) return kDeviceOther;
  if (bytes <= 368640) return 0;
  if (bytes <= 737280) return 2;
  if (bytes <= 1228800) return 1;
  if (bytes <= 1474560) return 7;
  if (bytes <= 2949120) return 9;
  return 8;  // optical or cartridge disk
}

}  // namespace

// The 32-bit half of the old thunk connection: signature, then the second
// table. Nothing reads it any more; it stays exported under its ordinal.
struct ThunkData {
  char signature[4];
  unsigned long reserved[3];
  char tableSignature[4];
  unsigned long table[4];
};

extern "C" {
__declspec(dllexport) ThunkData HDWLASM_ThunkData32 = {
    {'L', 'S', '0', '1'}, {0, 0, 0}, {'L', 'B', '0', '1'}, {0, 0, 0, 0}};
}

HDWL32_API int __stdcall IsFloppyDrive32(int letter) {
  const char l = letterOf(letter);
  return driveTypeOf(l) == DRIVE_REMOVABLE && l < 'C' ? 1 : 0;
}

HDWL32_API int __stdcall IsCDROMDrive32(int letter) {
  return driveTypeOf(letterOf(letter)) == DRIVE_CDROM ? 1 : 0;
}

HDWL32_API int __stdcall IsCDRDrive32(int letter) { return 0; }

HDWL32_API int __stdcall IsRemovableMedia32(int letter) {
  return driveTypeOf(letterOf(letter)) == DRIVE_REMOVABLE ? 1 : 0;
}

HDWL32_API int __stdcall IsMediaPresent32(int letter) {
  const char l = letterOf(letter);
  const UINT type = driveTypeOf(l);
  if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return 0;
  if (type == DRIVE_FIXED) return 1;
  // A drive that cannot be entered (no medium, unformatted medium) holds none.
  char current[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof current, current);
  const bool onDrive = length > 1 && length < sizeof current && current[1] == ':';
  const bool entered = enterDrive(l - 64);
  // Back to where the process was: its drive, and the folder on it too.
  if (onDrive) SetCurrentDirectoryA(current);
  return entered ? 1 : 0;
}

HDWL32_API int __stdcall GetDeviceParameters32(int driveNumber, void* block) {
  if (!block) return kErrorInvalidDrive;
  unsigned char* out = static_cast<unsigned char*>(block);
  std::memset(out, 0, 32);
  if (driveNumber < 0 || driveNumber > 25) return kErrorInvalidDrive;
  const char letter = static_cast<char>('A' + driveNumber);
  const UINT type = driveTypeOf(letter);
  if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return kErrorInvalidDrive;

  DISK_GEOMETRY geometry{};
  bool haveGeometry = false;
  bool mediaRemovable = false;
  HANDLE volume = openVolume(letter, 0);
  if (volume != INVALID_HANDLE_VALUE) {
    DWORD got = 0;
    haveGeometry = DeviceIoControl(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry,
                                   sizeof geometry, &got, nullptr) != 0;
    STORAGE_HOTPLUG_INFO hotplug{};
    if (DeviceIoControl(volume, IOCTL_STORAGE_GET_HOTPLUG_INFO, nullptr, 0, &hotplug,
                        sizeof hotplug, &got, nullptr)) {
      mediaRemovable = hotplug.MediaRemovable != 0;
    }
    CloseHandle(volume);
  }
  char root[4] = "A:\\";
  root[0] = letter;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  const bool measured =
      GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
  const double bytes =
      measured ? double(totalClusters) * sectorsPerCluster * bytesPerSector : 0.0;

  unsigned char deviceType = kDeviceOther;
  unsigned short attributes = 0;
  if (type == DRIVE_FIXED) {
    // A fixed drive is a hard disk; one whose medium comes out (a
    // hard-disk-type cartridge drive) says so through its hot-plug answer.
    deviceType = kDeviceFixedDisk;
    attributes = mediaRemovable ? 0 : kAttrNotRemovable;
  } else if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) {
    deviceType = removableDeviceType(haveGeometry ? &geometry : nullptr, bytes);
  } else {
    attributes = kAttrNotRemovable;  // RAM disks and network drives are no hard disks
  }
  out[1] = deviceType;
  putWord(out, 2, attributes);
  if (haveGeometry) {
    const LONGLONG cylinders = geometry.Cylinders.QuadPart;
    putWord(out, 4, cylinders > 0xFFFF ? 0xFFFF : static_cast<unsigned>(cylinders));
    out[6] = static_cast<unsigned char>(geometry.MediaType);
    putWord(out, 20, geometry.SectorsPerTrack);
    putWord(out, 22, geometry.TracksPerCylinder);
  }
  if (measured) {
    // The BIOS parameter block, from the free-space figures.
    const unsigned long long sectors =
        static_cast<unsigned long long>(totalClusters) * sectorsPerCluster;
    const unsigned long sectors32 = sectors > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(sectors);
    putWord(out, 7, bytesPerSector);
    out[9] = static_cast<unsigned char>(sectorsPerCluster);
    putWord(out, 10, 1);  // reserved sectors
    out[12] = 2;          // FATs
    putWord(out, 15, sectors32 < 0x10000 ? sectors32 : 0);
    out[17] = deviceType == kDeviceFixedDisk ? 0xF8 : 0xF0;
    putLong(out, 28, sectors32 < 0x10000 ? 0 : sectors32);
  }
  return 0;
}

HDWL32_API int __stdcall ChangeSCSIDisk32(int letter) {
  const char l = letterOf(letter);
  const UINT type = driveTypeOf(l);
  // Only media that come out: a hard disk is never asked to eject.
  if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) return 0;
  HANDLE volume = openVolume(l, GENERIC_READ);
  if (volume == INVALID_HANDLE_VALUE) return 0;
  DWORD got = 0;
  PREVENT_MEDIA_REMOVAL allow{};
  allow.PreventMediaRemoval = FALSE;
  DeviceIoControl(volume, IOCTL_STORAGE_MEDIA_REMOVAL, &allow, sizeof allow, nullptr, 0, &got,
                  nullptr);
  const BOOL ejected =
      DeviceIoControl(volume, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &got, nullptr);
  CloseHandle(volume);
  return ejected ? 1 : 0;
}

HDWL32_API int __stdcall HDWLASM_ThunkConnect32(const char* partner, const char* self,
                                                void* module, unsigned long reason) {
  return 1;
}

HDWL32_API int __stdcall WEP(int unused) { return 1; }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  return HDWLASM_ThunkConnect32("Hdwl16.dll", "Hdwl32.dll", module, reason) ? TRUE : FALSE;
}
