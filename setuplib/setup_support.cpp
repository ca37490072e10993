#include "setuplib/setup_support.h"

// The installer may unload the library at any notification; nothing here
// needs setting up or tearing down.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" HWND WINAPI SetDlgFocus(HWND window) {
  if (!IsWindow(window)) return nullptr;
  return SetFocus(window);
}

extern "C" INT_PTR WINAPI SetLicenseText(HWND dialog, int controlId, LPCSTR fileName) {
  // A movable, shareable block that starts zero-filled: whatever is read,
  // the byte after it is already the terminating zero.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, hw::kLicenseBlockSize);
  if (!block) return 1;
  auto* text = static_cast<char*>(GlobalLock(block));
  if (!text) return reinterpret_cast<INT_PTR>(GlobalFree(block));

  OFSTRUCT where{};
  HFILE file = fileName ? OpenFile(fileName, &where, OF_READ | OF_SHARE_DENY_WRITE) : HFILE_ERROR;
  if (file != HFILE_ERROR) {
    // One byte short of the block, so that a file of the block's size or
    // longer is cut and still ends with a zero.
    UINT got = _lread(file, text, hw::kLicenseBlockSize - 1);
    if (got == static_cast<UINT>(HFILE_ERROR)) got = 0;
    text[got] = '\0';
    _lclose(file);
  }
  // A file that cannot be opened leaves the block empty: the control is
  // cleared rather than keeping a text that is not the file's.
  HWND control = GetDlgItem(dialog, controlId);
  if (control) SetWindowTextA(control, text);

  GlobalUnlock(block);
  return reinterpret_cast<INT_PTR>(GlobalFree(block));
}
