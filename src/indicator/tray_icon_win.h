#pragma once
// TrayIcon, the notification-area icon: a picture with a tooltip, reporting its mouse and
// keyboard events to the window that owns it. It comes back by itself, with the picture and
// tooltip it showed, when the taskbar is created again (Explorer restarted), is tried again for
// about two minutes when the shell refuses it (TrayIconKeeper), and leaves when the object goes.
#include <windows.h>

#include <string>

#include "indicator/tray_icon_keeper.h"
#include "platform/geometry.h"
#include "platform/timer_host_win.h"
#include "ui/handles_win.h"
#include "ui/pixels.h"

namespace lb {

// What the icon reports.
enum class TrayMouse {
  None,
  ButtonDown,
  RightButtonUp,
  // Enter or Space on the focused icon, the menu key or Shift+F10: the menu, at MenuAnchor().
  KeyboardMenu,
};

class TrayIcon final : private INotifyArea {
 public:
  // The window message through which the icon reports to `window`.
  static constexpr UINT kCallbackMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;
  // The id of the retry timer on `window` (apart from the window's own timers).
  static constexpr int kRetryTimerId = 101;

  // Adds the icon with `icon` (not owned; it must outlive the object) and `tooltip`.
  TrayIcon(HWND window, HICON icon, const std::string& tooltip);
  ~TrayIcon() override;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Whether the shell took the icon the last time it was added.
  [[nodiscard]] bool Shown() const noexcept { return keeper_.Shown(); }
  // Whether the icon is being tried again (for tests).
  [[nodiscard]] bool Retrying() const noexcept { return keeper_.Retry().Running(); }

  // Shows `icon` (not owned) with `tooltip` instead of what the icon showed.
  void Show(HICON icon, const std::string& tooltip);
  // Shows a picture of its own (square, premultiplied) with `tooltip`.
  void Show(const Pixels& picture, const std::string& tooltip);
  // The icon the notification area shows now (for tests).
  [[nodiscard]] HICON Icon() const noexcept { return icon_; }
  [[nodiscard]] const std::wstring& Tooltip() const noexcept { return tooltip_; }

  // Looks at one message of the owning window: the icon's own reports become a TrayMouse; the
  // taskbar's "TaskbarCreated" broadcast adds the icon again; the retry timer's WM_TIMER tries
  // it again. Other messages give None.
  TrayMouse HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Where the menu of the last KeyboardMenu opens: the icon's anchor point as the shell reports
  // it, or the cursor when the shell gives none.
  [[nodiscard]] Point MenuAnchor() const noexcept { return menuAnchor_; }

 private:
  // INotifyArea
  bool AddIcon() override;
  bool ModifyIcon() override;
  void SetIconVersion() override;

  HWND window_;
  HICON icon_;
  UniqueIcon ownIcon_;  // the picture's icon, while it shows one
  std::wstring tooltip_;
  UINT taskbarCreated_;
  WindowTimerHost retryTimers_;
  TrayIconKeeper keeper_;
  // A right button's release opened the menu: the WM_CONTEXTMENU of the same click (version 4
  // sends both) does not open it again.
  bool menuOpenedByRightButton_ = false;
  Point menuAnchor_;
};

// An icon of `picture` (square, premultiplied 0xAARRGGBB), or null when the system refuses.
[[nodiscard]] UniqueIcon MakeIcon(const Pixels& picture);

}  // namespace lb
