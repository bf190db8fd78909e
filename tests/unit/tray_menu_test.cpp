// The tray menu and its commands: the tree with its start-up ticks and enabled states, the switch
// items and what they store, "Enable", the online help address, the dialogs, "Reset to
// Defaults" and "Exit", and the tray icon's mouse events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/identity.h"
#include "base/server_host.h"
#include "indicator/popup_menu.h"
#include "unit/indicator_fixture.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class TrayMenuTest : public test::IndicatorTest {
 protected:
  [[nodiscard]] const MenuItem& Item(const MenuItem& menu, const char* name) {
    const MenuItem* item = menu.Find(name);
    EXPECT_NE(item, nullptr) << name;
    return *item;
  }
  [[nodiscard]] std::vector<std::string> Names(const MenuItem& menu) {
    std::vector<std::string> names;
    for (const MenuItem& item : menu.items) names.push_back(item.name);
    return names;
  }
  // A German language file with these entries, chosen in the settings.
  void GivenGerman(const std::string& entries) {
    const std::string languages = "C:\\Apps\\Lock Beacon\\Languages";
    language.exeFolder = "C:\\Apps\\Lock Beacon\\";
    language.folders = {languages};
    language.listings[languages] = {{"German.lang.txt", false}};
    files.files[languages + "\\German.lang.txt"] = entries;
    GivenSettings("LanguageFile=German.lang.txt\r\n");
  }
  [[nodiscard]] std::string Stored(const char* key) {
    return app.Store()->ReadString(key, "<absent>");
  }
};

TEST_F(TrayMenuTest, TheTreeInItsDesignStates) {
  Create();
  const MenuItem menu = app.Menu();

  EXPECT_THAT(Names(menu),
              ElementsAre("UpdateNotifications", "UpdateNotificationsBar", "Help", "Language",
                          "SendFeedback", "About", "AboutBar", "Enable", "TrayIconStates",
                          "ShowOnChangeMenu", "AlwaysShowMenu", "Settings", "SoundEffect",
                          "ResetToDefaults", "ResetToDefaultsBar", "Exit"));
  EXPECT_THAT(Names(Item(menu, "ShowOnChangeMenu")),
              ElementsAre("ShowNumLock", "ShowCapsLock", "ShowScrollLock"));
  EXPECT_THAT(Names(Item(menu, "AlwaysShowMenu")),
              ElementsAre("AlwaysShowNumLock", "AlwaysShowCapsLock", "AlwaysShowScrollLock"));
  EXPECT_THAT(Names(Item(menu, "SoundEffect")),
              ElementsAre("PlaySoundEffects", "BrowseSounds", "PlayMode"));
  EXPECT_THAT(Names(Item(menu, "PlaySoundEffects")),
              ElementsAre("NumLockSound", "CapsLockSound", "ScrollLockSound"));
  EXPECT_THAT(Names(Item(menu, "BrowseSounds")), ElementsAre("BrowseOnSound", "BrowseOffSound"));
  EXPECT_THAT(Names(Item(menu, "PlayMode")), ElementsAre("SyncMode", "AsyncMode"));

  const MenuItem& updates = Item(menu, "UpdateNotifications");
  EXPECT_TRUE(updates.checked);
  EXPECT_FALSE(updates.enabled);
  EXPECT_TRUE(Item(menu, "AboutBar").separator);
  EXPECT_TRUE(Item(menu, "Enable").checked);
  EXPECT_TRUE(Item(menu, "ShowOnChangeMenu").enabled);
  EXPECT_TRUE(Item(menu, "AlwaysShowMenu").enabled);
  for (const char* name : {"ShowNumLock", "ShowCapsLock", "ShowScrollLock", "NumLockSound",
                           "CapsLockSound", "ScrollLockSound", "SyncMode"}) {
    EXPECT_TRUE(Item(menu, name).checked) << name;
  }
  for (const char* name :
       {"AlwaysShowNumLock", "AlwaysShowCapsLock", "AlwaysShowScrollLock", "AsyncMode"}) {
    EXPECT_FALSE(Item(menu, name).checked) << name;
  }

  EXPECT_EQ(Item(menu, "Help").icon, MenuIcon::Help);
  EXPECT_EQ(Item(menu, "Language").icon, MenuIcon::Flag);
  EXPECT_EQ(Item(menu, "SendFeedback").icon, MenuIcon::Feedback);
  EXPECT_EQ(Item(menu, "About").icon, MenuIcon::About);
  EXPECT_EQ(Item(menu, "ShowOnChangeMenu").icon, MenuIcon::HandClick);
  EXPECT_EQ(Item(menu, "Settings").icon, MenuIcon::Settings48);
  EXPECT_EQ(Item(menu, "Exit").icon, MenuIcon::Exit);
  EXPECT_EQ(Item(menu, "Enable").icon, MenuIcon::None);
  EXPECT_EQ(MenuIconName(MenuIcon::Settings48), "settings48");
}

