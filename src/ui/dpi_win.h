#pragma once
// DPI awareness of the process and the DPI of a window, on every Windows from 7 to 11 and on
// Wine.
#include <windows.h>

namespace lb {

enum class DpiAwareness {
  Unaware,
  System,        // one DPI for every monitor, fixed at log-on
  PerMonitor,    // per-monitor (Windows 8.1), non-client area not scaled by the system
  PerMonitorV2,  // per-monitor (Windows 10 1703), non-client area scaled by the system
};

// Makes the process DPI aware as far as the system allows: per-monitor v2, else per-monitor,
// else system-aware. The manifest normally sets the awareness before the program runs; then
// nothing changes and the awareness in force is returned. Call before any window exists.
DpiAwareness EnableProcessDpiAwareness() noexcept;

// The awareness the process runs with.
[[nodiscard]] DpiAwareness CurrentDpiAwareness() noexcept;

// The DPI at which `window` is drawn: the DPI of its monitor when the process is per-monitor
// aware, the system DPI otherwise.
[[nodiscard]] int DpiForWindow(HWND window) noexcept;

// The DPI of `monitor` (effective DPI where the system tells it, the system DPI otherwise).
[[nodiscard]] int DpiForMonitor(HMONITOR monitor) noexcept;
// The width of a small icon (SM_CXSMICON), the size of a notification-area icon, at the DPI of
// the display that shows the taskbar (the shell draws the notification area at that display's
// scale, which the user may change without signing out; the system DPI stays the sign-in one):
// 16 pixels at 100 %, 20 at 125 %, 24 at 150 %, 32 at 200 %.
[[nodiscard]] int NotificationIconSize() noexcept;

// The outer rectangle of a window whose client area is `client`, at `dpi` (the frame and
// caption are measured at that DPI where the system can, so that a window placed on a second
// monitor gets the right size before it is shown). False when the system refuses.
[[nodiscard]] bool AdjustWindowRectForDpi(RECT& client, DWORD style, DWORD exStyle,
                                          int dpi) noexcept;

// WM_DPICHANGED: moves and sizes the window to the rectangle the system suggests in `lParam`,
// which keeps its size in design units on the new monitor.
void MoveToSuggestedRect(HWND window, LPARAM lParam) noexcept;

}  // namespace lb
