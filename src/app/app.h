#pragma once
// App: the main window's logic. It runs the creation sequence that reads every setting, and
// takes what happens to the window, the tray icon and the keys as intents (OnKeyEvent,
// OnCommand, OnTrayIconPopup, ...), which it hands to its parts: the indicator's behaviour, the
// key monitor, the sounds, the tray lamps and the tray menu. The running copies of the settings
// (displayDuration, the flags, the menu ticks) are its own fields, shared with those parts.
// app_window_win.cpp is the Win32 window that turns messages into these calls.
#include <map>
#include <memory>
#include <string>
#include <string_view>

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
  // A key went down or up (raw input or the keyboard hook).
  void OnKeyEvent(int vk, bool down) { monitor.OnKeyEvent(vk, down); }
  // Key presses arrive as events from now on (OnKeyEvent): the key poll runs only while a lock
  // key is down.
  void UseKeyEvents() { monitor.UseKeyEvents(); }
  // A new foreground window, or another desktop: the states may have changed where the
  // program could not see the key.
  // The full-screen rule asks again at the same moments.
  void OnForegroundChanged() {
    monitor.OnForegroundChanged();
    fullScreen.OnForegroundChanged();
  }
  void OnDesktopSwitched() {
    monitor.OnDesktopSwitched();
    fullScreen.OnDesktopSwitched();
  }
  // The shell says a program went full-screen, or left it, on some monitor (ABN_FULLSCREENAPP).
  void OnFullScreenAppNotice() { fullScreen.OnFullScreenAppNotice(); }
  // Whether the update notice may open now: not over a full-screen program.
  [[nodiscard]] bool NoticeMayShow() { return !fullScreen.Check(); }
  // `listener` hears when a full-screen program comes to the front or goes.
  void ListenToFullScreen(IFullScreenListener& listener) { fullScreen.Subscribe(listener); }
  void StopListeningToFullScreen(IFullScreenListener& listener) {
    fullScreen.Unsubscribe(listener);
  }

  // Mouse events of the window and of everything on it, at screen positions.
  void OnMouseDown(MouseButton button, Point screen) { indicator.OnMouseDown(button, screen); }
  void OnMouseMove(Point screen) { indicator.OnMouseMove(screen); }
  void OnMouseUp(MouseButton button) { indicator.OnMouseUp(button); }
  // The menu from the keyboard (at the window's corner) or from a right click on the frame.
  void OnContextMenu(Point screen, bool fromKeyboard) { indicator.Popup(screen, fromKeyboard); }

  // The notification-area icon: a button went down on it; the menu was asked for with the
  // right button, or from the keyboard at `anchor`.
  void OnTrayIconMouseDown() { menu.OnTrayIconMouseDown(); }
  void OnTrayIconPopup() { menu.OnTrayIconPopup(); }
  void OnTrayIconKeyboardMenu(Point anchor) { menu.OnTrayIconKeyboardMenu(anchor); }
  // The icon size the notification area shows now (pixels): the lamps are drawn for it.
  void OnTrayIconSize(int size) { trayLamps.SetIconSize(size); }
  // The icon was made again (or first made): the next refresh shows the look anew.
  void OnTrayIconRecreated() { trayLamps.Invalidate(); }

  // A command of the tray menu.
  void OnCommand(MenuCommand command) { menu.Execute(command); }
  // The update check is over; `ticked`: "Update Notifications" is ticked.
  void OnUpdateCheckDone(bool ticked) { menu.UpdateCheckDone(ticked); }

  [[nodiscard]] SettingsStore* Store() { return store_.get(); }

  std::string languageFile;

  // The translated caption of a label or menu item by its component name ("Exit" ->
  // "Beenden"), as the creation sequence set it; before that, and for a component it did not
  // set, `english`.
  [[nodiscard]] std::string Caption(std::string_view component, std::string_view english) const;
  // The key label above a column: "Num Lock", "Caps Lock", "Scroll Lock", translated.
  [[nodiscard]] std::string KeyLabel(LedColumn column) const;

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
  // The translated captions by component name, set once by the creation sequence.
  std::map<std::string, std::string, std::less<>> captions_;

  // The parts, in the order they are created.
  FullScreenWatch fullScreen;  // is a full-screen program in front?
  Indicator indicator;
  SoundEffects sounds;
  LockKeyMonitor monitor;
  TrayLamps trayLamps;
  TrayMenu menu;

 public:
  // For tests only: the parts themselves, which the program reaches through the intents above.
  struct PartsForTests {
    Indicator& indicator;
    SoundEffects& sounds;
    LockKeyMonitor& monitor;
    TrayLamps& trayLamps;
    TrayMenu& menu;
    const std::map<std::string, std::string, std::less<>>& captions;
  };
  [[nodiscard]] PartsForTests TestParts() {
    return {indicator, sounds, monitor, trayLamps, menu, captions_};
  }
};

}  // namespace lb
