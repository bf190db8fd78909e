#include "indicator/indicator.h"

#include <cstdlib>

#include "ui/dpi.h"

namespace lb {
namespace {

constexpr int kStartDisplayTimerDesignMs = 1;
constexpr int kHideTimerDesignMs = 2000;

constexpr LedColumn kColumns[] = {LedColumn::NumLock, LedColumn::CapsLock, LedColumn::ScrollLock};

}  // namespace

Rect SnapWindowRect(const Rect& current, const Rect& proposed, const Rect& workArea,
                    bool screenSnap, const Insets& borders) {
  if (!screenSnap) return proposed;
  if (proposed.Width() != current.Width() || proposed.Height() != current.Height()) return proposed;
  if (proposed.left == 0 && proposed.top == 0) return proposed;

  // The edges the user sees go onto the work area's.
  const Rect visible = Shrink(proposed, borders);
  const int width = visible.Width();
  const int height = visible.Height();
  int left = visible.left;
  int top = visible.top;
  if (std::abs(left - workArea.left) < kSnapDistance) left = workArea.left;
  if (std::abs(left + width - workArea.right) < kSnapDistance) left = workArea.right - width;
  if (std::abs(top - workArea.top) < kSnapDistance) top = workArea.top;
  if (std::abs(top + height - workArea.bottom) < kSnapDistance) top = workArea.bottom - height;
  return Grow(Rect::FromPosSize(left, top, width, height), borders);
}

int StatusLineHeight(int ledBandHeight) {
  const int times3 = 3 * ledBandHeight;
  int half = times3 / 2;
  // An odd product lies exactly halfway between two whole numbers: take the even one.
  if (times3 % 2 != 0 && half % 2 != 0) half += times3 > 0 ? 1 : -1;
  return half;
}

Indicator::Indicator(RunningSettings& settings, IIndicatorView& view, const IKeyboard& keyboard,
                     ITimerHost& timers)
    : startDisplayTimer(timers, kStartDisplayTimerId, kStartDisplayTimerDesignMs, true),
      hideTimer(timers, kHideTimerId, kHideTimerDesignMs, false),
      settings_(settings),
      view_(view),
      keyboard_(keyboard) {}

void Indicator::RefreshLeds() {
  hideTimer.SetEnabled(false);
  SetLedsFromKeys();
}

void Indicator::SetLedsFromKeys() {
  view_.SetLed(LedColumn::NumLock, keyboard_.IsToggled(VkNumLock));
  view_.SetLed(LedColumn::CapsLock, keyboard_.IsToggled(VkCapital));
  view_.SetLed(LedColumn::ScrollLock, keyboard_.IsToggled(VkScroll));
}

void Indicator::StayDecision() {
  const MenuTicks& ticks = settings_.ticks;
  if ((ticks.alwaysShowNumLock && keyboard_.IsToggled(VkNumLock)) ||
      (ticks.alwaysShowCapsLock && keyboard_.IsToggled(VkCapital)) ||
      (ticks.alwaysShowScrollLock && keyboard_.IsToggled(VkScroll))) {
    hideTimer.SetEnabled(false);
  } else if (!settings_.alwaysOnTop) {
    hideTimer.SetInterval(settings_.displayDuration);
    hideTimer.SetEnabled(true);
  }
  // Always on top: nothing arms the hide timer.
}

bool Indicator::Stays() const {
  const MenuTicks& ticks = settings_.ticks;
  return settings_.alwaysOnTop || (ticks.alwaysShowNumLock && keyboard_.IsToggled(VkNumLock)) ||
         (ticks.alwaysShowCapsLock && keyboard_.IsToggled(VkCapital)) ||
         (ticks.alwaysShowScrollLock && keyboard_.IsToggled(VkScroll));
}

void Indicator::StepAside() {
  hideTimer.SetInterval(settings_.displayDuration);
  hideTimer.SetEnabled(false);
  view_.SetVisible(false);
}

void Indicator::OnQuietChanged(bool quiet) {
  if (quiet) {
    StepAside();
  } else if (Stays()) {
    // The LEDs may have changed meanwhile, quietly; they are right already.
    SetLedsFromKeys();
    ShowIndicator();
  }
}

void Indicator::ShowIndicator() {
  // Over a full-screen program nothing shows: not the start display, not a press.
  if (fullScreen != nullptr && fullScreen->Quiet()) {
    StepAside();
    return;
  }
  KeepInSight();
  view_.SetAlpha(kOpaque);
  view_.SetVisible(true);
  // Out of the top-most band and back in: this puts the window above every other top-most one.
  view_.SetTopMost(false);
  view_.ProcessMessages();
  view_.SetTopMost(true);
  view_.ProcessMessages();
  StayDecision();
}

void Indicator::ShowOnPointing(bool shrink) {
  if (shrink) {
    if (!view_.StatusText().empty()) view_.SetStatusText("");
    const int ledsOnly = view_.LedBandHeight();
    if (view_.ClientHeight() != ledsOnly) view_.SetClientHeight(ledsOnly);
  }
  view_.SetAlpha(kOpaque);
  view_.SetVisible(true);
  StayDecision();
}

void Indicator::MinimalModeActivate() { SwitchFrame(FrameStyle::None, true); }

void Indicator::MinimalModeDeactivate() { SwitchFrame(FrameStyle::Single, false); }

void Indicator::SwitchFrame(FrameStyle frame, bool ledBandRaised) {
  // A frame change keeps the client area in place, so the outer corner moves by the frame and
  // the outer width changes with it. The user sees the window's outer edges, and the stored
  // geometry is the outer one: put the outer left, top and width back where they were, and let
  // only the height follow the mode. (Without this, every start in minimal mode moved the
  // window right and down by its frame and made it narrower, since the stored geometry is
  // applied while the window still has its design frame.)
  const Rect before = view_.Bounds();
  view_.SetFrameStyle(frame);
  view_.SetLedBandRaised(ledBandRaised);
  view_.SetClientHeight(view_.LedBandHeight());
  const Rect after = view_.Bounds();
  if (after.left != before.left || after.top != before.top || after.Width() != before.Width()) {
    view_.SetBounds(Rect::FromPosSize(before.left, before.top, before.Width(), after.Height()));
  }
}

void Indicator::OnStartDisplayTimer() {
  startDisplayTimer.SetEnabled(false);
  // The program may start under a full-screen program (signed in to a game that starts too).
  if (fullScreen != nullptr) fullScreen->Check();
  RefreshLeds();
  view_.SetClientHeight(view_.LedBandHeight());
  ShowIndicator();
}

void Indicator::OnHideTimer() {
  if (settings_.fadeOut) {
    hideTimer.SetInterval(kFadeIntervalMs);
    // Every countdown starts from 255, so a fade runs 245, 235, ..., 5 and ends there. A fade
    // that starts from another opacity (the design opacity, when the menu opens before the
    // start display) ends at its last step above 0 instead of wrapping round and never ending.
    const int next = view_.Alpha() - kFadeStep;
    const auto alpha = static_cast<std::uint8_t>(next < kFadeLastAlpha ? kFadeLastAlpha : next);
    view_.SetAlpha(alpha);
    if (alpha <= kFadeLastAlpha) {
      view_.SetVisible(false);
      hideTimer.SetInterval(settings_.displayDuration);
      hideTimer.SetEnabled(false);
    }
  } else {
    hideTimer.SetInterval(settings_.displayDuration);
    hideTimer.SetEnabled(false);
    view_.SetVisible(false);
  }
}

void Indicator::Popup(Point screen, bool fromKeyboard) {
  hideTimer.SetEnabled(false);
  view_.TrackPopupMenu(screen, fromKeyboard);
  if (!settings_.alwaysOnTop) hideTimer.SetEnabled(true);
}

void Indicator::LayOut() {
  view_.SetKeyLabelWidths(view_.PanelTextsClientWidth() / 3);

  const Size leds = view_.PanelLedsClientSize();
  const Size image = view_.LedImageSize();
  const int column = leds.width / 3;
  const int top = leds.height / 2 - image.height / 2;
  for (int i = 0; i < 3; ++i) {
    view_.SetLedPosition(kColumns[i], {i * column + column / 2 - image.width / 2, top});
  }
}

void Indicator::KeepInSight() {
  if (!homeMonitor_) return;
  // The user's own place, and whether it can be seen on the monitors there are now.
  const Rect homeFrame = Shrink(home_, homeBorders_);
  const MonitorArea homeNow = view_.MonitorOf(home_);
  const bool homeSeen = MostlyInside(homeFrame, homeNow.workArea);
  // At home, seen, and asked nowhere else: it stays.
  if (!settings_.showOnActiveMonitor && !displaced_ && homeSeen) return;
  MonitorArea target = homeNow;
  if (settings_.showOnActiveMonitor) {
    target = view_.ActiveMonitor();
  } else if (!homeSeen) {
    target = MonitorInSight(homeFrame, homeNow, view_.MonitorOf(view_.PrimaryWorkArea()));
  }
  const bool atHome = homeSeen && target.workArea == homeNow.workArea;
  const Rect bounds = view_.Bounds();
  const MonitorArea current = view_.MonitorOf(bounds);
  const Size size{ScaleBetween(bounds.Width(), current.dpi, target.dpi),
                  ScaleBetween(bounds.Height(), current.dpi, target.dpi)};
  // The visible edges keep their distances from the work area's; the invisible borders are
  // those of the target's scale. At home the outer corner is the stored one, unchanged.
  Rect placed;
  if (atHome) {
    placed = Rect::FromPosSize(home_.left, home_.top, size.width, size.height);
  } else {
    const Insets now = view_.InvisibleBorders();
    const auto scale = [&](int value) { return ScaleBetween(value, current.dpi, target.dpi); };
    const Insets borders{scale(now.left), scale(now.top), scale(now.right), scale(now.bottom)};
    const Size visibleSize{size.width - borders.left - borders.right,
                           size.height - borders.top - borders.bottom};
    placed = Grow(PlaceInSight(homeFrame, *homeMonitor_, target, visibleSize), borders);
  }
  if (placed != bounds) {
    // The move reports itself like any other, and must not be saved: not even the way back
    // home, where the size may be the DPI's rounding of the stored one.
    displaced_ = true;
    view_.SetBounds(placed);
    // A move onto a monitor of another DPI lets the window take the size it has there, and the
    // system may put it somewhere else with it: the corner goes where it belongs, with that
    // size.
    const Rect moved = view_.Bounds();
    if (moved.left != placed.left || moved.top != placed.top) {
      view_.SetBounds(Rect::FromPosSize(placed.left, placed.top, moved.Width(), moved.Height()));
    }
  }
  displaced_ = !atHome;
}

void Indicator::RememberHome() {
  home_ = view_.Bounds();
  homeMonitor_ = view_.MonitorOf(home_);
  homeBorders_ = view_.InvisibleBorders();
}

void Indicator::OnMouseDown(MouseButton button, Point screen) {
  if (button != MouseButton::Right) {
    lastCursorX_ = screen.x;
    lastCursorY_ = screen.y;
    dragging_ = true;
  }
  ShowOnPointing(true);
  if (button == MouseButton::Right) Popup(view_.CursorPos());
}

void Indicator::OnMouseMove(Point screen) {
  if (dragging_) {
    // The user places the window: wherever it goes is the user's own place, saved as always.
    displaced_ = false;
    const Rect bounds = view_.Bounds();
    view_.SetBounds(Rect::FromPosSize(bounds.left + screen.x - lastCursorX_,
                                      bounds.top + screen.y - lastCursorY_, bounds.Width(),
                                      bounds.Height()));
    lastCursorX_ = screen.x;
    lastCursorY_ = screen.y;
  }
  ShowOnPointing(false);
}

void Indicator::OnMouseUp(MouseButton /*button*/) { dragging_ = false; }

}  // namespace lb
