// The main window's creation sequence: identity, settings folder, every setting read from
// settings.ini with its default, the window's first position and size, and the geometry saves.
#include "app/app_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/identity.h"
#include "fakes/app_form_rig.h"
#include "platform/app_error.h"

namespace lb {
namespace {

using ::testing::ElementsAre;

constexpr const char* kSettingsPath = test::AppFormRig::kSettingsPath;

class AppFormTest : public ::testing::Test, public test::AppFormRig {};

TEST_F(AppFormTest, FirstStartUsesEveryDefaultAndSavesOnlyTheGeometry) {
  form.FormCreate();

  EXPECT_EQ(form.DisplayDuration, 10000);
  EXPECT_FALSE(form.AlwaysOnTop);
  EXPECT_FALSE(form.MinimalMode);
  EXPECT_TRUE(form.FadeOut);
  EXPECT_TRUE(form.ScreenSnap);
  EXPECT_TRUE(form.SavePosition);
  EXPECT_TRUE(form.Ticks.NumLock1 && form.Ticks.CapsLock1 && form.Ticks.ScrollLock1);
  EXPECT_FALSE(form.Ticks.NumLock2 || form.Ticks.CapsLock2 || form.Ticks.ScrollLock2);
  EXPECT_TRUE(form.Ticks.NumLock3 && form.Ticks.CapsLock3 && form.Ticks.ScrollLock3);
  EXPECT_TRUE(form.Ticks.SYNC1);
  EXPECT_FALSE(form.Ticks.ASYNC1);
  EXPECT_EQ(form.LanguageFile, "");

  // Bottom-right corner of the primary work area, measured from the screen origin.
  EXPECT_EQ(view.bounds, Rect::FromPosSize(1280 - 200, 984 - 164, 200, 164));
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=1080\r\nTop=820\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppFormTest, IdentityComesFromTheVersionBlock) {
  platform.versionData->CompanyName = "ACME";
  platform.versionData->ProductName = "Beacon";
  platform.fileVersionMS = (5u << 16) | 1u;
  form.FormCreate();

  EXPECT_EQ(AppIdentity().CompanyName, "ACME");
  EXPECT_EQ(AppIdentity().ProductName, "Beacon");
  EXPECT_EQ(AppIdentity().AppVersion, "5.1");
  EXPECT_EQ(AppIdentity().AppName, "ACME - Beacon");
  EXPECT_EQ(AppIdentity().SettingsFolder, "C:\\Apps\\Lock Beacon\\");
}

TEST_F(AppFormTest, UnreadableVersionBlockStillFindsTheUsualSettingsFolder) {
  platform.versionData.reset();
  platform.fileVersionMS.reset();
  platform.exeFolderWritable = false;
  form.FormCreate();

  EXPECT_EQ(AppIdentity().AppName, "BRIMLEX - Lock Beacon");
  EXPECT_EQ(AppIdentity().AppVersion, "65535.65535");
  EXPECT_EQ(AppIdentity().SettingsFolder,
            "C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon\\");
}

TEST_F(AppFormTest, ReadOnlyExeFolderSendsTheSettingsToThePerUserFolder) {
  platform.exeFolderWritable = false;
  form.FormCreate();

  EXPECT_THAT(platform.probedFolders, ElementsAre("C:\\Apps\\Lock Beacon"));
  EXPECT_THAT(platform.createdFolders,
              ElementsAre("C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX",
                          "C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon"));
  EXPECT_TRUE(
      files.files.contains("C:\\Users\\Ann\\AppData\\Roaming\\BRIMLEX\\Lock Beacon\\settings.ini"));
  EXPECT_FALSE(files.files.contains(kSettingsPath));
}

TEST_F(AppFormTest, ExeInADriveRootProbesTheRootItself) {
  platform.exePath = "D:\\LockBeacon.exe";
  form.FormCreate();

  EXPECT_THAT(platform.probedFolders, ElementsAre("D:\\"));
  EXPECT_EQ(AppIdentity().SettingsFolder, "D:\\");
}

TEST_F(AppFormTest, UnknownAppDataFolderGivesAPathFromTheRoot) {
  platform.exeFolderWritable = false;
  platform.appData.clear();
  form.FormCreate();

  EXPECT_EQ(AppIdentity().SettingsFolder, "\\BRIMLEX\\Lock Beacon\\");
}

// Switch words are compared exactly: only "OFF" turns off a switch that is on by default, and
// only "ON" turns on one that is off by default.
struct SwitchCase {
  const char* line;
  bool MenuTicks::*tick;
  bool expected;
};

class AppFormSwitchTest : public AppFormTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(AppFormSwitchTest, ReadsTheSwitch) {
  GivenSettings(std::string(GetParam().line) + "\r\n");
  form.FormCreate();
  EXPECT_EQ(form.Ticks.*GetParam().tick, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Words, AppFormSwitchTest,
    ::testing::Values(SwitchCase{"Num Lock=off", &MenuTicks::NumLock1, true},
                      SwitchCase{"Num Lock=OFF", &MenuTicks::NumLock1, false},
                      SwitchCase{"Caps Lock=Off", &MenuTicks::CapsLock1, true},
                      SwitchCase{"Caps Lock=OFF", &MenuTicks::CapsLock1, false},
                      SwitchCase{"Scroll Lock=\"OFF \"", &MenuTicks::ScrollLock1, true},
                      SwitchCase{"scroll lock= OFF ", &MenuTicks::ScrollLock1, false},
                      SwitchCase{"Num Lock Toggled=on", &MenuTicks::NumLock2, false},
                      SwitchCase{"Num Lock Toggled=ON", &MenuTicks::NumLock2, true},
                      SwitchCase{"Caps Lock Toggled=ON", &MenuTicks::CapsLock2, true},
                      SwitchCase{"Scroll Lock Toggled=yes", &MenuTicks::ScrollLock2, false},
                      SwitchCase{"Num Lock Sound=OFF", &MenuTicks::NumLock3, false},
                      SwitchCase{"Caps Lock Sound=off", &MenuTicks::CapsLock3, true},
                      SwitchCase{"Scroll Lock Sound=OFF", &MenuTicks::ScrollLock3, false},
                      SwitchCase{"Play Mode=async", &MenuTicks::ASYNC1, false},
                      SwitchCase{"Play Mode=ASYNC", &MenuTicks::ASYNC1, true},
                      SwitchCase{"Play Mode=ASYNC", &MenuTicks::SYNC1, false},
                      SwitchCase{"Play Mode=SYNC", &MenuTicks::SYNC1, true}));

struct FlagCase {
  const char* line;
  bool RunningSettings::*flag;
  bool expected;
};

class AppFormFlagTest : public AppFormTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(AppFormFlagTest, ReadsTheFlag) {
  GivenSettings(std::string(GetParam().line) + "\r\n");
  form.FormCreate();
  EXPECT_EQ(form.*GetParam().flag, GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Words, AppFormFlagTest,
    ::testing::Values(FlagCase{"Always on top=on", &RunningSettings::AlwaysOnTop, false},
                      FlagCase{"Always on top=ON", &RunningSettings::AlwaysOnTop, true},
                      FlagCase{"Minimal Mode=ON", &RunningSettings::MinimalMode, true},
                      FlagCase{"Minimal Mode=true", &RunningSettings::MinimalMode, false},
                      FlagCase{"FadeoutAnimation=OFF", &RunningSettings::FadeOut, false},
                      FlagCase{"FadeoutAnimation=no", &RunningSettings::FadeOut, true},
                      FlagCase{"ScreenSnap=OFF", &RunningSettings::ScreenSnap, false},
                      FlagCase{"SCREENSNAP=off", &RunningSettings::ScreenSnap, true}));

TEST_F(AppFormTest, DisplayDurationReadsHexadecimalAndFallsBackOnGarbage) {
  GivenSettings("DisplayDuration=0x1F4\r\n");
  form.FormCreate();
  EXPECT_EQ(form.DisplayDuration, 500);

  GivenSettings("DisplayDuration=abc\r\n");
  form.FormCreate();
  EXPECT_EQ(form.DisplayDuration, 10000);
}

TEST_F(AppFormTest, StoredPositionIsAppliedAsItIsEvenOffScreen) {
  GivenSettings("left=-5000\r\nTOP=77\r\n");
  form.FormCreate();
  EXPECT_EQ(view.bounds.left, -5000);
  EXPECT_EQ(view.bounds.top, 77);
}

TEST_F(AppFormTest, LeftWithoutTopUsesTheDefaultPositionAndSavesBoth) {
  GivenSettings("Left=10\r\n");
  form.FormCreate();
  EXPECT_EQ(view.bounds.left, 1080);
  EXPECT_EQ(view.bounds.top, 820);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=1080\r\nTop=820\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppFormTest, DefaultPositionUsesTheWorkAreaSizeFromTheScreenOrigin) {
  view.workArea = Rect{100, 0, 1280, 984};  // taskbar on the left
  form.FormCreate();
  EXPECT_EQ(view.bounds.left, 1180 - 200);
}

struct SizeCase {
  const char* lines;
  int width;
  int height;
};

class AppFormSizeTest : public AppFormTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(AppFormSizeTest, AppliesAStoredSizeOnlyWhenAcceptable) {
  GivenSettings(GetParam().lines);
  form.FormCreate();
  EXPECT_EQ(view.bounds.Width(), GetParam().width) << GetParam().lines;
  EXPECT_EQ(view.bounds.Height(), GetParam().height) << GetParam().lines;
}

INSTANTIATE_TEST_SUITE_P(Sizes, AppFormSizeTest,
                         ::testing::Values(SizeCase{"Width=300\r\nHeight=100\r\n", 300, 100},
                                           SizeCase{"Width=0\r\nHeight=0\r\n", 200, 164},
                                           SizeCase{"Width=1281\r\nHeight=1025\r\n", 200, 164},
                                           SizeCase{"Width=1280\r\nHeight=1024\r\n", 1280, 1024},
                                           SizeCase{"Width=wide\r\n", 200, 164},
                                           SizeCase{"Width=-20\r\n", -20, 164}));

TEST_F(AppFormTest, PositionAndSizeAppliedDuringStartAreNotWrittenTwice) {
  GivenSettings("Left=40\r\nTop=50\r\nWidth=300\r\nHeight=100\r\n");
  form.FormCreate();
  EXPECT_EQ(view.moves, 1);
  EXPECT_EQ(view.resizes, 1);
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=40\r\nTop=50\r\nWidth=300\r\nHeight=100\r\n");
}

// Hand-edited edges at the ends of the integer range stop a million pixels out, where adding
// the window's size cannot overflow.
TEST_F(AppFormTest, StoredEdgesAtTheEndsOfTheIntegerRange) {
  GivenSettings("Left=2147483647\r\nTop=-2147483648\r\n");
  form.FormCreate();
  EXPECT_EQ(view.Bounds().left, 1'000'000);
  EXPECT_EQ(view.Bounds().top, -1'000'000);
  EXPECT_EQ(view.Bounds().Width(), 200);
}

TEST_F(AppFormTest, MovesAreSavedOnlyOnceThePositionSavingFlagIsOn) {
  view.SetBounds(Rect::FromPosSize(5, 5, 200, 164));  // before the creation sequence
  EXPECT_FALSE(files.files.contains(kSettingsPath));

  form.FormCreate();
  view.SetBounds(Rect::FromPosSize(33, 44, 200, 164));
  EXPECT_EQ(SettingsFile(), "[Settings]\r\nLeft=33\r\nTop=44\r\nHeight=164\r\nWidth=200\r\n");
}

TEST_F(AppFormTest, CaptionsComeFromTheLanguageFileTheSettingsName) {
  const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
  language.exeFolder = "C:\\Apps\\Lock Beacon\\";
  language.folders = {languages};
  language.listings[languages] = {{"German.lang.txt", false}};
  files.files[languages + "\\German.lang.txt"] = "{Exit}Beenden\r\n{Num Lock}Num\r\n";
  GivenSettings("LanguageFile=German.lang.txt\r\n");

  form.FormCreate();

  EXPECT_EQ(form.Captions.at("Exit1"), "Beenden");
  EXPECT_EQ(form.Captions.at("Label2"), "Num");
  EXPECT_EQ(form.Captions.at("NumLock3"), "Num");
  EXPECT_EQ(form.Captions.at("Label3"), "Caps Lock");  // no entry: the English text
}

TEST_F(AppFormTest, RefusedWriteAtStartIsAnErrorNamingTheFileAfterEverySettingIsRead) {
  GivenSettings("Always on top=ON\r\nLanguageFile=German.lang.txt\r\n");
  files.refuseWrites = true;

  try {
    form.FormCreate();
    FAIL() << "expected the geometry save to fail";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to C:\\Apps\\Lock Beacon\\settings.ini");
  }
  EXPECT_TRUE(form.AlwaysOnTop);
  EXPECT_EQ(form.LanguageFile, "German.lang.txt");
  EXPECT_TRUE(form.SavePosition);
}

}  // namespace
}  // namespace lb
