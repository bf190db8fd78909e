#pragma once
// The main window's logic on fakes: an executable in C:\Apps\Lock Beacon with its settings
// beside it, a virtual clock that routes every tick to the form, a scripted keyboard, a
// recording sound player and a recording window.
#include <string>

#include "app/app_form.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_language_platform.h"
#include "fakes/fake_startup_platform.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_indicator_view.h"
#include "fakes/recording_sound_player.h"
#include "fakes/scripted_keyboard.h"
#include "fakes/virtual_clock.h"

namespace lb::test {

struct AppFormRig {
  static constexpr const char* kSettingsPath = "C:\\Apps\\Lock Beacon\\settings.ini";
  static constexpr const char* kBuiltInOn = "C:\\Apps\\Lock Beacon\\keypress-on.wav";
  static constexpr const char* kBuiltInOff = "C:\\Apps\\Lock Beacon\\keypress-off.wav";

  AppFormRig() {
    view.form = &form;
    clock.onTick = [this](int id) { form.OnTimer(id); };
  }
  AppFormRig(const AppFormRig&) = delete;
  AppFormRig& operator=(const AppFormRig&) = delete;

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
  TAppForm form{AppPlatform{platform, files, codePage, language, keyboard, sound}, view, clock};
};

}  // namespace lb::test
