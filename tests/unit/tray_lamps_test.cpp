// The live tray icon: its picture at each size the shell asks for, the tooltip in the user's
// language, and when the running program redraws it (only on a change: at the start, with a
// key, after an unlock or resume, with "Enable" and with its own menu switch).
#include "indicator/tray_lamps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "indicator_fixture.h"

namespace lb {
namespace {

using ::testing::ElementsAre;

constexpr int kIconSizes[] = {16, 20, 24, 32};

std::uint32_t At(const Pixels& picture, int x, int y) {
  return picture.data[static_cast<std::size_t>(y * picture.width + x)];
}
std::uint32_t CentreOf(const Pixels& picture, const Rect& r) {
  return At(picture, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
bool Holds(const Pixels& picture, std::uint32_t colour) {
  return std::ranges::find(picture.data, colour) != picture.data.end();
}

TEST(TrayPictureTest, EachLampShowsItsOwnKeyAtEverySize) {
  for (const int size : kIconSizes) {
    // Every combination, so that each lamp is lit once beside dark neighbours and the reverse.
    for (int bits = 0; bits < 8; ++bits) {
      TrayLook look;
      look.states = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
      const Pixels picture = DrawTrayPicture(look, size);
      ASSERT_EQ(picture.width, size);
      ASSERT_EQ(picture.height, size);
      const auto lamps = TrayLampRects(size);
      const bool lit[] = {look.states.numLock, look.states.capsLock, look.states.scrollLock};
      for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CentreOf(picture, lamps[static_cast<std::size_t>(i)]),
                  lit[i] ? kTrayLampLit : kTrayLampDark)
            << "size " << size << ", states " << bits << ", lamp " << i;
      }
      EXPECT_FALSE(Holds(picture, kTrayDisabledMark)) << size;
    }
  }
}

TEST(TrayPictureTest, IsDrawnForEachSizeOnWholePixels) {
  for (const int size : kIconSizes) {
    const auto lamps = TrayLampRects(size);
    for (std::size_t i = 0; i < lamps.size(); ++i) {
      const Rect& lamp = lamps[i];
      // Outline and at least two pixels of colour across; taller than wide.
      EXPECT_GE(lamp.Width(), 4) << size;
      EXPECT_GT(lamp.Height(), lamp.Width()) << size;
      EXPECT_EQ(lamp.Width(), lamps[0].Width()) << size;
      EXPECT_EQ(lamp.Height(), lamps[0].Height()) << size;
      EXPECT_GE(lamp.left, 0) << size;
      EXPECT_GE(lamp.top, 0) << size;
      EXPECT_LE(lamp.right, size) << size;
      EXPECT_LE(lamp.bottom, size) << size;
      if (i > 0) {
        EXPECT_GT(lamp.left, lamps[i - 1].right) << "apart, size " << size;
      }
    }
    // Centred, to the pixel.
    EXPECT_LE(std::abs(lamps[0].left - (size - lamps[2].right)), 1) << size;
    EXPECT_LE(std::abs(lamps[0].top - (size - lamps[0].bottom)), 1) << size;

    // Sharp: no pixel is half covered, as it would be in a picture scaled from another size.
    TrayLook look;
    look.states = {true, false, true};
    for (const bool disabled : {false, true}) {
      look.disabled = disabled;
      const Pixels picture = DrawTrayPicture(look, size);
      for (const std::uint32_t pixel : picture.data) {
        const std::uint32_t alpha = pixel >> 24;
        ASSERT_TRUE(alpha == 0 || alpha == 0xFF) << "size " << size << std::hex << pixel;
      }
    }
  }
}

TEST(TrayPictureTest, DisabledShowsARedMarkOverDimmedLampsWithoutStates) {
  for (const int size : kIconSizes) {
    TrayLook look;
    look.disabled = true;
    look.states = {true, true, true};
    const Pixels picture = DrawTrayPicture(look, size);
    EXPECT_TRUE(Holds(picture, kTrayDisabledMark)) << size;
    EXPECT_FALSE(Holds(picture, kTrayLampLit)) << "no lamp looks lit, size " << size;
    EXPECT_TRUE(Holds(picture, kTrayLampDimmed)) << size;
    // The mark runs corner to corner, through the middle lamp.
    EXPECT_EQ(At(picture, 0, size - 1), kTrayDisabledMark) << size;
    EXPECT_EQ(At(picture, size - 1, 0), kTrayDisabledMark) << size;
    EXPECT_EQ(At(picture, size / 2, size / 2 - 1), kTrayDisabledMark) << size;
  }
}

TEST(TrayTooltipTest, TitleThenEachKeyInOrder) {
  TrayLook look;
  look.states = {false, true, false};
  EXPECT_EQ(TrayTooltip(look), "Lock Beacon\nNum Lock: OFF\nCaps Lock: ON\nScroll Lock: OFF");
  look.disabled = true;
  EXPECT_EQ(TrayTooltip(look), "Lock Beacon\nDisabled");
  look.lamps = false;
  EXPECT_EQ(TrayTooltip(look), "Lock Beacon");
}

// ---- the running program --------------------------------------------------------------------

class LiveTrayIconTest : public test::IndicatorTest {
 protected:
  [[nodiscard]] std::size_t Redraws() const { return tray.shown.size(); }
  void GivenGerman() {
    const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
    language.exeFolder = "C:\\Apps\\Lock Beacon\\";
    language.folders = {languages};
    language.listings[languages] = {{"German.lang.txt", false}};
    files.files[languages + "\\German.lang.txt"] =
        "{Num Lock: ON}Num-Taste: EIN\r\n{Num Lock: OFF}Num-Taste: AUS\r\n"
        "{Caps Lock: ON}Feststelltaste: EIN\r\n{Caps Lock: OFF}Feststelltaste: AUS\r\n"
        "{Scroll Lock: ON}Rollen: EIN\r\n{Scroll Lock: OFF}Rollen: AUS\r\n"
        "{Disabled}Deaktiviert\r\n";
    GivenSettings("LanguageFile=German.lang.txt\r\n");
  }
};

TEST_F(LiveTrayIconTest, ShowsTheStatesFromTheStartInTheUsersLanguage) {
  keyboard.SetToggled(VkNumLock, true);
  keyboard.SetToggled(VkScroll, true);
  GivenGerman();
  Create();
  ASSERT_EQ(Redraws(), 1u);
  EXPECT_EQ(tray.Look(), (TrayLook{true, false, {true, false, true}}));
  EXPECT_EQ(tray.shown.back().tooltip,
            "Lock Beacon\nNum-Taste: EIN\nFeststelltaste: AUS\nRollen: EIN");

  app.OnCommand(MenuCommand::Enable);
  EXPECT_EQ(tray.shown.back().tooltip, "Lock Beacon\nDeaktiviert");
}

TEST_F(LiveTrayIconTest, RedrawsOnlyWhenAStateChanges) {
  Start();
  const std::size_t atStart = Redraws();
  clock.Advance(1000);  // a hundred idle polls
  EXPECT_EQ(Redraws(), atStart);

  Tap(VkCapital);
  ASSERT_EQ(Redraws(), atStart + 1);
  EXPECT_TRUE(tray.Look().states.capsLock);
  clock.Advance(1000);  // the key is up again; the state stays
  EXPECT_EQ(Redraws(), atStart + 1);

  Tap(VkNumLock);
  Tap(VkCapital);
  EXPECT_EQ(tray.Look().states, (LockStates{true, false, false}));
  EXPECT_EQ(Redraws(), atStart + 3);
}

TEST_F(LiveTrayIconTest, AStateChangedBehindTheProgramsBackIsReadAfterUnlockOrResume) {
  Start();
  app.TestParts().monitor.keyPollTimer.SetEnabled(false);  // no poll sees it: only the unlock does
  keyboard.SetToggled(VkCapital, true);                    // toggled on the lock screen
  EXPECT_FALSE(tray.Look().states.capsLock);
  app.OnLockStatesMayHaveChanged();
  EXPECT_TRUE(tray.Look().states.capsLock);
  const std::size_t after = Redraws();
  app.OnLockStatesMayHaveChanged();  // nothing changed
  EXPECT_EQ(Redraws(), after);
}

TEST_F(LiveTrayIconTest, EnableSwitchesTheDisabledMarkAndKeysDoNotRedrawIt) {
  keyboard.SetToggled(VkCapital, true);
  Start();
  app.OnCommand(MenuCommand::Enable);
  EXPECT_EQ(tray.Look(), (TrayLook{true, true, {}}));
  const std::size_t disabled = Redraws();
  keyboard.SetToggled(VkNumLock, true);
  app.OnLockStatesMayHaveChanged();
  EXPECT_EQ(Redraws(), disabled) << "a disabled icon shows no states";

  app.OnCommand(MenuCommand::Enable);
  EXPECT_EQ(tray.Look(), (TrayLook{true, false, {true, true, false}}));
}

TEST_F(LiveTrayIconTest, FollowsTheTaskbarDisplaysScaleOnceItChanges) {
  // The display's scale changes while the program runs (Wine cannot do that to a session):
  // the window hears of it (a DPI, display or setting change) and hands on the icon size the
  // shell now shows.
  keyboard.SetToggled(VkCapital, true);
  Start();
  ASSERT_EQ(tray.Look().size, 16);
  const std::size_t before = Redraws();
  app.OnTrayIconSize(24);  // 150 %
  ASSERT_EQ(Redraws(), before + 1);
  EXPECT_EQ(tray.Look(), (TrayLook{true, false, {false, true, false}, 24}));
  app.OnTrayIconSize(24);  // another message, the same scale
  EXPECT_EQ(Redraws(), before + 1);
  Tap(VkNumLock);
  EXPECT_EQ(tray.Look().size, 24) << "later pictures keep the new size";
}

TEST_F(LiveTrayIconTest, MenuSwitchGoesBackToTheProgramIconAndIsStored) {
  Start();
  EXPECT_TRUE(app.Menu().Find("TrayIconStates")->checked);
  EXPECT_EQ(app.Menu().Find("TrayIconStates")->caption, "Show lock states in the tray icon");

  app.OnCommand(MenuCommand::TrayIconStates);
  EXPECT_FALSE(tray.Look().lamps);
  EXPECT_EQ(tray.shown.back().tooltip, "Lock Beacon");
  EXPECT_FALSE(app.Menu().Find("TrayIconStates")->checked);
  EXPECT_EQ(app.Store()->ReadString("Tray Icon States", ""), "OFF");
  const std::size_t off = Redraws();
  Tap(VkCapital);
  EXPECT_EQ(Redraws(), off) << "the program's icon does not follow the keys";

  app.OnCommand(MenuCommand::TrayIconStates);
  EXPECT_EQ(tray.Look(), (TrayLook{true, false, {false, true, false}}));
  EXPECT_EQ(app.Store()->ReadString("Tray Icon States", ""), "ON");
}

TEST_F(LiveTrayIconTest, StoredSwitchFollowsTheExactWord) {
  struct Case {
    const char* stored;
    bool lamps;
  };
  for (const Case c :
       {Case{"Tray Icon States=OFF\r\n", false}, Case{"Tray Icon States=off\r\n", true},
        Case{"Tray Icon States=ON\r\n", true}, Case{"", true}}) {
    test::AppRig rig;
    rig.GivenSettings(c.stored);
    rig.app.Create();
    ASSERT_FALSE(rig.tray.shown.empty()) << c.stored;
    EXPECT_EQ(rig.tray.Look().lamps, c.lamps) << c.stored;
    EXPECT_EQ(rig.app.Menu().Find("TrayIconStates")->checked, c.lamps) << c.stored;
  }
}

TEST_F(LiveTrayIconTest, KeyboardOpensTheMenuAtTheIconWithTheFirstItemSelected) {
  Start();
  screen.cursor = {5, 6};
  app.OnTrayIconPopup();
  app.OnTrayIconKeyboardMenu({1200, 1010});
  EXPECT_THAT(view.popups, ElementsAre(Point{5, 6}, Point{1200, 1010}));
  EXPECT_THAT(view.popupsWithFirstItemSelected, ElementsAre(false, true));
}

}  // namespace
}  // namespace lb
