// Quiet over full-screen programs: what counts as a full-screen program in front, and what the
// running program does while one is there (no indicator, no sound, the lamps and LEDs follow)
// and once it has gone.
#include "indicator/full_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "indicator_fixture.h"

namespace lb {
namespace {

using State = UserNotificationState;

TEST(FullScreenRuleTest, AProgramCoveringItsMonitorOrTheShellsWord) {
  const Rect primary{0, 0, 1920, 1080};
  const Rect right{1920, 0, 4480, 1440};
  struct Case {
    const char* name;
    ForegroundWindow front;
    State state;
    bool fullScreen;
  };
  const Case cases[] = {
      {"borderless, exactly the monitor", {true, "Game", primary, primary}, State::Other, true},
      {"larger than the monitor",
       {true, "Game", {-3, -3, 1923, 1083}, primary},
       State::Other,
       true},
      {"on the other monitor", {true, "Chrome_WidgetWin_1", right, right}, State::Other, true},
      {"maximised under a hidden taskbar: the caption is inside",
       {true, "Notepad", {0, 23, 1920, 1080}, primary},
       State::Other,
       false},
      {"one pixel short", {true, "Game", {0, 0, 1920, 1079}, primary}, State::Other, false},
      {"covers the other monitor only", {true, "Game", right, primary}, State::Other, false},
      {"the desktop", {true, "Progman", primary, primary}, State::Other, false},
      {"the wallpaper's worker", {true, "WorkerW", primary, primary}, State::Other, false},
      {"the taskbar", {true, "Shell_TrayWnd", primary, primary}, State::Other, false},
      {"another monitor's taskbar",
       {true, "Shell_SecondaryTrayWnd", right, right},
       State::Other,
       false},
      {"no foreground window", {false, "", {}, {}}, State::Other, false},
      {"no monitor known", {true, "Game", primary, {}}, State::Other, false},
      {"exclusive Direct3D",
       {true, "Notepad", {10, 10, 500, 500}, primary},
       State::D3DFullScreen,
       true},
      {"presentation mode", {false, "", {}, {}}, State::PresentationMode, true},
      {"quiet time is no full screen",
       {true, "Notepad", {10, 10, 500, 500}, primary},
       State::QuietTime,
       false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsFullScreenProgramInFront(c.front, c.state), c.fullScreen) << c.name;
  }
}

// ---- the running program --------------------------------------------------------------------

class QuietTest : public test::IndicatorTest {
 protected:
  // Started, the start display over and hidden; a press now shows for 100 ms.
  void StartHidden(const std::string& lines = "") {
    Start("DisplayDuration=100\r\nFadeoutAnimation=OFF\r\n" + lines);
    clock.Advance(200);
    ASSERT_FALSE(view.visible);
  }
  // Another window comes to the foreground (EVENT_SYSTEM_FOREGROUND), to every listener as the
  // hooks tell them: the key monitor first, then the full-screen rule.
  void ForegroundChanges() {
    app.monitor.OnForegroundChanged();
    app.fullScreen.OnForegroundChanged();
  }
};

TEST_F(QuietTest, APressOverAFullScreenProgramShowsAndPlaysNothingButTheLampsFollow) {
  StartHidden();
  fullScreen.FullScreenProgram();
  ForegroundChanges();
  const std::size_t sounds = sound.played.size();

  Tap(VkCapital);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(sound.played.size(), sounds);
  EXPECT_TRUE(tray.Look().states.capsLock);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));  // the next show has it right

  // The program is gone: the next press shows, as always.
  fullScreen.OrdinaryWindow();
  ForegroundChanges();
  EXPECT_FALSE(view.visible) << "a press made during the program is not shown afterwards";
  Tap(VkCapital);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
  EXPECT_EQ(sound.played.size(), sounds + 1);
}

