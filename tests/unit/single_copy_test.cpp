// One copy per settings file: the decision at each point of the start-up check, the check's
// bounded wait on a scripted system, the settings folder it claims (the one the creation
// sequence then uses), the folder's spelling and name, the restart note, and the hand-over of
// both restarts before they start the new copy.
#include "app/single_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "base/identity.h"
#include "fakes/app_rig.h"
#include "indicator/popup_menu.h"
#include "platform/restart_handover.h"

namespace lb {
namespace {

using ::testing::ElementsAre;

struct DecisionCase {
  FolderName name;
  RunningCopyAnswer answer;
  bool predecessorRunning;
  bool waitIsOver;
  StartStep expected;
};

class DecideStartTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(DecideStartTest, Decides) {
  const DecisionCase& c = GetParam();
  EXPECT_EQ(DecideStart({.name = c.name,
                         .answer = c.answer,
                         .predecessorRunning = c.predecessorRunning,
                         .waitIsOver = c.waitIsOver}),
            c.expected);
}

using enum FolderName;
using enum RunningCopyAnswer;
INSTANTIATE_TEST_SUITE_P(
    Table, DecideStartTest,
    ::testing::Values(
        // Free, or abandoned by a copy that crashed: this start is the copy.
        DecisionCase{Taken, NotAsked, false, false, StartStep::RunAsTheCopy},
        DecisionCase{Taken, NotAsked, true, false, StartStep::RunAsTheCopy},
        // No name at all: never a reason not to start.
        DecisionCase{Unavailable, NotAsked, false, false, StartStep::RunBeside},
        DecisionCase{Unavailable, Shown, false, false, StartStep::RunBeside},
        // A running copy holds it: ask it; it answered: end; it is silent: run all the same.
        DecisionCase{Held, NotAsked, false, false, StartStep::AskRunningCopy},
        DecisionCase{Held, Shown, false, false, StartStep::End},
        DecisionCase{Held, Silent, false, false, StartStep::RunBeside},
        // Its window is not there yet: wait, within bounds.
        DecisionCase{Held, NoWindow, false, false, StartStep::WaitForName},
        DecisionCase{Held, NoWindow, false, true, StartStep::RunBeside},
        // A restart never asks its old copy (it would answer and the restart would end with no
        // copy at all): it waits for the old one to end, within bounds.
        DecisionCase{Held, NotAsked, true, false, StartStep::WaitForName},
        DecisionCase{Held, Shown, true, false, StartStep::WaitForName},
        DecisionCase{Held, NotAsked, true, true, StartStep::RunBeside}));

// A system whose answers are scripted; time passes only in the waits for the name.
class ScriptedSingleCopy : public ISingleCopyPlatform {
 public:
  std::deque<FolderName> names;  // one per TryTakeName; the last one repeats
  std::deque<RunningCopyAnswer> answers;
  std::deque<bool> predecessor;  // one per PredecessorRunning; the last one repeats
  bool clockStands = false;
  std::int64_t now = 1000;
  std::vector<std::string> calls;

  FolderName TryTakeName(int waitMs) override {
    calls.push_back("Take " + std::to_string(waitMs));
    if (!clockStands) now += waitMs;
    return Next(names);
  }
  RunningCopyAnswer AskRunningCopyToShow() override {
    calls.push_back("Ask");
    return Next(answers);
  }
  bool PredecessorRunning() const override {
    return predecessor.empty() ? false : Next(const_cast<std::deque<bool>&>(predecessor));
  }
  std::int64_t NowMs() const override { return now; }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue) {
    const T value = queue.front();
    if (queue.size() > 1) queue.pop_front();
    return value;
  }
};

TEST(CheckSingleCopyTest, AFreeNameIsTakenAtOnceWithoutAskingAnyone) {
  ScriptedSingleCopy system;
  system.names = {Taken};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunAsTheCopy);
  EXPECT_THAT(system.calls, ElementsAre("Take 0"));
}

TEST(CheckSingleCopyTest, ARunningCopyThatAnswersEndsTheStart) {
  ScriptedSingleCopy system;
  system.names = {Held};
  system.answers = {Shown};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::End);
  EXPECT_THAT(system.calls, ElementsAre("Take 0", "Ask"));
}

TEST(CheckSingleCopyTest, ACopyStillMakingItsWindowIsAskedAgainUntilItAnswers) {
  ScriptedSingleCopy system;
  system.names = {Held};
  system.answers = {NoWindow, NoWindow, Shown};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::End);
  EXPECT_THAT(system.calls, ElementsAre("Take 0", "Ask", "Take 100", "Ask", "Take 100", "Ask"));
}

TEST(CheckSingleCopyTest, ACopyThatEndsWhileWaitedForLeavesTheNameToThisStart) {
  ScriptedSingleCopy system;
  system.names = {Held, Taken};
  system.answers = {NoWindow};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunAsTheCopy);
  EXPECT_THAT(system.calls, ElementsAre("Take 0", "Ask", "Take 100"));
}

TEST(CheckSingleCopyTest, AHungCopyDoesNotKeepTheProgramFromStarting) {
  ScriptedSingleCopy system;
  system.names = {Held};
  system.answers = {Silent};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunBeside);
}

// A name held by something that never shows a window, with a clock that runs and one that
// stands still: the wait ends after the limit either way.
TEST(CheckSingleCopyTest, TheWaitForAWindowIsBounded) {
  for (const bool clockStands : {false, true}) {
    ScriptedSingleCopy system;
    system.names = {Held};
    system.answers = {NoWindow};
    system.clockStands = clockStands;
    EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunBeside);
    const auto waits = std::count(system.calls.begin(), system.calls.end(), "Take 100");
    EXPECT_EQ(waits, kNameWaitLimitMs / kNameWaitStepMs) << clockStands;
  }
}

