#pragma once
// The indicator window's behaviour: the LEDs, showing and the hide timer with its fade, the
// start display, the popup menu's pause, minimal mode, the layout of the LEDs and key labels,
// and dragging. The window (IIndicatorView) carries it out.
#include <optional>

#include "indicator/full_screen.h"
#include "indicator/indicator_view.h"
#include "indicator/monitor_placement.h"
#include "indicator/running_settings.h"
#include "indicator/visible_place.h"
#include "platform/geometry.h"
#include "platform/keyboard.h"
#include "platform/timer.h"

namespace lb {

// The hide timer's interval while fading, and the opacity steps of the fade.
inline constexpr int kFadeIntervalMs = 50;
inline constexpr int kFadeStep = 10;
inline constexpr int kFadeLastAlpha = 5;
inline constexpr std::uint8_t kOpaque = 255;
// An edge closer than this to the matching edge of the work area snaps onto it.
inline constexpr int kSnapDistance = 3;

// Where the window goes when it is about to move from `current` to `proposed`: with snapping on
// and a move that keeps the size, to a position other than exactly (0, 0), each visible edge
// (the outer one less `borders`, the invisible borders) closer than kSnapDistance to the
// matching edge of `workArea` is put on it (left before right, top before bottom). Otherwise
// `proposed` as it is.
[[nodiscard]] Rect SnapWindowRect(const Rect& current, const Rect& proposed, const Rect& workArea,
                                  bool screenSnap, const Insets& borders = {});

// 1.5 times `height`, to the nearest whole number, halves to the even one (the client height
// that shows the status line under the LEDs).
[[nodiscard]] int StatusLineHeight(int ledBandHeight);

class Indicator final : public IFullScreenListener {
 public:
  Indicator(RunningSettings& settings, IIndicatorView& view, const IKeyboard& keyboard,
            ITimerHost& timers);
  Indicator(const Indicator&) = delete;
  Indicator& operator=(const Indicator&) = delete;

  // Current state: stops the hide timer and sets all three LEDs from the keys' toggle states.
  void RefreshLeds();
  // Sets the three LEDs from the keys' toggle states, nothing else (the hide timer runs on).
  void SetLedsFromKeys();
  // Shows the window opaque above every other top-most window, then the stay decision. While a
  // full-screen program is in front (fullScreen's Quiet), it hides the window instead.
  void ShowIndicator();
  // Shows the window on pointing, without restarting a running countdown; `shrink` also clears
  // the status line and shrinks the window to the LEDs.
  void ShowOnPointing(bool shrink);
  // Minimal mode on (no frame, raised LED band) or off (the single fixed frame, no bevel): the
  // window keeps its outer left, top and width; its client height becomes the LED band's.
  void MinimalModeActivate();
  void MinimalModeDeactivate();

  void OnStartDisplayTimer();
  void OnHideTimer();

  // The popup menu's show operation: the hide timer pauses while the menu is
  // open and runs afresh, with whatever interval it has, once it closes (unless always on top).
  void Popup(Point screen, bool fromKeyboard = false);

  // The key labels' widths and the LEDs' positions for the window's present size.
  void LayOut();

  // Puts the window where the user sees it. With "Show on the monitor in use" on: on the monitor
  // the user works on, at the corner and distances of its own place there (see PlaceOnMonitor).
  // Otherwise at its own place, unless that place cannot be seen (not even half of it lies in
  // the work area of the monitor nearest to it: a monitor gone, another resolution, a
  // hand-edited settings.ini): then on the monitor nearest to it, or the primary one, as
  // PlaceInSight says; back at its own place once that can be seen again. ShowIndicator does
  // this first; the tray icon's click, the end of the creation sequence and every change of the
  // displays too.
  void KeepInSight();
  // The window's geometry was saved: this is the user's own place from now on.
  void RememberHome();
  // Whether the window stands away from the user's own place, put there by KeepInSight: its
  // geometry is then not saved, until it comes back or the user drags it.
  [[nodiscard]] bool Displaced() const noexcept { return displaced_; }

  // The user starts to move or size the window by its frame or caption (the system's move
  // loop): as with a drag, where it ends is the user's own place, saved as always.
  void OnUserPlacesWindow() noexcept { displaced_ = false; }

  // Mouse events of the window and of everything on it, at screen positions.
  void OnMouseDown(MouseButton button, Point screen);
  void OnMouseMove(Point screen);
  void OnMouseUp(MouseButton button);

  // A full-screen program came to the front: the window steps aside (hidden, its hide timer
  // stopped). It went: a window that stays on screen (always on top, or a key shown while it is
  // on) comes back.
  void OnQuietChanged(bool quiet) override;

  Timer startDisplayTimer;
  Timer hideTimer;  // the hide timer
  // Whether a full-screen program is in front; none: never.
  FullScreenWatch* fullScreen = nullptr;

 private:
  void StayDecision();
  // Whether the stay decision keeps the window on screen.
  [[nodiscard]] bool Stays() const;
  // Hidden now, the hide timer stopped as a finished fade leaves it.
  void StepAside();
  void SwitchFrame(FrameStyle frame, bool ledBandRaised);

  RunningSettings& settings_;
  IIndicatorView& view_;
  const IKeyboard& keyboard_;
  bool dragging_ = false;
  bool displaced_ = false;
  Rect home_;  // the user's own place and its monitor, once the geometry has been saved
  std::optional<MonitorArea> homeMonitor_;
  Insets homeBorders_;   // the window's invisible borders there
  int lastCursorX_ = 0;  // screen position of the cursor at the last drag event
  int lastCursorY_ = 0;
};

}  // namespace lb
