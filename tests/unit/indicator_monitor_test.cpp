// The lock-key monitor: what a press of a lock key shows and plays, as the key's switches say.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indicator/lock_key_monitor.h"
#include "indicator_fixture.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using Played = test::RecordingSoundPlayer::Played;

class MonitorTest : public test::IndicatorTest {
 protected:
  // Lets the window hide after the start display (short duration, no fade).
  void StartHidden(const std::string& lines = "") {
    Start("DisplayDuration=100\r\nFadeoutAnimation=OFF\r\n" + lines);
    clock.Advance(100);
    ASSERT_FALSE(view.visible);
  }
};

TEST_F(MonitorTest, CapsLockPressShowsLedsStatusLineAndHidesAfterTheDuration) {
  keyboard.SetToggled(VkNumLock, true);
  Start("FadeoutAnimation=OFF\r\n");
  Tap(VkCapital);  // the poll at 10 ms sees it

  EXPECT_EQ(view.statusText, "Caps Lock: ON");
  EXPECT_EQ(view.statusColor, ColorLime);
  EXPECT_TRUE(view.Lit(LedColumn::NumLock));
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_FALSE(view.Lit(LedColumn::ScrollLock));
  EXPECT_EQ(view.ClientHeight(), 120);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.alpha, 255);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}));

  clock.AdvanceTo(10 + 9999);
  EXPECT_TRUE(view.visible);
  clock.AdvanceTo(10 + 10000);
  EXPECT_FALSE(view.visible);
}

TEST_F(MonitorTest, PressingAgainTurnsItOffInGreyWithTheOffSound) {
  Start();
  Tap(VkCapital);
  Tap(VkCapital);

  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
  EXPECT_EQ(view.statusColor, ColorGrey);
  EXPECT_FALSE(view.Lit(LedColumn::CapsLock));
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}, Played{kBuiltInOff, false}));
}

TEST_F(MonitorTest, KeysHeldTogetherAreHandledInOneTickCapsLockFirst) {
  Start();
  std::vector<std::string> shown;
  view.onProcessMessages = [&] {
    if (shown.empty() || shown.back() != view.statusText) shown.push_back(view.statusText);
  };
  keyboard.Press(VkNumLock);
  keyboard.Press(VkCapital);
  keyboard.Press(VkScroll);
  const int readsBefore = keyboard.reads;
  clock.Advance(10);

  EXPECT_THAT(shown, ElementsAre("Caps Lock: ON", "Num Lock: ON", "Scroll Lock: ON"));
  EXPECT_EQ(view.statusText, "Scroll Lock: ON");
  EXPECT_EQ(sound.played.size(), 3u);
  EXPECT_EQ(keyboard.reads - readsBefore, 4);  // once, then again after every check
}

TEST_F(MonitorTest, AKeyThatGoesDownWhileAnEarlierCheckLetsMessagesRunIsSeenInTheSameTick) {
  Start();
  view.onProcessMessages = [&] {
    if (view.statusText == "Caps Lock: ON") keyboard.Press(VkNumLock);
  };
  keyboard.Press(VkCapital);
  clock.Advance(10);
  EXPECT_EQ(view.statusText, "Num Lock: ON");
}

TEST_F(MonitorTest, ShowSwitchOffWithSoundOnSetsTheTextAndPlaysButLeavesTheWindow) {
  StartHidden("Num Lock=OFF\r\n");
  const Rect before = view.bounds;
  Tap(VkNumLock);

  EXPECT_EQ(view.statusText, "Num Lock: ON");
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}));
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.bounds, before);
  EXPECT_FALSE(view.Lit(LedColumn::NumLock));  // as the start display left it
}

TEST_F(MonitorTest, BothSwitchesOffMakesAPressDoNothing) {
  StartHidden("Scroll Lock=OFF\r\nScroll Lock Sound=OFF\r\n");
  const int pumps = view.pumps;
  Tap(VkScroll);

  EXPECT_EQ(view.statusText, "");
  EXPECT_TRUE(sound.played.empty());
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.pumps, pumps);
}

