// HDWLINS.DLL as the installer uses it: loaded by file name, its two exports
// taken by ordinal and called on its own license page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setuplib/setup_ids.h"

namespace hw {
namespace {

using SetDlgFocusFn = HWND(WINAPI*)(HWND);
using SetLicenseTextFn = INT_PTR(WINAPI*)(HWND, int, LPCSTR);

constexpr size_t kBlock = 20000;

// An export as the function it is; the detour through void(*)() is the
// sanctioned way to change a function pointer's type.
template <typename Fn>
Fn exportAs(FARPROC proc) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class SetupLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    lib = LoadLibraryA("HDWLINS.DLL");
    ASSERT_NE(lib, nullptr) << "HDWLINS.DLL not found next to the test, error " << GetLastError();
    first = GetProcAddress(lib, MAKEINTRESOURCEA(1));
    second = GetProcAddress(lib, MAKEINTRESOURCEA(2));
    setDlgFocus = exportAs<SetDlgFocusFn>(first);
    setLicenseText = exportAs<SetLicenseTextFn>(second);
    ASSERT_NE(setDlgFocus, nullptr);
    ASSERT_NE(setLicenseText, nullptr);

    page = CreateDialogParamA(lib, MAKEINTRESOURCEA(IDD_SETUP_LICENSE), nullptr, quietDialog, 0);
    ASSERT_NE(page, nullptr) << "license page, error " << GetLastError();
    text = GetDlgItem(page, IDC_LICENSE_TEXT);
    yes = GetDlgItem(page, IDYES);
    no = GetDlgItem(page, IDNO);
    ASSERT_TRUE(text && yes && no);
  }

  void TearDown() override {
    if (page) DestroyWindow(page);
    for (const auto& path : files) DeleteFileA(path.c_str());
    if (lib) FreeLibrary(lib);
  }

  std::string shownText() const {
    std::vector<char> buf(4 * kBlock);
    int n = GetWindowTextA(text, buf.data(), static_cast<int>(buf.size()));
    return std::string(buf.data(), static_cast<size_t>(n));
  }

  // A file in the temporary folder; its path stays within what OpenFile takes.
  std::string writeFile(const std::string& content) {
    char dir[MAX_PATH];
    char path[MAX_PATH];
    EXPECT_GT(GetTempPathA(sizeof dir, dir), 0u);
    EXPECT_NE(GetTempFileNameA(dir, "lic", 0, path), 0u);
    files.emplace_back(path);
    EXPECT_LT(files.back().size(), static_cast<size_t>(OFS_MAXPATHNAME));
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    if (!content.empty()) WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
    EXPECT_EQ(written, content.size());
    return files.back();
  }

  // License-like text: numbered lines of 50 characters and CR LF.
  static std::string licenseText(size_t size) {
    std::string s;
    for (int line = 0; s.size() < size; ++line) {
      std::string l = "Line " + std::to_string(line) + " of the terms";
      l.resize(50, '.');
      s += l + "\r\n";
    }
    s.resize(size);
    return s;
  }

  HMODULE lib = nullptr;
  FARPROC first = nullptr;
  FARPROC second = nullptr;
  SetDlgFocusFn setDlgFocus = nullptr;
  SetLicenseTextFn setLicenseText = nullptr;
  HWND page = nullptr;
  HWND text = nullptr;
  HWND yes = nullptr;
  HWND no = nullptr;
  std::vector<std::string> files;
};

TEST_F(SetupLibrary, ExportsByOrdinalAreTheNamedRoutines) {
  EXPECT_EQ(first, GetProcAddress(lib, "SetDlgFocus"));
  EXPECT_EQ(second, GetProcAddress(lib, "SetLicenseText"));
}

TEST_F(SetupLibrary, SetDlgFocusMovesFocusAndReturnsThePreviousWindow) {
  SetFocus(yes);
  ASSERT_EQ(GetFocus(), yes);
  EXPECT_EQ(setDlgFocus(text), yes);
  EXPECT_EQ(GetFocus(), text);
  EXPECT_EQ(setDlgFocus(no), text);
  EXPECT_EQ(GetFocus(), no);
}

