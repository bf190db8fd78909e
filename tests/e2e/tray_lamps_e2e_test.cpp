// The notification-area icon of the real program as a user sees it: its three lamps follow a
// Caps Lock press, at 100 % and at 200 %. The notification area is read from the screen;
// pictures of it go to the artifacts folder (tray-lamps-<dpi>dpi-caps-<on|off>.png).
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "indicator/popup_menu.h"

namespace lb::e2e {
namespace {

bool Toggled(int vk) { return (GetKeyState(vk) & 1) != 0; }

// The lamps' colours inside their black outlines: the indicator's green and dark grey.
bool IsLitLamp(Rgb p) { return p.g > 200 && p.r < 60 && p.b < 60; }
bool IsDisabledMark(Rgb p) { return p.r > 200 && p.g < 40 && p.b < 40; }
bool IsDarkLamp(Rgb p) {
  return p.r > 0x40 && p.r < 0x60 && std::abs(p.r - p.g) < 6 && std::abs(p.g - p.b) < 6;
}

// The notification area's window: Wine's own when the desktop has no taskbar (Wine also has a
// hidden "Shell_TrayWnd" of no size then).
HWND FindNotificationArea() {
  for (const HWND tray :
       {FindWindowW(nullptr, L"Wine System Tray"), FindWindowW(L"Shell_TrayWnd", nullptr)}) {
    RECT r{};
    if (tray && IsWindowVisible(tray) && GetWindowRect(tray, &r) && r.right > r.left) return tray;
  }
  return nullptr;
}

// The screen rectangle of the notification area. The harness's desktop always shows one once a
// program has an icon there: its absence is a failure of the test (ADD_FAILURE), not a skip.
RECT NotificationArea() {
  HWND tray = nullptr;
  RECT area{};
  if (!WaitFor([&] { return (tray = FindNotificationArea()) != nullptr; }, 5s) ||
      !GetWindowRect(tray, &area)) {
    ADD_FAILURE() << "the test desktop shows no notification area";
  }
  return area;
}

// True when `area` shows more than one colour: something is drawn on the background.
bool ShowsAPicture(const ScreenImage& screen, const RECT& area) {
  if (area.right <= area.left || area.bottom <= area.top) return false;
  const Rgb corner = screen.Pixel(std::max<int>(area.left, 0), std::max<int>(area.top, 0));
  return screen.Any(area,
                    [&](Rgb p) { return p.r != corner.r || p.g != corner.g || p.b != corner.b; });
}

// Which of the three lamps are lit, as the screen shows them in `area`; nothing when no lamp
// is to be seen there.
std::optional<std::vector<bool>> LitLamps(const ScreenImage& screen, const RECT& area) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, screen.Height()); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, screen.Width()); ++x) {
      const Rgb p = screen.Pixel(x, y);
      if (!IsLitLamp(p) && !IsDarkLamp(p)) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
             std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    }
  }
  if (box.right <= box.left) return std::nullopt;
  const int third = (box.right - box.left) / 3;
  std::vector<bool> lit;
  for (int i = 0; i < 3; ++i) {
    const RECT column{box.left + i * third, box.top, box.left + (i + 1) * third, box.bottom};
    lit.push_back(screen.Any(column, IsLitLamp));
  }
  return lit;
}

void SaveArea(const std::string& name, const RECT& area) {
  const ScreenImage screen;
  std::vector<std::uint32_t> pixels;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) pixels.push_back(screen.Row(y)[x]);
  }
  SavePicture(name, pixels.data(), area.right - area.left, area.bottom - area.top);
}

void LampsFollowCapsLockAt(int dpi) {
  const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
  TempFolder folder("tray-lamps-" + std::to_string(dpi));
  WriteText(folder / "settings.ini", "[Settings]\r\nDisplayDuration=500\r\n");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const RECT area = NotificationArea();

  std::optional<std::vector<bool>> lit;
  ASSERT_TRUE(WaitFor([&] { return (lit = LitLamps(ScreenImage(), area)).has_value(); }, 5s))
      << "no lamps in the notification area";
  // This process learns the toggle state only once the key changes (Wine): press first, and
  // take the press as arrived when Caps Lock differs from what the lamp showed before it.
  for (int press = 0; press < 2; ++press) {
    const bool before = (*lit)[1];
    HoldKey(VK_CAPITAL);
    EXPECT_TRUE(WaitFor([&] { return Toggled(VK_CAPITAL) != before; }, 5s))
        << "the press did not change Caps Lock";
    const bool caps = Toggled(VK_CAPITAL);
    EXPECT_TRUE(WaitFor(
        [&] {
          lit = LitLamps(ScreenImage(), area);
          return lit && (*lit)[1] == caps;
        },
        5s))
        << "Caps Lock " << caps;
    ASSERT_TRUE(lit.has_value());
    EXPECT_EQ((*lit)[0], Toggled(VK_NUMLOCK));
    EXPECT_EQ((*lit)[2], Toggled(VK_SCROLL));
    SaveArea("tray-lamps-" + std::to_string(dpi) + "dpi-caps-" + (caps ? "on" : "off"), area);
  }
  // Two presses: Caps Lock is as it was before the test.

  // "Enable" off: the red mark, and no lamp lit whatever the keys say.
  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::Enable), 0);
  EXPECT_TRUE(WaitFor([&] { return ScreenImage().Any(area, IsDisabledMark); }, 5s));
  EXPECT_FALSE(ScreenImage().Any(area, IsLitLamp));
  SaveArea("tray-lamps-" + std::to_string(dpi) + "dpi-disabled", area);
}

// A file that says "OFF" keeps the program's own icon from the start; the menu item brings the
// lamps back and stores it.
TEST(TrayLamps, SwitchedOffInTheFileShowsTheProgramIcon) {
  TempFolder folder("tray-lamps-off");
  WriteText(folder / "settings.ini", "[Settings]\r\nTray Icon States=OFF\r\n");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const RECT area = NotificationArea();
  // The window exists before its tray icon: wait until the area shows an icon.
  ASSERT_TRUE(WaitFor([&] { return ShowsAPicture(ScreenImage(), area); }, 5s))
      << "no icon in the notification area";
  EXPECT_FALSE(LitLamps(ScreenImage(), area).has_value());
  SaveArea("tray-program-icon", area);

  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::TrayIconStates), 0);
  EXPECT_TRUE(WaitFor([&] { return LitLamps(ScreenImage(), area).has_value(); }, 5s));
  EXPECT_NE(ReadText(folder / "settings.ini").find("Tray Icon States=ON"), std::string::npos);
}

TEST(TrayLamps, FollowCapsLockAt96Dpi) { LampsFollowCapsLockAt(96); }
TEST(TrayLamps, FollowCapsLockAt192Dpi) { LampsFollowCapsLockAt(192); }

}  // namespace
}  // namespace lb::e2e
