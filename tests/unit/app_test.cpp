// The main window's creation sequence: identity, settings folder, every setting read from
// settings.ini with its default, the window's first position and size, and the geometry saves.
#include "app/app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/identity.h"
#include "fakes/app_rig.h"
#include "platform/app_error.h"

namespace lb {
namespace {

using ::testing::ElementsAre;

constexpr const char* kSettingsPath = test::AppRig::kSettingsPath;

class AppTest : public ::testing::Test, public test::AppRig {};

TEST_F(AppTest, FirstStartUsesEveryDefaultAndSavesOnlyTheGeometry) {
  app.Create();

  EXPECT_EQ(app.displayDuration, 10000);
  EXPECT_FALSE(app.alwaysOnTop);
  EXPECT_FALSE(app.minimalMode);
  EXPECT_TRUE(app.fadeOut);
  EXPECT_TRUE(app.screenSnap);
  EXPECT_TRUE(app.savePosition);
  EXPECT_TRUE(app.ticks.showNumLock && app.ticks.showCapsLock && app.ticks.showScrollLock);
  EXPECT_FALSE(app.ticks.alwaysShowNumLock || app.ticks.alwaysShowCapsLock ||
               app.ticks.alwaysShowScrollLock);
  EXPECT_TRUE(app.ticks.numLockSound && app.ticks.capsLockSound && app.ticks.scrollLockSound);
  EXPECT_TRUE(app.ticks.syncMode);
  EXPECT_FALSE(app.ticks.asyncMode);
  EXPECT_EQ(app.languageFile, "");

  // Bottom-right corner of the primary work area, measured from the screen origin.
  EXPECT_EQ(view.bounds, Rect::FromPosSize(1280 - 200, 984 - 164, 200, 164));
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=1080\r\nTop=820\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppTest, IdentityComesFromTheVersionBlock) {
  platform.versionBlock->companyName = "ACME";
  platform.versionBlock->productName = "Beacon";
  platform.fileVersionMS = (5u << 16) | 1u;
  app.Create();

  EXPECT_EQ(AppIdentity().companyName, "ACME");
  EXPECT_EQ(AppIdentity().productName, "Beacon");
  EXPECT_EQ(AppIdentity().appVersion, "5.1");
  EXPECT_EQ(AppIdentity().appName, "ACME - Beacon");
  EXPECT_EQ(AppIdentity().settingsFolder, "C:\\Apps\\Lock Beacon\\");
}

TEST_F(AppTest, UnreadableVersionBlockStillFindsTheUsualSettingsFolder) {
  platform.versionBlock.reset();
  platform.fileVersionMS.reset();
  platform.exeFolderWritable = false;
  app.Create();

  EXPECT_EQ(AppIdentity().appName, "BRIMLEX - Lock Beacon");
  EXPECT_EQ(AppIdentity().appVersion, "65535.65535");
  EXPECT_EQ(AppIdentity().settingsFolder,
            "C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon\\");
}

TEST_F(AppTest, ReadOnlyExeFolderSendsTheSettingsToThePerUserFolder) {
  platform.exeFolderWritable = false;
  app.Create();

  EXPECT_THAT(platform.probedFolders, ElementsAre("C:\\Apps\\Lock Beacon"));
  EXPECT_THAT(platform.createdFolders,
              ElementsAre("C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX",
                          "C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon"));
  EXPECT_TRUE(
      files.files.contains("C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon\\settings.ini"));
  EXPECT_FALSE(files.files.contains(kSettingsPath));
}

TEST_F(AppTest, ExeInADriveRootProbesTheRootItself) {
  platform.exePath = "D:\\LockBeacon.exe";
  app.Create();

  EXPECT_THAT(platform.probedFolders, ElementsAre("D:\\"));
  EXPECT_EQ(AppIdentity().settingsFolder, "D:\\");
}

TEST_F(AppTest, UnknownAppDataFolderGivesAPathFromTheRoot) {
  platform.exeFolderWritable = false;
  platform.appData.clear();
  app.Create();

  EXPECT_EQ(AppIdentity().settingsFolder, "\\BRIMLEX\\Lock Beacon\\");
}

// Switch words are compared exactly: only "OFF" turns off a switch that is on by default, and
// only "ON" turns on one that is off by default.
struct SwitchCase {
  const char* line;
  bool MenuTicks::*tick;
  bool expected;
};

class AppSwitchTest : public AppTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(AppSwitchTest, ReadsTheSwitch) {
  GivenSettings(std::string(GetParam().line) + "\r\n");
  app.Create();
  EXPECT_EQ(app.ticks.*GetParam().tick, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Words, AppSwitchTest,
    ::testing::Values(SwitchCase{"Num Lock=off", &MenuTicks::showNumLock, true},
                      SwitchCase{"Num Lock=OFF", &MenuTicks::showNumLock, false},
                      SwitchCase{"Caps Lock=Off", &MenuTicks::showCapsLock, true},
                      SwitchCase{"Caps Lock=OFF", &MenuTicks::showCapsLock, false},
                      SwitchCase{"Scroll Lock=\"OFF \"", &MenuTicks::showScrollLock, true},
                      SwitchCase{"scroll lock= OFF ", &MenuTicks::showScrollLock, false},
                      SwitchCase{"Num Lock Toggled=on", &MenuTicks::alwaysShowNumLock, false},
                      SwitchCase{"Num Lock Toggled=ON", &MenuTicks::alwaysShowNumLock, true},
                      SwitchCase{"Caps Lock Toggled=ON", &MenuTicks::alwaysShowCapsLock, true},
                      SwitchCase{"Scroll Lock Toggled=yes", &MenuTicks::alwaysShowScrollLock,
                                 false},
                      SwitchCase{"Num Lock Sound=OFF", &MenuTicks::numLockSound, false},
                      SwitchCase{"Caps Lock Sound=off", &MenuTicks::capsLockSound, true},
                      SwitchCase{"Scroll Lock Sound=OFF", &MenuTicks::scrollLockSound, false},
                      SwitchCase{"Play Mode=async", &MenuTicks::asyncMode, false},
                      SwitchCase{"Play Mode=ASYNC", &MenuTicks::asyncMode, true},
                      SwitchCase{"Play Mode=ASYNC", &MenuTicks::syncMode, false},
                      SwitchCase{"Play Mode=SYNC", &MenuTicks::syncMode, true}));

struct FlagCase {
  const char* line;
  bool RunningSettings::*flag;
  bool expected;
};

class AppFlagTest : public AppTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(AppFlagTest, ReadsTheFlag) {
  GivenSettings(std::string(GetParam().line) + "\r\n");
  app.Create();
  EXPECT_EQ(app.*GetParam().flag, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Words, AppFlagTest,
    ::testing::Values(FlagCase{"Always on top=on", &RunningSettings::alwaysOnTop, false},
                      FlagCase{"Always on top=ON", &RunningSettings::alwaysOnTop, true},
                      FlagCase{"Minimal Mode=ON", &RunningSettings::minimalMode, true},
                      FlagCase{"Minimal Mode=true", &RunningSettings::minimalMode, false},
                      FlagCase{"FadeoutAnimation=OFF", &RunningSettings::fadeOut, false},
                      FlagCase{"FadeoutAnimation=no", &RunningSettings::fadeOut, true},
                      FlagCase{"ScreenSnap=OFF", &RunningSettings::screenSnap, false},
                      FlagCase{"SCREENSNAP=off", &RunningSettings::screenSnap, true}));

TEST_F(AppTest, DisplayDurationReadsHexadecimalAndFallsBackOnGarbage) {
  GivenSettings("DisplayDuration=0x1F4\r\n");
  app.Create();
  EXPECT_EQ(app.displayDuration, 500);

  GivenSettings("DisplayDuration=abc\r\n");
  app.Create();
  EXPECT_EQ(app.displayDuration, 10000);
}

// A stored place that no monitor shows stays stored, and the window shows where it is seen: at
// the nearest edge of the work area, as near to its place as it fits.
TEST_F(AppTest, StoredPositionOffScreenIsKeptAndTheWindowShownInSight) {
  GivenSettings("left=-5000\r\nTOP=77\r\n");
  app.Create();
  EXPECT_EQ(view.bounds.left, 0);
  EXPECT_EQ(view.bounds.top, 77);
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), -5000);
  EXPECT_EQ(app.Store()->ReadInteger("Top", 0), 77);
}

TEST_F(AppTest, LeftWithoutTopUsesTheDefaultPositionAndSavesBoth) {
  GivenSettings("Left=10\r\n");
  app.Create();
  EXPECT_EQ(view.bounds.left, 1080);
  EXPECT_EQ(view.bounds.top, 820);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=1080\r\nTop=820\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppTest, DefaultPositionUsesTheWorkAreaSizeFromTheScreenOrigin) {
  view.workArea = Rect{100, 0, 1280, 984};  // taskbar on the left
  app.Create();
  EXPECT_EQ(view.bounds.left, 1180 - 200);
}

struct SizeCase {
  const char* lines;
  int width;
  int height;
};

class AppSizeTest : public AppTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(AppSizeTest, AppliesAStoredSizeOnlyWhenAcceptable) {
  GivenSettings(GetParam().lines);
  app.Create();
  EXPECT_EQ(view.bounds.Width(), GetParam().width) << GetParam().lines;
  EXPECT_EQ(view.bounds.Height(), GetParam().height) << GetParam().lines;
}

INSTANTIATE_TEST_SUITE_P(Sizes, AppSizeTest,
                         ::testing::Values(SizeCase{"Width=300\r\nHeight=100\r\n", 300, 100},
                                           SizeCase{"Width=0\r\nHeight=0\r\n", 200, 164},
                                           SizeCase{"Width=1281\r\nHeight=1025\r\n", 200, 164},
                                           SizeCase{"Width=1280\r\nHeight=1024\r\n", 1280, 1024},
                                           SizeCase{"Width=wide\r\n", 200, 164},
                                           SizeCase{"Width=-20\r\nHeight=-1\r\n", 200, 164},
                                           SizeCase{"Width=1\r\nHeight=1\r\n", 1, 1}));

TEST_F(AppTest, PositionAndSizeAppliedDuringStartAreNotWrittenTwice) {
  GivenSettings("Left=40\r\nTop=50\r\nWidth=300\r\nHeight=100\r\n");
  app.Create();
  EXPECT_EQ(view.moves, 1);
  EXPECT_EQ(view.resizes, 1);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=40\r\nTop=50\r\nWidth=300\r\nHeight=100\r\n");
}

// Hand-edited edges at the ends of the integer range stop a million pixels out, where adding
// the window's size cannot overflow; the window itself shows in the work area's nearest corner.
TEST_F(AppTest, StoredEdgesAtTheEndsOfTheIntegerRange) {
  GivenSettings("Left=2147483647\r\nTop=-2147483648\r\n");
  app.Create();
  EXPECT_EQ(app.Store()->ReadInteger("Left", 0), 1'000'000);
  EXPECT_EQ(app.Store()->ReadInteger("Top", 0), -1'000'000);
  EXPECT_EQ(view.Bounds(), Rect::FromPosSize(1280 - 200, 0, 200, 164));
}

struct EdgeCase {
  const char* name;
  const char* lines;
  Rect expected;
};

class AppEdgeTest : public AppTest, public ::testing::WithParamInterface<EdgeCase> {};

// Hand-edited geometry at the ends of the integer range: no edge or size leaves the range (the
// sanitizers of the native build stop at the first overflow), what is stored afterwards is the
// place as it was read, and the window shows in the work area, as near to it as it fits.
TEST_P(AppEdgeTest, GeometryAtTheEndsOfTheIntegerRange) {
  files.files[test::AppRig::kBuiltInOn] = "RIFF";
  GivenSettings(GetParam().lines);
  app.Create();
  EXPECT_EQ(view.Bounds(), GetParam().expected);
  EXPECT_EQ(SettingsFile().find("2147483"), std::string::npos) << SettingsFile();
}

INSTANTIATE_TEST_SUITE_P(
    Edges, AppEdgeTest,
    ::testing::Values(
        EdgeCase{"WidthMin", "Left=600\r\nTop=500\r\nWidth=-2147483648\r\n",
                 Rect::FromPosSize(600, 500, 200, 164)},
        EdgeCase{"WidthMinAtTheFarLeft",
                 "Left=-2147483648\r\nTop=-2147483648\r\nWidth=-2147483648\r\n"
                 "Height=-2147483648\r\n",
                 Rect::FromPosSize(0, 0, 200, 164)},
        EdgeCase{"SizesMax",
                 "Left=2147483647\r\nTop=2147483647\r\nWidth=2147483647\r\n"
                 "Height=2147483647\r\n",
                 Rect::FromPosSize(1080, 820, 200, 164)},
        EdgeCase{"SizesMinWithoutPosition", "Width=-2147483648\r\nHeight=-2147483648\r\n",
                 Rect::FromPosSize(1080, 820, 200, 164)},
        EdgeCase{"HexadecimalMin", "Left=0\r\nTop=0\r\nWidth=$80000000\r\nHeight=0x80000000\r\n",
                 Rect::FromPosSize(0, 0, 200, 164)},
        EdgeCase{"MinimalModeWidthMin",
                 "Left=-2147483648\r\nTop=5\r\nWidth=-2147483648\r\nMinimal Mode=ON\r\n",
                 Rect::FromPosSize(0, 5, 200, 80)}),
    [](const ::testing::TestParamInfo<EdgeCase>& tested) {
      return std::string(tested.param.name);
    });

TEST_F(AppTest, MovesAreSavedOnlyOnceThePositionSavingFlagIsOn) {
  view.SetBounds(Rect::FromPosSize(5, 5, 200, 164));  // before the creation sequence
  EXPECT_FALSE(files.files.contains(kSettingsPath));

  app.Create();
  view.SetBounds(Rect::FromPosSize(33, 44, 200, 164));
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=33\r\nTop=44\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppTest, CaptionsComeFromTheLanguageFileTheSettingsName) {
  const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
  language.exeFolder = "C:\\Apps\\Lock Beacon\\";
  language.folders = {languages};
  language.listings[languages] = {{"German.lang.txt", false}};
  files.files[languages + "\\German.lang.txt"] = "{Exit}Beenden\r\n{Num Lock}Num\r\n";
  GivenSettings("LanguageFile=German.lang.txt\r\n");

  app.Create();

  EXPECT_EQ(app.captions.at("Exit"), "Beenden");
  EXPECT_EQ(app.captions.at("NumLockLabel"), "Num");
  EXPECT_EQ(app.captions.at("NumLockSound"), "Num");
  EXPECT_EQ(app.captions.at("CapsLockLabel"), "Caps Lock");  // no entry: the English text
}

// A start that fails before it could open the store (reported by the caller) leaves a program
// whose switches, sounds, Settings dialog and language choice work for the session without
// writing anything, instead of following a null store.
TEST_F(AppTest, AStartThatFailedBeforeTheStoreLeavesTheSwitchesWorkingWithoutWriting) {
  files.files[test::AppRig::kBuiltInOn] = "RIFF on";
  platform.exePathFailures = 1;
  EXPECT_THROW(app.Create(), AppError);
  ASSERT_EQ(app.Store(), nullptr);

  const bool showNumLock = app.ticks.showNumLock;
  app.menu.Execute(MenuCommand::ShowNumLock);
  EXPECT_NE(app.ticks.showNumLock, showNumLock);
  const bool alwaysShowCapsLock = app.ticks.alwaysShowCapsLock;
  app.menu.Execute(MenuCommand::AlwaysShowCapsLock);
  EXPECT_NE(app.ticks.alwaysShowCapsLock, alwaysShowCapsLock);
  const bool numLockSound = app.ticks.numLockSound;
  app.menu.Execute(MenuCommand::NumLockSound);
  EXPECT_NE(app.ticks.numLockSound, numLockSound);
  app.menu.Execute(MenuCommand::AsyncMode);
  EXPECT_TRUE(app.ticks.asyncMode);
  view.dialogAnswer = "D:\\Sounds\\ding.wav";
  app.menu.Execute(MenuCommand::BrowseOnSound);
  app.sounds.PlayToggleSound(true);
  EXPECT_EQ(sound.played.size(), 1u);  // the built-in sound

  auto dialog = app.NewSettingsDialog();
  dialog->durationFieldText = "2500";
  dialog->OnSave();
  EXPECT_EQ(app.displayDuration, 2500);
  app.SetLanguageFile("German.lang.txt");

  EXPECT_FALSE(files.files.contains(kSettingsPath));
}

// The start reads every setting and saves the geometry on one read of the file.
TEST_F(AppTest, StartReadsTheSettingsFileOnce) {
  GivenSettings("Always on top=ON\r\nLeft=10\r\nTop=20\r\nWidth=300\r\n");
  app.Create();

  EXPECT_TRUE(app.alwaysOnTop);
  EXPECT_EQ(view.bounds, Rect::FromPosSize(10, 20, 300, 164));
  EXPECT_EQ(files.readsOf[kSettingsPath], 1);
  EXPECT_EQ(SettingsFile(),
            "[Settings]\r\nAlways on top=ON\r\nLeft=10\r\nTop=20\r\nWidth=300\r\nHeight=164\r\n");
}

// A 2 MiB settings.ini is no settings file the program wrote: it is handled as a file that
// cannot be read. Every setting has its default, the first save reports the file, and the file
// is left as it is.
TEST_F(AppTest, HugeSettingsFileIsHandledAsUnreadable) {
  std::string huge = "[Settings]\r\nAlways on top=ON\r\nLanguageFile=German.lang.txt\r\n";
  huge.resize(2 * 1024 * 1024, ' ');
  files.files[kSettingsPath] = huge;

  EXPECT_THROW(app.Create(), AppError);
  EXPECT_FALSE(app.alwaysOnTop);
  EXPECT_EQ(app.languageFile, "");
  EXPECT_EQ(app.displayDuration, 10000);
  EXPECT_EQ(SettingsFile(), huge);
  EXPECT_EQ(files.writes, 0);
}

TEST_F(AppTest, RefusedWriteAtStartIsAnErrorNamingTheFileAfterEverySettingIsRead) {
  GivenSettings("Always on top=ON\r\nLanguageFile=German.lang.txt\r\n");
  files.refuseWrites = true;

  try {
    app.Create();
    FAIL() << "expected the geometry save to fail";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to C:\\Apps\\Lock Beacon\\settings.ini");
  }
  EXPECT_TRUE(app.alwaysOnTop);
  EXPECT_EQ(app.languageFile, "German.lang.txt");
  EXPECT_TRUE(app.savePosition);
}

}  // namespace
}  // namespace lb
