#include "app/system_events_win.h"

#include <wtsapi32.h>

#include "platform/app_error.h"
#include "platform/system_library_win.h"

namespace lb {

SystemEventsWindow::SystemEventsWindow(HINSTANCE instance, HWND owner, App& app) : app_(app) {
  Create(
      instance, {.name = kClassName},
      {.title = L"", .style = WS_POPUP, .x = 0, .y = 0, .width = 0, .height = 0, .owner = owner});
  timers_.Attach(Hwnd());
  // Session unlocks and connects (WM_WTSSESSION_CHANGE): a lock key toggled on the lock screen
  // or set by a Remote Desktop client sends the program no key event.
  if (!RegisterSessionNotifications()) sessionRetry_.Start();
  // A new foreground window or desktop: the states may have changed where the program could
  // not see the key (the secure desktop, an elevated window in front).
  desktopEvents_.Subscribe(*this);
  // A full-screen program in front keeps the indicator quiet: asked at every new foreground
  // window (above), and when the shell tells an app bar of one (F11 or a video, in the same
  // window).
  try {
    fullScreenAppBar_.emplace(instance, [this] { app_.OnFullScreenAppNotice(); });
  } catch (const AppError&) {
    // Without it a program that goes full-screen in its own window is seen at the next press.
  }
}

SystemEventsWindow::~SystemEventsWindow() {
  desktopEvents_.Unsubscribe(*this);
  fullScreenAppBar_.reset();
  sessionRetry_.Stop();
  if (sessionNotifications_) {
    using UnregisterFn = BOOL(WINAPI*)(HWND);
    if (const auto unregister =
            SystemProc<UnregisterFn>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification")) {
      unregister(Hwnd());
    }
  }
  // Destroy while the handlers still exist: the key sources stop at WM_DESTROY.
  Destroy();
}

bool SystemEventsWindow::RegisterSessionNotifications() {
  if (sessionNotifications_) return true;
  // wtsapi32 is no KnownDLL: it comes from System32, never from the exe's folder.
  using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
  const auto registerNotification =
      SystemProc<RegisterFn>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionNotifications_ =
      registerNotification && registerNotification(Hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  return sessionNotifications_;
}

void SystemEventsWindow::RetrySessionNotificationsIfGivenUp() {
  // After the retry timer gave up: once more at each such event, which costs no timer.
  if (!sessionNotifications_ && !sessionRetry_.Running()) RegisterSessionNotifications();
}

void SystemEventsWindow::OnForegroundChanged() {
  app_.OnForegroundChanged();
  RetrySessionNotificationsIfGivenUp();
}

void SystemEventsWindow::OnDesktopSwitched() {
  app_.OnDesktopSwitched();
  RetrySessionNotificationsIfGivenUp();
}

KeySource SystemEventsWindow::StartKeyEvents(std::optional<KeySource> forced) {
  if (keySourceChosen_) return keySource_;
  keySourceChosen_ = true;
  keySource_ =
      StartKeySource(forced, {.startRawInput = [this] { return RegisterRawKeyboardInput(Hwnd()); },
                              .startKeyboardHook = [this] { return keyboardHook_.Start(Hwnd()); }});
  if (keySource_ != KeySource::Polling) app_.UseKeyEvents();
  return keySource_;
}

LRESULT SystemEventsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INPUT:
      // Raw keyboard input: every key of the system, down and up, while the program is in the
      // background too. The default handling frees the input's data.
      if (keySource_ == KeySource::RawInput) {
        if (const std::optional<KeyEvent> key = ReadRawKeyEvent(lParam)) {
          app_.OnKeyEvent(key->vk, key->down);
        }
      }
      return DefaultHandling(message, wParam, lParam);
    case kLockKeyMessage:
      // A lock key, posted by the keyboard hook's thread.
      if (const std::optional<KeyEvent> key = ReadLockKeyMessage(wParam, lParam)) {
        app_.OnKeyEvent(key->vk, key->down);
      }
      return 0;
    case WM_WTSSESSION_CHANGE:
      // Back from the lock screen, or connected (a Remote Desktop client sets the states).
      if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT ||
          wParam == WTS_REMOTE_CONNECT) {
        app_.OnLockStatesMayHaveChanged();
      }
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
        app_.OnLockStatesMayHaveChanged();
        // Docked or undocked while asleep: the indicator's monitor may be gone.
        app_.OnDisplaysChanged();
      }
      return TRUE;
    case WM_TIMER:
      if (wParam == static_cast<WPARAM>(kSessionRetryTimerId)) {
        sessionRetry_.OnTimer();
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_DESTROY:
      timers_.Detach();
      // No key events for a window that is gone: the hook's thread ends here.
      keyboardHook_.Stop();
      if (keySource_ == KeySource::RawInput) UnregisterRawKeyboardInput();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace lb
