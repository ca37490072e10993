#include "app/win32/settings_drawing.h"

#include "app/fit_text.h"

namespace hw::win32 {
namespace {

COLORREF toColorRef(std::uint32_t color) { return static_cast<COLORREF>(color); }

void replaceBrush(HBRUSH& brush, std::uint32_t color) {
  if (brush) DeleteObject(brush);
  brush = CreateSolidBrush(toColorRef(color));
}

// The window rectangle of a child (or of the parent itself for -1) in the
// parent's client coordinates, with the left and top edges one pixel out.
// False when there is no such control.
bool frameRect(HWND parent, int controlId, RECT& rect) {
  HWND window = controlId == -1 ? parent : GetDlgItem(parent, controlId);
  if (!window || !GetWindowRect(window, &rect)) return false;
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  rect.left -= 1;
  rect.top -= 1;
  return true;
}

// A device context of the parent for the length of one drawing, unless the
// caller passed one.
class DrawingContext {
 public:
  DrawingContext(HWND parent, HDC given) : parent_(parent), dc_(given), owned_(given == nullptr) {
    if (owned_) dc_ = GetDC(parent);
  }
  ~DrawingContext() {
    if (owned_ && dc_) ReleaseDC(parent_, dc_);
  }
  DrawingContext(const DrawingContext&) = delete;
  DrawingContext& operator=(const DrawingContext&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND parent_;
  HDC dc_;
  bool owned_;
};

HGDIOBJ stockPen(bool black) { return GetStockObject(black ? BLACK_PEN : WHITE_PEN); }

void line(HDC dc, LONG x1, LONG y1, LONG x2, LONG y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

SchemeBrushes::SchemeBrushes() {
  whiteBrush_ = CreateSolidBrush(toColorRef(SettingsStore::customColorDefault));
}

SchemeBrushes::~SchemeBrushes() {
  for (HBRUSH brush : {backBrush_, textBrush_, whiteBrush_}) {
    if (brush) DeleteObject(brush);
  }
}

void SchemeBrushes::loadColors(SettingsStore& settings) {
  settings.LoadBackColor();
  rebuildBackBrush(settings.backColor);
  settings.LoadTextColor();
  rebuildTextBrush(settings.textColor);
}

void SchemeBrushes::rebuildBackBrush(std::uint32_t color) { replaceBrush(backBrush_, color); }
void SchemeBrushes::rebuildTextBrush(std::uint32_t color) { replaceBrush(textBrush_, color); }

void DrawControlFrame(HWND parent, int controlId, HDC dc, int dark) {
  RECT r;
  if (!frameRect(parent, controlId, r)) return;
  DrawingContext context(parent, dc);
  if (!context.dc()) return;
  HGDIOBJ previous = SelectObject(context.dc(), stockPen(dark != 0));
  MoveToEx(context.dc(), r.left, r.bottom, nullptr);
  LineTo(context.dc(), r.left, r.top);
  LineTo(context.dc(), r.right, r.top);
  LineTo(context.dc(), r.right, r.bottom);
  LineTo(context.dc(), r.left, r.bottom);
  SelectObject(context.dc(), previous);
}

void DrawSplitFrame(HWND parent, int firstId, int secondId, HDC dc, int raised) {
  RECT r;
  if (!frameRect(parent, firstId, r)) return;
  RECT s{};
  const bool split = secondId >= 0;
  if (split && !frameRect(parent, secondId, s)) return;
  DrawingContext context(parent, dc);
  HDC d = context.dc();
  if (!d) return;
  HGDIOBJ firstPen = stockPen(raised == 0);
  HGDIOBJ secondPen = stockPen(raised != 0);

  SelectObject(d, firstPen);
  if (!split) {
    MoveToEx(d, r.left, r.bottom, nullptr);
    LineTo(d, r.left, r.top);
    LineTo(d, r.right, r.top);
    SelectObject(d, secondPen);
    LineTo(d, r.right, r.bottom);
    LineTo(d, r.left, r.bottom);
    return;
  }
  MoveToEx(d, r.left, r.bottom, nullptr);
  LineTo(d, r.left, r.top);
  LineTo(d, s.left, r.top);
  line(d, s.right, r.top, r.right, r.top);
  SelectObject(d, secondPen);
  LineTo(d, r.right, r.bottom);
  LineTo(d, s.right, r.bottom);
  line(d, s.left, r.bottom, r.left, r.bottom);
  line(d, s.left, s.top, s.left, s.bottom);
  SelectObject(d, firstPen);
  line(d, s.right, s.top, s.right, s.bottom);
}

int FitTextToControl(HWND control, const std::string& text, std::string& output, int pathFlag) {
  SIZE extent{};
  HDC dc = GetDC(control);
  if (dc) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    if (previous) SelectObject(dc, previous);
    ReleaseDC(control, dc);
  }
  RECT window{};
  GetWindowRect(control, &window);
  return FitText(text, extent.cx, window.right - window.left, pathFlag, output);
}

}  // namespace hw::win32
