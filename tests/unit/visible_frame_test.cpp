// The edges the user sees: on Windows 10 and later a framed window has invisible resizing
// borders inside its outer rectangle (7 pixels left, right and bottom at 100 %). Snapping, the
// default corner and the placement on another monitor put the visible edges where they belong,
// while the stored Left and Top stay the outer ones. The recording window reports such borders
// for its frame, as the compositor does on Windows; under Wine it reports none, and without a
// frame (minimal mode) there are none either.
#include <gtest/gtest.h>

#include <string>

#include "indicator_fixture.h"

namespace lb {
namespace {

constexpr Insets kWindows10Borders{7, 0, 7, 7};

// ---- where the compositor's answer comes from -------------------------------------------------

struct BordersCase {
  const char* name;
  bool answered;  // the compositor answered at all
  Rect frame;     // its visible frame
  bool onScreen;
  Insets expected;
};

class InvisibleBordersTest : public ::testing::TestWithParam<BordersCase> {};

TEST_P(InvisibleBordersTest, ComeFromTheCompositorOrWhatIsKnownWhileTheWindowIsHidden) {
  const Rect outer = Rect::FromPosSize(100, 200, 200, 164);
  const Insets known{8, 0, 8, 9};  // the compositor's earlier answer, or the metrics'
  const BordersCase& c = GetParam();
  EXPECT_EQ(InvisibleBordersOf(outer, c.answered ? &c.frame : nullptr, c.onScreen, known),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvisibleBordersTest,
    ::testing::Values(
        BordersCase{"Windows10OnScreen", true, {107, 200, 293, 357}, true, {7, 0, 7, 7}},
        BordersCase{"Windows10HiddenButAnswered", true, {107, 200, 293, 357}, false, {7, 0, 7, 7}},
        BordersCase{"HiddenAndTheOuterRectangle", true, {100, 200, 300, 364}, false, {8, 0, 8, 9}},
        BordersCase{"NoBordersOnScreen", true, {100, 200, 300, 364}, true, {}},
        BordersCase{"WineAnswersNothing", false, {}, false, {}},
        BordersCase{"AFrameOutsideTheWindowIsNoAnswer", true, {90, 200, 300, 364}, true, {}},
        BordersCase{"AnEmptyFrameIsNoAnswer", true, {150, 250, 150, 250}, true, {}}),
    [](const ::testing::TestParamInfo<BordersCase>& tested) { return tested.param.name; });

// ---- snapping, the default corner, another monitor ------------------------------------------

class VisibleFrameTest : public test::IndicatorTest {
 protected:
  [[nodiscard]] Rect Visible() const { return Shrink(view.bounds, view.InvisibleBorders()); }
  // A left-button drag of the window by (dx, dy).
  void Drag(int dx, int dy) {
    app.OnMouseDown(MouseButton::Left, {500, 500});
    app.OnMouseMove({500 + dx, 500 + dy});
    app.OnMouseUp(MouseButton::Left);
  }
};

TEST_F(VisibleFrameTest, SnappingPutsTheVisibleEdgeExactlyOnTheWorkAreasEdge) {
  const Rect& area = screen.workArea;
  Start("Left=400\r\nTop=300\r\n");
  for (const Insets borders : {kWindows10Borders, Insets{}}) {
    view.framedBorders = borders;
    SCOPED_TRACE(borders.left);
    // 2 pixels short of each edge, as the user sees it.
    view.bounds = Rect::FromPosSize(400, 300, 200, 164);
    Drag(area.left + 2 - Visible().left, 0);
    EXPECT_EQ(Visible().left, area.left);
    Drag(area.right - 2 - Visible().right, 0);
    EXPECT_EQ(Visible().right, area.right);
    Drag(0, area.bottom - 2 - Visible().bottom);
    EXPECT_EQ(Visible().bottom, area.bottom);
    Drag(0, area.top + 2 - Visible().top);
    EXPECT_EQ(Visible().top, area.top);
    // The stored place is the window's own, outer corner.
    EXPECT_NE(SettingsFile().find("Left=" + std::to_string(view.bounds.left) + "\r\n"),
              std::string::npos);
    EXPECT_NE(SettingsFile().find("Top=" + std::to_string(view.bounds.top) + "\r\n"),
              std::string::npos);
  }
}

TEST_F(VisibleFrameTest, TheDefaultCornerHasTheVisibleEdgesOnTheWorkAreasCorner) {
  view.framedBorders = kWindows10Borders;
  Create();
  EXPECT_EQ(Visible().right, screen.workArea.Width());
  EXPECT_EQ(Visible().bottom, screen.workArea.Height());
  // Stored as the window's own corner, 7 pixels further right and down.
  EXPECT_EQ(view.bounds.left, 1280 - 200 + 7);
  EXPECT_NE(SettingsFile().find("Left=1087\r\nTop=827\r\n"), std::string::npos) << SettingsFile();
}

TEST_F(VisibleFrameTest, WithoutBordersNothingChanges) {
  // Under Wine no compositor answers; minimal mode has no frame.
  for (const char* lines : {"", "Minimal Mode=ON\r\n"}) {
    SCOPED_TRACE(lines);
    test::AppRig rig;
    rig.view.framedBorders = std::string(lines).empty() ? Insets{} : kWindows10Borders;
    rig.GivenSettings(lines);
    rig.app.Create();
    EXPECT_EQ(rig.view.bounds.right, rig.screen.workArea.Width());
    EXPECT_EQ(rig.view.bounds.left, 1280 - 200);
  }
}

TEST_F(VisibleFrameTest, OnAnotherMonitorTheVisibleEdgesKeepTheirDistances) {
  view.framedBorders = kWindows10Borders;
  // A second monitor of the same scale on the right.
  screen.otherMonitors = {{{1280, 0, 2560, 1000}, 96}};
  Start("Show On Active Monitor=ON\r\n");  // the default corner: visible edges on the corner
  Tap(VkCapital);
  const Rect home = Visible();
  ASSERT_EQ(home.right, 1280);
  const int fromBottom = 984 - home.bottom;

  screen.activeMonitor = 1;
  Tap(VkCapital);
  EXPECT_EQ(Visible().right, 2560);
  EXPECT_EQ(1000 - Visible().bottom, fromBottom);
  EXPECT_EQ(Visible().Width(), home.Width());

  screen.activeMonitor = 0;
  Tap(VkCapital);
  EXPECT_EQ(Visible(), home);
}

}  // namespace
}  // namespace lb
