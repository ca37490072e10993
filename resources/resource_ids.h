// Identifiers of the resource library's dialogs, menu, icons and pictures,
// shared by the resource scripts and the program. Plain macros so that the
// resource compiler can read them too; string-table ids are in the generated
// "resources/string_ids.h".
#pragma once

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_MAIN_PANEL 103
#define IDD_OPTIONS 104
#define IDD_WAIT 105
#define IDD_SCAN 106
#define IDD_OVERWRITE 107
#define IDD_SUMMARY 108
#define IDD_NEXT_DISK 109
#define IDD_DISK_IN_USE 110
#define IDD_ERASE 111
#define IDD_FILE_TOO_LARGE 112
#define IDD_ERROR 113

// The frame's menu and its commands (IDM_SAVE_PLACEMENT is sent by the frame
// to itself and has no menu entry).
#define IDR_MAIN_MENU 2
#define IDM_EXIT 1201
#define IDM_OPTIONS 1210
#define IDM_HELP_CONTENTS 1301
#define IDM_HELP_SEARCH 1302
#define IDM_ABOUT 1303
#define IDM_SAVE_PLACEMENT 1310

// Icon groups.
#define IDI_FRAME 120
#define IDI_LOGO 121
#define IDI_PROMPT_QUESTION 122
#define IDI_PROMPT_SUMMARY 123
#define IDI_PROMPT_WARNING 124

// Captions of the bitmap push buttons; their four pictures are named by the
// caption followed by U (up), D (down), F (focused) and X (disabled).
#define HW_CAPTION_MAIN_PICTURE "HWPIC"
#define HW_CAPTION_ABOUT_PICTURE "HWABOUT"
#define HW_CAPTION_SPIN_UP "SPINUP"
#define HW_CAPTION_SPIN_DOWN "SPINDN"

#ifndef RC_INVOKED
namespace hw::res {

// Drive pictures by drive kind (bitmaps named by string).
inline constexpr const char* kDriveFloppy = "IDR_DRIVES_FLOPPY";
inline constexpr const char* kDriveMo = "IDR_DRIVES_MO";
inline constexpr const char* kDriveFixed = "IDR_DRIVES_FIXED";
inline constexpr const char* kDriveCdrom = "IDR_DRIVES_CDROM";
inline constexpr const char* kDriveCdr = "IDR_DRIVES_CDR";
inline constexpr const char* kDriveNetwork = "IDR_DRIVES_NETWORK";
inline constexpr const char* kDriveRam = "IDR_DRIVES_RAM";
inline constexpr const char* kDriveUnknown = "IDR_DRIVES_UNKNOWN";

// Size of every drive picture in pixels.
inline constexpr int kDrivePictureWidth = 26;
inline constexpr int kDrivePictureHeight = 16;

}  // namespace hw::res
#endif
