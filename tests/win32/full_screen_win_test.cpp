// Full-screen programs as the system shows them: the foreground window's class, client area and
// monitor as the rule reads them, and the app bar through which the shell tells of a program
// that goes full-screen or leaves it. Wine's shell never sends ABN_FULLSCREENAPP (and its
// SHQueryUserNotificationState always says "accepts notifications"), so the test sends the
// notification as the shell does: to the app bar's window, with the message it registered.
#include "indicator/full_screen_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include "pump.h"
#include "ui/handles_win.h"

namespace lb::test {
namespace {

UniqueWindow MakeWindow(DWORD style, int x, int y, int width, int height) {
  UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"", style | WS_VISIBLE, x, y, width, height,
                                        nullptr, nullptr, nullptr, nullptr));
  ::SetForegroundWindow(window.get());
  return window;
}

TEST(FullScreenProbeTest, ReadsTheWindowInFrontAsTheRuleNeedsIt) {
  const Win32FullScreenProbe probe;
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  {
    const UniqueWindow game = MakeWindow(WS_POPUP, 0, 0, width, height);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == game.get(); }));
    const ForegroundWindow front = probe.Foreground();
    EXPECT_TRUE(front.exists);
    EXPECT_EQ(front.className, "Static");
    EXPECT_EQ(front.client, (Rect{0, 0, width, height}));
    EXPECT_EQ(front.monitor, (Rect{0, 0, width, height}));
    EXPECT_TRUE(IsFullScreenProgramInFront(front, probe.NotificationState()));
  }
  {
    // A window with a caption and a frame over the whole screen: its client area is smaller.
    const UniqueWindow framed = MakeWindow(WS_OVERLAPPEDWINDOW, 0, 0, width, height);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == framed.get(); }));
    const ForegroundWindow front = probe.Foreground();
    EXPECT_GT(front.client.top, 0);
    EXPECT_FALSE(IsFullScreenProgramInFront(front, probe.NotificationState()));
  }
  EXPECT_NE(probe.NotificationState(), UserNotificationState::D3DFullScreen);
}

TEST(FullScreenAppBarTest, TheShellsNoticeReachesTheRuleAndANewShellGetsTheBarAgain) {
  int notices = 0;
  FullScreenAppBar bar(::GetModuleHandleW(nullptr), [&] { ++notices; });
  // Wine's shell keeps a list of app bars too.
  EXPECT_TRUE(bar.Registered());
  EXPECT_FALSE(::IsWindowVisible(bar.Hwnd()));

  ::PostMessageW(bar.Hwnd(), FullScreenAppBar::kCallbackMessage, ABN_FULLSCREENAPP, TRUE);
  ::PostMessageW(bar.Hwnd(), FullScreenAppBar::kCallbackMessage, ABN_POSCHANGED, 0);
  ::PostMessageW(bar.Hwnd(), FullScreenAppBar::kCallbackMessage, ABN_FULLSCREENAPP, FALSE);
  EXPECT_TRUE(PumpUntil([&] { return notices == 2; }));

  // Explorer started afresh: its list is empty, the bar registers again. (Registering twice
  // with one shell is refused, which shows that the first registration was kept.)
  APPBARDATA data{.cbSize = sizeof(APPBARDATA), .hWnd = bar.Hwnd()};
  ::SHAppBarMessage(ABM_REMOVE, &data);
  ::SendMessageW(bar.Hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(bar.Registered());
  data.uCallbackMessage = FullScreenAppBar::kCallbackMessage;
  EXPECT_FALSE(::SHAppBarMessage(ABM_NEW, &data));
}

}  // namespace
}  // namespace lb::test
