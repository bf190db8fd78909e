#pragma once
// The layout tables of the program's dialogs: each control's place in design units (96 DPI),
// scaled to the window's DPI when the window lays itself out.
#include <windows.h>

#include "ui/dpi.h"

namespace lb {

// One row of a layout table: the control's identifier and its place in design units.
struct LayoutPlace {
  int id;
  int x, y, width, height;
};

// The place at `dpi`, in pixels of the parent's client area. A height of 1 (a line) stays one
// pixel at every DPI.
[[nodiscard]] constexpr RECT ScalePlace(const LayoutPlace& place, int dpi) noexcept {
  const int left = Scale(place.x, dpi);
  const int top = Scale(place.y, dpi);
  return RECT{left, top, left + Scale(place.width, dpi),
              top + (place.height == 1 ? 1 : Scale(place.height, dpi))};
}

// Moves and sizes `control` to `rect` (parent's client coordinates), keeping its z-order and
// the activation.
inline void MoveControl(HWND control, const RECT& rect) noexcept {
  ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lb
