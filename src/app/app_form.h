#pragma once
// TAppForm: the main window object. It is the indicator window, owns the tray icon, the popup
// menu and all timers, and runs the creation sequence that reads every setting. This is its
// portable logic; app_form_window_win.cpp is the Win32 window that hosts it.
#include <map>
#include <memory>
#include <string>

#include "app/app_form_view.h"
#include "app/app_platform.h"
#include "app/settings_store.h"

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

// The design size of the window's client area, in 96-DPI units.
inline constexpr int kDesignClientWidth = 184;
inline constexpr int kDesignClientHeight = 125;

class TAppForm {
 public:
  TAppForm(const AppPlatform& platform, IAppFormView& view);
  TAppForm(const TAppForm&) = delete;
  TAppForm& operator=(const TAppForm&) = delete;

  // The creation sequence. An error (a refused settings write) stops it at the failing step and
  // propagates to the caller, which reports it; the window lives on.
  void FormCreate();

  // WM_MOVE: while the position-saving flag is on, writes Left and then Top.
  void OnMove();
  // Layout pass, run on every size change and once at the end of the creation sequence:
  // while the position-saving flag is on, writes Left, Top, Height and Width.
  void FormResize();

  [[nodiscard]] SettingsStore* Store() { return store_.get(); }

  // Running copies of the settings.
  int DisplayDuration = 10000;
  bool AlwaysOnTop = false;
  bool MinimalMode = false;
  bool FadeOut = true;
  bool ScreenSnap = true;
  bool SavePosition = false;  // the position-saving flag
  MenuTicks Ticks;
  std::string LanguageFile;

  // The translated captions of the window's labels and menu items, by component name
  // ("Exit1" -> "Beenden"), set once by the creation sequence.
  std::map<std::string, std::string, std::less<>> Captions;

  // Stores the language chosen in the language chooser; used from the next start on.
  void SetLanguageFile(const std::string& Filename);

 private:
  void SaveGeometry();

  AppPlatform platform_;
  IAppFormView& view_;
  std::unique_ptr<SettingsStore> store_;
};

}  // namespace lb
