#include "indicator/indicator.h"

#include <cstdlib>

namespace lb {
namespace {

constexpr int kTimerStartDesignMs = 1;
constexpr int kTimerFadeDesignMs = 2000;

constexpr LedColumn kColumns[] = {LedColumn::NumLock, LedColumn::CapsLock, LedColumn::ScrollLock};

}  // namespace

Rect SnapWindowRect(const Rect& current, const Rect& proposed, const Rect& workArea,
                    bool screenSnap) {
  if (!screenSnap) return proposed;
  if (proposed.Width() != current.Width() || proposed.Height() != current.Height()) return proposed;
  if (proposed.left == 0 && proposed.top == 0) return proposed;

  const int width = proposed.Width();
  const int height = proposed.Height();
  int left = proposed.left;
  int top = proposed.top;
  if (std::abs(left - workArea.left) < kSnapDistance) left = workArea.left;
  if (std::abs(left + width - workArea.right) < kSnapDistance) left = workArea.right - width;
  if (std::abs(top - workArea.top) < kSnapDistance) top = workArea.top;
  if (std::abs(top + height - workArea.bottom) < kSnapDistance) top = workArea.bottom - height;
  return Rect::FromPosSize(left, top, width, height);
}

int StatusLineHeight(int panel1Height) {
  const int times3 = 3 * panel1Height;
  int half = times3 / 2;
  // An odd product lies exactly halfway between two whole numbers: take the even one.
  if (times3 % 2 != 0 && half % 2 != 0) half += times3 > 0 ? 1 : -1;
  return half;
}

Indicator::Indicator(RunningSettings& settings, IIndicatorView& view, const IKeyboard& keyboard,
                     ITimerHost& timers)
    : TimerStart(timers, kTimerStartId, kTimerStartDesignMs, true),
      TimerFade(timers, kTimerFadeId, kTimerFadeDesignMs, false),
      settings_(settings),
      view_(view),
      keyboard_(keyboard) {}

void Indicator::MevcutDurum() {
  TimerFade.SetEnabled(false);
  view_.SetLed(LedColumn::NumLock, keyboard_.IsToggled(VkNumLock));
  view_.SetLed(LedColumn::CapsLock, keyboard_.IsToggled(VkCapital));
  view_.SetLed(LedColumn::ScrollLock, keyboard_.IsToggled(VkScroll));
}

void Indicator::StayDecision() {
  const MenuTicks& ticks = settings_.Ticks;
  if ((ticks.NumLock2 && keyboard_.IsToggled(VkNumLock)) ||
      (ticks.CapsLock2 && keyboard_.IsToggled(VkCapital)) ||
      (ticks.ScrollLock2 && keyboard_.IsToggled(VkScroll))) {
    TimerFade.SetEnabled(false);
  } else if (!settings_.AlwaysOnTop) {
    TimerFade.SetInterval(settings_.DisplayDuration);
    TimerFade.SetEnabled(true);
  }
  // Always on top: nothing arms the hide timer.
}

void Indicator::YapYap() {
  view_.SetAlpha(kOpaque);
  view_.SetVisible(true);
  // Out of the top-most band and back in: this puts the window above every other top-most one.
  view_.SetTopMost(false);
  view_.ProcessMessages();
  view_.SetTopMost(true);
  view_.ProcessMessages();
  StayDecision();
}

void Indicator::Kaybolma(bool Kucult) {
  if (Kucult) {
    if (!view_.StatusText().empty()) view_.SetStatusText("");
    const int ledsOnly = view_.Panel1Height();
    if (view_.ClientHeight() != ledsOnly) view_.SetClientHeight(ledsOnly);
  }
  view_.SetAlpha(kOpaque);
  view_.SetVisible(true);
  StayDecision();
}

void Indicator::MinimalModeActivate() {
  view_.SetFrameStyle(FrameStyle::None);
  view_.SetPanel1Raised(true);
  view_.SetClientHeight(view_.Panel1Height());
}

void Indicator::MinimalModeDeactivate() {
  view_.SetFrameStyle(FrameStyle::Single);
  view_.SetPanel1Raised(false);
  view_.SetClientHeight(view_.Panel1Height());
}

void Indicator::TimerStartTimer() {
  TimerStart.SetEnabled(false);
  MevcutDurum();
  view_.SetClientHeight(view_.Panel1Height());
  YapYap();
}

void Indicator::TimerFadeTimer() {
  if (settings_.FadeOut) {
    TimerFade.SetInterval(kFadeIntervalMs);
    // Every countdown starts from 255, so a fade runs 245, 235, ..., 5 and ends there. A fade
    // that starts from another opacity (the design opacity, when the menu opens before the
    // start display) ends at its last step above 0 instead of wrapping round and never ending.
    const int next = view_.Alpha() - kFadeStep;
    const auto alpha = static_cast<std::uint8_t>(next < kFadeLastAlpha ? kFadeLastAlpha : next);
    view_.SetAlpha(alpha);
    if (alpha <= kFadeLastAlpha) {
      view_.SetVisible(false);
      TimerFade.SetInterval(settings_.DisplayDuration);
      TimerFade.SetEnabled(false);
    }
  } else {
    TimerFade.SetInterval(settings_.DisplayDuration);
    TimerFade.SetEnabled(false);
    view_.SetVisible(false);
  }
}

void Indicator::Popup(Point screen) {
  TimerFade.SetEnabled(false);
  view_.TrackPopupMenu(screen);
  if (!settings_.AlwaysOnTop) TimerFade.SetEnabled(true);
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

void Indicator::FormMouseDown(MouseButton button, Point screen) {
  if (button != MouseButton::Right) {
    dx_ = screen.x;
    dy_ = screen.y;
    dragging_ = true;
  }
  Kaybolma(true);
  if (button == MouseButton::Right) Popup(view_.CursorPos());
}

void Indicator::FormMouseMove(Point screen) {
  if (dragging_) {
    const Rect bounds = view_.Bounds();
    view_.SetBounds(Rect::FromPosSize(bounds.left + screen.x - dx_, bounds.top + screen.y - dy_,
                                      bounds.Width(), bounds.Height()));
    dx_ = screen.x;
    dy_ = screen.y;
  }
  Kaybolma(false);
}

void Indicator::FormMouseUp(MouseButton /*button*/) { dragging_ = false; }

}  // namespace lb
