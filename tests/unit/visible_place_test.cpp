// The indicator is always where the user can see it: a place that no monitor shows (a monitor
// unplugged, rearranged or set to a lower resolution, a hand-edited settings.ini) puts the
// window on a monitor that is there, at the corner and distances of its place, without changing
// the stored place, and it goes back there once that place can be seen again.
#include "indicator/visible_place.h"

#include <gtest/gtest.h>

#include <string>

#include "indicator_fixture.h"

namespace lb {
namespace {

const MonitorArea kPrimary{{0, 0, 1280, 984}, 96};

TEST(VisiblePlaceTest, MostlyInsideNeedsHalfOfTheFrame) {
  struct Case {
    const char* name;
    Rect frame;
    bool seen;
  };
  const Case cases[] = {
      {"inside", Rect::FromPosSize(100, 100, 200, 100), true},
      {"half off the right edge", Rect::FromPosSize(1180, 100, 200, 100), true},
      {"more than half off the right edge", Rect::FromPosSize(1181, 100, 200, 100), false},
      {"under the taskbar for the most part", Rect::FromPosSize(500, 940, 200, 100), false},
      {"off every edge", Rect::FromPosSize(3200, 1400, 200, 100), false},
      {"above and left", Rect::FromPosSize(-150, -60, 200, 100), false},
      {"no area, corner inside", Rect{10, 10, 10, 10}, true},
      {"no area, corner outside", Rect{1280, 10, 1280, 10}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(MostlyInside(c.frame, kPrimary.workArea), c.seen) << c.name;
}

TEST(VisiblePlaceTest, ANearMonitorIsTakenAFarPlaceGoesToThePrimary) {
  const MonitorArea right{{1280, 0, 3200, 1040}, 144};
  // Within one work area's width of the right monitor (where a monitor beside it stood).
  EXPECT_EQ(MonitorInSight(Rect::FromPosSize(3300, 500, 200, 100), right, kPrimary), right);
  EXPECT_EQ(MonitorInSight(Rect::FromPosSize(5120, 500, 200, 100), right, kPrimary), right);
  // Farther off than that, and below it by more than its height.
  EXPECT_EQ(MonitorInSight(Rect::FromPosSize(5121, 500, 200, 100), right, kPrimary), kPrimary);
  EXPECT_EQ(MonitorInSight(Rect::FromPosSize(2000, 2200, 200, 100), right, kPrimary), kPrimary);
}

TEST(VisiblePlaceTest, OnItsOwnMonitorThePlaceIsPushedInsideAsFarAsItFits) {
  struct Case {
    const char* name;
    Rect home;
    Rect expected;
  };
  const Case cases[] = {
      {"off the bottom right", Rect::FromPosSize(3200, 1400, 200, 164),
       Rect::FromPosSize(1080, 820, 200, 164)},
      {"off the left, the top kept", Rect::FromPosSize(-5000, 77, 200, 164),
       Rect::FromPosSize(0, 77, 200, 164)},
      {"above, the left kept", Rect::FromPosSize(600, -900, 200, 164),
       Rect::FromPosSize(600, 0, 200, 164)},
      {"larger than the work area: left and top on it", Rect::FromPosSize(50, 50, 1500, 1200),
       Rect::FromPosSize(0, 0, 1500, 1200)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceInSight(c.home, kPrimary, kPrimary, {c.home.Width(), c.home.Height()}),
              c.expected)
        << c.name;
  }
  // From a monitor that is gone: its corner and distances, scaled to the target's DPI.
  const MonitorArea gone{{1280, 0, 3200, 1040}, 192};
  EXPECT_EQ(
      PlaceInSight(Rect::FromPosSize(3200 - 40 - 400, 60, 400, 328), gone, kPrimary, {200, 164}),
      Rect::FromPosSize(1280 - 20 - 200, 30, 200, 164));
}

// ---- the running program --------------------------------------------------------------------

class InSightTest : public test::IndicatorTest {
 protected:
  // The primary 1280 × 984 at 100 % (the fixture's), a second monitor on its right.
  const MonitorArea kRight{{1280, 0, 3200, 1040}, 96};
  void SetUp() override { view.otherMonitors = {kRight}; }
  void DisplaysChange() { app.OnDisplaysChanged(); }
  [[nodiscard]] Point Corner() const { return {view.bounds.left, view.bounds.top}; }
};

TEST_F(InSightTest, AMonitorRemovedAndAddedBack) {
  Start("Left=2900\r\nTop=700\r\n");
  ASSERT_EQ(Corner(), (Point{2900, 700}));
  const Rect home = view.bounds;
  const std::string stored = SettingsFile();

  view.otherMonitors.clear();
  DisplaysChange();
  // 100 from the right and 1040 - 700 - 119 = 221 from the bottom of the monitor that went: the
  // same on the primary.
  EXPECT_EQ(view.bounds, Rect::FromPosSize(1280 - 100 - 200, 984 - 221 - 119, 200, 119));
  Tap(VkCapital);  // the status line grows the window; nothing is saved away from home
  EXPECT_TRUE(view.visible);
  EXPECT_TRUE(MostlyInside(view.bounds, view.workArea));
  EXPECT_EQ(SettingsFile(), stored);

  view.otherMonitors = {kRight};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{home.left, home.top}));
  EXPECT_EQ(SettingsFile(), stored);
  // At home again, a change of size is saved as always.
  app.menu.OnTrayIconMouseDown();
  Tap(VkCapital);
  EXPECT_EQ(app.Store()->ReadInteger("Height", 0), 159);
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), 2900);
}

