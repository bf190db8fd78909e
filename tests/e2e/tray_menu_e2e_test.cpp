// The popup menu's commands and the Settings dialog in the real program: commands sent to its
// window as the menu sends them, answers given to its dialogs, settings.ini read back, and
// pictures of the open menu and of the dialog at 96 and 144 DPI.
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "indicator/popup_menu.h"
#include "indicator/settings_dialog.h"
#include "indicator/settings_window_win.h"
#include "indicator/tray_icon_win.h"
#include "ui/dpi.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

std::wstring IniValue(const fs::path& file, const wchar_t* key) {
  wchar_t value[256]{};
  GetPrivateProfileStringW(L"Settings", key, L"<absent>", value, 256, file.wstring().c_str());
  return value;
}

void Choose(HWND window, MenuCommand command) {
  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

// The visible windows of a class among a process's top-level windows.
std::vector<HWND> WindowsOfClass(const AppProcess& app, const std::wstring& className) {
  std::vector<HWND> found;
  for (HWND window : app.Windows()) {
    if (IsWindowVisible(window) && ClassName(window) == className) found.push_back(window);
  }
  return found;
}

class TrayMenuE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ignored;
    fs::remove_all(RoamingAppData() / "BRIMLEX", ignored);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(TrayMenuE2eTest, MenuCommandsChangeTheSettingsFile) {
  TempFolder folder("menu-commands");
  AppProcess app(InstallApp(folder.Path()));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const fs::path settings = folder / "settings.ini";

  Choose(window, MenuCommand::ShowNumLock);
  Choose(window, MenuCommand::AlwaysShowCapsLock);
  Choose(window, MenuCommand::ScrollLockSound);
  Choose(window, MenuCommand::AsyncMode);
  Choose(window, MenuCommand::Enable);  // not stored
  ASSERT_TRUE(WaitFor([&] { return IniValue(settings, L"Play Mode") == L"ASYNC"; }));
  EXPECT_EQ(IniValue(settings, L"Num Lock"), L"OFF");
  EXPECT_EQ(IniValue(settings, L"Caps Lock Toggled"), L"ON");
  EXPECT_EQ(IniValue(settings, L"Scroll Lock Sound"), L"OFF");
  EXPECT_THAT(IniKeys(settings, L"Settings"), Not(Contains(L"Enable")));

  Choose(window, MenuCommand::ShowNumLock);
  ASSERT_TRUE(WaitFor([&] { return IniValue(settings, L"Num Lock") == L"ON"; }));

  Choose(window, MenuCommand::Exit);
  EXPECT_TRUE(WaitFor([&] { return !app.IsRunning(); }));
}

TEST_F(TrayMenuE2eTest, ResetToDefaultsAnsweredNoOrCancelledChangesNothing) {
  TempFolder folder("reset-no");
  WriteText(folder / "settings.ini", "[Settings]\r\nNum Lock=OFF\r\n");
  const fs::path exe = InstallApp(folder.Path());
  AppProcess app(exe);
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const fs::path settings = folder / "settings.ini";
  ASSERT_TRUE(WaitFor([&] { return IniKeys(settings, L"Settings").size() == 5; }));

  // No, then Esc (the dialog's cancellation, which answers with No).
  for (const int press : {IDNO, IDCANCEL}) {
    Choose(window, MenuCommand::ResetToDefaults);
    const HWND box = app.WaitForDialog(L"Confirmation");
    ASSERT_NE(box, nullptr);
    if (press == IDNO) SaveScreenshot("reset-to-defaults-question");
    SendMessageW(box, TDM_CLICK_BUTTON, press, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  }
  // The command that asked has returned: a reset would have been written by now.
  EXPECT_TRUE(Responds(window));
  EXPECT_TRUE(app.IsRunning());
  EXPECT_EQ(IniValue(settings, L"Num Lock"), L"OFF");
  EXPECT_FALSE(OtherCopy().Find(exe, app.Pid()));
}

TEST_F(TrayMenuE2eTest, ResetToDefaultsAnsweredYesRestartsWithEveryDefault) {
  TempFolder folder("reset-yes");
  WriteText(folder / "settings.ini", "[Settings]\r\nNum Lock=OFF\r\nLeft=10\r\nTop=10\r\n");
  const fs::path exe = InstallApp(folder.Path());
  AppProcess app(exe);
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const fs::path settings = folder / "settings.ini";

  Choose(window, MenuCommand::ResetToDefaults);
  const HWND box = app.WaitForDialog(L"Confirmation");
  ASSERT_NE(box, nullptr);
  SendMessageW(box, TDM_CLICK_BUTTON, IDYES, 0);

  ASSERT_TRUE(WaitFor([&] { return !app.IsRunning(); }));
  OtherCopy restarted;
  ASSERT_TRUE(WaitFor([&] { return restarted.Find(exe, app.Pid()); }));
  // The new process started without the old file: only its own first geometry is there, at the
  // default place (the bottom-right corner), and nothing of the old settings.
  ASSERT_TRUE(WaitFor([&] { return IniKeys(settings, L"Settings").size() == 4; }));
  EXPECT_EQ(IniValue(settings, L"Num Lock"), L"<absent>");
  EXPECT_NE(IniValue(settings, L"Left"), L"10");
  // The new process is the one copy of these settings (the old one let go of them before it
  // started it): a further start shows it and ends.
  {
    AppProcess again(exe);
    EXPECT_TRUE(WaitFor([&] { return !again.IsRunning(); })) << "two copies of one settings file";
  }
}

TEST_F(TrayMenuE2eTest, TwoSettingsDialogsOpenAndSaveWritesAllItsKeys) {
  TempFolder folder("settings-dialog");
  AppProcess app(InstallApp(folder.Path()));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const fs::path settings = folder / "settings.ini";
  ASSERT_TRUE(WaitFor([&] { return IniKeys(settings, L"Settings").size() == 4; }));
  // Let the start display hide first.
  ShowWindow(window, SW_HIDE);

  Choose(window, MenuCommand::Settings);
  Choose(window, MenuCommand::Settings);
  std::vector<HWND> dialogs;
  ASSERT_TRUE(WaitFor([&] {
    dialogs = WindowsOfClass(app, SettingsWindow::kClassName);
    return dialogs.size() == 2;
  }));
  EXPECT_EQ(WindowText(dialogs[0]), L"Settings");

  const HWND save = GetDlgItem(dialogs[0], SettingsWindow::kSave);
  ASSERT_NE(save, nullptr);
  SendMessageW(dialogs[0], WM_COMMAND, MAKEWPARAM(SettingsWindow::kSave, BN_CLICKED),
               reinterpret_cast<LPARAM>(save));

  ASSERT_TRUE(WaitFor([&] { return IniKeys(settings, L"Settings").size() == 11; }));
  EXPECT_EQ(IniValue(settings, L"DisplayDuration"), L"10000");
  EXPECT_EQ(IniValue(settings, L"Always on top"), L"OFF");
  EXPECT_EQ(IniValue(settings, L"FadeoutAnimation"), L"ON");
  EXPECT_EQ(IniValue(settings, L"Minimal Mode"), L"OFF");
  EXPECT_EQ(IniValue(settings, L"ScreenSnap"), L"ON");
  EXPECT_EQ(IniValue(settings, L"Show On Active Monitor"), L"OFF");
  EXPECT_EQ(IniValue(settings, L"Hide In Full Screen"), L"ON");
  EXPECT_FALSE(IsWindow(dialogs[0]));
  EXPECT_TRUE(IsWindowVisible(dialogs[1]));

  // Cancel closes the other one and writes nothing.
  const std::wstring before = IniValue(settings, L"DisplayDuration");
  PostMessageW(dialogs[1], WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialogs[1]); }));
  EXPECT_EQ(IniValue(settings, L"DisplayDuration"), before);
}

