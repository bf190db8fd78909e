// The lock-key monitor with key events: a press runs its check at once and starts the poll, the
// poll runs while a lock key is down and stops one interval after the last is released; and the
// choice of where key presses come from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "indicator/key_source.h"
#include "indicator/lock_key_monitor.h"
#include "indicator_fixture.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using Played = test::RecordingSoundPlayer::Played;

class KeyEventsTest : public test::IndicatorTest {
 protected:
  // Started with key events, the start display over and the window hidden; the clock stands
  // just after the first poll tick, which found no lock key down and stopped the poll.
  void StartIdle(const std::string& lines = "") {
    Start("DisplayDuration=100\r\nFadeoutAnimation=OFF\r\n" + lines);
    app.UseKeyEvents();
    clock.Advance(100);
    ASSERT_FALSE(view.visible);
    ASSERT_FALSE(PollRuns());
  }
  // What the system reports: the key goes down (its toggle state flips) or up.
  void KeyDown(int vk) {
    keyboard.Press(vk);
    app.OnKeyEvent(vk, true);
  }
  void KeyUp(int vk) {
    keyboard.Release(vk);
    app.OnKeyEvent(vk, false);
  }
  [[nodiscard]] bool PollRuns() const { return clock.IsRunning(kKeyPollTimerId); }
};

TEST_F(KeyEventsTest, AnIdleProgramHasNoTimerRunning) {
  StartIdle();
  for (const int id : {kKeyPollTimerId, kStartDisplayTimerId, kHideTimerId}) {
    EXPECT_FALSE(clock.IsRunning(id)) << "timer " << id;
  }
  const int reads = keyboard.reads;
  clock.Advance(60'000);
  EXPECT_EQ(keyboard.reads, reads);
}

TEST_F(KeyEventsTest, APressIsShownAtOnceAndStartsThePoll) {
  keyboard.SetToggled(VkNumLock, true);
  StartIdle();
  KeyDown(VkCapital);  // no time passes

  EXPECT_EQ(view.statusText, "Caps Lock: ON");
  EXPECT_EQ(view.statusColor, ColorLime);
  EXPECT_TRUE(view.Lit(LedColumn::NumLock));
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_TRUE(view.visible);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}));
  EXPECT_TRUE(PollRuns());
  EXPECT_EQ(clock.IntervalOf(kKeyPollTimerId), kKeyPollIntervalMs);
}

TEST_F(KeyEventsTest, ReleaseStopsThePollOneIntervalLater) {
  StartIdle();
  const std::int64_t pressed = clock.now;
  KeyDown(VkCapital);
  clock.Advance(35);  // ticks at +10, +20, +30 see the key held
  KeyUp(VkCapital);
  clock.AdvanceTo(pressed + 39);
  EXPECT_TRUE(PollRuns());
  clock.AdvanceTo(pressed + 40);  // the first tick after the release
  EXPECT_FALSE(PollRuns());
  EXPECT_EQ(sound.played.size(), 4u);  // the event, then three ticks
}

TEST_F(KeyEventsTest, AKeyHeldForASecondKeepsThePollAndIsCheckedAtEveryTick) {
  StartIdle("Play Mode=ASYNC\r\n");
  const std::int64_t pressed = clock.now;
  KeyDown(VkCapital);
  // The system repeats the held key's down some thirty times a second.
  for (int repeat = 0; repeat < 30; ++repeat) {
    clock.Advance(33);
    app.OnKeyEvent(VkCapital, true);
  }
  clock.AdvanceTo(pressed + 1000);
  EXPECT_TRUE(PollRuns());
  EXPECT_EQ(sound.played.size(), 101u);  // the event and a hundred ticks, no repeat on top
  EXPECT_EQ(view.statusText, "Caps Lock: ON");

  KeyUp(VkCapital);
  clock.Advance(kKeyPollIntervalMs);
  EXPECT_FALSE(PollRuns());
}

TEST_F(KeyEventsTest, APressShorterThanAPollIntervalIsNoLongerMissed) {
  StartIdle();
  KeyDown(VkScroll);
  KeyUp(VkScroll);  // before any tick
  clock.Advance(kKeyPollIntervalMs);

  EXPECT_EQ(view.statusText, "Scroll Lock: ON");
  EXPECT_TRUE(view.Lit(LedColumn::ScrollLock));
  EXPECT_EQ(sound.played.size(), 1u);
  EXPECT_FALSE(PollRuns());
}

TEST_F(KeyEventsTest, AKeyPressedWhileAnotherIsHeldIsShownAtOnce) {
  StartIdle();
  KeyDown(VkCapital);
  clock.Advance(15);
  KeyDown(VkNumLock);
  EXPECT_EQ(view.statusText, "Num Lock: ON");
  KeyUp(VkNumLock);
  clock.Advance(10);  // Caps Lock still held: the tick checks it, and the poll goes on
  EXPECT_EQ(view.statusText, "Caps Lock: ON");
  EXPECT_TRUE(PollRuns());
  KeyUp(VkCapital);
  clock.Advance(10);
  EXPECT_FALSE(PollRuns());
}