TEST_F(TrayMenuTest, CaptionsAreTranslatedExceptSyncAndAsync) {
  GivenGerman(
      "{Exit}Beenden\r\n{Num Lock}Num\r\n{SYNC}synchron\r\n{Show when status changes}Anzeigen\r\n");
  Create();
  const MenuItem menu = app.Menu();

  EXPECT_EQ(Item(menu, "Exit").caption, "Beenden");
  EXPECT_EQ(Item(menu, "AlwaysShowNumLock").caption, "Num");
  EXPECT_EQ(Item(menu, "ShowOnChangeMenu").caption, "Anzeigen");
  EXPECT_EQ(Item(menu, "About").caption, "About...");  // no entry: English
  EXPECT_EQ(Item(menu, "SyncMode").caption, "SYNC");
  EXPECT_EQ(Item(menu, "AsyncMode").caption, "ASYNC");
}

TEST_F(TrayMenuTest, StartUpTicksFollowTheExactStoredWords) {
  Create("Num Lock=OFF\r\nCaps Lock Toggled=ON\r\nScroll Lock=off\r\nScroll Lock Toggled=on\r\n");
  const MenuItem menu = app.Menu();

  EXPECT_FALSE(Item(menu, "ShowNumLock").checked);
  EXPECT_TRUE(Item(menu, "AlwaysShowCapsLock").checked);
  // Lower case is neither "OFF" nor "ON".
  EXPECT_TRUE(Item(menu, "ShowScrollLock").checked);
  EXPECT_FALSE(Item(menu, "AlwaysShowScrollLock").checked);
  // Everything else at its design state.
  EXPECT_TRUE(Item(menu, "ShowCapsLock").checked);
  EXPECT_FALSE(Item(menu, "AlwaysShowNumLock").checked);
  EXPECT_TRUE(Item(menu, "Enable").checked);
}

TEST_F(TrayMenuTest, AlwaysOnTopGreysBothShowSubmenusAndKeepsTheirTicks) {
  Create("Always on top=ON\r\nNum Lock=OFF\r\nCaps Lock Toggled=ON\r\n");
  const MenuItem menu = app.Menu();

  EXPECT_FALSE(Item(menu, "ShowOnChangeMenu").enabled);
  EXPECT_FALSE(Item(menu, "AlwaysShowMenu").enabled);
  EXPECT_FALSE(Item(menu, "ShowNumLock").checked);
  EXPECT_TRUE(Item(menu, "ShowCapsLock").checked);
  EXPECT_TRUE(Item(menu, "AlwaysShowCapsLock").checked);
}

TEST_F(TrayMenuTest, ShowEntriesSwitchAndStoreAndDoNothingElse) {
  Start();
  clock.Advance(20000);  // the start display has gone
  ASSERT_FALSE(view.visible);

  const struct {
    MenuCommand command;
    const char* key;
    bool MenuTicks::*tick;
  } cases[] = {
      {MenuCommand::ShowNumLock, "Num Lock", &MenuTicks::showNumLock},
      {MenuCommand::ShowCapsLock, "Caps Lock", &MenuTicks::showCapsLock},
      {MenuCommand::ShowScrollLock, "Scroll Lock", &MenuTicks::showScrollLock},
  };
  for (const auto& c : cases) {
    app.OnCommand(c.command);
    EXPECT_FALSE(app.ticks.*c.tick) << c.key;
    EXPECT_EQ(Stored(c.key), "OFF");
    app.OnCommand(c.command);
    EXPECT_TRUE(app.ticks.*c.tick) << c.key;
    EXPECT_EQ(Stored(c.key), "ON");
  }
  EXPECT_FALSE(view.visible);
}

TEST_F(TrayMenuTest, AlwaysShowEntryTickedWhileItsKeyIsOnShowsTheWindowAndKeepsIt) {
  Start();
  clock.Advance(20000);
  ASSERT_FALSE(view.visible);
  keyboard.SetToggled(VkCapital, true);

  app.OnCommand(MenuCommand::AlwaysShowCapsLock);

  EXPECT_TRUE(app.ticks.alwaysShowCapsLock);
  EXPECT_EQ(Stored("Caps Lock Toggled"), "ON");
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.alpha, 255);
  EXPECT_FALSE(HideTimerRuns());
  clock.Advance(60000);
  EXPECT_TRUE(view.visible);

  // Unticked again: stored, and the window hides after the display duration.
  app.OnCommand(MenuCommand::AlwaysShowCapsLock);
  EXPECT_EQ(Stored("Caps Lock Toggled"), "OFF");
  EXPECT_TRUE(HideTimerRuns());
  clock.Advance(10000 + 50 * 25);
  EXPECT_FALSE(view.visible);
}

