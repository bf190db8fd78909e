#pragma once
// What every window of the program does about the DPI, in one place: it keeps the DPI it is
// drawn at, follows WM_DPICHANGED (moves to the rectangle the system suggests and lays itself
// out again at the new DPI) and sizes its client area from design units (96 DPI).
#include <windows.h>

#include "ui/window_base_win.h"

namespace lb {

// Sizes `window` so that its client area is `clientWidth` x `clientHeight` design units at
// `dpi` (frame and caption measured at that DPI), centred on the primary screen. Returns the
// outer size.
SIZE SizeForDpiAndCentre(HWND window, int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                         int dpi) noexcept;

class DpiWindow : public WindowBase {
 public:
  // The DPI the window is drawn at (96 until ApplyDpi).
  [[nodiscard]] int Dpi() const noexcept { return dpi_; }

 protected:
  DpiWindow() = default;

  // `designValue` (at 96 DPI) at the window's DPI.
  [[nodiscard]] int Scaled(int designValue) const noexcept;

  // Takes `dpi` as the window's DPI and lays the window out at it.
  void ApplyDpi(int dpi) {
    dpi_ = dpi;
    LayOut(dpi);
  }
  // Fonts, pictures and the places of the controls at `dpi` (Dpi() is `dpi` already).
  virtual void LayOut(int dpi) = 0;

  // Keeps the focused control across activations from now on: a window that is deactivated
  // (a message box over it, another program) gives the focus back to the same control when it
  // is activated again.
  void KeepFocusAcrossActivations() noexcept { keepsFocus_ = true; }

  // WM_DPICHANGED, and WM_ACTIVATE for a window that keeps its focus; every other message goes
  // to the default handling. A derived window passes the messages it does not handle on to
  // this.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int dpi_ = 96;
  bool keepsFocus_ = false;
  HWND lastFocus_ = nullptr;
};

}  // namespace lb
