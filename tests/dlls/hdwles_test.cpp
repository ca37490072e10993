// HDWLES.DLL as the program sees it: loaded by file name, read only through
// the resource calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "resources/texts.h"

namespace hw {
namespace {

class ResourceLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    lib = LoadLibraryA("HDWLES.DLL");
    ASSERT_NE(lib, nullptr) << "HDWLES.DLL not found next to the test, error " << GetLastError();
  }
  void TearDown() override {
    if (lib) FreeLibrary(lib);
  }

  std::string loadString(int id) const {
    std::vector<char> buf(8192);
    int n = LoadStringA(lib, static_cast<UINT>(id), buf.data(), static_cast<int>(buf.size()));
    return std::string(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
  }

  HMODULE lib = nullptr;
};

TEST_F(ResourceLibrary, EveryTextLoadsWithTheTablesExactBytes) {
  for (const auto& e : texts::all()) {
    EXPECT_EQ(loadString(e.id), std::string(e.text)) << e.id << " " << e.name;
  }
}

BOOL CALLBACK collectStringBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<int>*>(param)->push_back(static_cast<int>(reinterpret_cast<UINT_PTR>(name)));
  return TRUE;
}

// A string in the library that the table lacks would show in the windows but
// never in the terminal front-end or the report tests.
TEST_F(ResourceLibrary, HoldsNoTextTheTableLacks) {
  std::vector<int> blocks;
  ASSERT_TRUE(EnumResourceNamesA(lib, RT_STRING, collectStringBlock, reinterpret_cast<LONG_PTR>(&blocks)));
  ASSERT_FALSE(blocks.empty());
  size_t loaded = 0;
  for (int block : blocks) {
    for (int id = (block - 1) * 16; id < block * 16; ++id) {
      std::string s = loadString(id);
      if (s.empty()) continue;
      ++loaded;
      EXPECT_TRUE(texts::contains(id)) << id << " \"" << s << "\"";
    }
  }
  EXPECT_EQ(loaded, texts::all().size());
}

