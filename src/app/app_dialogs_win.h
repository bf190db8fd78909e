#pragma once
// What the tray menu's commands ask of the program beyond its logic: ending the message loop
// and opening the dialogs (Settings, About, the language chooser, the feedback dialog) and the
// update check's switch. The dialogs belong to the main window.
#include <windows.h>

#include "app/app.h"
#include "indicator/tray_menu.h"

namespace lb {

class AppDialogs final : public IAppHost {
 public:
  // `app` may still be under construction: it is used only when a command runs.
  explicit AppDialogs(App& app) : app_(app) {}
  // The main window, which the dialogs belong to; set once it exists.
  void SetOwner(HWND window) noexcept { window_ = window; }

  void Terminate() override;
  void OpenSettingsDialog() override;
  void OpenAboutBox() override;
  void OpenLanguageChooser() override;
  void OpenFeedbackDialog() override;
  void ShowUpdateOn() override;
  void ShowUpdateOff() override;

 private:
  App& app_;
  HWND window_ = nullptr;
};

}  // namespace lb
