// The Settings dialog: the fields filled from the running values, the duration field's typing,
// stepping, clamping and reading, "Save" (every key written, applied, the indicator shown) and
// "Cancel".
#include "indicator/settings_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/app_error.h"
#include "unit/indicator_fixture.h"

namespace lb {
namespace {

using ::testing::HasSubstr;

class SettingsDialogTest : public test::IndicatorTest {
 protected:
  SettingsDialog& Open() {
    app.menu.Execute(MenuCommand::Settings);
    return *host.settingsDialogs.back();
  }
  [[nodiscard]] std::string Stored(const char* key) {
    return app.Store()->ReadString(key, "<absent>");
  }
  void ExpectAllFiveStored(const char* duration, const char* onTop, const char* fade,
                           const char* minimal, const char* snap) {
    EXPECT_EQ(Stored("DisplayDuration"), duration);
    EXPECT_EQ(Stored("Always on top"), onTop);
    EXPECT_EQ(Stored("FadeoutAnimation"), fade);
    EXPECT_EQ(Stored("Minimal Mode"), minimal);
    EXPECT_EQ(Stored("ScreenSnap"), snap);
  }
};

TEST_F(SettingsDialogTest, OpensWithTheRunningValuesAndTranslatedCaptions) {
  Start("DisplayDuration=2500\r\nAlways on top=ON\r\nFadeoutAnimation=OFF\r\nMinimal Mode=ON\r\n");
  const SettingsDialog& dialog = Open();

  EXPECT_EQ(dialog.durationFieldText, "2500");
  EXPECT_TRUE(dialog.alwaysOnTopBox);
  EXPECT_TRUE(dialog.screenSnapBox);
  EXPECT_FALSE(dialog.fadeOutBox);
  EXPECT_TRUE(dialog.minimalModeBox);
  EXPECT_EQ(dialog.caption, "Settings");
  EXPECT_EQ(dialog.durationLabelCaption, "Display Duration:");
  EXPECT_EQ(dialog.millisecondsLabelCaption, "milliseconds");
  EXPECT_EQ(dialog.alwaysOnTopBoxCaption, "Always on Top");
  EXPECT_EQ(dialog.cancelButtonCaption, "Cancel");
}

TEST_F(SettingsDialogTest, StoredZeroShowsOneAndSavesOne) {
  Start("DisplayDuration=0\r\n");
  SettingsDialog& dialog = Open();
  EXPECT_EQ(dialog.durationFieldText, "1");
  EXPECT_EQ(app.displayDuration, 0);  // the running value itself is not changed by opening

  dialog.OnSave();
  EXPECT_EQ(Stored("DisplayDuration"), "1");
  EXPECT_EQ(app.displayDuration, 1);
}

TEST_F(SettingsDialogTest, FieldTextIsReadAsAWholeNumberOrOne) {
  Start();
  const struct {
    const char* typed;
    const char* afterLeaving;
    const char* saved;
  } cases[] = {
      {"", "", "1"},
      {"-5", "1", "1"},
      {"0", "1", "1"},
      {"1.5", "1.5", "1"},
      {"1000000000", "999999999", "999999999"},
      {"+250", "+250", "250"},
      {"--3", "--3", "1"},
      {"42", "42", "42"},
  };
  for (const auto& c : cases) {
    SettingsDialog& dialog = Open();
    dialog.durationFieldText = c.typed;
    dialog.OnDurationFieldExit();
    EXPECT_EQ(dialog.durationFieldText, c.afterLeaving) << c.typed;
    dialog.OnSave();
    EXPECT_EQ(Stored("DisplayDuration"), c.saved) << c.typed;
    EXPECT_EQ(app.displayDuration, std::stoi(c.saved)) << c.typed;
  }
}

TEST_F(SettingsDialogTest, AnEmptiedFieldAppliesOneMillisecond) {
  Start("FadeoutAnimation=OFF\r\n");
  SettingsDialog& dialog = Open();
  dialog.durationFieldText.clear();
  dialog.OnSave();
  EXPECT_TRUE(view.visible);
  clock.Advance(1);
  EXPECT_FALSE(view.visible);
}

TEST_F(SettingsDialogTest, TypingAcceptsDigitsSignsTheDecimalSeparatorAndControlKeys) {
  for (const char32_t key : {U'0', U'9', U'+', U'-', U',', U'\b', char32_t{3}, char32_t{22}}) {
    EXPECT_TRUE(SettingsDialog::DurationFieldAccepts(key, U',')) << static_cast<int>(key);
  }
  for (const char32_t key : {U'\r', U'.', U'a', U' ', U'e', U'\u0663'}) {
    EXPECT_FALSE(SettingsDialog::DurationFieldAccepts(key, U',')) << static_cast<int>(key);
  }
  EXPECT_TRUE(SettingsDialog::DurationFieldAccepts(U'.', U'.'));
}

TEST_F(SettingsDialogTest, StepsByOneWithinTheBounds) {
  Start();
  SettingsDialog& dialog = Open();
  const struct {
    const char* text;
    int delta;
    const char* after;
  } cases[] = {
      {"10", 1, "11"},
      {"10", -1, "9"},
      {"1", -1, "1"},
      {"abc", 1, "2"},
      {"999999999", 1, "999999999"},
      {"-7", 1, "1"},
      {"2000000000", -1, "999999999"},
  };
  for (const auto& c : cases) {
    dialog.durationFieldText = c.text;
    dialog.StepDurationField(c.delta);
    EXPECT_EQ(dialog.durationFieldText, c.after) << c.text << " " << c.delta;
  }
}

TEST_F(SettingsDialogTest, SaveWithNothingChangedRewritesAllFiveKeysAndShowsTheLedsOnly) {
  Start();
  clock.Advance(20000);
  Tap(VkNumLock);  // the status line is up
  clock.Advance(20000);
  ASSERT_FALSE(view.visible);
  EXPECT_THAT(SettingsFile(), ::testing::Not(HasSubstr("DisplayDuration")));

  SettingsDialog& dialog = Open();
  keyboard.SetToggled(VkCapital, true);
  dialog.OnSave();

  ExpectAllFiveStored("10000", "OFF", "ON", "OFF", "ON");
  EXPECT_TRUE(dialog.closed);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.alpha, 255);
  EXPECT_EQ(view.ClientHeight(), view.ledBandHeight);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_TRUE(HideTimerRuns());
  EXPECT_EQ(clock.IntervalOf(kHideTimerId), 10000);
}

TEST_F(SettingsDialogTest, AlwaysOnTopOnKeepsTheWindowAndGreysTheSubmenusOffUndoesIt) {
  Start();
  SettingsDialog& on = Open();
  on.alwaysOnTopBox = true;
  on.durationFieldText = "3000";
  on.OnSave();

  EXPECT_EQ(Stored("Always on top"), "ON");
  EXPECT_TRUE(app.alwaysOnTop);
  EXPECT_FALSE(app.Menu().Find("ShowOnChangeMenu")->enabled);
  EXPECT_FALSE(app.Menu().Find("AlwaysShowMenu")->enabled);
  EXPECT_FALSE(HideTimerRuns());
  clock.Advance(60000);
  EXPECT_TRUE(view.visible);

  SettingsDialog& off = Open();
  EXPECT_TRUE(off.alwaysOnTopBox);
  off.alwaysOnTopBox = false;
  off.OnSave();

  EXPECT_EQ(Stored("Always on top"), "OFF");
  EXPECT_TRUE(app.Menu().Find("ShowOnChangeMenu")->enabled);
  EXPECT_TRUE(app.Menu().Find("AlwaysShowMenu")->enabled);
  clock.Advance(3000 + 50 * 25);
  EXPECT_FALSE(view.visible);
}

TEST_F(SettingsDialogTest, MinimalModeOnAndOffAndOffGivesAFixedFrame) {
  Start();
  ASSERT_EQ(view.frame, FrameStyle::Sizeable);

  // Saving with the box unticked applies the mode all the same: a fixed single frame.
  SettingsDialog& unchanged = Open();
  unchanged.OnSave();
  EXPECT_EQ(view.frame, FrameStyle::Single);
  EXPECT_EQ(Stored("Minimal Mode"), "OFF");

  SettingsDialog& on = Open();
  on.minimalModeBox = true;
  on.OnSave();
  EXPECT_EQ(view.frame, FrameStyle::None);
  EXPECT_TRUE(view.ledBandRaised);
  EXPECT_TRUE(app.minimalMode);

  SettingsDialog& off = Open();
  off.minimalModeBox = false;
  off.OnSave();
  EXPECT_EQ(view.frame, FrameStyle::Single);
  EXPECT_FALSE(view.ledBandRaised);
  EXPECT_FALSE(app.minimalMode);
}

TEST_F(SettingsDialogTest, SnapAndFadeFollowTheirBoxes) {
  Start();
  SettingsDialog& dialog = Open();
  dialog.screenSnapBox = false;
  dialog.fadeOutBox = false;
  dialog.OnSave();
  EXPECT_FALSE(app.screenSnap);
  EXPECT_FALSE(app.fadeOut);
  ExpectAllFiveStored("10000", "OFF", "OFF", "OFF", "OFF");
}

TEST_F(SettingsDialogTest, MonitorInUseBoxOpensFromTheFileAndIsSavedAndApplied) {
  struct Case {
    const char* stored;
    bool ticked;
  };
  // Off unless the file says exactly "ON".
  for (const Case c : {Case{"", false}, Case{"Show On Active Monitor=on\r\n", false},
                       Case{"Show On Active Monitor=ON\r\n", true}}) {
    test::AppRig rig;
    rig.GivenSettings(c.stored);
    rig.app.Create();
    EXPECT_EQ(rig.app.showOnActiveMonitor, c.ticked) << c.stored;
    EXPECT_EQ(rig.app.NewSettingsDialog()->showOnActiveMonitorBox, c.ticked) << c.stored;
  }

  Start();
  SettingsDialog& on = Open();
  EXPECT_EQ(on.showOnActiveMonitorBoxCaption, "Show on the monitor in use");
  on.showOnActiveMonitorBox = true;
  on.OnSave();
  EXPECT_TRUE(app.showOnActiveMonitor);
  EXPECT_EQ(Stored("Show On Active Monitor"), "ON");

  SettingsDialog& off = Open();
  EXPECT_TRUE(off.showOnActiveMonitorBox);
  off.showOnActiveMonitorBox = false;
  off.OnSave();
  EXPECT_FALSE(app.showOnActiveMonitor);
  EXPECT_EQ(Stored("Show On Active Monitor"), "OFF");
}

TEST_F(SettingsDialogTest, FullScreenBoxOpensTickedAndIsSavedAndApplied) {
  Start();
  SettingsDialog& on = Open();
  EXPECT_EQ(on.hideInFullScreenBoxCaption, "Hide while a full-screen program runs");
  EXPECT_TRUE(on.hideInFullScreenBox);  // on by default
  on.hideInFullScreenBox = false;
  on.OnSave();
  EXPECT_FALSE(app.hideInFullScreen);
  EXPECT_EQ(Stored("Hide In Full Screen"), "OFF");

  SettingsDialog& off = Open();
  EXPECT_FALSE(off.hideInFullScreenBox);
  off.hideInFullScreenBox = true;
  off.OnSave();
  EXPECT_TRUE(app.hideInFullScreen);
  EXPECT_EQ(Stored("Hide In Full Screen"), "ON");
}

TEST_F(SettingsDialogTest, CancelAfterEditsWritesAndAppliesNothing) {
  Start("DisplayDuration=4000\r\n");
  clock.Advance(20000);
  const std::string before = SettingsFile();
  const Rect bounds = view.bounds;

  SettingsDialog& dialog = Open();
  dialog.durationFieldText = "123";
  dialog.alwaysOnTopBox = true;
  dialog.minimalModeBox = true;
  dialog.OnDurationFieldExit();
  dialog.OnCancel();

  EXPECT_TRUE(dialog.closed);
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(app.displayDuration, 4000);
  EXPECT_FALSE(app.alwaysOnTop);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.bounds, bounds);
  EXPECT_EQ(Open().durationFieldText, "4000");
}