TEST_F(MonitorTest, SoundSwitchOffKeepsTheKeyShownButSilentAndOthersStillSound) {
  Start("Caps Lock Sound=OFF\r\n");
  Tap(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: ON");
  EXPECT_TRUE(sound.played.empty());
  Tap(VkNumLock);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}));
}

TEST_F(MonitorTest, MinimalModeShowsTheLedsWithoutGrowingTheWindow) {
  StartHidden("Minimal Mode=ON\r\n");
  Tap(VkCapital);

  EXPECT_TRUE(view.visible);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_EQ(view.ClientHeight(), 80);
  EXPECT_EQ(view.statusText, "Caps Lock: ON");
}

TEST_F(MonitorTest, OtherKeysNeverShowTheWindow) {
  StartHidden();
  const int pumps = view.pumps;
  for (const int vk : {8, 16, 65, 19, 146, 255}) Tap(vk);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.pumps, pumps);
  EXPECT_TRUE(sound.played.empty());
}

TEST_F(MonitorTest, IdleTickReadsTheKeyboardOnceAndTouchesNothing) {
  StartHidden();
  const int reads = keyboard.reads;
  const int pumps = view.pumps;
  clock.Advance(10);
  EXPECT_EQ(keyboard.reads - reads, 1);
  EXPECT_EQ(view.pumps, pumps);
}

TEST_F(MonitorTest, AHeldKeyRepeatsItsCheckAtEveryPollWithAsyncSound) {
  Start("Play Mode=ASYNC\r\n");
  keyboard.Press(VkCapital);
  clock.AdvanceTo(1000);  // polls at 10, 20, ..., 1000
  keyboard.Release(VkCapital);
  clock.Advance(100);

  EXPECT_EQ(sound.played.size(), 100u);
  EXPECT_TRUE(sound.played.back().async);
}

TEST_F(MonitorTest, AHeldKeyWithSyncSoundRepeatsOncePerSoundLength) {
  Start();
  sound.whilePlayingSync = [&] { clock.Block(300); };
  keyboard.Press(VkCapital);
  clock.AdvanceTo(1000);  // polls at 10, 310, 610, 910

  EXPECT_EQ(sound.played.size(), 4u);
}

TEST_F(MonitorTest, AHiddenWindowAppearsOnlyAfterASyncSoundEnds) {
  StartHidden();
  bool visibleWhilePlaying = true;
  std::string textWhilePlaying;
  sound.whilePlayingSync = [&] {
    visibleWhilePlaying = view.visible;
    textWhilePlaying = view.statusText;
  };
  Tap(VkCapital);
  EXPECT_FALSE(visibleWhilePlaying);
  EXPECT_EQ(textWhilePlaying, "Caps Lock: ON");
  EXPECT_TRUE(view.visible);
}

TEST_F(MonitorTest, APlaybackErrorIsDroppedAndTheCheckGoesOn) {
  StartHidden();
  sound.fail = true;
  Tap(VkCapital);
  EXPECT_EQ(sound.played.size(), 1u);
  EXPECT_TRUE(view.visible);
}

TEST_F(MonitorTest, DisabledPollingIgnoresKeysAndShowsARedBackground) {
  StartHidden();
  app.TestParts().monitor.SetEnabled(false);
  EXPECT_EQ(view.background, ColorRed);
  Tap(VkCapital);
  EXPECT_FALSE(view.visible);

  app.TestParts().monitor.SetEnabled(true);
  EXPECT_EQ(view.background, ColorBlack);
  Tap(VkCapital);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");  // toggled twice, the first press unseen
}

struct HeightCase {
  int panelHeight;
  int withStatusLine;
};

class StatusLineHeightTest : public ::testing::TestWithParam<HeightCase> {};

TEST_P(StatusLineHeightTest, IsOneAndAHalfPanelsWithHalvesToEven) {
  EXPECT_EQ(StatusLineHeight(GetParam().panelHeight), GetParam().withStatusLine);
}

INSTANTIATE_TEST_SUITE_P(Heights, StatusLineHeightTest,
                         ::testing::Values(HeightCase{80, 120}, HeightCase{120, 180},
                                           HeightCase{1, 2}, HeightCase{3, 4}, HeightCase{81, 122},
                                           HeightCase{83, 124}));

}  // namespace
}  // namespace lb
