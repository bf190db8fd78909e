// The live tray icon of the main window, read back from the icon the window hands to the
// notification area: its pixels follow Caps Lock within a poll, its tooltip says the states,
// and the keyboard's way into the icon (Enter or Space, the menu key or Shift+F10) opens the
// menu at the icon with the first item selected.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "indicator/tray_lamps.h"
#include "platform/wide_text_win.h"
#include "ui/dpi_win.h"
#include "win32/app_window_fixture.h"
#include "win32/pump.h"

namespace lb {
namespace {

// The icon's colour pixels, 0xAARRGGBB, top-down.
Pixels ReadIcon(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return {};
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap);
  Pixels pixels{bitmap.bmWidth, bitmap.bmHeight,
                std::vector<std::uint32_t>(static_cast<std::size_t>(bitmap.bmWidth) *
                                           static_cast<std::size_t>(bitmap.bmHeight))};
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = bitmap.bmWidth;
  header.bmiHeader.biHeight = -bitmap.bmHeight;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  const HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, colour.get(), 0, static_cast<UINT>(bitmap.bmHeight), pixels.data.data(),
              &header, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

// The colour (without alpha) at the centre of a lamp: 0 Num Lock, 1 Caps Lock, 2 Scroll Lock.
std::uint32_t LampColour(HICON icon, int lamp) {
  const Pixels pixels = ReadIcon(icon);
  if (pixels.width == 0) return 0xDEADBEEF;
  const Rect r = TrayLampRects(pixels.width)[static_cast<std::size_t>(lamp)];
  const int x = (r.left + r.right) / 2;
  const int y = (r.top + r.bottom) / 2;
  return pixels.data[static_cast<std::size_t>(y * pixels.width + x)] & 0xFFFFFF;
}

constexpr std::uint32_t kLit = kTrayLampLit & 0xFFFFFF;
constexpr std::uint32_t kDark = kTrayLampDark & 0xFFFFFF;

class TrayLampsWindowTest : public test::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    files_.files[test::kSettingsFile] = "[Settings]\r\n";
    Window().Logic().Create();
  }
  HICON Icon() { return Window().Tray().Icon(); }
  std::string Tooltip() { return ToUtf8(Window().Tray().Tooltip()); }
  bool CapsLampIs(std::uint32_t colour) {
    return test::PumpUntil([&] { return LampColour(Icon(), 1) == colour; });
  }
};

TEST_F(TrayLampsWindowTest, IconPixelsFollowCapsLock) {
  EXPECT_EQ(ReadIcon(Icon()).width, NotificationIconSize()) << "drawn at the shell's size";
  EXPECT_TRUE(CapsLampIs(kDark));
  EXPECT_EQ(LampColour(Icon(), 0), kDark);

  keyboard_.Press(VK_CAPITAL);
  EXPECT_TRUE(CapsLampIs(kLit));
  keyboard_.Release(VK_CAPITAL);
  EXPECT_EQ(LampColour(Icon(), 0), kDark) << "Num Lock's lamp stays dark";
  EXPECT_EQ(LampColour(Icon(), 2), kDark) << "Scroll Lock's lamp stays dark";
  EXPECT_NE(Tooltip().find("\nCaps Lock: ON"), std::string::npos) << Tooltip();
  EXPECT_EQ(Tooltip().rfind("Lock Beacon\n", 0), 0u) << Tooltip();

  keyboard_.Press(VK_CAPITAL);
  EXPECT_TRUE(CapsLampIs(kDark));
  keyboard_.Release(VK_CAPITAL);
  EXPECT_NE(Tooltip().find("\nCaps Lock: OFF"), std::string::npos) << Tooltip();
  EXPECT_TRUE(test::reports.empty());
}

