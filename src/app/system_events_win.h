#pragma once
// What the system tells the program about the keyboard and the session, apart from the
// indicator window: a hidden top-level window (top-level, so that it hears broadcasts such as
// WM_POWERBROADCAST; never shown) that receives raw keyboard input or the keyboard hook's
// messages, the session notifications and the power broadcasts, and owns the foreground and
// desktop-switch hooks. It hands each event to the app's logic as an intent.
#include <windows.h>

#include <optional>

#include "app/app.h"
#include "indicator/full_screen_win.h"
#include "indicator/key_events_win.h"
#include "indicator/key_source.h"
#include "platform/desktop_events_win.h"
#include "platform/retry_timer.h"
#include "platform/timer_host_win.h"
#include "ui/window_base_win.h"

namespace lb {

class SystemEventsWindow final : public WindowBase, private IDesktopEventListener {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconSystemEvents";
  // The timer that tries WTSRegisterSessionNotification again.
  static constexpr int kSessionRetryTimerId = 20;

  // Creates the window, hidden, owned by `owner`, and asks for the session notifications.
  // Throws AppError when the window cannot be created.
  SystemEventsWindow(HINSTANCE instance, HWND owner, App& app);
  ~SystemEventsWindow() override;

  // Chooses, once, where the key monitor learns of key presses: raw input for this window, else
  // the keyboard hook on its thread, else the 10 ms poll that runs from the start; `forced`
  // begins the chain at a source (ForcedKeySource). With an event source the poll runs only
  // while a lock key is down. Until this is called the app polls.
  KeySource StartKeyEvents(std::optional<KeySource> forced);
  [[nodiscard]] KeySource KeySourceInUse() const noexcept { return keySource_; }

  // The foreground and desktop-switch announcements, which the key monitor follows (tests play
  // events through it).
  [[nodiscard]] DesktopEventHooks& DesktopEvents() noexcept { return desktopEvents_; }
  [[nodiscard]] bool SessionNotifications() const noexcept { return sessionNotifications_; }

 private:
  // IDesktopEventListener: the app follows the event; a session notification that failed is
  // tried once more at such an event, after the retry timer gave up.
  void OnForegroundChanged() override;
  void OnDesktopSwitched() override;
  // WTSRegisterSessionNotification; answers whether the window gets the notifications now.
  bool RegisterSessionNotifications();
  void RetrySessionNotificationsIfGivenUp();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  App& app_;
  WindowTimerHost timers_;
  KeySource keySource_ = KeySource::Polling;
  bool keySourceChosen_ = false;
  KeyboardHookThread keyboardHook_;
  bool sessionNotifications_ = false;  // WTSRegisterSessionNotification took the window
  // It fails at sign-in until the terminal service is ready: tried again for two minutes.
  RetryTimer sessionRetry_{timers_, kSessionRetryTimerId,
                           [this] { return RegisterSessionNotifications(); }};
  // Tells the full-screen rule when the shell says a program went full-screen or left it
  // (none when its window could not be made).
  std::optional<FullScreenAppBar> fullScreenAppBar_;
  // Last: it goes first, before the listener it tells.
  DesktopEventHooks desktopEvents_;
};

}  // namespace lb
