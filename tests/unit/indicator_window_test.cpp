// The indicator window: the start display, the hide timer with its fade, pointing, the popup
// menu's pause, always on top, minimal mode, the layout pass, dragging and snapping.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "indicator/indicator.h"
#include "indicator_fixture.h"
#include "platform/app_error.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using WindowTest = test::IndicatorTest;

TEST_F(WindowTest, TimersStartInTheirDesignStates) {
  Create();
  EXPECT_EQ(clock.IntervalOf(kKeyPollTimerId), 10);
  EXPECT_EQ(clock.IntervalOf(kStartDisplayTimerId), 1);
  EXPECT_FALSE(HideTimerRuns());
  EXPECT_EQ(app.TestParts().indicator.hideTimer.Interval(), 2000);
  EXPECT_EQ(view.alpha, 150);
  EXPECT_EQ(view.ClientHeight(), 125);
}

TEST_F(WindowTest, StartTickShowsTheLedsOnceOpaqueOnTopAndArmsTheHideTimer) {
  keyboard.SetToggled(VkScroll, true);
  Create();
  clock.Advance(1);

  EXPECT_FALSE(clock.IsRunning(kStartDisplayTimerId));
  EXPECT_FALSE(view.Lit(LedColumn::NumLock));
  EXPECT_FALSE(view.Lit(LedColumn::CapsLock));
  EXPECT_TRUE(view.Lit(LedColumn::ScrollLock));
  EXPECT_EQ(view.ClientHeight(), 80);
  EXPECT_EQ(view.statusText, "");
  EXPECT_EQ(view.alpha, 255);
  EXPECT_TRUE(view.visible);
  EXPECT_THAT(view.topMostChanges, ElementsAre(false, true));
  EXPECT_EQ(view.pumps, 2);
  EXPECT_EQ(clock.IntervalOf(kHideTimerId), 10000);
}

TEST_F(WindowTest, FadeStartsAfterTheDurationAndHidesTheWindow1200msLater) {
  Start();
  Tap(VkCapital);  // the countdown starts afresh at 10 ms
  clock.AdvanceTo(10 + 9999);
  EXPECT_EQ(view.alpha, 255);

  for (int step = 1; step <= 25; ++step) {
    clock.AdvanceTo(10 + 10000 + 50 * (step - 1));
    ASSERT_EQ(view.alpha, 255 - 10 * step) << "step " << step;
    ASSERT_EQ(view.visible, step < 25) << "step " << step;
  }
  EXPECT_FALSE(HideTimerRuns());
  EXPECT_EQ(app.TestParts().indicator.hideTimer.Interval(), 10000);

  Tap(VkCapital);  // a later show starts again from opaque
  EXPECT_EQ(view.alpha, 255);
}

TEST_F(WindowTest, PointingDuringTheCountdownDoesNotProlongIt) {
  Start("FadeoutAnimation=OFF\r\n");
  clock.AdvanceTo(5000);
  app.OnMouseMove({10, 10});
  clock.AdvanceTo(10000);
  EXPECT_TRUE(view.visible);
  clock.AdvanceTo(10001);
  EXPECT_FALSE(view.visible);
}

TEST_F(WindowTest, PointingDuringTheFadeMakesItOpaqueForAFullDuration) {
  Start();
  clock.AdvanceTo(10001 + 100);  // three fade steps
  ASSERT_EQ(view.alpha, 225);
  app.OnMouseMove({10, 10});
  EXPECT_EQ(view.alpha, 255);

  clock.Advance(9999);
  EXPECT_EQ(view.alpha, 255);
  clock.Advance(1);
  EXPECT_EQ(view.alpha, 245);
}

TEST_F(WindowTest, PointingAtAHiddenWindowShowsItAndStartsTheCountdown) {
  Start("FadeoutAnimation=OFF\r\nDisplayDuration=500\r\n");
  clock.AdvanceTo(1000);
  ASSERT_FALSE(view.visible);
  app.OnMouseMove({10, 10});
  EXPECT_TRUE(view.visible);
  clock.Advance(500);
  EXPECT_FALSE(view.visible);
}

