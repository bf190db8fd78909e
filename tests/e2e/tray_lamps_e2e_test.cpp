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
#include "e2e/tray_area_win.h"
#include "indicator/popup_menu.h"

namespace lb::e2e {
namespace {

bool Toggled(int vk) { return (GetKeyState(vk) & 1) != 0; }

// True when `area` shows more than one colour: something is drawn on the background.
bool ShowsAPicture(const ScreenImage& screen, const RECT& area) {
  if (area.right <= area.left || area.bottom <= area.top) return false;
  const Rgb corner = screen.Pixel(std::max<int>(area.left, 0), std::max<int>(area.top, 0));
  return screen.Any(area,
                    [&](Rgb p) { return p.r != corner.r || p.g != corner.g || p.b != corner.b; });
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
