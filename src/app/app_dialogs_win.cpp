#include "app/app_dialogs_win.h"

#include <string>

#include "about/about_box_win.h"
#include "i18n/language_chooser_win.h"
#include "indicator/settings_window_win.h"
#include "online/feedback_dialog_win.h"
#include "online/update_check_win.h"

namespace lb {

void AppDialogs::Terminate() { ::PostQuitMessage(0); }

void AppDialogs::OpenFeedbackDialog() { ShowFeedbackDialog(window_); }

void AppDialogs::OpenAboutBox() { ShowAboutBox(window_); }

void AppDialogs::ShowUpdateOn() { lb::ShowUpdateOn(); }

void AppDialogs::ShowUpdateOff() { lb::ShowUpdateOff(); }

void AppDialogs::OpenLanguageChooser() {
  ShowLanguageChooser(
      window_,
      {.setLanguageFile = [this](const std::string& filename) { app_.SetLanguageFile(filename); },
       .terminate = [this] { Terminate(); }});
}

void AppDialogs::OpenSettingsDialog() {
  // Owned by the application window, as the main window is: no taskbar button.
  static_cast<void>(SettingsWindow::Open(
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE)),
      ::GetWindow(window_, GW_OWNER), app_.NewSettingsDialog()));
}

}  // namespace lb