TEST_F(WindowTest, AnAlwaysShowKeyThatIsOnKeepsTheWindowUntilItTurnsOff) {
  Start("Caps Lock Toggled=ON\r\nFadeoutAnimation=OFF\r\n");
  Tap(VkCapital);
  EXPECT_FALSE(HideTimerRuns());
  clock.Advance(60000);
  EXPECT_TRUE(view.visible);

  Tap(VkCapital);
  const std::int64_t off = clock.now;
  clock.AdvanceTo(off + 9990);
  EXPECT_TRUE(view.visible);
  clock.AdvanceTo(off + 10000);
  EXPECT_FALSE(view.visible);
}

TEST_F(WindowTest, PopupMenuPausesTheHideTimerAndRestartsItWhenClosed) {
  Start("FadeoutAnimation=OFF\r\n");
  screen.cursor = {700, 500};
  bool pausedWhileOpen = false;
  view.whilePopupOpen = [&] {
    pausedWhileOpen = !HideTimerRuns();
    clock.Advance(20000);  // the user takes a while; the key poll goes on
  };
  clock.AdvanceTo(5000);
  app.OnMouseDown(MouseButton::Right, {40, 40});

  EXPECT_THAT(view.popups, ElementsAre(Point{700, 500}));
  EXPECT_TRUE(pausedWhileOpen);
  EXPECT_GT(keyboard.reads, 2000);
  clock.AdvanceTo(25000 + 9999);
  EXPECT_TRUE(view.visible);
  clock.AdvanceTo(25000 + 10000);
  EXPECT_FALSE(view.visible);
}

TEST_F(WindowTest, PopupMenuArmsTheHideTimerEvenWhenAKeyKeepsTheWindow) {
  Start("Num Lock Toggled=ON\r\nFadeoutAnimation=OFF\r\n");
  Tap(VkNumLock);
  ASSERT_FALSE(HideTimerRuns());
  app.TestParts().indicator.Popup({0, 0});
  const std::int64_t closed = clock.now;
  clock.AdvanceTo(closed + 10000);
  EXPECT_FALSE(view.visible);
}

TEST_F(WindowTest, PopupMenuInTheMiddleOfAFadeResumesItAt50ms) {
  Start();
  clock.AdvanceTo(10001 + 50);
  ASSERT_EQ(view.alpha, 235);
  app.TestParts().indicator.Popup({0, 0});
  clock.Advance(50);
  EXPECT_EQ(view.alpha, 225);
}

// The menu opened before the start display arms the hide timer while the window still has its
// design opacity, 150: the fade must still end, not wrap round below 0 and run for ever.
TEST_F(WindowTest, AFadeFromTheDesignOpacityStillEnds) {
  Create();
  app.TestParts().indicator.Popup({0, 0});
  app.TestParts().indicator.startDisplayTimer.SetEnabled(false);  // the start display never comes
  clock.Advance(2000 + 15 * 50);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.alpha, 5);
  EXPECT_FALSE(HideTimerRuns());
}

TEST_F(WindowTest, AlwaysOnTopNeverHides) {
  Start("Always on top=ON\r\n");
  Tap(VkCapital);
  app.TestParts().indicator.Popup({0, 0});
  app.OnMouseMove({1, 1});
  clock.Advance(120000);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(HideTimerRuns());
}

TEST_F(WindowTest, DisplayDurationZeroNeverHides) {
  Start("DisplayDuration=0\r\n");
  clock.Advance(120000);
  EXPECT_TRUE(view.visible);
}

TEST_F(WindowTest, MousePressClearsTheStatusLineAndShrinksToTheLeds) {
  Start();
  Tap(VkCapital);
  ASSERT_EQ(view.ClientHeight(), 120);
  app.OnMouseDown(MouseButton::Left, {10, 10});
  EXPECT_EQ(view.statusText, "");
  EXPECT_EQ(view.ClientHeight(), 80);
}

TEST_F(WindowTest, DragMovesByExactlyTheCursorMovementAndSavesEveryStep) {
  Start();
  const Rect start = view.bounds;  // bottom-right corner of the work area
  app.OnMouseDown(MouseButton::Left, {1100, 900});
  app.OnMouseMove({1000, 850});
  EXPECT_EQ(view.bounds.left, start.left - 100);
  EXPECT_EQ(view.bounds.top, start.top - 50);
  EXPECT_THAT(SettingsFile(), HasSubstr("Left=980\r\nTop=770\r\n"));

  app.OnMouseMove({990, 853});
  EXPECT_EQ(view.bounds, Rect::FromPosSize(970, 773, start.Width(), start.Height()));
  EXPECT_THAT(SettingsFile(), HasSubstr("Left=970\r\nTop=773\r\n"));

  app.OnMouseUp(MouseButton::Left);
  app.OnMouseMove({0, 0});
  EXPECT_EQ(view.bounds.left, 970);
}

