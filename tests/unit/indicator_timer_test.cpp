// Timers restart their countdown only when their interval or enabled state really changes, and
// an interval of 0 never fires.
#include <gtest/gtest.h>

#include <vector>

#include "fakes/virtual_clock.h"
#include "platform/timer.h"

namespace lb {
namespace {

constexpr int kId = 7;

class TimerRuleTest : public ::testing::Test {
 protected:
  TimerRuleTest() {
    clock.onTick = [this](int) { ticks.push_back(clock.now); };
  }
  test::VirtualClock clock;
  std::vector<std::int64_t> ticks;
};

TEST_F(TimerRuleTest, EnabledDesignStateRunsFromCreation) {
  Timer timer(clock, kId, 100, true);
  clock.Advance(250);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100, 200}));
}

TEST_F(TimerRuleTest, SettingTheSameValuesLeavesTheCountdownAlone) {
  Timer timer(clock, kId, 100, true);
  clock.Advance(60);
  timer.SetInterval(100);
  timer.SetEnabled(true);
  clock.Advance(40);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{100}));
}

TEST_F(TimerRuleTest, ANewIntervalOrEnablingRestartsTheCountdown) {
  Timer timer(clock, kId, 100, true);
  clock.Advance(60);
  timer.SetInterval(50);  // from 60 on
  clock.Advance(60);
  timer.SetEnabled(false);
  clock.Advance(500);
  timer.SetEnabled(true);  // from 620 on
  clock.Advance(50);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{110, 670}));
}

TEST_F(TimerRuleTest, IntervalZeroNeverFires) {
  Timer timer(clock, kId, 0, true);
  clock.Advance(10000);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  clock.Advance(10000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(clock.IsRunning(kId));

  timer.SetInterval(30);
  clock.Advance(30);
  EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(TimerRuleTest, DisabledTimerTakesANewIntervalWithoutRunning) {
  Timer timer(clock, kId, 2000, false);
  timer.SetInterval(100);
  clock.Advance(1000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(timer.Interval(), 100);
}

}  // namespace
}  // namespace lb
