// The notification-area icon against the desktop's real notification area: added with the
// window, gone with the object, and back again when the taskbar announces that it was created
// anew (Explorer restarted) after the icon was lost.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

#include "indicator/tray_icon_win.h"

namespace lb {
namespace {

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = ::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(window_); }

  // Whether the notification area holds the window's icon: only an icon that is there can
  // be changed.
  [[nodiscard]] bool IconPresent() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = TrayIcon::kIconId;
    data.uFlags = NIF_TIP;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }
  void RemoveBehindTheIconsBack() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = TrayIcon::kIconId;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
  }

  HWND window_ = nullptr;
  HICON icon_ = ::LoadIconW(nullptr, IDI_APPLICATION);
};

TEST_F(TrayIconTest, ComesBackWhenTheTaskbarIsCreatedAgain) {
  {
    TrayIcon tray(window_, icon_, "Lock Beacon");
    // The test desktop has a notification area (Wine's own tray): no icon there is a failure.
    ASSERT_TRUE(tray.Shown()) << "the test desktop has no notification area";
    EXPECT_TRUE(IconPresent());

    // The taskbar went away with every icon in it, and came back.
    RemoveBehindTheIconsBack();
    ASSERT_FALSE(IconPresent());
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    EXPECT_EQ(tray.HandleMessage(taskbarCreated, 0, 0), TrayMouse::None);
    EXPECT_TRUE(tray.Shown());
    EXPECT_TRUE(IconPresent());
  }
  EXPECT_FALSE(IconPresent()) << "the icon leaves with the object";
}

TEST_F(TrayIconTest, ReportsButtonsDownAndTheRightButtonUp) {
  TrayIcon tray(window_, icon_, std::string(200, 'x'));  // a tooltip longer than the field
  struct Case {
    UINT mouse;
    TrayMouse expected;
  };
  const Case cases[] = {
      {WM_LBUTTONDOWN, TrayMouse::ButtonDown},
      {WM_RBUTTONDOWN, TrayMouse::ButtonDown},
      {WM_MBUTTONDOWN, TrayMouse::ButtonDown},
      {WM_RBUTTONUP, TrayMouse::RightButtonUp},
      // The WM_CONTEXTMENU that version 4 sends after the right button's release belongs to the
      // same click, whose menu is open already, also with the mouse moved in between.
      {WM_MOUSEMOVE, TrayMouse::None},
      {WM_CONTEXTMENU, TrayMouse::None},
      {WM_LBUTTONUP, TrayMouse::None},
      // The menu key, Shift+F10, Enter and Space on the focused icon.
      {WM_CONTEXTMENU, TrayMouse::KeyboardMenu},
      {NIN_KEYSELECT, TrayMouse::KeyboardMenu},
      {WM_RBUTTONUP, TrayMouse::RightButtonUp},
      {WM_LBUTTONDOWN, TrayMouse::ButtonDown},
      {WM_CONTEXTMENU, TrayMouse::KeyboardMenu},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        tray.HandleMessage(TrayIcon::kCallbackMessage, 0, MAKELPARAM(c.mouse, TrayIcon::kIconId)),
        c.expected)
        << c.mouse;
  }
  // Another message with the same numbers is not the icon's.
  EXPECT_EQ(tray.HandleMessage(WM_APP + 2, 0, MAKELPARAM(WM_RBUTTONUP, TrayIcon::kIconId)),
            TrayMouse::None);
}

TEST_F(TrayIconTest, TooltipIsCutBeforeTheFieldEndsAndNeverInsideACharacter) {
  // 126 units, then a character of two UTF-16 units that would end at unit 128.
  TrayIcon tray(window_, icon_, std::string(126, 'x') + "\xF0\x9F\x98\x80 and more");
  EXPECT_EQ(tray.Tooltip(), std::wstring(126, L'x'));
  tray.Show(icon_, "Lock Beacon\nCaps Lock: ON");
  EXPECT_EQ(tray.Tooltip(), L"Lock Beacon\nCaps Lock: ON");
}

}  // namespace
}  // namespace lb
