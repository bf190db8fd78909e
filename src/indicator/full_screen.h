#pragma once
// Quiet over full-screen programs. While a program covers the monitor in front of the user (a
// game, a film, a slide show), a top-most popup would cover it, and over a game it can push the
// game out of its fast full-screen mode. So while the "Hide while a full-screen program runs"
// switch is on and such a program is in front, a lock key's change shows no indicator and plays
// no sound (the LEDs and the tray lamps still follow), an indicator on screen steps aside, and an
// update notice waits; once the program is gone, an indicator that stays on screen comes back.
//
// Nothing polls: the rule is asked when a lock key's check is due (a key event or a poll tick
// while a key is down), when another window comes to the foreground or another desktop takes
// the input, and when the shell tells an app bar that a program went full-screen or left it
// (ABN_FULLSCREENAPP: F11 or a video, without a new foreground window).
#include <string>
#include <string_view>
#include <vector>

#include "indicator/running_settings.h"
#include "platform/desktop_events.h"
#include "platform/geometry.h"

namespace lb {

// What the shell says of the user (SHQueryUserNotificationState), as far as it matters here.
enum class UserNotificationState {
  Other,             // accepting notifications, busy, away, a store app, or no answer
  D3DFullScreen,     // a full-screen (exclusive) Direct3D program runs
  PresentationMode,  // presentation settings are on
  QuietTime,         // the first hour after a new user's first sign-in: not full-screen
};

// The window in front, as the system shows it.
struct ForegroundWindow {
  bool exists = false;    // false: no foreground window at all
  std::string className;  // its window class
  Rect client;            // its client area, in screen pixels
  Rect monitor;           // the whole monitor it lies on (not the work area), in screen pixels
};

// Where the program learns what is in front: the foreground window and the shell's word.
class IFullScreenProbe {
 public:
  virtual ~IFullScreenProbe() = default;
  [[nodiscard]] virtual ForegroundWindow Foreground() const = 0;
  [[nodiscard]] virtual UserNotificationState NotificationState() const = 0;
};

// The desktop's and the shell's own windows (the desktop, the taskbars), which cover a monitor
// without being a program the user watches.
[[nodiscard]] bool IsDesktopOrShell(std::string_view className);

// Whether a full-screen program is in front: the foreground window's client area covers its
// whole monitor and it is not the desktop's or the shell's, or the shell reports a full-screen
// Direct3D program or presentation mode. (The client area, not the window: a maximised window
// with a caption reaches past the monitor's edges when the taskbar hides itself, yet it is no
// full-screen program.)
[[nodiscard]] bool IsFullScreenProgramInFront(const ForegroundWindow& front,
                                              UserNotificationState state);

class IFullScreenListener {
 public:
  virtual ~IFullScreenListener() = default;
  // The program is quiet from now on (true), or no longer (false).
  virtual void OnQuietChanged(bool quiet) = 0;
};

// The rule in the running program: asks the probe when told to, and tells its listeners when
// the answer changes. Without a probe nothing is ever full-screen.
class FullScreenWatch final : public IDesktopEventListener {
 public:
  FullScreenWatch(const RunningSettings& settings, const IFullScreenProbe* probe)
      : settings_(settings), probe_(probe) {}
  FullScreenWatch(const FullScreenWatch&) = delete;
  FullScreenWatch& operator=(const FullScreenWatch&) = delete;

  // Asks the probe now and tells the listeners if Quiet() changed; answers Quiet().
  bool Check();
  // The switch is on and a full-screen program was in front when last asked.
  [[nodiscard]] bool Quiet() const noexcept { return settings_.hideInFullScreen && fullScreen_; }

  // IDesktopEventListener: a new foreground window or input desktop.
  void OnForegroundChanged() override { Check(); }
  void OnDesktopSwitched() override { Check(); }
  // The shell's ABN_FULLSCREENAPP to the app bar: a program went full-screen or left it. Its
  // word is only a reason to ask: it comes for every monitor, the foreground decides.
  void OnFullScreenAppNotice() { Check(); }

  // A listener is told of every change from now on, until it unsubscribes (twice counts once).
  void Subscribe(IFullScreenListener& listener);
  void Unsubscribe(IFullScreenListener& listener);

 private:
  const RunningSettings& settings_;
  const IFullScreenProbe* probe_;
  bool fullScreen_ = false;
  bool told_ = false;  // Quiet() as the listeners last heard it
  std::vector<IFullScreenListener*> listeners_;
};

}  // namespace lb
