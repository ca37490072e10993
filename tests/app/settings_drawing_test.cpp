// The GDI part of the settings store, drawn into a memory bitmap: every pixel
// of the canvas is compared with the lines the frames must leave.
#include "app/win32/settings_drawing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/app/settings_env.h"

namespace hw::win32 {
namespace {

constexpr COLORREF kPaper = RGB(10, 20, 30);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kWidth = 160;
constexpr int kHeight = 110;

// A hidden parent window at (0, 0) without borders, so client and screen
// coordinates agree, with static children placed by the tests.
class DrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(parent_, nullptr);
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    HBRUSH paper = CreateSolidBrush(kPaper);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc_, &all, paper);
    DeleteObject(paper);
  }
  void TearDown() override {
    if (dc_) {
      SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    if (parent_) DestroyWindow(parent_);
  }

  HWND child(int id, int x, int y, int width, int height) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD, x, y, width, height, parent_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }

  // Runs of pixels, inclusive at both ends, painted in order over the paper.
  struct Run {
    int x0, y0, x1, y1;
    COLORREF color;
  };
  testing::AssertionResult canvasIs(const std::vector<Run>& runs) {
    std::vector<COLORREF> expected(kWidth * kHeight, kPaper);
    for (const Run& r : runs) {
      for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) expected[y * kWidth + x] = r.color;
      }
    }
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const COLORREF got = GetPixel(dc_, x, y);
        if (got != expected[y * kWidth + x]) {
          if (wrong++ == 0) {
            first << "(" << x << "," << y << ") is " << got << ", expected " << expected[y * kWidth + x];
          }
        }
      }
    }
    if (wrong == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << wrong << " pixels differ, first " << first.str();
  }

  HWND parent_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

TEST_F(DrawingTest, ControlFrameOutlinesTheControlOnePixelOutAtLeftAndTop) {
  child(101, 20, 30, 40, 10);  // window rectangle (20,30)-(60,40)
  HGDIOBJ penBefore = GetCurrentObject(dc_, OBJ_PEN);
  DrawControlFrame(parent_, 101, dc_, 1);
  EXPECT_TRUE(canvasIs({{19, 29, 60, 29, kBlack}, {19, 40, 60, 40, kBlack},
                        {19, 29, 19, 40, kBlack}, {60, 29, 60, 40, kBlack}}));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), penBefore);
  DrawControlFrame(parent_, 101, dc_, 0);
  EXPECT_TRUE(canvasIs({{19, 29, 60, 29, kWhite}, {19, 40, 60, 40, kWhite},
                        {19, 29, 19, 40, kWhite}, {60, 29, 60, 40, kWhite}}));
}

TEST_F(DrawingTest, ControlFrameOfAMissingControlDrawsNothing) {
  DrawControlFrame(parent_, 555, dc_, 1);
  EXPECT_TRUE(canvasIs({}));
}

TEST_F(DrawingTest, SplitFrameIsDarkAtTopLeftUnlessRaised) {
  child(201, 20, 30, 40, 10);  // outline (19,29)-(60,40)
  DrawSplitFrame(parent_, 201, -1, dc_, 0);
  EXPECT_TRUE(canvasIs({{19, 29, 59, 29, kBlack}, {19, 30, 19, 40, kBlack},
                        {60, 29, 60, 39, kWhite}, {20, 40, 60, 40, kWhite}}));
  DrawSplitFrame(parent_, 201, -1, dc_, 1);
  EXPECT_TRUE(canvasIs({{19, 29, 59, 29, kWhite}, {19, 30, 19, 40, kWhite},
                        {60, 29, 60, 39, kBlack}, {20, 40, 60, 40, kBlack}}));
}

