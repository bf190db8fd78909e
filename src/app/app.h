#pragma once
// App: the main window object. It is the indicator window, owns the tray icon, the popup
// menu and all timers, and runs the creation sequence that reads every setting. This is its
// portable logic; app_window_win.cpp is the Win32 window that hosts it. The indicator's
// behaviour, the key monitor and the sounds are its parts; the running copies of the settings
// (displayDuration, the flags, the menu ticks) are its own fields, shared with those parts.
#include <map>
#include <memory>
#include <string>

#include "app/app_platform.h"
#include "base/settings_store.h"
#include "indicator/full_screen.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/lock_key_monitor.h"
#include "indicator/running_settings.h"
#include "indicator/settings_dialog.h"
#include "indicator/sound_effects.h"
#include "indicator/tray_lamps.h"
#include "indicator/tray_menu.h"
#include "platform/timer.h"

namespace lb {

// The design size of the window's client area, in 96-DPI units.
inline constexpr int kDesignClientWidth = 184;
inline constexpr int kDesignClientHeight = 125;

class App : public RunningSettings {
 public:
  // The timers are created in their design states: keyPollTimer (10 ms) and startDisplayTimer (1
  // ms) running, hideTimer (2000 ms) stopped. `host` carries out the menu's window commands.
  // `tray` is the notification-area icon that trayLamps draws on.
  App(const AppPlatform& platform, IIndicatorView& view, ITimerHost& timers, IAppHost& host,
      ITrayIconView& tray);
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The creation sequence. An error (a refused settings write) stops it at the failing step and
  // propagates to the caller, which reports it; the window lives on. A failure before the
  // store is opened leaves Store() null: the parts then change the running settings only.
  void Create();

  // WM_MOVE: while the position-saving flag is on, writes Left and then Top.
  void OnMove();
  // Layout pass, run on every size change and once at the end of the creation sequence: lays
  // out the key labels and LEDs, then, while the position-saving flag is on, writes Left, Top,
  // Height and Width (a refused write raises after the layout).
  void OnResize();
  // WM_TIMER of any of the window's timers.
  void OnTimer(int id);
  // The session was unlocked or connected, or the machine resumed: a lock key may have been
  // toggled meanwhile without any key event reaching the program, so the LEDs and the tray
  // icon read the states again, quietly.
  void OnLockStatesMayHaveChanged() { monitor.ReadStatesQuietly(); }
  // The displays changed (a monitor added or removed, another arrangement, resolution or work
  // area), or the machine resumed: the indicator goes where it can be seen, or back to its own
  // place once that can be seen again.
  void OnDisplaysChanged() { indicator.KeepInSight(); }
  // The user moves or sizes the window by its frame or caption (WM_ENTERSIZEMOVE).
  void OnUserPlacesWindow() { indicator.OnUserPlacesWindow(); }
  // Mouse events of the window and of everything on it, at screen positions.
  void OnMouseDown(MouseButton button, Point screen) { indicator.OnMouseDown(button, screen); }
  void OnMouseMove(Point screen) { indicator.OnMouseMove(screen); }
  void OnMouseUp(MouseButton button) { indicator.OnMouseUp(button); }

  [[nodiscard]] SettingsStore* Store() { return store_.get(); }

  std::string languageFile;

  // The translated captions of the window's labels and menu items, by component name
  // ("Exit" -> "Beenden"), set once by the creation sequence.
  std::map<std::string, std::string, std::less<>> captions;

  // The tray menu as it stands now, with the captions the creation sequence set.
  [[nodiscard]] MenuItem Menu() const;
  // A new Settings dialog, filled from the running settings (Populate has run) and not yet shown.
  [[nodiscard]] std::unique_ptr<SettingsDialog> NewSettingsDialog();

  // Stores the language chosen in the language chooser; used from the next start on.
  void SetLanguageFile(const std::string& filename);

 private:
  void SaveGeometry();

  AppPlatform platform_;
  IIndicatorView& view_;
  std::unique_ptr<SettingsStore> store_;

 public:
  // The parts, in the order they are created.
  FullScreenWatch fullScreen;  // is a full-screen program in front?
  Indicator indicator;
  SoundEffects sounds;
  LockKeyMonitor monitor;
  TrayLamps trayLamps;
  TrayMenu menu;
};

}  // namespace lb
