#pragma once
// The main window on its own, with the app's platform replaced by fakes: an in-memory file
// system, a scripted keyboard, a recording sound player. The window is made on first use.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_language_platform.h"
#include "fakes/fake_startup_entry.h"
#include "fakes/fake_startup_platform.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_shell.h"
#include "fakes/recording_sound_player.h"
#include "fakes/scripted_keyboard.h"
#include "fakes/scripted_message_dialogs.h"
#include "ui/error_report_win.h"
#include "ui/handles_win.h"
#include "ui/message_dialogs_win.h"
#include "ui/screen_win.h"

namespace lb::test {

// What reached the application's error report during the test.
inline std::vector<std::string> reports;
inline void RecordReport(const std::string& text) { reports.push_back(text); }

// Message dialogs scripted, and the open-file dialog the system's own, owned by the main window
// as in the program.
class WindowTestDialogs final : public ScriptedMessageDialogs {
 public:
  HWND owner = nullptr;
  std::optional<std::string> ShowOpenFile(const OpenFileDialog& dialog) override {
    return TaskMessageDialogs(owner).ShowOpenFile(dialog);
  }
};

inline constexpr const char* kSettingsFile = "C:\\Apps\\Lock Beacon\\settings.ini";

class AppWindowTest : public ::testing::Test {
 protected:
  AppWindowTest()
      : owner_(::CreateWindowExW(0, L"STATIC", L"Lock Beacon", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, nullptr, nullptr)) {}

  void SetUp() override {
    reports.clear();
    previousHook_ = SetErrorReportHook(&RecordReport);
  }
  void TearDown() override {
    window_.reset();
    // The main window ends the message loop when it goes; this thread has no loop to end.
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    SetErrorReportHook(previousHook_);
  }

  AppWindow& Window() {
    if (!window_) {
      window_.emplace(::GetModuleHandleW(nullptr), owner_.get(),
                      AppPlatform{platform_, files_, codePage_, language_, keyboard_, sound_,
                                  shell_, messages_, startupEntry_, screen_});
      messages_.owner = window_->Hwnd();
    }
    return *window_;
  }
  HWND Hwnd() { return Window().Hwnd(); }
  std::string Settings() { return files_.ReadFile(kSettingsFile, kMaxTextFileBytes).value_or(""); }

  FakeStartupPlatform platform_;
  MemoryFileSystem files_;
  FakeCodePage codePage_;
  FakeLanguagePlatform language_;
  ScriptedKeyboard keyboard_;
  RecordingSoundPlayer sound_;
  RecordingShell shell_;
  WindowTestDialogs messages_;
  FakeStartupEntry startupEntry_;
  Win32Screen screen_;
  UniqueWindow owner_;

 private:
  std::optional<AppWindow> window_;
  ErrorReportHook previousHook_ = nullptr;
};

}  // namespace lb::test
