#pragma once
// The commands of the tray icon and of the tray menu: the two "show" submenus, "Enable", the online
// help, the dialogs, "Reset to Defaults" and "Exit", and the icon's mouse events. The "Sound
// Effect" commands belong to SoundEffects; Execute routes them there.
#include <memory>
#include <string>

#include "base/settings_store.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/lock_key_monitor.h"
#include "indicator/popup_menu.h"
#include "indicator/running_settings.h"
#include "indicator/sound_effects.h"
#include "indicator/tray_lamps.h"
#include "platform/file_system.h"
#include "platform/message_dialogs.h"
#include "platform/shell.h"
#include "platform/startup_platform.h"

namespace lb {

// What the commands ask of the window that hosts the app.
class IAppHost {
 public:
  virtual ~IAppHost() = default;
  // Ends the application's message loop; the windows are destroyed and the icon goes.
  virtual void Terminate() = 0;
  // Creates a new Settings dialog and shows it without waiting for it.
  virtual void OpenSettingsDialog() = 0;
  // The language chooser, the feedback dialog and the About box, each modal.
  virtual void OpenLanguageChooser() = 0;
  virtual void OpenFeedbackDialog() = 0;
  virtual void OpenAboutBox() = 0;
  // The update check's own switch (ShowUpdate), counted from the next start.
  virtual void ShowUpdateOn() = 0;
  virtual void ShowUpdateOff() = 0;
};

// The address of the online help: "https://", the maker's server, "/help/", the product name
// with its ASCII capitals lowered and every space replaced by "-", and "/".
[[nodiscard]] std::string HelpAddress(const std::string& productName);

class TrayMenu {
 public:
  struct Parts {
    RunningSettings& settings;
    IIndicatorView& view;
    const IScreen& screen;
    Indicator& indicator;
    LockKeyMonitor& monitor;
    SoundEffects& sounds;
    const std::unique_ptr<SettingsStore>& store;  // the app's, opened by its creation sequence
    IFileSystem& files;
    const IStartupPlatform& startup;
    IShell& shell;
    IMessageDialogs& messages;
    IAppHost& host;
    TrayLamps& trayLamps;
  };
  explicit TrayMenu(const Parts& parts) : p_(parts) {}
  TrayMenu(const TrayMenu&) = delete;
  TrayMenu& operator=(const TrayMenu&) = delete;

  // The menu as it stands now, captions from `caption`.
  [[nodiscard]] MenuItem Menu(const CaptionLookup& caption) const;

  // Runs the handler of a chosen item; None and unknown commands do nothing.
  void Execute(MenuCommand command);

  // Any mouse button pressed on the tray icon: the indicator in its short form.
  void OnTrayIconMouseDown();
  // The right button released on the icon (after the program came to the foreground): the menu
  // at the cursor, with the hide timer paused while it is open.
  void OnTrayIconPopup();
  // Enter, Space, the menu key or Shift+F10 on the focused icon (after the program came to the
  // foreground): the menu at the icon, its first item selected.
  void OnTrayIconKeyboardMenu(Point anchor);

  // The update check has finished: "Update Notifications" becomes clickable, and loses its tick
  // when `ticked` is false (notifications are off).
  void UpdateCheckDone(bool ticked);

  // Does nothing while the item is disabled: until the check has finished, the update store is
  // the check thread's.
  void OnUpdateNotifications();
  void OnHelp();
  void OnLanguage();
  void OnSendFeedback();
  void OnAbout();
  void OnEnable();
  void OnTrayIconStates();
  void OnShowNumLock();
  void OnShowCapsLock();
  void OnShowScrollLock();
  void OnAlwaysShowNumLock();
  void OnAlwaysShowCapsLock();
  void OnAlwaysShowScrollLock();
  void OnSettings();
  void OnResetToDefaults();
  void OnExit();

 private:
  void SwitchShow(bool MenuTicks::*tick, const char* key);
  void SwitchAlwaysShow(bool MenuTicks::*tick, const char* key);

  Parts p_;
};

}  // namespace lb