TEST_F(SetupLibrary, SetDlgFocusOnAGoneWindowReturnsZeroAndKeepsTheFocus) {
  HWND gone = CreateWindowExA(0, "BUTTON", "gone", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, page,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  SetFocus(text);
  ASSERT_EQ(GetFocus(), text);
  EXPECT_EQ(setDlgFocus(gone), nullptr);
  EXPECT_EQ(setDlgFocus(nullptr), nullptr);
  EXPECT_EQ(GetFocus(), text);
}

// The block holds 20,000 bytes and always ends in a zero, so at most 19,999
// bytes of a file are shown.
TEST_F(SetupLibrary, SetLicenseTextShowsTheFilesBeginning) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{700}, kBlock - 2, kBlock - 1, kBlock, kBlock + 1,
                      3 * kBlock}) {
    std::string content = licenseText(size);
    std::string path = writeFile(content);
    SetWindowTextA(text, "old text");
    EXPECT_EQ(setLicenseText(page, IDC_LICENSE_TEXT, path.c_str()), 0) << size;
    EXPECT_EQ(shownText(), content.substr(0, kBlock - 1)) << size;
  }
}

TEST_F(SetupLibrary, SetLicenseTextStopsAtAZeroInTheFile) {
  std::string path = writeFile(std::string("Terms\0hidden", 12));
  EXPECT_EQ(setLicenseText(page, IDC_LICENSE_TEXT, path.c_str()), 0);
  EXPECT_EQ(shownText(), "Terms");
}

// A license that cannot be read shows nothing rather than a stale text.
TEST_F(SetupLibrary, SetLicenseTextWithoutAReadableFileShowsAnEmptyText) {
  std::string tooLong = "C:\\" + std::string(200, 'x') + ".txt";
  for (const char* name : {"C:\\no such folder\\LICENSE.TXT", "", tooLong.c_str()}) {
    SetWindowTextA(text, "old text");
    EXPECT_EQ(setLicenseText(page, IDC_LICENSE_TEXT, name), 0) << name;
    EXPECT_EQ(shownText(), "") << name;
  }
  SetWindowTextA(text, "old text");
  EXPECT_EQ(setLicenseText(page, IDC_LICENSE_TEXT, nullptr), 0);
  EXPECT_EQ(shownText(), "");
}

TEST_F(SetupLibrary, SetLicenseTextForAMissingControlChangesNothing) {
  std::string path = writeFile("Terms");
  SetWindowTextA(text, "old text");
  EXPECT_EQ(setLicenseText(page, 4711, path.c_str()), 0);
  EXPECT_EQ(setLicenseText(nullptr, IDC_LICENSE_TEXT, path.c_str()), 0);
  EXPECT_EQ(shownText(), "old text");
}

TEST_F(SetupLibrary, CarriesTheInstallersResources) {
  for (int id : {IDD_SETUP_WELCOME, IDD_SETUP_LICENSE, IDD_SETUP_FOLDER, IDD_SETUP_TYPE,
                 IDD_SETUP_COMPONENTS, IDD_SETUP_PROGRAM_GROUP, IDD_SETUP_READY, IDD_SETUP_COPYING,
                 IDD_SETUP_FINISHED, IDD_SETUP_RESTART, IDD_SETUP_CANCEL, IDD_SETUP_README,
                 IDD_SETUP_MESSAGE}) {
    EXPECT_NE(FindResourceA(lib, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << id;
    HWND dialog = CreateDialogParamA(lib, MAKEINTRESOURCEA(id), nullptr, quietDialog, 0);
    EXPECT_NE(dialog, nullptr) << id << " error " << GetLastError();
    if (dialog) DestroyWindow(dialog);
  }
  for (int id : {IDB_SETUP_BANNER, IDB_SETUP_SIDE}) {
    HBITMAP picture = LoadBitmapA(lib, MAKEINTRESOURCEA(id));
    EXPECT_NE(picture, nullptr) << id;
    if (picture) DeleteObject(picture);
  }
  HICON icon = LoadIconA(lib, MAKEINTRESOURCEA(IDI_SETUP));
  EXPECT_NE(icon, nullptr);
  EXPECT_NE(FindResourceA(lib, MAKEINTRESOURCEA(1), RT_ICON), nullptr);
}

}  // namespace
}  // namespace hw
