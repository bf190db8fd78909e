#pragma once
// The main window's logic on fakes: an executable in C:\Apps\Lock Beacon with its settings
// beside it, a virtual clock that routes every tick to the app, a scripted keyboard, a
// recording sound player, a recording window, shell and window host, scripted message dialogs,
// and an ordinary window in front (no full-screen program).
#include <string>

#include "app/app.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_full_screen_probe.h"
#include "fakes/fake_language_platform.h"
#include "fakes/fake_startup_entry.h"
#include "fakes/fake_startup_platform.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_app_host.h"
#include "fakes/recording_indicator_view.h"
#include "fakes/recording_shell.h"
#include "fakes/recording_sound_player.h"
#include "fakes/recording_tray_icon_view.h"
#include "fakes/scripted_keyboard.h"
#include "fakes/scripted_message_dialogs.h"
#include "fakes/virtual_clock.h"

namespace lb::test {

struct AppRig {
  static constexpr const char* kSettingsPath = "C:\\Apps\\Lock Beacon\\settings.ini";
  static constexpr const char* kBuiltInOn = "C:\\Apps\\Lock Beacon\\keypress-on.wav";
  static constexpr const char* kBuiltInOff = "C:\\Apps\\Lock Beacon\\keypress-off.wav";

  AppRig() {
    view.app = &app;
    clock.onTick = [this](int id) { app.OnTimer(id); };
    host.newSettings = [this] { return app.NewSettingsDialog(); };
  }
  AppRig(const AppRig&) = delete;
  AppRig& operator=(const AppRig&) = delete;

  void GivenSettings(const std::string& lines) {
    files.files[kSettingsPath] = "[Settings]\r\n" + lines;
  }
  [[nodiscard]] std::string SettingsFile() const { return files.files.at(kSettingsPath); }

  FakeStartupPlatform platform;
  MemoryFileSystem files;
  FakeCodePage codePage;
  FakeLanguagePlatform language;
  ScriptedKeyboard keyboard;
  RecordingSoundPlayer sound;
  VirtualClock clock;
  RecordingIndicatorView view;
  RecordingShell shell;
  ScriptedMessageDialogs messages;
  RecordingAppHost host;
  FakeStartupEntry startupEntry;
  RecordingTrayIconView tray;
  FakeFullScreenProbe fullScreen;
  App app{AppPlatform{platform, files, codePage, language, keyboard, sound, shell, messages,
                      startupEntry, &fullScreen},
          view, clock, host, tray};
};

}  // namespace lb::test