TEST_F(WindowTest, MiddleButtonDragsAndRightButtonDoesNot) {
  Start();
  const Rect start = view.bounds;
  app.OnMouseDown(MouseButton::Right, {500, 500});
  app.OnMouseMove({400, 400});
  EXPECT_EQ(view.bounds, start);

  app.OnMouseDown(MouseButton::Middle, {500, 500});
  app.OnMouseMove({490, 500});
  EXPECT_EQ(view.bounds.left, start.left - 10);
  EXPECT_EQ(view.popups.size(), 1u);
}

TEST_F(WindowTest, DraggingTo2PixelsFromTheWorkAreaEdgeSnapsOnlyWithScreenSnap) {
  for (const bool snap : {true, false}) {
    SCOPED_TRACE(snap);
    app.screenSnap = snap;
    view.bounds = Rect::FromPosSize(100, 300, 200, 164);
    app.OnMouseDown(MouseButton::Left, {150, 350});
    app.OnMouseMove({52, 350});
    app.OnMouseUp(MouseButton::Left);
    EXPECT_EQ(view.bounds.left, snap ? 0 : 2);
  }
}

TEST_F(WindowTest, MinimalModeDropsTheFrameAndRaisesTheLedBandAndBack) {
  Create("Minimal Mode=ON\r\n");
  EXPECT_EQ(view.frame, FrameStyle::None);
  EXPECT_TRUE(view.ledBandRaised);
  EXPECT_EQ(view.ClientHeight(), 80);

  app.TestParts().indicator.MinimalModeDeactivate();
  EXPECT_EQ(view.frame, FrameStyle::Single);
  EXPECT_FALSE(view.ledBandRaised);
  EXPECT_EQ(view.ClientHeight(), 80);
}

// The stored geometry is that of the frameless window. Each start applies it to the framed
// window first and then drops the frame; the window must end where the file says, start after
// start (a fault would walk it right and down by its frame and make it narrower).
TEST(MinimalModeStartTest, ThreeStartsKeepLeftTopAndWidth) {
  std::string file =
      "[Settings]\r\nLeft=600\r\nTop=500\r\nWidth=184\r\nHeight=80\r\n"
      "Minimal Mode=ON\r\n";
  for (int start = 1; start <= 3; ++start) {
    test::AppRig rig;
    rig.files.files[rig.kSettingsPath] = file;
    rig.app.Create();
    EXPECT_EQ(rig.view.bounds, Rect::FromPosSize(600, 500, 184, 80)) << "start " << start;
    file = rig.SettingsFile();
    EXPECT_THAT(file, HasSubstr("Left=600\r\n")) << "start " << start;
    EXPECT_THAT(file, HasSubstr("Top=500\r\n")) << "start " << start;
    EXPECT_THAT(file, HasSubstr("Width=184\r\n")) << "start " << start;
    EXPECT_THAT(file, HasSubstr("Height=80\r\n")) << "start " << start;
  }
}

// Within a session the user sees the outer edges: switching the mode keeps the outer left, top
// and width, and the height follows the mode.
TEST_F(WindowTest, SwitchingMinimalModeKeepsTheOuterLeftTopAndWidth) {
  Start();
  view.SetBounds(Rect::FromPosSize(300, 200, 220, 119));
  files.files.erase(kSettingsPath);

  app.TestParts().indicator.MinimalModeActivate();
  EXPECT_EQ(view.bounds, Rect::FromPosSize(300, 200, 220, 80));
  EXPECT_EQ(view.ClientWidth(), 220);
  EXPECT_THAT(SettingsFile(), HasSubstr("Left=300\r\nTop=200\r\nHeight=80\r\nWidth=220\r\n"));

  app.TestParts().indicator.MinimalModeDeactivate();
  EXPECT_EQ(view.bounds, Rect::FromPosSize(300, 200, 220, 80 + 39));
  EXPECT_EQ(view.ClientWidth(), 204);
  EXPECT_EQ(view.ClientHeight(), 80);
  EXPECT_THAT(SettingsFile(), HasSubstr("Left=300\r\nTop=200\r\nHeight=119\r\nWidth=220\r\n"));
  // The LEDs follow the client width of each mode.
  EXPECT_EQ(view.sideLabelWidth, 68);
}

