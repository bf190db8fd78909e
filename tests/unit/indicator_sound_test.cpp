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
  app.TestParts().sounds.PlayToggleSound(true);
  app.TestParts().sounds.PlayToggleSound(false);

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
        FileCase{"ChosenOnOnly", kOnlyOn.c_str(), true, true, kMyOn, test::AppRig::kBuiltInOff},
        FileCase{"ChosenGone", kChosen.c_str(), false, true, test::AppRig::kBuiltInOn,
                 test::AppRig::kBuiltInOff},
        FileCase{"NoneChosen", "", false, true, test::AppRig::kBuiltInOn,
                 test::AppRig::kBuiltInOff},
        FileCase{"NothingAnywhere", kChosen.c_str(), false, false, nullptr, nullptr},
        FileCase{"ChosenWithoutBuiltIn", kChosen.c_str(), true, false, kMyOn, kMyOff}),
    [](const ::testing::TestParamInfo<FileCase>& tested) {
      return std::string(tested.param.name);
    });

TEST_F(SoundTest, AsyncModePlaysWithoutWaiting) {
  Create("Play Mode=ASYNC\r\n");
  app.TestParts().sounds.PlayToggleSound(true);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, true}));
}

TEST_F(SoundTest, BuiltInSoundsAreFoundBesideTheExeWhenTheSettingsLiveElsewhere) {
  platform.exeFolderWritable = false;
  Create();
  app.TestParts().sounds.PlayToggleSound(false);
  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOff, false}));
}

TEST_F(SoundTest, ExeInADriveRootFindsItsSounds) {
  platform.exePath = "D:\\LockBeacon.exe";
  files.files["D:\\keypress-on.wav"] = "RIFF";
  Create();
  app.TestParts().sounds.PlayToggleSound(true);
  EXPECT_THAT(sound.played, ElementsAre(Played{"D:\\keypress-on.wav", false}));
}

TEST_F(SoundTest, APathWrittenByBrowseIsUsedByTheVeryNextSound) {
  Create();
  files.files[kMyOn] = "RIFF";
  messages.fileAnswer = kMyOn;
  app.TestParts().sounds.OnBrowseOnSound();
  app.TestParts().sounds.PlayToggleSound(true);
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
  (app.TestParts().sounds.*c.click)();
  EXPECT_FALSE(app.ticks.*c.tick);
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string(c.key) + "=OFF\r\n"));
  (app.TestParts().sounds.*c.click)();
  EXPECT_TRUE(app.ticks.*c.tick);
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string(c.key) + "=ON\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Keys, SoundSwitchTest,
                         ::testing::Values(SwitchCase{"Num", &SoundEffects::OnNumLockSound,
                                                      &MenuTicks::numLockSound, "Num Lock Sound"},
                                           SwitchCase{"Caps", &SoundEffects::OnCapsLockSound,
                                                      &MenuTicks::capsLockSound, "Caps Lock Sound"},
                                           SwitchCase{"Scroll", &SoundEffects::OnScrollLockSound,
                                                      &MenuTicks::scrollLockSound,
                                                      "Scroll Lock Sound"}),
                         [](const ::testing::TestParamInfo<SwitchCase>& tested) {
                           return std::string(tested.param.name);
                         });

TEST_F(SoundTest, ModeItemsTickOneAndWriteEvenWhenUnchanged) {
  Create();
  app.TestParts().sounds.OnPlayAsync();
  EXPECT_TRUE(app.ticks.asyncMode);
  EXPECT_FALSE(app.ticks.syncMode);
  EXPECT_THAT(SettingsFile(), HasSubstr("Play Mode=ASYNC\r\n"));

  files.files.erase(kSettingsPath);
  app.TestParts().sounds.OnPlayAsync();
  EXPECT_TRUE(app.ticks.asyncMode);
  EXPECT_FALSE(app.ticks.syncMode);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nPlay Mode=ASYNC\r\n");

  app.TestParts().sounds.OnPlaySync();
  EXPECT_TRUE(app.ticks.syncMode);
  EXPECT_FALSE(app.ticks.asyncMode);
  EXPECT_THAT(SettingsFile(), HasSubstr("Play Mode=SYNC\r\n"));
}

TEST_F(SoundTest, BrowseOffersAWavFilterAndPresetsAnExistingStoredFile) {
  Create(std::string("SoundEffectOFF=") + kMyOff + "\r\n");
  files.files[kMyOff] = "RIFF";
  messages.fileAnswer = "E:\\new.wav";
  app.TestParts().sounds.OnBrowseOffSound();

  EXPECT_THAT(messages.fileDialogs,
              ElementsAre(OpenFileDialog{"Sound Effect (*.wav)", "*.wav", "wav", kMyOff}));
  EXPECT_THAT(SettingsFile(), HasSubstr("SoundEffectOFF=E:\\new.wav\r\n"));
}

TEST_F(SoundTest, BrowseWithAVanishedFileOpensWithoutPresetAndCancelWritesNothing) {
  Create(std::string("SoundEffectOFF=") + kMyOff + "\r\n");
  const std::string before = SettingsFile();
  app.TestParts().sounds.OnBrowseOffSound();

  ASSERT_EQ(messages.fileDialogs.size(), 1u);
  EXPECT_EQ(messages.fileDialogs[0].presetFile, "");
  EXPECT_EQ(SettingsFile(), before);
}

