// HDWL32.DLL, the device query library: questions about a drive letter that
// plain volume queries do not answer. A letter travels in the low byte of a
// 32-bit value; callers pass upper-case letters. Exports by ordinal (see
// hdwl32.def). No export throws or keeps anything of the caller's.
#pragma once

#ifdef HDWL32_BUILDING
#define HDWL32_API extern "C" __declspec(dllexport)
#else
#define HDWL32_API extern "C" __declspec(dllimport)
#endif

// 1 when the drive is removable and the letter is below C, else 0.
HDWL32_API int __stdcall IsFloppyDrive32(int letter);
// 1 when the drive type is CD-ROM, else 0.
HDWL32_API int __stdcall IsCDROMDrive32(int letter);
// Always 0: no drive is reported as a recordable CD.
HDWL32_API int __stdcall IsCDRDrive32(int letter);
// 1 when a medium is present: fixed drives always, others when the drive
// can be made current (the current drive is put back afterwards).
HDWL32_API int __stdcall IsMediaPresent32(int letter);
// 1 when the drive type is removable, else 0.
HDWL32_API int __stdcall IsRemovableMedia32(int letter);
// Releases the medium of a removable drive for the user to change; 1 when
// the drive ejected it. Fixed drives are left alone.
HDWL32_API int __stdcall ChangeSCSIDisk32(int letter);
// Fills the caller's 32-byte MS-DOS device parameter block of drive
// `driveNumber` (0 = A): device type 5 with attributes 1 for a hard disk,
// 5 with 0 for a hard-disk-type drive with removable media, another type
// for the rest. Returns 0, or 15 (invalid drive) with the block zeroed.
HDWL32_API int __stdcall GetDeviceParameters32(int driveNumber, void* block);
// Kept for the 16-bit companion's connection, which 64-bit Windows cannot
// make: the library answers everything itself, so it always "connects".
HDWL32_API int __stdcall HDWLASM_ThunkConnect32(const char* partner, const char* self,
                                                void* module, unsigned long reason);
HDWL32_API int __stdcall WEP(int unused);
