#pragma once
// Full-screen programs as Windows shows them: the window in front with its monitor, the shell's
// word (SHQueryUserNotificationState), and an app bar of the program's own, to which the shell
// says when a program goes full-screen or leaves it (ABN_FULLSCREENAPP). The rule itself is
// portable (full_screen.h).
#include <windows.h>

#include <functional>

#include "indicator/full_screen.h"
#include "ui/window_base_win.h"

namespace lb {

class Win32FullScreenProbe final : public IFullScreenProbe {
 public:
  // The foreground window, if it is shown: its class, its client area and its monitor.
  [[nodiscard]] ForegroundWindow Foreground() const override;
  // SHQueryUserNotificationState; Other when it fails. (Wine's always answers "accepts
  // notifications".)
  [[nodiscard]] UserNotificationState NotificationState() const override;
};

// A hidden window registered with the shell as an app bar (ABM_NEW) that takes no room on the
// screen (no ABM_SETPOS): the shell sends every app bar ABN_FULLSCREENAPP when a full-screen
// program opens or closes, which is how the program learns of one that went full-screen without
// a new foreground window (F11, a video). Registered again when the shell starts afresh
// ("TaskbarCreated"); removed (ABM_REMOVE) when the object goes, as Windows asks. Costs nothing
// while nothing happens.
class FullScreenAppBar final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconAppBar";
  // The message the shell's notifications come with.
  static constexpr UINT kCallbackMessage = WM_APP + 0x46;

  // Creates the window and registers it; `onNotice` is called with every ABN_FULLSCREENAPP.
  // Throws AppError when the window cannot be made; a shell that refuses the app bar leaves it
  // unregistered (no notifications come then).
  FullScreenAppBar(HINSTANCE instance, std::function<void()> onNotice);
  ~FullScreenAppBar() override;

  // Whether the shell took the app bar.
  [[nodiscard]] bool Registered() const noexcept { return registered_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Register() noexcept;

  std::function<void()> onNotice_;
  UINT taskbarCreated_ = 0;
  bool registered_ = false;
};

}  // namespace lb
