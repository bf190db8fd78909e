// The language chooser in the real program: choosing German and answering Yes stores the
// language, writes the restart script and ends the program, and the program that the script
// starts speaks German; OK with the selection unchanged restarts nothing.
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "i18n/language_chooser_win.h"
#include "indicator/popup_menu.h"
#include "indicator/settings_window_win.h"
#include "platform/wide_text_win.h"
#include "win32/host_paths.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;

// The translation of `english` in a shipped language file, read as the file says it.
std::wstring ShippedTranslation(const std::string& language, const std::string& english) {
  const std::string text =
      ReadText(HostPath(LOCKBEACON_SOURCE_DIR "/resources/deliver/Languages/" + language));
  const std::string key = "{" + english + "}";
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key, 0) == 0) return ToWide(line.substr(key.size()));
  }
  return {};
}

void Choose(HWND window, MenuCommand command) {
  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

HWND FindWindowOf(DWORD pid, const std::wstring& className) {
  struct Search {
    DWORD pid;
    const std::wstring* className;
    HWND found;
  } search{pid, &className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->pid && IsWindowVisible(window) && ClassName(window) == *s->className) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(LanguageChooserE2e, GermanAndYesRestartsTheProgramInGerman) {
  TempFolder folder("language-german");
  const fs::path exe = InstallApp(folder.Path(), true);
  // The script runs in this folder (a portable copy's), where a downloaded "timeout.exe" or
  // "timeout.bat" could lie: the command interpreter would run either for a bare "timeout".
  fs::copy_file(test::FixturePath("write_marker.exe"), folder / "timeout.exe");
  WriteText(folder / "timeout.bat", "@echo ran> timeout-bat.ran\r\n");
  AppProcess app(exe);
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const fs::path settings = folder / "settings.ini";
  ASSERT_TRUE(WaitFor([&] { return IniKeys(settings, L"Settings").size() == 4; }));

  Choose(window, MenuCommand::Language);
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    return (chooser = FindWindowOf(app.Pid(), LanguageChooserDialog::kClassName)) != nullptr;
  }));
  DrawNow(chooser);
  SaveScreenshot("language-chooser");
  const HWND combo = GetDlgItem(chooser, LanguageChooserDialog::kLanguageList);
  const LRESULT german = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(L"German"));
  ASSERT_NE(german, CB_ERR);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(german), 0);
  SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(LanguageChooserDialog::kLanguageList, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  PostMessageW(GetDlgItem(chooser, LanguageChooserDialog::kOk), BM_CLICK, 0, 0);

  const HWND question = app.WaitForDialog(L"Confirmation");
  ASSERT_NE(question, nullptr);
  SendMessageW(question, TDM_CLICK_BUTTON, IDYES, 0);

  ASSERT_TRUE(WaitFor([&] { return !app.IsRunning(); }));
  wchar_t stored[256]{};
  GetPrivateProfileStringW(L"Settings", L"LanguageFile", L"", stored, 256,
                           settings.wstring().c_str());
  EXPECT_STREQ(stored, L"German.lang.txt");
  const std::string script = ReadText(folder / "start.bat");
  EXPECT_NE(script.find("LockBeacon.exe"), std::string::npos) << script;
  EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 5) << script;

  OtherCopy restarted;
  ASSERT_TRUE(WaitFor([&] { return restarted.Find(exe, app.Pid()); }));
  const HWND next = restarted.Window();

  // The new program is in German: its Settings dialog carries the German caption.
  Choose(next, MenuCommand::Settings);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    return (dialog = FindWindowOf(restarted.Pid(), SettingsWindow::kClassName)) != nullptr;
  }));
  const std::wstring expected = ShippedTranslation("German.lang.txt", "Settings");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(WindowText(dialog), expected);
  // The new process is the one copy of these settings (the old one let go of them before the
  // script started it): a further start shows it and ends.
  {
    AppProcess again(exe);
    EXPECT_TRUE(WaitFor([&] { return !again.IsRunning(); })) << "two copies of one settings file";
  }
  EXPECT_FALSE(fs::exists(folder / "marker.txt")) << "the script ran the timeout.exe beside it";
  EXPECT_FALSE(fs::exists(folder / "timeout-bat.ran"))
      << "the script ran the timeout.bat beside it";
}

TEST(LanguageChooserE2e, OkWithTheSelectionUnchangedRestartsNothing) {
  TempFolder folder("language-unchanged");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  Choose(window, MenuCommand::Language);
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    return (chooser = FindWindowOf(app.Pid(), LanguageChooserDialog::kClassName)) != nullptr;
  }));
  PostMessageW(GetDlgItem(chooser, LanguageChooserDialog::kOk), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
  // The OK has been handled to its end: a restart would have written its script by now.
  EXPECT_TRUE(Responds(window));
  EXPECT_TRUE(app.IsRunning());
  EXPECT_FALSE(fs::exists(folder / "start.bat"));
}

}  // namespace
}  // namespace lb::e2e