TEST_F(KeyEventsTest, ALostKeyUpDoesNotSwallowTheNextPress) {
  StartIdle("Play Mode=ASYNC\r\n");
  KeyDown(VkCapital);
  keyboard.Release(VkCapital);  // the key-up event never comes
  clock.Advance(kKeyPollIntervalMs);
  ASSERT_FALSE(PollRuns());

  KeyDown(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
  EXPECT_EQ(sound.played.size(), 2u);
}

TEST_F(KeyEventsTest, TheTrayLampsFollowATapWithinOneIntervalAndThenNothingRuns) {
  // Neither shown nor heard: only the tray icon tells of this key.
  StartIdle("Num Lock=OFF\r\nNum Lock Sound=OFF\r\n");
  const std::size_t redraws = tray.shown.size();
  KeyDown(VkNumLock);
  KeyUp(VkNumLock);
  clock.Advance(kKeyPollIntervalMs);

  EXPECT_EQ(tray.shown.size(), redraws + 1);
  EXPECT_EQ(tray.Look().states, (LockStates{true, false, false}));
  EXPECT_FALSE(PollRuns());
  clock.Advance(60'000);
  EXPECT_EQ(tray.shown.size(), redraws + 1);
}

struct SwitchCase {
  const char* settings;
  bool shown;
  const char* text;
  std::size_t sounds;
};

class KeyEventSwitchTest : public KeyEventsTest,
                           public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(KeyEventSwitchTest, AnEventFollowsTheKeysSwitchesAsTheTickDoes) {
  StartIdle(GetParam().settings);
  const int pumps = view.pumps;
  KeyDown(VkNumLock);
  EXPECT_EQ(view.visible, GetParam().shown);
  EXPECT_EQ(view.statusText, GetParam().text);
  EXPECT_EQ(sound.played.size(), GetParam().sounds);
  if (GetParam().sounds == 0) {
    EXPECT_EQ(view.pumps, pumps);
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, KeyEventSwitchTest,
                         ::testing::Values(SwitchCase{"", true, "Num Lock: ON", 1},
                                           SwitchCase{"Num Lock=OFF\r\n", false, "Num Lock: ON", 1},
                                           SwitchCase{"Num Lock=OFF\r\nNum Lock Sound=OFF\r\n",
                                                      false, "", 0}));

TEST_F(KeyEventsTest, OtherKeysAndAnyKeyWhileDisabledChangeNothing) {
  StartIdle();
  for (const int vk : {8, 16, 19, 65, 146, 255}) {
    KeyDown(vk);
    KeyUp(vk);
  }
  EXPECT_FALSE(PollRuns());
  EXPECT_FALSE(view.visible);

  app.TestParts().monitor.SetEnabled(false);
  KeyDown(VkCapital);
  EXPECT_FALSE(PollRuns());
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());
  KeyUp(VkCapital);

  // Enabled again: the poll runs until its first tick without a lock key down.
  app.TestParts().monitor.SetEnabled(true);
  EXPECT_EQ(view.background, ColorBlack);
  EXPECT_TRUE(PollRuns());
  clock.Advance(kKeyPollIntervalMs);
  EXPECT_FALSE(PollRuns());
  KeyDown(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");  // toggled twice, the first press unseen
}

TEST_F(KeyEventsTest, WithoutKeyEventsThePollNeverStops) {
  Start();
  clock.Advance(60'000);
  EXPECT_TRUE(PollRuns());
  EXPECT_FALSE(app.TestParts().monitor.UsesKeyEvents());
}

// ---- the choice of the source ----------------------------------------------------------------

struct ChainCase {
  std::optional<KeySource> forced;
  bool rawInputStarts;
  bool hookStarts;
  KeySource chosen;
  std::vector<std::string> tried;
};

class KeySourceChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(KeySourceChainTest, TakesTheFirstSourceThatStarts) {
  const ChainCase& c = GetParam();
  std::vector<std::string> tried;
  const KeySource chosen = StartKeySource(c.forced, {.startRawInput =
                                                         [&] {
                                                           tried.emplace_back("raw input");
                                                           return c.rawInputStarts;
                                                         },
                                                     .startKeyboardHook =
                                                         [&] {
                                                           tried.emplace_back("hook");
                                                           return c.hookStarts;
                                                         }});
  EXPECT_EQ(chosen, c.chosen);
  EXPECT_EQ(tried, c.tried);
}

using Tried = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Chain, KeySourceChainTest,
    ::testing::Values(
        ChainCase{std::nullopt, true, true, KeySource::RawInput, Tried{"raw input"}},
        ChainCase{std::nullopt, false, true, KeySource::KeyboardHook, Tried{"raw input", "hook"}},
        ChainCase{std::nullopt, false, false, KeySource::Polling, Tried{"raw input", "hook"}},
        ChainCase{KeySource::RawInput, false, false, KeySource::Polling,
                  Tried{"raw input", "hook"}},
        ChainCase{KeySource::KeyboardHook, true, true, KeySource::KeyboardHook, Tried{"hook"}},
        ChainCase{KeySource::KeyboardHook, true, false, KeySource::Polling, Tried{"hook"}},
        ChainCase{KeySource::Polling, true, true, KeySource::Polling, Tried{}}));

TEST(KeySourceNameTest, NamesReadBackAndNothingElseIsASource) {
  for (const KeySource source :
       {KeySource::RawInput, KeySource::KeyboardHook, KeySource::Polling}) {
    EXPECT_EQ(ParseKeySource(KeySourceName(source)), source);
  }
  for (const char* name : {"", "Hook", "polling", "raw input", "raw-input ", "poll\n"}) {
    EXPECT_EQ(ParseKeySource(name), std::nullopt) << name;
  }
}

// ---- a state that changed without its key --------------------------------------------------

// What makes the monitor read the states again: a key event of another key, a switch of the
// desktop, another foreground window.
enum class Reread { OtherKey, DesktopSwitch, Foreground };

class ChangeWithoutAKeyTest : public KeyEventsTest, public ::testing::WithParamInterface<Reread> {
 protected:
  void Happen(Reread what) {
    switch (what) {
      case Reread::OtherKey:
        KeyDown('A');
        KeyUp('A');
        break;
      case Reread::DesktopSwitch:
        app.OnDesktopSwitched();
        break;
      case Reread::Foreground:
        app.OnForegroundChanged();
        break;
    }
  }
};

TEST_P(ChangeWithoutAKeyTest, IsShownOnceAsAPressOfItsKeyWouldShowIt) {
  StartIdle();
  const std::size_t redraws = tray.shown.size();
  // Shift turned Caps Lock off... on: the state changes, and no Caps Lock event comes.
  keyboard.SetToggled(VkCapital, true);
  Happen(GetParam());

  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.statusText, "Caps Lock: ON");
  EXPECT_EQ(view.statusColor, ColorLime);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}));
  EXPECT_EQ(tray.shown.size(), redraws + 1);
  EXPECT_TRUE(tray.Look().states.capsLock);
  EXPECT_FALSE(PollRuns()) << "no key is down";

  // Exactly once: whatever reads the states next finds nothing new.
  clock.Advance(1000);
  ASSERT_FALSE(view.visible);
  for (const Reread again : {Reread::OtherKey, Reread::DesktopSwitch, Reread::Foreground}) {
    Happen(again);
  }
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(tray.shown.size(), redraws + 1);

  // The key's own next press shows its next state.
  KeyDown(VkCapital);
  KeyUp(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
  EXPECT_EQ(sound.played.size(), 2u);
}