TEST_F(ResourceLibrary, MenuCarriesTheFrameCommands) {
  HMENU menu = LoadMenuA(lib, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  for (UINT cmd : {IDM_EXIT, IDM_OPTIONS, IDM_HELP_CONTENTS, IDM_HELP_SEARCH, IDM_ABOUT}) {
    EXPECT_NE(GetMenuState(menu, cmd, MF_BYCOMMAND), static_cast<UINT>(-1)) << cmd;
    char label[64] = {};
    EXPECT_GT(GetMenuStringA(menu, cmd, label, sizeof label, MF_BYCOMMAND), 0) << cmd;
  }
  // Saving the placement is a command the frame sends itself, not a menu entry.
  EXPECT_EQ(GetMenuState(menu, IDM_SAVE_PLACEMENT, MF_BYCOMMAND), static_cast<UINT>(-1));
  DestroyMenu(menu);
}

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class ResourceDialogs : public ResourceLibrary {
 protected:
  void SetUp() override {
    ResourceLibrary::SetUp();
    owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override {
    if (owner) DestroyWindow(owner);
    ResourceLibrary::TearDown();
  }

  std::string controlText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }

  HWND owner = nullptr;
};

TEST_F(ResourceDialogs, EveryTemplateMakesAWindow) {
  for (int id : {IDD_ABOUT, IDD_MAIN_PANEL, IDD_OPTIONS, IDD_WAIT, IDD_SCAN, IDD_OVERWRITE,
                 IDD_SUMMARY, IDD_NEXT_DISK, IDD_DISK_IN_USE, IDD_ERASE, IDD_FILE_TOO_LARGE,
                 IDD_ERROR}) {
    EXPECT_NE(FindResourceA(lib, MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << id;
    HWND dialog = CreateDialogParamA(lib, MAKEINTRESOURCEA(id), owner, quietDialog, 0);
    EXPECT_NE(dialog, nullptr) << id << " error " << GetLastError();
    if (dialog) DestroyWindow(dialog);
  }
}

// The framework loads a bitmap button's pictures by the button's caption.
TEST_F(ResourceDialogs, BitmapButtonsFindTheirPictures) {
  struct Case {
    int dialog;
    int control;
    const char* caption;
  } cases[] = {
      {IDD_MAIN_PANEL, 2079, HW_CAPTION_MAIN_PICTURE},
      {IDD_ABOUT, 2300, HW_CAPTION_ABOUT_PICTURE},
      {IDD_OPTIONS, 2519, HW_CAPTION_SPIN_UP},
      {IDD_OPTIONS, 2520, HW_CAPTION_SPIN_DOWN},
  };
  for (const auto& c : cases) {
    HWND dialog = CreateDialogParamA(lib, MAKEINTRESOURCEA(c.dialog), owner, quietDialog, 0);
    ASSERT_NE(dialog, nullptr) << c.dialog;
    std::string caption = controlText(dialog, c.control);
    EXPECT_EQ(caption, c.caption) << c.dialog << "/" << c.control;
    DestroyWindow(dialog);

    BITMAP up{};
    for (const char* state : {"U", "D", "F", "X"}) {
      std::string name = std::string(c.caption) + state;
      HBITMAP picture = LoadBitmapA(lib, name.c_str());
      ASSERT_NE(picture, nullptr) << name;
      BITMAP info{};
      GetObjectA(picture, sizeof info, &info);
      if (*state == 'U') up = info;
      EXPECT_EQ(info.bmWidth, up.bmWidth) << name;
      EXPECT_EQ(info.bmHeight, up.bmHeight) << name;
      DeleteObject(picture);
    }
  }
}

TEST_F(ResourceLibrary, DrivePicturesHaveTheListsSize) {
  for (const char* name : {res::kDriveFloppy, res::kDriveMo, res::kDriveFixed, res::kDriveCdrom,
                           res::kDriveCdr, res::kDriveNetwork, res::kDriveRam, res::kDriveUnknown}) {
    HBITMAP picture = LoadBitmapA(lib, name);
    ASSERT_NE(picture, nullptr) << name;
    BITMAP info{};
    ASSERT_NE(GetObjectA(picture, sizeof info, &info), 0) << name;
    EXPECT_EQ(info.bmWidth, res::kDrivePictureWidth) << name;
    EXPECT_EQ(info.bmHeight, res::kDrivePictureHeight) << name;
    DeleteObject(picture);
  }
}

// Drive pictures are told apart by kind: no two may look the same.
TEST_F(ResourceLibrary, DrivePicturesDiffer) {
  std::set<std::vector<BYTE>> seen;
  HDC screen = GetDC(nullptr);
  for (const char* name : {res::kDriveFloppy, res::kDriveMo, res::kDriveFixed, res::kDriveCdrom,
                           res::kDriveCdr, res::kDriveNetwork, res::kDriveRam, res::kDriveUnknown}) {
    HBITMAP picture = LoadBitmapA(lib, name);
    ASSERT_NE(picture, nullptr) << name;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = res::kDrivePictureWidth;
    info.bmiHeader.biHeight = res::kDrivePictureHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<BYTE> pixels(res::kDrivePictureWidth * res::kDrivePictureHeight * 4);
    EXPECT_EQ(GetDIBits(screen, picture, 0, res::kDrivePictureHeight, pixels.data(), &info,
                        DIB_RGB_COLORS),
              res::kDrivePictureHeight)
        << name;
    EXPECT_TRUE(seen.insert(pixels).second) << name << " looks like another drive";
    DeleteObject(picture);
  }
  ReleaseDC(nullptr, screen);
}

TEST_F(ResourceLibrary, IconsLoad) {
  for (int id : {IDI_FRAME, IDI_LOGO, IDI_PROMPT_QUESTION, IDI_PROMPT_SUMMARY, IDI_PROMPT_WARNING}) {
    HICON icon = LoadIconA(lib, MAKEINTRESOURCEA(id));
    ASSERT_NE(icon, nullptr) << id;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << id;
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32) << id;
    EXPECT_EQ(colour.bmHeight, 32) << id;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

}  // namespace
}  // namespace hw
