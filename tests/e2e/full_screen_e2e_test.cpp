// The real program under a full-screen program of the test's own (a borderless window over the
// whole screen, in front): a Caps Lock press shows no indicator while the tray lamp follows it,
// and once the window is closed the next press shows again; an update notice offered meanwhile
// waits until the window is gone, which the shell tells the program's app bar.
#include <windows.h>
// The app bar's notifications.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <optional>
#include <vector>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "e2e/tray_area_win.h"
#include "indicator/full_screen_win.h"
#include "indicator/popup_menu.h"
#include "online/update_store_win.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"

namespace lb::e2e {
namespace {

// A game in borderless full screen: a window with no frame over the whole screen, in front. A
// hole over the notification area lets the test see the lamps (the window's client area still
// covers the screen).
class FullScreenWindow {
 public:
  explicit FullScreenWindow(const RECT& hole) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    window_ = CreateWindowExW(0, L"STATIC", L"full screen", WS_POPUP | WS_VISIBLE | SS_BLACKRECT, 0,
                              0, width, height, nullptr, nullptr, nullptr, nullptr);
    HRGN shape = CreateRectRgn(0, 0, width, height);
    HRGN cut = CreateRectRgn(hole.left, hole.top, hole.right, hole.bottom);
    CombineRgn(shape, shape, cut, RGN_DIFF);
    DeleteObject(cut);
    SetWindowRgn(window_, shape, TRUE);  // the window owns the region from here on
    SetForegroundWindow(window_);
  }
  ~FullScreenWindow() { Close(); }
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;

  [[nodiscard]] bool InFront() const { return GetForegroundWindow() == window_; }
  void Close() {
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
};

TEST(FullScreenUse, APressOverAFullScreenProgramShowsNoIndicatorButTheLampFollows) {
  TempFolder folder("full-screen");
  WriteText(folder / "settings.ini",
            "[Settings]\r\nDisplayDuration=1500\r\nFadeoutAnimation=OFF\r\n");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND indicator = app.WaitForMainWindow();
  ASSERT_NE(indicator, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(indicator) != FALSE; }));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(indicator) == FALSE; }));
  const RECT area = NotificationArea();
  std::optional<std::vector<bool>> lit;
  ASSERT_TRUE(WaitFor([&] { return (lit = LitLamps(ScreenImage(), area)).has_value(); }, 5s));

  FullScreenWindow game(area);
  ASSERT_TRUE(WaitFor([&] { return game.InFront(); }, 5s));
  // With a window of its own in front, this process's lock keys follow the X server's, which
  // knows nothing of injected presses: the lamp alone tells that the press arrived.
  const bool before = (*lit)[1];
  HoldKey(VK_CAPITAL);
  ASSERT_TRUE(WaitFor(
      [&] {
        lit = LitLamps(ScreenImage(), area);
        return lit && (*lit)[1] != before;
      },
      5s))
      << "the lamp does not follow";
  // The lamp changes in the same check that would have shown the indicator.
  EXPECT_FALSE(IsWindowVisible(indicator));
  SaveScreenshot("full-screen-press");

  game.Close();
  HoldKey(VK_CAPITAL);  // Caps Lock as it was
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(indicator) != FALSE; }, 5s))
      << "the press after the full-screen program shows nothing";
  EXPECT_TRUE(WaitFor(
      [&] {
        lit = LitLamps(ScreenImage(), area);
        return lit && (*lit)[1] == before;
      },
      5s));
}

// The update store is the prefix's own, shared by every test: start without it.
class FullScreenNotice : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kUpdateStoreKey); }
  void TearDown() override {
    SetUp();
    ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", nullptr);
  }
  static HWND Find(const AppProcess& app, const wchar_t* className, bool visible) {
    for (const HWND window : app.Windows()) {
      if (ClassName(window) == className && (!visible || IsWindowVisible(window))) return window;
    }
    return nullptr;
  }
};

TEST_F(FullScreenNotice, WaitsUntilTheFullScreenProgramIsGone) {
  const test::StandinServer server({"--offer", "9.9"});
  ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", ToWide(server.Host()).c_str());
  FullScreenWindow game(RECT{});
  ASSERT_TRUE(WaitFor([&] { return game.InFront(); }, 5s));
  TempFolder folder("full-screen-notice");
  AppProcess app(InstallApp(folder.Path(), true));
  // Hidden from the start: looked for by its class.
  HWND indicator = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (indicator = Find(app, L"LockBeaconIndicator", false)); }));

  // The check is over once "Update Notifications" takes effect: the notice was decided on in
  // the same step (see UpdateCheckE2eTest.UpdateNotificationsWorksOnceTheCheckHasRun).
  RegistryUpdateStore store(kUpdateStoreKey);
  const auto choose = [&] {
    ::PostMessageW(indicator, WM_COMMAND, static_cast<WPARAM>(MenuCommand::UpdateNotifications), 0);
  };
  ASSERT_TRUE(WaitFor(
      [&] {
        choose();
        return WaitFor([&] { return store.ReadString("ShowUpdate") == "0"; }, 500ms);
      },
      15s));
  choose();
  ASSERT_TRUE(WaitFor([&] { return store.ReadString("ShowUpdate") == "1"; }));
  EXPECT_EQ(Find(app, L"LockBeaconUpdateNotice", true), nullptr);
  EXPECT_FALSE(IsWindowVisible(indicator)) << "no start display over the full-screen program";

  // The program closes; the shell tells every app bar (Wine's does not: the test does).
  game.Close();
  const HWND appBar = Find(app, FullScreenAppBar::kClassName, false);
  ASSERT_NE(appBar, nullptr);
  PostMessageW(appBar, FullScreenAppBar::kCallbackMessage, ABN_FULLSCREENAPP, FALSE);
  EXPECT_TRUE(WaitFor([&] { return Find(app, L"LockBeaconUpdateNotice", true) != nullptr; }, 5s));
  SaveScreenshot("full-screen-notice-after");
}

}  // namespace
}  // namespace lb::e2e