TEST_F(QuietTest, EachPressAsksWithoutAnyNotice) {
  // A program that went full-screen while the foreground stayed (F11): the press itself asks.
  StartHidden();
  fullScreen.FullScreenProgram();
  Tap(VkNumLock);
  EXPECT_FALSE(view.visible);
  fullScreen.OrdinaryWindow();
  Tap(VkNumLock);
  EXPECT_TRUE(view.visible);
}

TEST_F(QuietTest, AStateChangedWithoutItsKeyIsNotShownOverAFullScreenProgram) {
  StartHidden();
  fullScreen.FullScreenProgram();
  keyboard.SetToggled(VkCapital, true);  // Shift turned it... on, say: no event of its own
  app.monitor.OnKeyEvent('A', true);     // another key reads the states again
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));

  fullScreen.OrdinaryWindow();
  ForegroundChanges();
  EXPECT_FALSE(view.visible);
}

TEST_F(QuietTest, AShownIndicatorStepsAsideWhenAFullScreenProgramComesToTheFront) {
  Start("DisplayDuration=60000\r\n");
  Tap(VkCapital);
  ASSERT_TRUE(view.visible);

  fullScreen.FullScreenProgram();
  app.fullScreen.OnFullScreenAppNotice();  // the shell's word to the app bar
  EXPECT_FALSE(view.visible);
  EXPECT_FALSE(HideTimerRuns());
  // Gone again: a window that was counting down does not come back.
  fullScreen.OrdinaryWindow();
  app.fullScreen.OnFullScreenAppNotice();
  EXPECT_FALSE(view.visible);
}

TEST_F(QuietTest, AnIndicatorKeptOnScreenStepsAsideAndComesBack) {
  struct Case {
    const char* lines;
  };
  for (const Case c : {Case{"Caps Lock Toggled=ON\r\n"}, Case{"Always on top=ON\r\n"}}) {
    SCOPED_TRACE(c.lines);
    test::AppRig rig;
    rig.files.files[kBuiltInOn] = "RIFF";
    rig.keyboard.SetToggled(VkCapital, true);
    rig.GivenSettings(c.lines);
    rig.app.Create();
    rig.clock.Advance(1);
    ASSERT_TRUE(rig.view.visible);
    rig.clock.Advance(60'000);
    ASSERT_TRUE(rig.view.visible);

    rig.fullScreen.FullScreenProgram();
    rig.app.fullScreen.OnForegroundChanged();
    EXPECT_FALSE(rig.view.visible);
    rig.fullScreen.OrdinaryWindow();
    rig.app.fullScreen.OnForegroundChanged();
    EXPECT_TRUE(rig.view.visible);
    EXPECT_EQ(rig.view.alpha, 255);
    rig.clock.Advance(60'000);
    EXPECT_TRUE(rig.view.visible);
  }
}

TEST_F(QuietTest, TheStartDisplayWaitsForNoFullScreenProgram) {
  fullScreen.FullScreenProgram();
  Start();
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(sound.played.size(), 0u);
}

TEST_F(QuietTest, SwitchedOffEverythingShowsAsBefore) {
  StartHidden("Hide In Full Screen=OFF\r\n");
  fullScreen.FullScreenProgram();
  ForegroundChanges();
  Tap(VkCapital);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.statusText, "Caps Lock: ON");
}

TEST_F(QuietTest, OnUnlessTheFileSaysExactlyOff) {
  for (const auto& [lines, on] :
       {std::pair{"", true}, std::pair{"Hide In Full Screen=off\r\n", true},
        std::pair{"hide in full screen=OFF\r\n", false}}) {
    test::AppRig rig;
    rig.GivenSettings(lines);
    rig.app.Create();
    EXPECT_EQ(rig.app.hideInFullScreen, on) << lines;
  }
}

TEST_F(QuietTest, NothingIsAskedWhileNothingHappens) {
  StartHidden();
  const int asked = fullScreen.asked;
  clock.Advance(600'000);
  EXPECT_EQ(fullScreen.asked, asked);
}

}  // namespace
}  // namespace lb
