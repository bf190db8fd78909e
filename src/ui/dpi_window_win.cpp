#include "ui/dpi_window_win.h"

#include "ui/dpi.h"
#include "ui/dpi_win.h"

namespace lb {

SIZE SizeForDpiAndCentre(HWND window, int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         int dpi) noexcept {
  RECT outer{0, 0, Scale(clientWidth, dpi), Scale(clientHeight, dpi)};
  static_cast<void>(AdjustWindowRectForDpi(outer, style, exStyle, dpi));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  ::SetWindowPos(window, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return SIZE{width, height};
}

int DpiWindow::Scaled(int designValue) const noexcept { return Scale(designValue, dpi_); }

LRESULT DpiWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DPICHANGED) {
    MoveToSuggestedRect(Hwnd(), lParam);
    ApplyDpi(HIWORD(wParam));
    return 0;
  }
  if (message == WM_ACTIVATE && keepsFocus_) {
    if (LOWORD(wParam) == WA_INACTIVE) {
      if (HWND focus = ::GetFocus(); focus && ::IsChild(Hwnd(), focus)) lastFocus_ = focus;
    } else if (lastFocus_ && ::IsChild(Hwnd(), lastFocus_)) {
      ::SetFocus(lastFocus_);
      return 0;
    }
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace lb
