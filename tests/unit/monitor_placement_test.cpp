// "Show on the monitor in use": where the indicator goes on another monitor (the corner and the
// distances of the user's own place, in that monitor's scale), and that these moves never
// change the stored geometry while a drag by the user still does.
#include "indicator/monitor_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "indicator_fixture.h"

namespace lb {
namespace {

// Three monitors side by side, each of another scale: the primary at 100 %, one at 150 % on its
// right, one at 200 % on its left and higher up.
const MonitorArea kPrimary{{0, 0, 1920, 1040}, 96};
const MonitorArea kRight{{1920, 0, 4480, 1400}, 144};
const MonitorArea kLeft{{-2560, -300, 0, 1100}, 192};

TEST(MonitorPlacementTest, KeepsTheCornerAndScalesTheDistances) {
  // A 200 × 164 window on the primary, 30 from the left or 10 from the right edge, 40 from the
  // top or 20 from the bottom.
  const Rect topLeft = Rect::FromPosSize(30, 40, 200, 164);
  const Rect topRight = Rect::FromPosSize(1920 - 10 - 200, 40, 200, 164);
  const Rect bottomLeft = Rect::FromPosSize(30, 1040 - 20 - 164, 200, 164);
  const Rect bottomRight = Rect::FromPosSize(1920 - 10 - 200, 1040 - 20 - 164, 200, 164);
  struct Case {
    const char* name;
    Rect home;
    MonitorArea target;
    Rect expected;
  };
  const Case cases[] = {
      // At 150 %: 300 × 246, distances 45 / 15 and 60 / 30.
      {"top left, 150 %", topLeft, kRight, Rect::FromPosSize(1920 + 45, 60, 300, 246)},
      {"top right, 150 %", topRight, kRight, Rect::FromPosSize(4480 - 15 - 300, 60, 300, 246)},
      {"bottom left, 150 %", bottomLeft, kRight,
       Rect::FromPosSize(1920 + 45, 1400 - 30 - 246, 300, 246)},
      {"bottom right, 150 %", bottomRight, kRight,
       Rect::FromPosSize(4480 - 15 - 300, 1400 - 30 - 246, 300, 246)},
      // At 200 %, on a monitor left of and above the primary: 400 × 328, distances doubled.
      {"top left, 200 %", topLeft, kLeft, Rect::FromPosSize(-2560 + 60, -300 + 80, 400, 328)},
      {"bottom right, 200 %", bottomRight, kLeft,
       Rect::FromPosSize(0 - 20 - 400, 1100 - 40 - 328, 400, 328)},
  };
  for (const Case& c : cases) {
    const Size size{c.expected.Width(), c.expected.Height()};
    EXPECT_EQ(PlaceOnMonitor(c.home, kPrimary, c.target, size), c.expected) << c.name;
  }

  // From a 150 % home to the 100 % primary: the distances shrink again.
  const Rect homeOnRight = Rect::FromPosSize(4480 - 15 - 300, 1400 - 30 - 246, 300, 246);
  EXPECT_EQ(PlaceOnMonitor(homeOnRight, kRight, kPrimary, {200, 164}), bottomRight);
}

TEST(MonitorPlacementTest, StaysInsideTheWorkAreaAndLeavesTheHomeMonitorAlone) {
  const Rect bottomRight = Rect::FromPosSize(1920 - 10 - 200, 1040 - 20 - 164, 200, 164);
  // Grown by the status line since it was placed: it grows down from the corner, and is pushed
  // up where the work area ends.
  EXPECT_EQ(PlaceOnMonitor(bottomRight, kPrimary, kRight, {300, 369}),
            Rect::FromPosSize(4480 - 15 - 300, 1400 - 369, 300, 369));
  // Larger than the work area: its left and top edges on the work area's.
  EXPECT_EQ(PlaceOnMonitor(bottomRight, kPrimary, kRight, {3000, 2000}),
            Rect::FromPosSize(1920, 0, 3000, 2000));
  // On its own monitor the user's place is kept as it is, even half off the screen.
  const Rect halfOff = Rect::FromPosSize(-50, 1000, 200, 164);
  EXPECT_EQ(PlaceOnMonitor(halfOff, kPrimary, kPrimary, {200, 204}),
            Rect::FromPosSize(-50, 1000, 200, 204));
}

// ---- the running program --------------------------------------------------------------------

class ActiveMonitorTest : public test::IndicatorTest {
 protected:
  void SetUp() override {
    // Beside the 1280 × 984 primary at 100 %, a 200 % monitor on its right.
    screen.otherMonitors = {{{1280, 0, 3200, 1040}, 192}};
    view.dpiChangeDrift = {7, -5};  // the system puts the rescaled window a little elsewhere
  }
};

TEST_F(ActiveMonitorTest, FollowsTheUserWithoutTouchingTheStoredPlace) {
  Start("Show On Active Monitor=ON\r\nLeft=900\r\nTop=500\r\n");
  Tap(VkCapital);  // at home: the status line's growth is saved as always
  const Rect home = view.bounds;
  const std::string stored = SettingsFile();

  screen.activeMonitor = 1;
  Tap(VkCapital);
  // 200 × 159 at home, 1280 - 1100 = 180 from the right and 984 - 659 = 325 from the bottom:
  // all of it doubled.
  ASSERT_EQ(home, Rect::FromPosSize(900, 500, 200, 159));
  EXPECT_EQ(view.bounds, Rect::FromPosSize(3200 - 360 - 400, 1040 - 650 - 318, 400, 318));
  app.OnTrayIconMouseDown();  // shrinks the window to the LEDs while it is away
  EXPECT_EQ(SettingsFile(), stored);

  screen.activeMonitor = 0;
  Tap(VkCapital);
  EXPECT_EQ(view.bounds.left, home.left);
  EXPECT_EQ(view.bounds.top, home.top);
  EXPECT_EQ(SettingsFile(), stored);
}

TEST_F(ActiveMonitorTest, ADragAwayFromHomeIsTheUsersNewPlace) {
  Start("Show On Active Monitor=ON\r\nLeft=900\r\nTop=500\r\n");
  screen.activeMonitor = 1;
  Tap(VkCapital);
  const Rect away = view.bounds;
  app.OnMouseDown(MouseButton::Left, {away.left + 5, away.top + 5});
  app.OnMouseMove({away.left + 15, away.top + 25});
  app.OnMouseUp(MouseButton::Left);
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), away.left + 10);
  EXPECT_EQ(app.Store()->ReadInteger("Top", 0), away.top + 20);

  // Home is now there: the primary gets the same corner and distances, at half the size.
  screen.activeMonitor = 0;
  Tap(VkCapital);
  EXPECT_EQ(screen.MonitorOf(view.bounds).workArea, screen.workArea);
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), away.left + 10);
}

TEST_F(ActiveMonitorTest, OffByDefaultAndSwitchedOffGoesBackHome) {
  Start("Left=900\r\nTop=500\r\n");
  EXPECT_FALSE(app.showOnActiveMonitor);
  screen.activeMonitor = 1;
  Tap(VkCapital);
  EXPECT_EQ(view.bounds.left, 900);
  EXPECT_EQ(view.bounds.top, 500);

  app.showOnActiveMonitor = true;
  Tap(VkCapital);
  ASSERT_NE(view.bounds.left, 900);
  const std::string stored = SettingsFile();
  app.showOnActiveMonitor = false;
  Tap(VkCapital);
  EXPECT_EQ(view.bounds.left, 900);
  EXPECT_EQ(view.bounds.top, 500);
  EXPECT_EQ(SettingsFile(), stored);
}

}  // namespace
}  // namespace lb