class ScreenshotsAtDpi : public TrayMenuE2eTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScreenshotsAtDpi, OpenMenuAndSettingsDialog) {
  const int dpi = GetParam();
  ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
  TempFolder folder("screenshots-" + std::to_string(dpi));
  AppProcess app(InstallApp(folder.Path()));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  // A right click on the tray icon, as the shell reports it.
  SetCursorPos(400, 300);
  PostMessageW(window, TrayIcon::kCallbackMessage, 0,
               MAKELPARAM(WM_RBUTTONDOWN, TrayIcon::kIconId));
  PostMessageW(window, TrayIcon::kCallbackMessage, 0, MAKELPARAM(WM_RBUTTONUP, TrayIcon::kIconId));
  // The program's own menu window (tests of other windows may have menus open meanwhile).
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const auto menus = WindowsOfClass(app, L"#32768");
    menu = menus.empty() ? nullptr : menus.front();
    return menu != nullptr;
  }));
  DrawNow(menu);
  SaveScreenshot("popup-menu-" + std::to_string(dpi) + "dpi");
  SendMessageW(window, WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }));

  Choose(window, MenuCommand::Settings);
  std::vector<HWND> dialogs;
  ASSERT_TRUE(WaitFor([&] {
    dialogs = WindowsOfClass(app, SettingsWindow::kClassName);
    return dialogs.size() == 1;
  }));
  RECT client{};
  GetClientRect(dialogs[0], &client);
  EXPECT_EQ(client.right, Scale(kSettingsClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scale(kSettingsClientHeight, dpi));
  RECT save{};
  GetWindowRect(GetDlgItem(dialogs[0], SettingsWindow::kSave), &save);
  EXPECT_EQ(save.right - save.left, Scale(100, dpi));
  DrawNow(dialogs[0]);
  SaveScreenshot("settings-dialog-" + std::to_string(dpi) + "dpi");
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScreenshotsAtDpi, ::testing::Values(96, 144));

}  // namespace
}  // namespace lb::e2e
