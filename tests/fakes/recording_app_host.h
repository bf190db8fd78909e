#pragma once
// The window side of the menu's commands: counts what it was asked to do, and opens Settings
// dialogs as the real window does (each a new one, kept open).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "indicator/settings_dialog.h"
#include "indicator/tray_menu.h"

namespace lb::test {

class RecordingAppHost : public IAppHost {
 public:
  // Creates a Settings dialog (the app's NewSettingsDialog).
  std::function<std::unique_ptr<SettingsDialog>()> newSettings;

  int terminated = 0;
  std::vector<std::unique_ptr<SettingsDialog>> settingsDialogs;
  std::vector<std::string> opened;  // "language", "feedback", "about", "update on", "update off"

  void Terminate() override { ++terminated; }
  void OpenSettingsDialog() override { settingsDialogs.push_back(newSettings()); }
  void OpenLanguageChooser() override { opened.emplace_back("language"); }
  void OpenFeedbackDialog() override { opened.emplace_back("feedback"); }
  void OpenAboutBox() override { opened.emplace_back("about"); }
  void ShowUpdateOn() override { opened.emplace_back("update on"); }
  void ShowUpdateOff() override { opened.emplace_back("update off"); }
};

}  // namespace lb::test