TEST_F(WindowTest, LayoutAtDesignSize) {
  Create();
  EXPECT_EQ(view.sideLabelWidth, 61);
  EXPECT_EQ(view.middleLabelWidth, 62);
  EXPECT_THAT(view.ledPositions, ElementsAre(Point{14, 6}, Point{75, 6}, Point{136, 6}));
}

TEST_F(WindowTest, LayoutFollowsTheWidthOnEveryResize) {
  Create();
  view.SetBounds(Rect::FromPosSize(100, 100, 316, 164));  // client 300 wide
  EXPECT_EQ(view.sideLabelWidth, 100);
  EXPECT_THAT(view.ledPositions, ElementsAre(Point{34, 6}, Point{134, 6}, Point{234, 6}));
}

// A refused geometry write is reported, and the pass has laid the window out all the same.
TEST_F(WindowTest, ARefusedGeometryWriteStillLaysTheWindowOut) {
  Create();
  view.ledPositions = {};
  view.sideLabelWidth = -1;
  files.refuseWrites = true;
  EXPECT_THROW(view.SetClientHeight(120), AppError);
  EXPECT_EQ(view.sideLabelWidth, 61);
  EXPECT_THAT(view.ledPositions, ElementsAre(Point{14, 6}, Point{75, 6}, Point{136, 6}));
}

// With a settings folder that refuses writing, the first layout pass (the last step of the
// creation sequence) still places the three LEDs side by side before the error goes out.
TEST_F(WindowTest, AStartWithAnUnwritableFolderPlacesTheLeds) {
  files.refuseWrites = true;
  EXPECT_THROW(Create(), AppError);
  EXPECT_THAT(view.ledPositions, ElementsAre(Point{14, 6}, Point{75, 6}, Point{136, 6}));
  EXPECT_EQ(view.sideLabelWidth, 61);
}

TEST_F(WindowTest, StatusLineChangesOfHeightWriteTheGeometry) {
  Start();
  files.files.erase(kSettingsPath);
  Tap(VkCapital);
  EXPECT_THAT(SettingsFile(), HasSubstr("Height=159\r\n"));  // 120 + frame
  EXPECT_THAT(SettingsFile(), Not(HasSubstr("Height=164")));
}

struct SnapCase {
  const char* name;
  Rect proposed;
  bool snap;
  Rect expected;
};

class SnapTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapTest, PutsNearEdgesOnTheWorkArea) {
  const Rect workArea{0, 2, 1280, 984};
  const Rect current = Rect::FromPosSize(500, 500, 200, 164);
  EXPECT_EQ(SnapWindowRect(current, GetParam().proposed, workArea, GetParam().snap),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapTest,
    ::testing::Values(SnapCase{"Left2", Rect::FromPosSize(2, 300, 200, 164), true,
                               Rect::FromPosSize(0, 300, 200, 164)},
                      SnapCase{"Left2Off", Rect::FromPosSize(2, 300, 200, 164), false,
                               Rect::FromPosSize(2, 300, 200, 164)},
                      SnapCase{"LeftOutside2", Rect::FromPosSize(-2, 300, 200, 164), true,
                               Rect::FromPosSize(0, 300, 200, 164)},
                      SnapCase{"Left3StaysAway", Rect::FromPosSize(3, 300, 200, 164), true,
                               Rect::FromPosSize(3, 300, 200, 164)},
                      SnapCase{"RightAndBottom", Rect::FromPosSize(1078, 818, 200, 164), true,
                               Rect::FromPosSize(1080, 820, 200, 164)},
                      SnapCase{"Top", Rect::FromPosSize(300, 1, 200, 164), true,
                               Rect::FromPosSize(300, 2, 200, 164)},
                      SnapCase{"ExactlyOriginIsLeftAlone", Rect::FromPosSize(0, 0, 200, 164), true,
                               Rect::FromPosSize(0, 0, 200, 164)},
                      SnapCase{"SizeChangeIsLeftAlone", Rect::FromPosSize(2, 300, 210, 164), true,
                               Rect::FromPosSize(2, 300, 210, 164)}),
    [](const ::testing::TestParamInfo<SnapCase>& tested) {
      return std::string(tested.param.name);
    });

}  // namespace
}  // namespace lb