TEST_F(TrayLampsWindowTest, StaticIconWhenSwitchedOffAndStatesAfterAnUnlock) {
  Window().Logic().OnCommand(MenuCommand::TrayIconStates);
  const HICON programIcon = Icon();
  EXPECT_EQ(Tooltip(), "Lock Beacon");
  keyboard_.SetToggled(VK_CAPITAL, true);
  // Five ticks of the 10 ms poll, each of which would have drawn the lamps: none does.
  test::PumpFor(std::chrono::milliseconds(50));
  EXPECT_EQ(Icon(), programIcon);

  Window().Logic().OnCommand(MenuCommand::TrayIconStates);
  EXPECT_EQ(LampColour(Icon(), 1), kLit);

  // A toggle on the lock screen, seen when the session comes back.
  Window().Logic().TestParts().monitor.keyPollTimer.SetEnabled(false);
  keyboard_.SetToggled(VK_CAPITAL, false);
  ::SendMessageW(Window().SystemEvents().Hwnd(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_EQ(LampColour(Icon(), 1), kDark);
  keyboard_.SetToggled(VK_NUMLOCK, true);
  ::SendMessageW(Window().SystemEvents().Hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_EQ(LampColour(Icon(), 0), kLit);
}

// Watches for the popup menu of the test thread from a thread of its own: whether its first
// item is selected, then closes it.
class MenuWatcher {
 public:
  explicit MenuWatcher(HWND owner)
      : owner_(owner), threadId_(::GetCurrentThreadId()), thread_([this] { Run(); }) {}
  ~MenuWatcher() {
    stop_ = true;
    thread_.join();
  }
  MenuWatcher(const MenuWatcher&) = delete;
  MenuWatcher& operator=(const MenuWatcher&) = delete;
  [[nodiscard]] bool Seen() const { return seen_; }
  [[nodiscard]] bool FirstItemSelected() const { return firstSelected_; }
  [[nodiscard]] POINT Corner() const { return corner_; }

 private:
  static HWND FindMenu() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
          wchar_t name[16] = {};
          ::GetClassNameW(window, name, 16);
          if (std::wstring(name) != L"#32768" || !::IsWindowVisible(window)) return TRUE;
          *reinterpret_cast<HWND*>(param) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  void Run() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stop_ && !seen_ && std::chrono::steady_clock::now() < end) {
      if (const HWND menuWindow = FindMenu()) {
        // Give the menu's loop the time to take the queued key.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        firstSelected_ = menu && (::GetMenuState(menu, 0, MF_BYPOSITION) & MF_HILITE) != 0;
        RECT r{};
        ::GetWindowRect(menuWindow, &r);
        corner_ = {r.left, r.top};
        seen_ = true;
        ::PostMessageW(owner_, WM_CANCELMODE, 0, 0);
        ::SendMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  HWND owner_;
  DWORD threadId_;
  std::atomic<bool> stop_ = false;
  std::atomic<bool> seen_ = false;
  std::atomic<bool> firstSelected_ = false;
  POINT corner_{};
  std::thread thread_;
};

TEST_F(TrayLampsWindowTest, KeyboardOpensTheMenuAtTheIconWithTheFirstItemSelected) {
  const POINT anchor{300, 200};
  for (const UINT event : {static_cast<UINT>(NIN_KEYSELECT), static_cast<UINT>(WM_CONTEXTMENU)}) {
    SCOPED_TRACE(event);
    MenuWatcher watcher(Hwnd());
    ::SendMessageW(Hwnd(), TrayIcon::kCallbackMessage, MAKEWPARAM(anchor.x, anchor.y),
                   MAKELPARAM(event, TrayIcon::kIconId));
    test::PumpUntil([&] { return watcher.Seen(); });
    ASSERT_TRUE(watcher.Seen()) << "no menu";
    EXPECT_TRUE(watcher.FirstItemSelected());
    EXPECT_EQ(watcher.Corner().x, anchor.x);
    EXPECT_EQ(watcher.Corner().y, anchor.y);
  }
}

TEST_F(TrayLampsWindowTest, ARightClickOpensTheMenuOnceWithNothingSelected) {
  int menus = 0;
  bool selected = true;
  // Version 4 reports a right click as the button's release and then WM_CONTEXTMENU.
  for (const UINT event : {static_cast<UINT>(WM_RBUTTONUP), static_cast<UINT>(WM_CONTEXTMENU)}) {
    MenuWatcher watcher(Hwnd());
    ::SendMessageW(Hwnd(), TrayIcon::kCallbackMessage, MAKEWPARAM(10, 10),
                   MAKELPARAM(event, TrayIcon::kIconId));
    // The menu that should not open has no later event to wait for: the messages run a while.
    test::PumpFor(std::chrono::milliseconds(400));
    if (watcher.Seen()) {
      ++menus;
      selected = watcher.FirstItemSelected();
    }
  }
  EXPECT_EQ(menus, 1);
  EXPECT_FALSE(selected);
}

}  // namespace
}  // namespace lb
