// The real program with a place in settings.ini that no monitor shows (Left=3200, Top=1400 on
// the 1280 × 1024 screen of the test desktop, as a monitor that was unplugged leaves it): the
// indicator shows on the screen at every start and press, settings.ini keeps the place, and a
// drag by the user is stored as always.
#include <gtest/gtest.h>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;

int Stored(const fs::path& settings, const wchar_t* key) {
  return static_cast<int>(GetPrivateProfileIntW(L"Settings", key, -1, settings.c_str()));
}

// At least half of the window lies in the work area.
bool InSight(HWND window) {
  RECT bounds{};
  RECT work{};
  GetWindowRect(window, &bounds);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT inside{};
  if (!IntersectRect(&inside, &bounds, &work)) return false;
  const long area = (bounds.right - bounds.left) * (bounds.bottom - bounds.top);
  return 2 * (inside.right - inside.left) * (inside.bottom - inside.top) >= area;
}

TEST(InSightUse, APlaceOffTheScreenShowsOnItAndStaysStored) {
  TempFolder folder("in-sight");
  const fs::path settings = folder / "settings.ini";
  WriteText(settings,
            "[Settings]\r\nLeft=3200\r\nTop=1400\r\nDisplayDuration=60000\r\n"
            "FadeoutAnimation=OFF\r\n");
  const fs::path exe = InstallApp(folder.Path(), true);
  {
    AppProcess app(exe);
    const HWND window = app.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) && InSight(window); }, 5s));
    SaveScreenshot("in-sight-start");
    // A press shows it on the screen too, grown by the status line, which pushes it up from
    // the bottom edge it stands on; no place is written.
    RECT before{};
    GetWindowRect(window, &before);
    HoldKey(VK_CAPITAL);
    EXPECT_TRUE(WaitFor(
        [&] {
          RECT now{};
          RECT work{};
          GetWindowRect(window, &now);
          SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
          return now.bottom - now.top > before.bottom - before.top && now.bottom <= work.bottom;
        },
        5s));
    EXPECT_EQ(Stored(settings, L"Left"), 3200);
    EXPECT_EQ(Stored(settings, L"Top"), 1400);

    // The user drags it: that is its place from now on.
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const RECT client = ClientRectOnScreen(window);
    DragWithLeftButton({(client.left + client.right) / 2, client.top + 40}, -200, -150);
    ASSERT_TRUE(WaitFor(
        [&] {
          return Stored(settings, L"Left") == bounds.left - 200 &&
                 Stored(settings, L"Top") == bounds.top - 150;
        },
        5s))
        << Stored(settings, L"Left") << "," << Stored(settings, L"Top");
    app.Terminate();
  }
  // The next start takes the dragged place as it is.
  const int left = Stored(settings, L"Left");
  const int top = Stored(settings, L"Top");
  AppProcess app(exe);
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  RECT bounds{};
  EXPECT_TRUE(WaitFor(
      [&] {
        GetWindowRect(window, &bounds);
        return IsWindowVisible(window) && bounds.left == left && bounds.top == top;
      },
      5s))
      << bounds.left << "," << bounds.top;
  HoldKey(VK_CAPITAL);  // Caps Lock as it was
}

}  // namespace
}  // namespace lb::e2e