TEST_F(DrawingTest, SplitFrameBreaksWhereTheSecondControlCrosses) {
  child(301, 20, 30, 100, 40);  // outline (19,29)-(120,70)
  child(302, 50, 20, 30, 60);   // outline (49,19)-(80,80)
  DrawSplitFrame(parent_, 301, 302, dc_, 0);
  EXPECT_TRUE(canvasIs({
      {19, 30, 19, 70, kBlack},    // left edge, up from the bottom
      {19, 29, 48, 29, kBlack},    // top edge up to the second control
      {80, 29, 119, 29, kBlack},   // top edge from its right side on
      {120, 29, 120, 69, kWhite},  // right edge
      {81, 70, 120, 70, kWhite},   // bottom edge back to the second control
      {20, 70, 49, 70, kWhite},    // bottom edge from its left side to the left edge
      {49, 19, 49, 79, kWhite},    // the second control's left side
      {80, 19, 80, 79, kBlack},    // and its right side
  }));
}

TEST_F(DrawingTest, FramesInTheParentsOwnContextLeaveTheBitmapAlone) {
  child(401, 20, 30, 40, 10);
  DrawControlFrame(parent_, 401, nullptr, 1);
  DrawSplitFrame(parent_, 401, -1, nullptr, 0);
  EXPECT_TRUE(canvasIs({}));
}

// In a fixed-pitch font a control k characters wide fits k + 1 characters of
// any text, whatever the font's size, so the results are known exactly.
TEST_F(DrawingTest, FitTextToControlMeasuresInTheControlsFont) {
  HWND label = child(501, 0, 0, 10, 10);
  HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HDC measure = GetDC(label);
  HGDIOBJ old = SelectObject(measure, font);
  SIZE w{}, slash{}, blank{}, dot{};
  GetTextExtentPoint32A(measure, "W", 1, &w);
  GetTextExtentPoint32A(measure, "\\", 1, &slash);
  GetTextExtentPoint32A(measure, " ", 1, &blank);
  GetTextExtentPoint32A(measure, ".", 1, &dot);
  SelectObject(measure, old);
  ReleaseDC(label, measure);
  const int cw = w.cx;
  ASSERT_GT(cw, 0);
  ASSERT_TRUE(slash.cx == cw && blank.cx == cw && dot.cx == cw) << "the fixed font is not fixed-pitch";

  const std::string path = "C:\\DATA\\PROJECTS\\2024\\REPORTS\\SUMMARY.TXT";
  std::string out;
  SetWindowPos(label, nullptr, 0, 0, 20 * cw, 10, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(FitTextToControl(label, path, out, 1), 0);
  EXPECT_EQ(out, "C:\\DATA\\P ... MARY.TXT");
  EXPECT_EQ(FitTextToControl(label, path, out, 0), 0);
  EXPECT_EQ(out, "C:\\DATA\\PRO ... ");
  SetWindowPos(label, nullptr, 0, 0, 30 * cw, 10, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(FitTextToControl(label, path, out, 1), 0);
  EXPECT_EQ(out, "C:\\DATA\\PROJECT ... \\SUMMARY.TXT");
  EXPECT_EQ(FitTextToControl(label, "C:\\SHORT", out, 1), 1);
  EXPECT_EQ(out, "C:\\SHORT");
}

COLORREF brushColor(HBRUSH brush) {
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  return lb.lbColor;
}

TEST(SchemeBrushesTest, BrushesFollowTheLoadedColours) {
  std::unique_ptr<test::SettingsEnv> env = test::makeSettingsEnv();
  env->writeFile("[Preferences]\r\nBackColor=255\r\nTextColor=65280\r\n");
  SettingsStore settings(env->platform(), env->iniPath());
  SchemeBrushes brushes;
  EXPECT_EQ(brushColor(brushes.whiteBrush()), RGB(255, 255, 255));
  brushes.loadColors(settings);
  EXPECT_EQ(settings.backColor, 255u);
  EXPECT_EQ(settings.savedTextColor, 65280u);
  EXPECT_EQ(brushColor(brushes.backBrush()), RGB(255, 0, 0));
  EXPECT_EQ(brushColor(brushes.textBrush()), RGB(0, 255, 0));
  brushes.rebuildBackBrush(RGB(0, 0, 255));
  EXPECT_EQ(brushColor(brushes.backBrush()), RGB(0, 0, 255));
}

}  // namespace
}  // namespace hw::win32
