#pragma once
// The calls that move the keyboard focus or the foreground between programs, behind one seam.
// Windows lets a process take the foreground only in a few cases (it was started a moment ago
// and has not yet shown a window, the user just clicked it, ...), and a window that takes it
// while the user is typing into another program steals the user's next keystrokes. Wine has no
// such lock and, without a window manager, never activates anything, so tests record the calls
// through this seam instead of watching the foreground.
#include <windows.h>

namespace lb {

struct FocusCalls {
  HWND(WINAPI* foregroundWindow)() = ::GetForegroundWindow;
  HWND(WINAPI* setFocus)(HWND) = ::SetFocus;
};

// Whether the window in the foreground belongs to this process.
[[nodiscard]] inline bool OwnsForeground(const FocusCalls& calls) {
  const HWND foreground = calls.foregroundWindow();
  if (!foreground) return false;
  DWORD process = 0;
  ::GetWindowThreadProcessId(foreground, &process);
  return process == ::GetCurrentProcessId();
}

}  // namespace lb