TEST_F(SoundTest, BrowseTranslatesTheFilterDescription) {
  const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
  language.exeFolder = "C:\\Apps\\Lock Beacon\\";
  language.folders = {languages};
  language.listings[languages] = {{"German.lang.txt", false}};
  files.files[languages + "\\German.lang.txt"] = "{Sound Effect}Soundeffekt\r\n";
  Create("LanguageFile=German.lang.txt\r\n");
  messages.fileAnswer = kMyOn;
  app.TestParts().sounds.OnBrowseOnSound();

  ASSERT_EQ(messages.fileDialogs.size(), 1u);
  EXPECT_EQ(messages.fileDialogs[0].filterDescription, "Soundeffekt (*.wav)");
  EXPECT_THAT(SettingsFile(), HasSubstr(std::string("SoundEffectON=") + kMyOn));
  EXPECT_THAT(SettingsFile(), Not(HasSubstr("SoundEffectOFF")));
}

// ---- sound paths that are not on this machine ---------------------------------------------

// Paths a planted settings.ini could hold. Each file is there in the fake, so only the rule
// keeps it from playing: the built-in sound plays as for a missing file, and the path is never
// asked about, not even whether it exists (that alone would connect to the machine it names).
class ForeignSoundPathTest : public test::IndicatorTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(ForeignSoundPathTest, IsNeverOpenedAndTheBuiltInSoundPlays) {
  const std::string path = GetParam();
  files.remoteDrives = {'Z'};
  files.reparseTags["C:\\Users\\me\\Linked"] = test::MemoryFileSystem::kSymbolicLink;
  files.files[path] = "RIFF planted";
  Create("SoundEffectON=" + path + "\r\nSoundEffectOFF=" + path + "\r\n");
  files.recordTouched = true;

  app.TestParts().sounds.PlayToggleSound(true);
  app.TestParts().sounds.PlayToggleSound(false);

  EXPECT_THAT(sound.played, ElementsAre(Played{kBuiltInOn, false}, Played{kBuiltInOff, false}));
  EXPECT_THAT(files.touched, Not(::testing::Contains(path)));
  for (const std::string& touched : files.touched) {
    EXPECT_FALSE(touched.starts_with("\\\\") || touched.starts_with("//")) << touched;
    EXPECT_FALSE(touched.starts_with("C:\\Users\\me\\Linked\\")) << touched;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, ForeignSoundPathTest,
                         ::testing::Values("\\\\host\\share\\on.wav",
                                           "\\\\?\\UNC\\host\\share\\on.wav", "//host/share/on.wav",
                                           "Z:\\Sounds\\on.wav", "C:\\Users\\me\\Linked\\on.wav",
                                           "\\\\.\\COM1", "C:\\Sounds\\nul.wav",
                                           "http://host/on.wav", "Sounds\\on.wav"));

TEST_F(SoundTest, BrowseRefusesAFileNotOnThisMachineWithAMessageAndKeepsTheStoredOne) {
  files.remoteDrives = {'Z'};
  Create(std::string("SoundEffectON=") + kMyOn + "\r\n");
  files.files[kMyOn] = "RIFF";
  for (const char* picked : {"\\\\host\\share\\on.wav", "Z:\\Sounds\\on.wav"}) {
    SCOPED_TRACE(picked);
    messages.shown.clear();
    messages.fileAnswer = picked;
    app.TestParts().sounds.OnBrowseOnSound();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].message, kNotALocalSoundMessage);
    EXPECT_EQ(messages.shown[0].type, MessageType::Warning);
    EXPECT_EQ(messages.shown[0].caption, "Lock Beacon");
    EXPECT_THAT(SettingsFile(), HasSubstr(std::string("SoundEffectON=") + kMyOn + "\r\n"));
  }
  // The dialog still offers the stored local file, and a local pick is stored without a word.
  messages.shown.clear();
  messages.fileAnswer = "E:\\new.wav";
  app.TestParts().sounds.OnBrowseOnSound();
  EXPECT_EQ(messages.fileDialogs.back().presetFile, kMyOn);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_THAT(SettingsFile(), HasSubstr("SoundEffectON=E:\\new.wav\r\n"));
}

TEST_F(SoundTest, BrowseDoesNotPresetNorTouchAStoredPathNotOnThisMachine) {
  const std::string network = "\\\\host\\share\\off.wav";
  files.files[network] = "RIFF";
  Create("SoundEffectOFF=" + network + "\r\n");
  files.recordTouched = true;
  app.TestParts().sounds.OnBrowseOffSound();  // cancelled

  ASSERT_EQ(messages.fileDialogs.size(), 1u);
  EXPECT_EQ(messages.fileDialogs[0].presetFile, "");
  EXPECT_THAT(files.touched, Not(::testing::Contains(network)));
  EXPECT_THAT(SettingsFile(), HasSubstr("SoundEffectOFF=" + network));
}

}  // namespace
}  // namespace lb
