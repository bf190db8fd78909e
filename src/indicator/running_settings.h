#pragma once
// The running copies of the settings that the indicator, the key monitor and the sounds share.
// The creation sequence fills them from settings.ini; afterwards the menu and the Settings
// dialog change them, and nobody reads their stored texts again.

namespace lb {

// The ticks of the popup menu's switch items, named after the items.
struct MenuTicks {
  // "Show when status changes"
  bool NumLock1 = true;
  bool CapsLock1 = true;
  bool ScrollLock1 = true;
  // "Always show when toggled on"
  bool NumLock2 = false;
  bool CapsLock2 = false;
  bool ScrollLock2 = false;
  // "Sound Effect" > "Play Sound Effects"
  bool NumLock3 = true;
  bool CapsLock3 = true;
  bool ScrollLock3 = true;
  // "Sound Effect" > "Mode"
  bool SYNC1 = true;
  bool ASYNC1 = false;
};

struct RunningSettings {
  int DisplayDuration = 10000;  // milliseconds
  bool AlwaysOnTop = false;
  bool MinimalMode = false;
  bool FadeOut = true;
  bool ScreenSnap = true;
  bool SavePosition = false;  // the position-saving flag
  MenuTicks Ticks;
};

// The main window's timers, one id each; the window routes every tick to TAppForm::OnTimer.
inline constexpr int kTimer1Id = 1;      // the key poll, every 10 ms
inline constexpr int kTimerStartId = 2;  // the one-shot start display
inline constexpr int kTimerFadeId = 3;   // the hide timer

}  // namespace lb