TEST_F(TrayMenuTest, AlwaysShowEntriesStoreTheirOwnKeys) {
  Start();
  app.OnCommand(MenuCommand::AlwaysShowNumLock);
  app.OnCommand(MenuCommand::AlwaysShowScrollLock);
  EXPECT_EQ(Stored("Num Lock Toggled"), "ON");
  EXPECT_EQ(Stored("Scroll Lock Toggled"), "ON");
  EXPECT_EQ(Stored("Caps Lock Toggled"), "<absent>");
}

TEST_F(TrayMenuTest, EnableOffStopsThePollTurnsTheWindowRedAndIsNotStored) {
  Start();
  clock.Advance(20000);
  const std::string before = SettingsFile();

  app.OnCommand(MenuCommand::Enable);
  EXPECT_FALSE(app.ticks.enable);
  EXPECT_FALSE(app.Menu().Find("Enable")->checked);
  EXPECT_EQ(view.background, ColorRed);

  Tap(VkCapital);
  clock.Advance(10);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());

  // The icon still shows the window, red.
  app.OnTrayIconMouseDown();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.background, ColorRed);
  EXPECT_EQ(SettingsFile(), before);

  app.OnCommand(MenuCommand::Enable);
  EXPECT_EQ(view.background, ColorBlack);
  Tap(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
}

TEST_F(TrayMenuTest, TrayIconShowsTheShortFormAndTheMenuAtTheCursor) {
  Start();
  Tap(VkCapital);
  ASSERT_EQ(view.statusText, "Caps Lock: ON");

  app.OnTrayIconMouseDown();
  EXPECT_EQ(view.statusText, "");
  EXPECT_EQ(view.ClientHeight(), view.ledBandHeight);

  screen.cursor = {1200, 1000};
  bool pausedWhileOpen = false;
  view.whilePopupOpen = [&] { pausedWhileOpen = !HideTimerRuns(); };
  app.OnTrayIconPopup();
  EXPECT_THAT(view.popups, ElementsAre(Point{1200, 1000}));
  EXPECT_TRUE(pausedWhileOpen);
  EXPECT_TRUE(HideTimerRuns());
}

TEST_F(TrayMenuTest, OnlineHelpAddressFromTheProductName) {
  EXPECT_EQ(HelpAddress("Lock Beacon"), "https://" + ServerHost() + "/help/lock-beacon/");
  // Each space its own "-"; only ASCII capitals are lowered.
  EXPECT_EQ(HelpAddress("Lock  Beacon"), "https://" + ServerHost() + "/help/lock--beacon/");
  EXPECT_EQ(HelpAddress("\xC3\x84rger X"),  // "Ärger X"
            "https://" + ServerHost() + "/help/\xC3\x84rger-x/");
}

TEST_F(TrayMenuTest, OnlineHelpOpensThePageAndDropsFailures) {
  platform.versionBlock->productName = "Lock  Beacon";
  Create();
  shell.failOpen = true;
  app.OnCommand(MenuCommand::Help);
  EXPECT_THAT(shell.opened, ElementsAre("https://" + ServerHost() + "/help/lock--beacon/"));
}

TEST_F(TrayMenuTest, SettingsOpensANewDialogEachTime) {
  Create();
  app.OnCommand(MenuCommand::Settings);
  app.OnCommand(MenuCommand::Settings);
  ASSERT_EQ(host.settingsDialogs.size(), 2u);
  EXPECT_NE(host.settingsDialogs[0].get(), host.settingsDialogs[1].get());
  EXPECT_EQ(host.settingsDialogs[1]->caption, "Settings");
}

TEST_F(TrayMenuTest, DialogCommandsGoToTheirWindowsAndExitEndsTheProgram) {
  Create();
  app.OnCommand(MenuCommand::Language);
  app.OnCommand(MenuCommand::SendFeedback);
  app.OnCommand(MenuCommand::About);
  app.enabled.updateNotifications = true;
  app.OnCommand(MenuCommand::UpdateNotifications);
  app.OnCommand(MenuCommand::UpdateNotifications);
  EXPECT_THAT(host.opened, ElementsAre("language", "feedback", "about", "update off", "update on"));
  EXPECT_EQ(host.terminated, 0);

  app.OnCommand(MenuCommand::Exit);
  EXPECT_EQ(host.terminated, 1);
}