TEST(CheckSingleCopyTest, ARestartWaitsForItsOldCopyInsteadOfAskingIt) {
  ScriptedSingleCopy system;
  system.names = {Held, Held, Taken};
  system.predecessor = {true};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunAsTheCopy);
  EXPECT_THAT(system.calls, ElementsAre("Take 0", "Take 100", "Take 100"));
}

TEST(CheckSingleCopyTest, ARestartWhoseOldCopyHangsStartsAfterTheWait) {
  ScriptedSingleCopy system;
  system.names = {Held};
  system.predecessor = {true};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::RunBeside);
  EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "Ask"), 0);
}

// The old copy has ended, but a copy the user started meanwhile holds the name: that one is
// asked like at any second start.
TEST(CheckSingleCopyTest, ARestartAsksACopyThatIsNotItsOldOne) {
  ScriptedSingleCopy system;
  system.names = {Held};
  system.predecessor = {true, false};
  system.answers = {Shown};
  EXPECT_EQ(CheckSingleCopy(system), StartOutcome::End);
  EXPECT_THAT(system.calls, ElementsAre("Take 0", "Take 100", "Ask"));
}

// The folder the check claims is the one the creation sequence then opens the settings in.
TEST(SettingsFolderForStartTest, IsTheFolderTheCreationSequenceUses) {
  struct Case {
    bool writable;
    bool versionBlock;
  };
  for (const Case c : {Case{true, true}, Case{false, true}, Case{false, false}}) {
    test::AppRig rig;
    rig.platform.exeFolderWritable = c.writable;
    rig.platform.versionBlock = c.versionBlock ? std::optional<VersionBlock>(VersionBlock{
                                                     .companyName = "Acme", .productName = "Beam"})
                                               : std::nullopt;
    const std::string claimed = SettingsFolderForStart(rig.platform);
    rig.app.Create();
    EXPECT_EQ(claimed, AppIdentity().settingsFolder) << c.writable << c.versionBlock;
  }
}

TEST(FolderKeyTest, OneSpellingPerFolder) {
  struct Case {
    const char* folder;
    const char* key;
  } const cases[] = {
      {"C:\\APPS\\LOCK BEACON\\", "C:\\APPS\\LOCK BEACON"},
      {"C:\\APPS\\LOCK BEACON", "C:\\APPS\\LOCK BEACON"},
      {"C:/APPS//LOCK BEACON//", "C:\\APPS\\LOCK BEACON"},
      {"\\\\?\\C:\\APPS\\LOCK BEACON\\", "C:\\APPS\\LOCK BEACON"},
      {"\\\\SERVER\\SHARE\\TOOLS\\", "\\\\SERVER\\SHARE\\TOOLS"},
      {"\\\\?\\UNC\\SERVER\\SHARE\\TOOLS", "\\\\SERVER\\SHARE\\TOOLS"},
      {"//SERVER/SHARE//TOOLS", "\\\\SERVER\\SHARE\\TOOLS"},
      {"C:\\", "C:"},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderKey(c.folder), c.key) << c.folder;
}

TEST(FolderNameTest, IsAShortValidNameInTheSessionNamespace) {
  Sha256Digest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i) digest[i] = static_cast<std::uint8_t>(i * 17);
  const std::string name = FolderMutexName(digest);
  EXPECT_EQ(name, "Local\\BRIMLEX_Lock_Beacon_Settings_00112233445566778899aabbccddeeff");
  // Only the namespace's backslash: a second one would make the name invalid.
  EXPECT_EQ(std::count(name.begin(), name.end(), '\\'), 1);
  EXPECT_EQ(FolderWindowKey(digest), 0x0011223344556677u);
  EXPECT_NE(FolderWindowKey(Sha256Digest{}), 0u);  // 0 would read as "no key"
}

TEST(RestartOfTest, OnlyADecimalProcessIdCounts) {
  EXPECT_EQ(ParseRestartOf("4242"), 4242u);
  for (const char* bad : {"", "0", "-5", "12x", " 12", "99999999999", "0x10"}) {
    EXPECT_EQ(ParseRestartOf(bad), std::nullopt) << bad;
  }
}

// Both restarts start a copy of the same settings: each hands over first, and only once the
// new copy is sure to start (Reset: after the file is gone; the language: after the script is
// written, so that a failed write leaves the running copy its name).
class RestartHandoverTest : public ::testing::Test {
 protected:
  ~RestartHandoverTest() override { SetRestartHandover({}); }
};

TEST_F(RestartHandoverTest, ResetToDefaultsHandsOverBeforeItStartsTheNewCopy) {
  test::AppRig rig;
  rig.app.Create();
  std::vector<std::string> order;
  SetRestartHandover([&] {
    order.push_back(rig.files.files.contains(test::AppRig::kSettingsPath) ? "HandOver, file there"
                                                                          : "HandOver");
  });
  rig.shell.onStart = [&] { order.push_back("Start"); };
  rig.messages.answer = kResultYes;

  rig.app.menu.Execute(MenuCommand::ResetToDefaults);

  EXPECT_THAT(order, ElementsAre("HandOver", "Start"));
}

TEST_F(RestartHandoverTest, ResetToDefaultsAnsweredNoKeepsTheName) {
  test::AppRig rig;
  rig.app.Create();
  int handovers = 0;
  SetRestartHandover([&] { ++handovers; });
  rig.messages.answer = kResultNo;
  rig.app.menu.Execute(MenuCommand::ResetToDefaults);
  EXPECT_EQ(handovers, 0);
}

}  // namespace
}  // namespace lb
