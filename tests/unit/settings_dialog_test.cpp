// The Settings dialog: the fields filled from the running values, the duration field's typing,
// stepping, clamping and reading, "Save" (every key written, applied, the indicator shown) and
// "Cancel".
#include "indicator/settings_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "unit/indicator_fixture.h"

namespace lb {
namespace {

using ::testing::HasSubstr;

class SettingsDialogTest : public test::IndicatorTest {
 protected:
  TFormSettings& Open() {
    form.menu.Execute(MenuCommand::Settings1);
    return *host.settingsDialogs.back();
  }
  [[nodiscard]] std::string Stored(const char* key) {
    return form.Store()->ReadString(key, "<absent>");
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
  const TFormSettings& dialog = Open();

  EXPECT_EQ(dialog.SpinEdit1Text, "2500");
  EXPECT_TRUE(dialog.CheckBox1);
  EXPECT_TRUE(dialog.CheckBox2);
  EXPECT_FALSE(dialog.CheckBox3);
  EXPECT_TRUE(dialog.CheckBox4);
  EXPECT_EQ(dialog.Caption, "Settings");
  EXPECT_EQ(dialog.Label5Caption, "Display Duration:");
  EXPECT_EQ(dialog.Label6Caption, "milliseconds");
  EXPECT_EQ(dialog.CheckBox1Caption, "Always on Top");
  EXPECT_EQ(dialog.BitBtn2Caption, "Cancel");
}

TEST_F(SettingsDialogTest, StoredZeroShowsOneAndSavesOne) {
  Start("DisplayDuration=0\r\n");
  TFormSettings& dialog = Open();
  EXPECT_EQ(dialog.SpinEdit1Text, "1");
  EXPECT_EQ(form.DisplayDuration, 0);  // the running value itself is not changed by opening

  dialog.BitBtn1Click();
  EXPECT_EQ(Stored("DisplayDuration"), "1");
  EXPECT_EQ(form.DisplayDuration, 1);
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
    TFormSettings& dialog = Open();
    dialog.SpinEdit1Text = c.typed;
    dialog.SpinEdit1Exit();
    EXPECT_EQ(dialog.SpinEdit1Text, c.afterLeaving) << c.typed;
    dialog.BitBtn1Click();
    EXPECT_EQ(Stored("DisplayDuration"), c.saved) << c.typed;
    EXPECT_EQ(form.DisplayDuration, std::stoi(c.saved)) << c.typed;
  }
}

TEST_F(SettingsDialogTest, AnEmptiedFieldAppliesOneMillisecond) {
  Start("FadeoutAnimation=OFF\r\n");
  TFormSettings& dialog = Open();
  dialog.SpinEdit1Text.clear();
  dialog.BitBtn1Click();
  EXPECT_TRUE(view.visible);
  clock.Advance(1);
  EXPECT_FALSE(view.visible);
}

TEST_F(SettingsDialogTest, TypingAcceptsDigitsSignsTheDecimalSeparatorAndControlKeys) {
  for (const char32_t key : {U'0', U'9', U'+', U'-', U',', U'\b', char32_t{3}, char32_t{22}}) {
    EXPECT_TRUE(TFormSettings::SpinEdit1Accepts(key, U',')) << static_cast<int>(key);
  }
  for (const char32_t key : {U'\r', U'.', U'a', U' ', U'e', U'\u0663'}) {
    EXPECT_FALSE(TFormSettings::SpinEdit1Accepts(key, U',')) << static_cast<int>(key);
  }
  EXPECT_TRUE(TFormSettings::SpinEdit1Accepts(U'.', U'.'));
}

TEST_F(SettingsDialogTest, StepsByOneWithinTheBounds) {
  Start();
  TFormSettings& dialog = Open();
  const struct {
    const char* text;
    int delta;
    const char* after;
  } cases[] = {
      {"10", 1, "11"},     {"10", -1, "9"},        {"1", -1, "1"},
      {"abc", 1, "2"},     {"999999999", 1, "999999999"},
      {"-7", 1, "1"},      {"2000000000", -1, "999999999"},
  };
  for (const auto& c : cases) {
    dialog.SpinEdit1Text = c.text;
    dialog.SpinEdit1Step(c.delta);
    EXPECT_EQ(dialog.SpinEdit1Text, c.after) << c.text << " " << c.delta;
  }
}

TEST_F(SettingsDialogTest, SaveWithNothingChangedRewritesAllFiveKeysAndShowsTheLedsOnly) {
  Start();
  clock.Advance(20000);
  Tap(VkNumLock);  // the status line is up
  clock.Advance(20000);
  ASSERT_FALSE(view.visible);
  EXPECT_THAT(SettingsFile(), ::testing::Not(HasSubstr("DisplayDuration")));

  TFormSettings& dialog = Open();
  keyboard.SetToggled(VkCapital, true);
  dialog.BitBtn1Click();

  ExpectAllFiveStored("10000", "OFF", "ON", "OFF", "ON");
  EXPECT_TRUE(dialog.Closed);
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.alpha, 255);
  EXPECT_EQ(view.ClientHeight(), view.panel1Height);
  EXPECT_TRUE(view.Lit(LedColumn::CapsLock));
  EXPECT_TRUE(HideTimerRuns());
  EXPECT_EQ(clock.IntervalOf(kTimerFadeId), 10000);
}

TEST_F(SettingsDialogTest, AlwaysOnTopOnKeepsTheWindowAndGreysTheSubmenusOffUndoesIt) {
  Start();
  TFormSettings& on = Open();
  on.CheckBox1 = true;
  on.SpinEdit1Text = "3000";
  on.BitBtn1Click();

  EXPECT_EQ(Stored("Always on top"), "ON");
  EXPECT_TRUE(form.AlwaysOnTop);
  EXPECT_FALSE(form.PopupMenu1().Find("ShowLights1")->enabled);
  EXPECT_FALSE(form.PopupMenu1().Find("AlwaysshowwhentoggledON1")->enabled);
  EXPECT_FALSE(HideTimerRuns());
  clock.Advance(60000);
  EXPECT_TRUE(view.visible);

  TFormSettings& off = Open();
  EXPECT_TRUE(off.CheckBox1);
  off.CheckBox1 = false;
  off.BitBtn1Click();

  EXPECT_EQ(Stored("Always on top"), "OFF");
  EXPECT_TRUE(form.PopupMenu1().Find("ShowLights1")->enabled);
  EXPECT_TRUE(form.PopupMenu1().Find("AlwaysshowwhentoggledON1")->enabled);
  clock.Advance(3000 + 50 * 25);
  EXPECT_FALSE(view.visible);
}

TEST_F(SettingsDialogTest, MinimalModeOnAndOffAndOffGivesAFixedFrame) {
  Start();
  ASSERT_EQ(view.frame, FrameStyle::Sizeable);

  // Saving with the box unticked applies the mode all the same: a fixed single frame.
  TFormSettings& unchanged = Open();
  unchanged.BitBtn1Click();
  EXPECT_EQ(view.frame, FrameStyle::Single);
  EXPECT_EQ(Stored("Minimal Mode"), "OFF");

  TFormSettings& on = Open();
  on.CheckBox4 = true;
  on.BitBtn1Click();
  EXPECT_EQ(view.frame, FrameStyle::None);
  EXPECT_TRUE(view.panel1Raised);
  EXPECT_TRUE(form.MinimalMode);

  TFormSettings& off = Open();
  off.CheckBox4 = false;
  off.BitBtn1Click();
  EXPECT_EQ(view.frame, FrameStyle::Single);
  EXPECT_FALSE(view.panel1Raised);
  EXPECT_FALSE(form.MinimalMode);
}

TEST_F(SettingsDialogTest, SnapAndFadeFollowTheirBoxes) {
  Start();
  TFormSettings& dialog = Open();
  dialog.CheckBox2 = false;
  dialog.CheckBox3 = false;
  dialog.BitBtn1Click();
  EXPECT_FALSE(form.ScreenSnap);
  EXPECT_FALSE(form.FadeOut);
  ExpectAllFiveStored("10000", "OFF", "OFF", "OFF", "OFF");
}

TEST_F(SettingsDialogTest, CancelAfterEditsWritesAndAppliesNothing) {
  Start("DisplayDuration=4000\r\n");
  clock.Advance(20000);
  const std::string before = SettingsFile();
  const Rect bounds = view.bounds;

  TFormSettings& dialog = Open();
  dialog.SpinEdit1Text = "123";
  dialog.CheckBox1 = true;
  dialog.CheckBox4 = true;
  dialog.SpinEdit1Exit();
  dialog.BitBtn2Click();

  EXPECT_TRUE(dialog.Closed);
  EXPECT_EQ(SettingsFile(), before);
  EXPECT_EQ(form.DisplayDuration, 4000);
  EXPECT_FALSE(form.AlwaysOnTop);
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.bounds, bounds);
  EXPECT_EQ(Open().SpinEdit1Text, "4000");
}

TEST_F(SettingsDialogTest, TwoDialogsEachSaveTheirOwnControls) {
  Start();
  TFormSettings& first = Open();
  TFormSettings& second = Open();
  first.SpinEdit1Text = "111";
  second.SpinEdit1Text = "222";
  second.BitBtn1Click();
  first.BitBtn1Click();
  EXPECT_EQ(Stored("DisplayDuration"), "111");
}

}  // namespace
}  // namespace lb