TEST_P(ChangeWithoutAKeyTest, SeveralKeysAreShownInTheOrderOfThePoll) {
  StartIdle();
  keyboard.SetToggled(VkScroll, true);
  keyboard.SetToggled(VkNumLock, true);
  keyboard.SetToggled(VkCapital, true);
  Happen(GetParam());
  EXPECT_EQ(view.statusText, "Scroll Lock: ON");  // Caps Lock, Num Lock, then Scroll Lock
  EXPECT_EQ(sound.played.size(), 3u);
  EXPECT_TRUE(view.Lit(LedColumn::NumLock));
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_TRUE(view.Lit(LedColumn::ScrollLock));
}

TEST_P(ChangeWithoutAKeyTest, FollowsTheKeysSwitchesAndNothingWhileDisabled) {
  StartIdle("Caps Lock=OFF\r\nCaps Lock Sound=OFF\r\n");
  keyboard.SetToggled(VkCapital, true);
  Happen(GetParam());
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());
  EXPECT_TRUE(tray.Look().states.capsLock) << "the tray lamps follow all the same";

  app.TestParts().monitor.SetEnabled(false);
  clock.Advance(kKeyPollIntervalMs);
  keyboard.SetToggled(VkNumLock, true);
  Happen(GetParam());
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());
}

INSTANTIATE_TEST_SUITE_P(Rereads, ChangeWithoutAKeyTest,
                         ::testing::Values(Reread::OtherKey, Reread::DesktopSwitch,
                                           Reread::Foreground),
                         [](const ::testing::TestParamInfo<Reread>& tested) {
                           switch (tested.param) {
                             case Reread::OtherKey:
                               return "OtherKey";
                             case Reread::DesktopSwitch:
                               return "DesktopSwitch";
                             case Reread::Foreground:
                               return "Foreground";
                           }
                           return "";
                         });

TEST_F(KeyEventsTest, AfterUnlockOrResumeTheLampsAndLedsFollowQuietlyAndOnlyOnce) {
  StartIdle();
  const std::size_t redraws = tray.shown.size();
  const bool hideTimerBefore = HideTimerRuns();
  keyboard.SetToggled(VkNumLock, true);  // toggled on the lock screen
  app.OnLockStatesMayHaveChanged();

  EXPECT_TRUE(view.Lit(LedColumn::NumLock));
  EXPECT_TRUE(tray.Look().states.numLock);
  EXPECT_EQ(tray.shown.size(), redraws + 1);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());
  EXPECT_EQ(view.statusText, "");
  EXPECT_EQ(HideTimerRuns(), hideTimerBefore);

  // Not shown again later as a change.
  KeyDown('A');
  app.OnForegroundChanged();
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());
}

}  // namespace
}  // namespace lb
