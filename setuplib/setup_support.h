// HDWLINS.DLL: the two dialog chores the installer calls, exported by
// ordinal (1 SetDlgFocus, 2 SetLicenseText).
#pragma once

#include <windows.h>

extern "C" {

// Gives the keyboard focus to `window` and returns the window that had it
// before; returns 0 and changes nothing when `window` is not an existing
// window.
HWND WINAPI SetDlgFocus(HWND window);

// Shows the beginning of the text file `fileName` in the control
// `controlId` of `dialog`: at most hw::kLicenseBlockSize - 1 bytes, so that
// the text always ends inside the block. A file that cannot be opened shows
// an empty text. Returns 0 when the text block was released, nonzero when
// no block could be had or it could not be freed.
INT_PTR WINAPI SetLicenseText(HWND dialog, int controlId, LPCSTR fileName);

}

namespace hw {
inline constexpr UINT kLicenseBlockSize = 20000;
}