TEST_F(TrayMenuTest, UpdateNotificationsWaitForTheCheckThenSwitch) {
  struct Case {
    bool ticked;  // the check's outcome: notifications on
    bool tickAfterCheck;
    const char* firstClick;
  };
  Create();
  for (const Case c : {Case{true, true, "update off"}, Case{false, false, "update on"}}) {
    SCOPED_TRACE(c.ticked);
    // The design state, as every start has it.
    host.opened.clear();
    app.enabled.updateNotifications = false;
    app.ticks.updateNotifications = true;
    // Before the check has finished the item is ticked, disabled, and a click does nothing.
    app.OnCommand(MenuCommand::UpdateNotifications);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(Item(app.Menu(), "UpdateNotifications").checked);

    app.OnUpdateCheckDone(c.ticked);
    const MenuItem menu = app.Menu();
    EXPECT_TRUE(Item(menu, "UpdateNotifications").enabled);
    EXPECT_EQ(Item(menu, "UpdateNotifications").checked, c.tickAfterCheck);

    app.OnCommand(MenuCommand::UpdateNotifications);
    EXPECT_THAT(host.opened, ElementsAre(c.firstClick));
    EXPECT_EQ(Item(app.Menu(), "UpdateNotifications").checked, !c.tickAfterCheck);
  }
}

TEST_F(TrayMenuTest, SoundCommandsReachTheSoundEffects) {
  Create();
  app.OnCommand(MenuCommand::AsyncMode);
  app.OnCommand(MenuCommand::CapsLockSound);
  EXPECT_EQ(Stored("Play Mode"), "ASYNC");
  EXPECT_EQ(Stored("Caps Lock Sound"), "OFF");
}

TEST_F(TrayMenuTest, ResetToDefaultsAsksWithTranslatedTexts) {
  GivenGerman(
      "{Restart Application?}Neu "
      "starten?\r\n{Confirmation}Bestaetigung\r\n{Yes}Ja\r\n{No}Nein\r\n");
  Create();
  app.OnCommand(MenuCommand::ResetToDefaults);

  ASSERT_EQ(messages.shown.size(), 1u);
  const MessageDialog& dialog = messages.shown[0];
  EXPECT_EQ(dialog.message, "Neu starten?");
  EXPECT_EQ(dialog.caption, "Bestaetigung");
  EXPECT_EQ(dialog.type, MessageType::Confirmation);
  ASSERT_EQ(dialog.buttons.size(), 2u);
  EXPECT_EQ(dialog.buttons[0].caption, "Ja");
  EXPECT_EQ(dialog.buttons[1].caption, "Nein");
}

TEST_F(TrayMenuTest, ResetToDefaultsAnsweredOtherThanYesChangesNothing) {
  for (const int answer : {kResultNo, kResultCancel, 0}) {
    test::AppRig rig;
    rig.GivenSettings("Num Lock=OFF\r\n");
    rig.app.Create();
    const std::string before = rig.SettingsFile();
    rig.messages.answer = answer;

    rig.app.OnCommand(MenuCommand::ResetToDefaults);

    EXPECT_EQ(rig.SettingsFile(), before) << answer;
    EXPECT_TRUE(rig.app.savePosition);
    EXPECT_TRUE(rig.shell.started.empty());
    EXPECT_EQ(rig.host.terminated, 0);
  }
}

TEST_F(TrayMenuTest, ResetToDefaultsAnsweredYesDeletesTheFileRestartsAndExits) {
  Create("Num Lock=OFF\r\n");
  messages.answer = kResultYes;
  bool fileGoneAtRestart = false;
  shell.onStart = [&] { fileGoneAtRestart = !files.files.contains(kSettingsPath); };
  // The closing window moves while the messages run: nothing may be written back.
  view.onProcessMessages = [&] { view.SetBounds(Rect::FromPosSize(5, 5, 300, 300)); };

  app.OnCommand(MenuCommand::ResetToDefaults);

  EXPECT_FALSE(app.savePosition);
  EXPECT_TRUE(fileGoneAtRestart);
  EXPECT_FALSE(files.files.contains(kSettingsPath));
  EXPECT_THAT(shell.started, ElementsAre(platform.exePath));
  EXPECT_EQ(host.terminated, 1);
}

TEST_F(TrayMenuTest, ResetToDefaultsRestartsEvenWhenTheFileCannotBeDeleted) {
  Create("Num Lock=OFF\r\n");
  messages.answer = kResultYes;
  files.undeletable.insert(kSettingsPath);

  app.OnCommand(MenuCommand::ResetToDefaults);

  EXPECT_THAT(SettingsFile(), HasSubstr("Num Lock=OFF"));
  EXPECT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(host.terminated, 1);
}

}  // namespace
}  // namespace lb
