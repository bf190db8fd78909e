#pragma once
// TrayIcon, the notification-area icon: the program's icon with the tooltip "Lock Beacon",
// reporting its mouse events to the window that owns it. It comes back by itself when the
// taskbar is created again (Explorer restarted), and leaves when the object goes.
#include <windows.h>

#include <string>

namespace lb {

// What the icon reports.
enum class TrayMouse { None, ButtonDown, RightButtonUp };

class TrayIcon {
 public:
  // The window message through which the icon reports to `window`.
  static constexpr UINT kCallbackMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;

  TrayIcon(HWND window, HICON icon, const std::string& tooltip);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Whether the shell took the icon the last time it was added.
  [[nodiscard]] bool Shown() const noexcept { return shown_; }

  // Looks at one message of the owning window: the icon's own reports become a TrayMouse; the
  // taskbar's "TaskbarCreated" broadcast adds the icon again. Other messages give None.
  TrayMouse HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Add();

  HWND window_;
  HICON icon_;
  std::wstring tooltip_;
  UINT taskbarCreated_;
  bool shown_ = false;
};

}  // namespace lb
