// Keeping the notification-area icon when the shell refuses it for a while (at sign-in, while
// Explorer is still busy): tried again, changed else added, on a timer whose interval doubles
// from one second, for about two minutes, and again after any refused change. The shell here
// refuses as many attempts as a test tells it, as Shell_NotifyIcon does while Explorer is busy.
#include "indicator/tray_icon_keeper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/virtual_clock.h"

namespace lb {
namespace {

using ::testing::ElementsAre;

constexpr int kTimerId = 7;

class RefusingShell : public INotifyArea {
 public:
  explicit RefusingShell(const test::VirtualClock& clock) : clock_(clock) {}

  int refusals = 0;               // the shell refuses this many calls from now on, then takes them
  bool addedButTimedOut = false;  // an add that "failed" reached the shell after all
  bool holdsIcon = false;
  std::vector<std::string> calls;  // "add@ms", "modify@ms", "version@ms"

  bool AddIcon() override {
    calls.push_back("add@" + std::to_string(clock_.now));
    if (holdsIcon) return false;  // the shell has this icon already
    if (Refuse()) {
      if (addedButTimedOut) holdsIcon = true;
      return false;
    }
    holdsIcon = true;
    return true;
  }
  bool ModifyIcon() override {
    calls.push_back("modify@" + std::to_string(clock_.now));
    if (!holdsIcon || Refuse()) return false;
    return true;
  }
  void SetIconVersion() override { calls.push_back("version@" + std::to_string(clock_.now)); }

 private:
  bool Refuse() {
    if (refusals == 0) return false;
    --refusals;
    return true;
  }
  const test::VirtualClock& clock_;
};

class TrayIconKeeperTest : public ::testing::Test {
 protected:
  TrayIconKeeperTest() {
    clock.onTick = [this](int id) {
      if (id == kTimerId) keeper.OnTimer();
    };
  }
  test::VirtualClock clock;
  RefusingShell shell{clock};
  TrayIconKeeper keeper{shell, clock, kTimerId};
};

TEST_F(TrayIconKeeperTest, AnAddThatIsTakenAtOnceRunsNoTimer) {
  keeper.Add();
  EXPECT_TRUE(keeper.Shown());
  EXPECT_THAT(shell.calls, ElementsAre("add@0", "version@0"));
  EXPECT_FALSE(clock.IsRunning(kTimerId));
}

TEST_F(TrayIconKeeperTest, ARefusedAddIsTriedAgainWithGrowingIntervalsUntilTheShellTakesIt) {
  shell.refusals = 3;  // the adds at start, at 1 s and at 3 s (a modify finds no icon)
  keeper.Add();
  EXPECT_FALSE(keeper.Shown());
  clock.Advance(10'000);
  EXPECT_TRUE(keeper.Shown());
  EXPECT_THAT(shell.calls, ElementsAre("add@0", "modify@1000", "add@1000", "modify@3000",
                                       "add@3000", "modify@7000", "add@7000", "version@7000"));
  EXPECT_FALSE(clock.IsRunning(kTimerId));
  clock.Advance(3'600'000);
  EXPECT_EQ(shell.calls.size(), 8u);
}

TEST_F(TrayIconKeeperTest, AShellThatNeverTakesItIsTriedForAboutTwoMinutesThenLeftAlone) {
  shell.refusals = 1'000'000;
  keeper.Add();
  std::vector<std::int64_t> attempts;
  clock.onTick = [&](int id) {
    attempts.push_back(clock.now);
    if (id == kTimerId) keeper.OnTimer();
  };
  clock.Advance(24 * 3'600'000);
  EXPECT_THAT(attempts, ElementsAre(1'000, 3'000, 7'000, 15'000, 31'000, 63'000, 127'000));
  EXPECT_FALSE(clock.IsRunning(kTimerId));
  EXPECT_FALSE(keeper.Shown());

  // A later change of the picture tries once more, and another two minutes if refused.
  shell.refusals = 1;
  keeper.Changed();
  EXPECT_FALSE(keeper.Shown());
  EXPECT_TRUE(clock.IsRunning(kTimerId));
  clock.Advance(1'000);
  EXPECT_TRUE(keeper.Shown());
}

TEST_F(TrayIconKeeperTest, AnAddThatTimedOutButReachedTheShellIsFoundByAModify) {
  shell.refusals = 1;
  shell.addedButTimedOut = true;
  keeper.Add();
  EXPECT_FALSE(keeper.Shown());
  clock.Advance(1'000);
  EXPECT_TRUE(keeper.Shown());
  EXPECT_THAT(shell.calls, ElementsAre("add@0", "modify@1000", "version@1000"));
}

TEST_F(TrayIconKeeperTest, ARefusedChangeIsTriedAgainAndChangesWhileWaitingWaitForIt) {
  keeper.Add();
  shell.calls.clear();
  shell.refusals = 1;
  keeper.Changed();  // refused
  EXPECT_FALSE(keeper.Shown());
  EXPECT_TRUE(clock.IsRunning(kTimerId));
  keeper.Changed();  // the next attempt takes this look too: no call now
  EXPECT_THAT(shell.calls, ElementsAre("modify@0"));
  clock.Advance(1'000);
  EXPECT_TRUE(keeper.Shown());
  EXPECT_THAT(shell.calls, ElementsAre("modify@0", "modify@1000", "version@1000"));
  EXPECT_FALSE(clock.IsRunning(kTimerId));

  keeper.Changed();  // taken: nothing more
  EXPECT_THAT(shell.calls, ElementsAre("modify@0", "modify@1000", "version@1000", "modify@1000"));
  EXPECT_FALSE(clock.IsRunning(kTimerId));
}

TEST_F(TrayIconKeeperTest, TheTaskbarCreatedAnewAddsAtOnceAndEndsTheRetries) {
  shell.refusals = 1;
  keeper.Add();
  ASSERT_TRUE(clock.IsRunning(kTimerId));
  keeper.Add();  // "TaskbarCreated"
  EXPECT_TRUE(keeper.Shown());
  EXPECT_FALSE(clock.IsRunning(kTimerId));
}

}  // namespace
}  // namespace lb
