// The GDI side of the settings store: the brushes of the colour scheme that
// every window paints with, the 3-D lines the dialogs draw round their
// placeholder controls, and the fitting of long texts into fixed controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/settings_store.h"

namespace hw::win32 {

// Solid brushes in the store's colours: `backBrush` in the background colour
// in force, `textBrush` in the text colour, `whiteBrush` in the custom-colour
// default. The brushes are owned here and deleted with the object.
class SchemeBrushes {
 public:
  SchemeBrushes();
  ~SchemeBrushes();
  SchemeBrushes(const SchemeBrushes&) = delete;
  SchemeBrushes& operator=(const SchemeBrushes&) = delete;

  // LoadBackColor and LoadTextColor of the store, each followed by a new brush.
  void loadColors(SettingsStore& settings);
  // A new brush in the colour given, the old one deleted (after the options
  // dialog changed or restored a colour).
  void rebuildBackBrush(std::uint32_t color);
  void rebuildTextBrush(std::uint32_t color);

  HBRUSH backBrush() const { return backBrush_; }
  HBRUSH textBrush() const { return textBrush_; }
  HBRUSH whiteBrush() const { return whiteBrush_; }

 private:
  HBRUSH backBrush_ = nullptr;
  HBRUSH textBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
};

// The outline of child control `controlId` of `parent` (of the parent itself
// for -1) in the parent's client coordinates, its left and top edges one
// pixel further out, in the stock black pen when `dark` is non-zero, else the
// white pen. With a null `dc` one of the parent is taken and released; the
// previous pen is restored.
void DrawControlFrame(HWND parent, int controlId, HDC dc, int dark);

// A two-tone outline round control `firstId`: left and top in the first pen
// (white when `raised`, else black), right and bottom in the other. With
// `secondId` >= 0 the top and bottom edges break where that control crosses
// them, and its own left (second pen) and right (first pen) sides are drawn.
// With a null `dc` one of the parent is taken and released; in a dc the
// caller passed, a stock pen stays selected.
void DrawSplitFrame(HWND parent, int firstId, int secondId, HDC dc, int raised);

// `text` measured in the font of `control` against the control's width:
// 1 and the text itself when it fits, else 0 and the text shortened round
// " ... " (see FitText in app/fit_text.h).
int FitTextToControl(HWND control, const std::string& text, std::string& output, int pathFlag);

}  // namespace hw::win32
