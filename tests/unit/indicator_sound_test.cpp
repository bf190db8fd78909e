// Sound effects: which file plays in which mode, the per-key switches, the play mode and the
// "Browse..." commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "indicator/sound_effects.h"
#include "indicator_fixture.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Played = test::RecordingSoundPlayer::Played;

constexpr const char* kMyOn = "D:\\Sounds\\ding.wav";
constexpr const char* kMyOff = "D:\\Sounds\\dong.wav";

using SoundTest = test::IndicatorTest;

struct FileCase {
  const char* name;
  const char* settings;
  bool myFilesExist;
  bool builtInExists;
  const char* playedOn;  // nullptr: silent
  const char* playedOff;
};

class SoundFileTest : public test::IndicatorTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SoundFileTest, PlaysTheChosenFileOrTheBuiltInOneOrNothing) {
  const FileCase& c = GetParam();
  Create(std::string(c.settings));
  if (c.myFilesExist) {
    files.files[kMyOn] = "RIFF";
    files.files[kMyOff] = "RIFF";
  }
  if (!c.builtInExists) {
    files.files.erase(kBuiltInOn);
    files.files.erase(kBuiltInOff);
  }
  form.sounds.SesCal(true);
  form.sounds.SesCal(false);

  std::vector<Played> expected;
  if (c.playedOn) expected.push_back({c.playedOn, false});
  if (c.playedOff) expected.push_back({c.playedOff, false});
  EXPECT_EQ(sound.played, expected);
}

const std::string kChosen =
    std::string("SoundEffectON=") + kMyOn + "\r\nSoundEffectOFF=" + kMyOff + "\r\n";
const std::string kOnlyOn = std::string("SoundEffectON=") + kMyOn + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SoundFileTest,
    ::testing::Values(
        FileCase{"Chosen", kChosen.c_str(), true, true, kMyOn, kMyOff},
        FileCase{"ChosenOnOnly", kOnlyOn.c_str(), true, true, kMyOn, test::AppFormRig::kBuiltInOff},
        FileCase{"ChosenGone", kChosen.c_str(), false, true, test::AppFormRig::kBuiltInOn,
                 test::AppFormRig::kBuiltInOff},
        FileCase{"NoneChosen", "", false, true, test::AppFormRig::kBuiltInOn,
                 test::AppFormRig::kBuiltInOff},
        FileCase{"NothingAnywhere", kChosen.c_str(), false, false, nullptr, nullptr},
        FileCase{"ChosenWithoutBuiltIn", kChosen.c_str(), true, false, kMyOn, kMyOff}),
    [](const ::testing::TestParamInfo<FileCase>& tested) {
      return std::string(tested.param.name);
    });

TEST_F(SoundTest, AsyncModePlaysWithoutWaiting) {
  Create("Play Mode=ASYNC\r\n");
  form.sounds.SesCal(true);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, true}));
}

TEST_F(SoundTest, BuiltInSoundsAreFoundBesideTheExeWhenTheSettingsLiveElsewhere) {
  platform.exeFolderWritable = false;
  Create();
  form.sounds.SesCal(false);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOff, false}));
}

TEST_F(SoundTest, ExeInADriveRootFindsItsSounds) {
  platform.exePath = "D:\\LockBeacon.exe";
  files.files["D:\\keypress-on.wav"] = "RIFF";
  Create();
  form.sounds.SesCal(true);
  EXPECT_THAT(sound.played, ElementsAre(Played{"D:\\keypress-on.wav", false}));
}

TEST_F(SoundTest, APathWrittenByBrowseIsUsedByTheVeryNextSound) {
  Create();
  files.files[kMyOn] = "RIFF";
  view.dialogAnswer = kMyOn;
  form.sounds.urnOn1Click();
  form.sounds.SesCal(true);
  EXPECT_THAT(sound.played, ElementsAre(Played{kMyOn, false}));
}

struct SwitchCase {
  const char* name;
  void (SoundEffects::*click)();
  bool MenuTicks::*tick;
  const char* key;
};