TEST_F(SettingsDialogTest, TwoDialogsEachSaveTheirOwnControls) {
  Start();
  SettingsDialog& first = Open();
  SettingsDialog& second = Open();
  first.durationFieldText = "111";
  second.durationFieldText = "222";
  second.OnSave();
  first.OnSave();
  EXPECT_EQ(Stored("DisplayDuration"), "111");
}

TEST_F(SettingsDialogTest, StartWithWindowsShowsAndSwitchesThisExesStartupEntry) {
  Start();
  const std::string command = "\"" + platform.exePath + "\"";
  EXPECT_FALSE(Open().startWithWindowsBox);
  EXPECT_EQ(Open().startWithWindowsBoxCaption, "Start with Windows");

  SettingsDialog& on = Open();
  on.startWithWindowsBox = true;
  on.OnSave();
  EXPECT_EQ(startupEntry.command, command);
  EXPECT_THAT(SettingsFile(), ::testing::Not(HasSubstr("Windows")));  // never a setting

  startupEntry.switchedOff = true;  // the user turned it off in the Task Manager
  SettingsDialog& switchedOff = Open();
  EXPECT_FALSE(switchedOff.startWithWindowsBox);
  switchedOff.startWithWindowsBox = true;
  switchedOff.OnSave();
  EXPECT_FALSE(startupEntry.switchedOff);

  SettingsDialog& off = Open();
  EXPECT_TRUE(off.startWithWindowsBox);
  off.startWithWindowsBox = false;
  off.OnSave();
  EXPECT_FALSE(startupEntry.command.has_value());
}

TEST_F(SettingsDialogTest, AnEntryThatCannotBeWrittenStopsSaveBeforeAnythingElse) {
  Start("DisplayDuration=4000\r\n");
  clock.Advance(20000);
  const std::string before = SettingsFile();
  startupEntry.refuseWrites = true;

  SettingsDialog& dialog = Open();
  dialog.startWithWindowsBox = true;
  dialog.durationFieldText = "123";
  dialog.alwaysOnTopBox = true;
  EXPECT_THROW(dialog.OnSave(), AppError);

  EXPECT_FALSE(dialog.closed);  // the user may untick the box and save again
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(app.displayDuration, 4000);
  EXPECT_FALSE(app.alwaysOnTop);
  EXPECT_FALSE(view.visible);

  dialog.startWithWindowsBox = false;  // nothing to write: the entry is left alone
  dialog.OnSave();
  EXPECT_EQ(app.displayDuration, 123);
  EXPECT_TRUE(dialog.closed);
}

}  // namespace
}  // namespace lb
