#pragma once
// The running copies of the settings that the indicator, the key monitor and the sounds share.
// The creation sequence fills them from settings.ini; afterwards the menu and the Settings
// dialog change them, and nobody reads their stored texts again.

namespace lb {

// The ticks of the popup menu's switch items, named after the items.
struct MenuTicks {
  // "Show when status changes"
  bool showNumLock = true;
  bool showCapsLock = true;
  bool showScrollLock = true;
  // "Always show when toggled on"
  bool alwaysShowNumLock = false;
  bool alwaysShowCapsLock = false;
  bool alwaysShowScrollLock = false;
  // "Sound Effect" > "Play Sound Effects"
  bool numLockSound = true;
  bool capsLockSound = true;
  bool scrollLockSound = true;
  // "Sound Effect" > "Mode"
  bool syncMode = true;
  bool asyncMode = false;
  // The key poll runs (not stored: every start begins enabled).
  bool enable = true;
  // Update notifications are wanted (kept by the update check).
  bool updateNotifications = true;
  // "Show lock states in the tray icon": the live lamps instead of the program's icon.
  bool trayIconStates = true;

  friend bool operator==(const MenuTicks&, const MenuTicks&) = default;
};

// The enabled states of the popup menu's items that change while the program runs.
struct MenuEnabled {
  // Enabled once the update check has run.
  bool updateNotifications = false;
  // Both "show" submenus are greyed while the window stays on top (their entries keep their
  // ticks).
  bool showOnChangeMenu = true;
  bool alwaysShowMenu = true;
};

struct RunningSettings {
  int displayDuration = 10000;  // milliseconds
  bool alwaysOnTop = false;
  bool minimalMode = false;
  bool fadeOut = true;
  bool screenSnap = true;
  bool savePosition = false;  // the position-saving flag
  // "Show on the monitor in use": each show moves the indicator to the foreground window's
  // monitor, at the corner and distances of the user's own place.
  bool showOnActiveMonitor = false;
  // "Hide while a full-screen program runs": no indicator and no sound over a full-screen
  // program (see full_screen.h).
  bool hideInFullScreen = true;
  MenuTicks ticks;
  MenuEnabled enabled;
};

// The main window's timers, one id each; the window routes every tick to App::OnTimer.
inline constexpr int kKeyPollTimerId = 1;       // the key poll, every 10 ms
inline constexpr int kStartDisplayTimerId = 2;  // the one-shot start display
inline constexpr int kHideTimerId = 3;          // the hide timer

}  // namespace lb