class SoundSwitchTest : public test::IndicatorTest,
                        public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SoundSwitchTest, FlipsTheTickAndStoresIt) {
  const SwitchCase& c = GetParam();
  Create();
  (form.sounds.*c.click)();
  EXPECT_FALSE(form.Ticks.*c.tick);
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string(c.key) + "=OFF\r\n"));
  (form.sounds.*c.click)();
  EXPECT_TRUE(form.Ticks.*c.tick);
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string(c.key) + "=ON\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Keys, SoundSwitchTest,
                         ::testing::Values(SwitchCase{"Num", &SoundEffects::NumLock3Click,
                                                      &MenuTicks::NumLock3, "Num Lock Sound"},
                                           SwitchCase{"Caps", &SoundEffects::CapsLock3Click,
                                                      &MenuTicks::CapsLock3, "Caps Lock Sound"},
                                           SwitchCase{"Scroll", &SoundEffects::ScrollLock3Click,
                                                      &MenuTicks::ScrollLock3,
                                                      "Scroll Lock Sound"}),
                         [](const ::testing::TestParamInfo<SwitchCase>& tested) {
                           return std::string(tested.param.name);
                         });

TEST_F(SoundTest, ModeItemsTickOneAndWriteEvenWhenUnchanged) {
  Create();
  form.sounds.ASYNC1Click();
  EXPECT_TRUE(form.Ticks.ASYNC1);
  EXPECT_FALSE(form.Ticks.SYNC1);
  EXPECT_THAT(SettingsFile(), HasSubstr("Play Mode=ASYNC\r\n"));

  files.files.erase(kSettingsPath);
  form.sounds.ASYNC1Click();
  EXPECT_TRUE(form.Ticks.ASYNC1);
  EXPECT_FALSE(form.Ticks.SYNC1);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nPlay Mode=ASYNC\r\n");

  form.sounds.SYNC1Click();
  EXPECT_TRUE(form.Ticks.SYNC1);
  EXPECT_FALSE(form.Ticks.ASYNC1);
  EXPECT_THAT(SettingsFile(), HasSubstr("Play Mode=SYNC\r\n"));
}

TEST_F(SoundTest, BrowseOffersAWavFilterAndPresetsAnExistingStoredFile) {
  Create(std::string("SoundEffectOFF=") + kMyOff + "\r\n");
  files.files[kMyOff] = "RIFF";
  view.dialogAnswer = "E:\\new.wav";
  form.sounds.urnOff1Click();

  EXPECT_THAT(view.dialogs, ElementsAre(test::RecordingIndicatorView::DialogCall{
                                "Sound Effect (*.wav)", "*.wav", "wav", kMyOff}));
  EXPECT_THAT(SettingsFile(), HasSubstr("SoundEffectOFF=E:\\new.wav\r\n"));
}

TEST_F(SoundTest, BrowseWithAVanishedFileOpensWithoutPresetAndCancelWritesNothing) {
  Create(std::string("SoundEffectOFF=") + kMyOff + "\r\n");
  const std::string before = SettingsFile();
  form.sounds.urnOff1Click();

  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0].presetFile, "");
  EXPECT_EQ(SettingsFile(), before);
}

TEST_F(SoundTest, BrowseTranslatesTheFilterDescription) {
  const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
  language.exeFolder = "C:\\Apps\\Lock Beacon\\";
  language.folders = {languages};
  language.listings[languages] = {{"German.lang.txt", false}};
  files.files[languages + "\\German.lang.txt"] = "{Sound Effect}Soundeffekt\r\n";
  Create("LanguageFile=German.lang.txt\r\n");
  view.dialogAnswer = kMyOn;
  form.sounds.urnOn1Click();

  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(view.dialogs[0].filterDescription, "Soundeffekt (*.wav)");
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string("SoundEffectON=") + kMyOn));
  EXPECT_THAT(SettingsFile(), Not(HasSubstr("SoundEffectOFF")));
}

}  // namespace
}  // namespace lb
