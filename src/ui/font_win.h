#pragma once
// The fonts of the program's windows, made in one place: Tahoma (the windows' typeface) at a
// size in points for a DPI, or at a size in pixels where a window draws on a pixel grid.
#include <windows.h>

#include "ui/handles_win.h"

namespace lb {

struct FontSpec {
  int pixelHeight = 0;  // the character height in pixels (the cell height without leading)
  bool bold = false;
  bool underline = false;
  const wchar_t* face = L"Tahoma";
  BYTE quality = CLEARTYPE_QUALITY;
  BYTE pitchAndFamily = DEFAULT_PITCH;
};

// The character height in pixels of a font of `points` at `dpi`.
[[nodiscard]] inline int FontPixels(int points, int dpi) noexcept {
  return ::MulDiv(points, dpi, 72);
}

[[nodiscard]] UniqueFont MakeFont(const FontSpec& spec) noexcept;

// Tahoma of `points` at `dpi`, ClearType.
[[nodiscard]] inline UniqueFont TahomaFont(int points, int dpi, bool bold = false,
                                           bool underline = false) noexcept {
  return MakeFont({.pixelHeight = FontPixels(points, dpi), .bold = bold, .underline = underline});
}

// The font of a control (WM_SETFONT without a redraw); the caller keeps the font alive.
inline void SetControlFont(HWND control, HFONT font) noexcept {
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace lb