TEST_F(InSightTest, EveryShowLooksEvenWithoutANoticeOfTheChange) {
  Start("Left=2900\r\nTop=700\r\n");
  view.otherMonitors.clear();
  Tap(VkCapital);
  EXPECT_TRUE(MostlyInside(view.bounds, view.workArea));
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), 2900);
}

TEST_F(InSightTest, TheOrderOfTheMonitorsChanged) {
  Start("Left=1400\r\nTop=100\r\n");  // 120 from the right monitor's left edge, 100 from its top
  const std::string stored = SettingsFile();

  // The right monitor is put on the left of the primary now: the place lies beyond the primary.
  view.otherMonitors = {{{-1920, 0, 0, 1040}, 96}};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{120, 100}));
  EXPECT_EQ(SettingsFile(), stored);

  view.otherMonitors = {kRight};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{1400, 100}));
  EXPECT_EQ(SettingsFile(), stored);
}

TEST_F(InSightTest, AResolutionLoweredAndRaisedAgain) {
  view.otherMonitors.clear();
  Start("Left=1000\r\nTop=800\r\n");  // 80 from the right, 984 - 919 = 65 from the bottom
  const std::string stored = SettingsFile();

  view.workArea = {0, 0, 1024, 728};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{1024 - 80 - 200, 728 - 65 - 119}));
  EXPECT_EQ(SettingsFile(), stored);

  view.workArea = {0, 0, 1280, 984};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{1000, 800}));
  EXPECT_EQ(SettingsFile(), stored);
}

TEST_F(InSightTest, APlaceStillMostlySeenIsLeftAlone) {
  view.otherMonitors.clear();
  Start("Left=1100\r\nTop=400\r\n");  // 180 of its 200 pixels on the screen
  view.workArea = {0, 0, 1200, 984};  // 100 of them now: half, still seen
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{1100, 400}));
}

TEST_F(InSightTest, ADragWhileAwayIsTheUsersNewPlace) {
  Start("Left=2900\r\nTop=700\r\n");
  view.otherMonitors.clear();
  DisplaysChange();
  const Rect away = view.bounds;
  app.OnMouseDown(MouseButton::Left, {away.left + 5, away.top + 5});
  app.OnMouseMove({away.left - 95, away.top - 45});
  app.OnMouseUp(MouseButton::Left);
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), away.left - 100);
  EXPECT_EQ(app.Store()->ReadInteger("Top", 0), away.top - 50);

  // The monitor that comes back no longer takes it there.
  view.otherMonitors = {kRight};
  DisplaysChange();
  EXPECT_EQ(Corner(), (Point{away.left - 100, away.top - 50}));
}

TEST_F(InSightTest, MovedByItsCaptionWhileAwayIsTheUsersNewPlaceToo) {
  Start("Left=2900\r\nTop=700\r\n");
  view.otherMonitors.clear();
  DisplaysChange();
  app.OnUserPlacesWindow();  // the system's move loop begins
  view.SetBounds(Rect::FromPosSize(300, 200, view.bounds.Width(), view.bounds.Height()));
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), 300);
  EXPECT_EQ(app.Store()->ReadInteger("Top", 0), 200);
  Tap(VkCapital);
  EXPECT_EQ(Corner(), (Point{300, 200}));
}

TEST_F(InSightTest, AHandEditedPlaceFarOffGoesToThePrimary) {
  Start("Left=90000\r\nTop=400\r\n");
  EXPECT_EQ(Corner(), (Point{1280 - 200, 400}));
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), 90000);
}

}  // namespace
}  // namespace lb
