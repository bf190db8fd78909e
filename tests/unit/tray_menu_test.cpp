// PopupMenu1 and its commands: the tree with its start-up ticks and enabled states, the switch
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
    return form.Store()->ReadString(key, "<absent>");
  }
};

TEST_F(TrayMenuTest, TheTreeInItsDesignStates) {
  Create();
  const MenuItem menu = form.PopupMenu1();

  EXPECT_THAT(Names(menu), ElementsAre("UpdateNotifications1", "UpdateNotificationsBar", "Help1",
                                       "Language1", "SendFeedback1", "About1", "N1", "Enable1",
                                       "ShowLights1", "AlwaysshowwhentoggledON1", "Settings1",
                                       "SoundEffect1", "ResettoDefaults1", "N2", "Exit1"));
  EXPECT_THAT(Names(Item(menu, "ShowLights1")),
              ElementsAre("NumLock1", "CapsLock1", "ScrollLock1"));
  EXPECT_THAT(Names(Item(menu, "AlwaysshowwhentoggledON1")),
              ElementsAre("NumLock2", "CapsLock2", "ScrollLock2"));
  EXPECT_THAT(Names(Item(menu, "SoundEffect1")),
              ElementsAre("PlaySoundEffects1", "Browse1", "Mode1"));
  EXPECT_THAT(Names(Item(menu, "PlaySoundEffects1")),
              ElementsAre("NumLock3", "CapsLock3", "ScrollLock3"));
  EXPECT_THAT(Names(Item(menu, "Browse1")), ElementsAre("urnOn1", "urnOff1"));
  EXPECT_THAT(Names(Item(menu, "Mode1")), ElementsAre("SYNC1", "ASYNC1"));

  const MenuItem& updates = Item(menu, "UpdateNotifications1");
  EXPECT_TRUE(updates.checked);
  EXPECT_FALSE(updates.enabled);
  EXPECT_TRUE(Item(menu, "N1").separator);
  EXPECT_TRUE(Item(menu, "Enable1").checked);
  EXPECT_TRUE(Item(menu, "ShowLights1").enabled);
  EXPECT_TRUE(Item(menu, "AlwaysshowwhentoggledON1").enabled);
  for (const char* name :
       {"NumLock1", "CapsLock1", "ScrollLock1", "NumLock3", "CapsLock3", "ScrollLock3", "SYNC1"}) {
    EXPECT_TRUE(Item(menu, name).checked) << name;
  }
  for (const char* name : {"NumLock2", "CapsLock2", "ScrollLock2", "ASYNC1"}) {
    EXPECT_FALSE(Item(menu, name).checked) << name;
  }

  EXPECT_EQ(Item(menu, "Help1").icon, MenuIcon::Help);
  EXPECT_EQ(Item(menu, "Language1").icon, MenuIcon::Flag);
  EXPECT_EQ(Item(menu, "SendFeedback1").icon, MenuIcon::Feedback);
  EXPECT_EQ(Item(menu, "About1").icon, MenuIcon::About);
  EXPECT_EQ(Item(menu, "ShowLights1").icon, MenuIcon::HandClick);
  EXPECT_EQ(Item(menu, "Settings1").icon, MenuIcon::Settings48);
  EXPECT_EQ(Item(menu, "Exit1").icon, MenuIcon::Exit);
  EXPECT_EQ(Item(menu, "Enable1").icon, MenuIcon::None);
  EXPECT_EQ(MenuIconName(MenuIcon::Settings48), "settings48");
}

TEST_F(TrayMenuTest, CaptionsAreTranslatedExceptSyncAndAsync) {
  GivenGerman(
      "{Exit}Beenden\r\n{Num Lock}Num\r\n{SYNC}synchron\r\n{Show when status changes}Anzeigen\r\n");
  Create();
  const MenuItem menu = form.PopupMenu1();

  EXPECT_EQ(Item(menu, "Exit1").caption, "Beenden");
  EXPECT_EQ(Item(menu, "NumLock2").caption, "Num");
  EXPECT_EQ(Item(menu, "ShowLights1").caption, "Anzeigen");
  EXPECT_EQ(Item(menu, "About1").caption, "About...");  // no entry: English
  EXPECT_EQ(Item(menu, "SYNC1").caption, "SYNC");
  EXPECT_EQ(Item(menu, "ASYNC1").caption, "ASYNC");
}

TEST_F(TrayMenuTest, StartUpTicksFollowTheExactStoredWords) {
  Create("Num Lock=OFF\r\nCaps Lock Toggled=ON\r\nScroll Lock=off\r\nScroll Lock Toggled=on\r\n");
  const MenuItem menu = form.PopupMenu1();

  EXPECT_FALSE(Item(menu, "NumLock1").checked);
  EXPECT_TRUE(Item(menu, "CapsLock2").checked);
  // Lower case is neither "OFF" nor "ON".
  EXPECT_TRUE(Item(menu, "ScrollLock1").checked);
  EXPECT_FALSE(Item(menu, "ScrollLock2").checked);
  // Everything else at its design state.
  EXPECT_TRUE(Item(menu, "CapsLock1").checked);
  EXPECT_FALSE(Item(menu, "NumLock2").checked);
  EXPECT_TRUE(Item(menu, "Enable1").checked);
}

TEST_F(TrayMenuTest, AlwaysOnTopGreysBothShowSubmenusAndKeepsTheirTicks) {
  Create("Always on top=ON\r\nNum Lock=OFF\r\nCaps Lock Toggled=ON\r\n");
  const MenuItem menu = form.PopupMenu1();

  EXPECT_FALSE(Item(menu, "ShowLights1").enabled);
  EXPECT_FALSE(Item(menu, "AlwaysshowwhentoggledON1").enabled);
  EXPECT_FALSE(Item(menu, "NumLock1").checked);
  EXPECT_TRUE(Item(menu, "CapsLock1").checked);
  EXPECT_TRUE(Item(menu, "CapsLock2").checked);
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
      {MenuCommand::NumLock1, "Num Lock", &MenuTicks::NumLock1},
      {MenuCommand::CapsLock1, "Caps Lock", &MenuTicks::CapsLock1},
      {MenuCommand::ScrollLock1, "Scroll Lock", &MenuTicks::ScrollLock1},
  };
  for (const auto& c : cases) {
    form.menu.Execute(c.command);
    EXPECT_FALSE(form.Ticks.*c.tick) << c.key;
    EXPECT_EQ(Stored(c.key), "OFF");
    form.menu.Execute(c.command);
    EXPECT_TRUE(form.Ticks.*c.tick) << c.key;
    EXPECT_EQ(Stored(c.key), "ON");
  }
  EXPECT_FALSE(view.visible);
}

TEST_F(TrayMenuTest, AlwaysShowEntryTickedWhileItsKeyIsOnShowsTheWindowAndKeepsIt) {
  Start();
  clock.Advance(20000);
  ASSERT_FALSE(view.visible);
  keyboard.SetToggled(VkCapital, true);

  form.menu.Execute(MenuCommand::CapsLock2);

  EXPECT_TRUE(form.Ticks.CapsLock2);
  EXPECT_EQ(Stored("Caps Lock Toggled"), "ON");
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.alpha, 255);
  EXPECT_FALSE(HideTimerRuns());
  clock.Advance(60000);
  EXPECT_TRUE(view.visible);

  // Unticked again: stored, and the window hides after the display duration.
  form.menu.Execute(MenuCommand::CapsLock2);
  EXPECT_EQ(Stored("Caps Lock Toggled"), "OFF");
  EXPECT_TRUE(HideTimerRuns());
  clock.Advance(10000 + 50 * 25);
  EXPECT_FALSE(view.visible);
}

TEST_F(TrayMenuTest, AlwaysShowEntriesStoreTheirOwnKeys) {
  Start();
  form.menu.Execute(MenuCommand::NumLock2);
  form.menu.Execute(MenuCommand::ScrollLock2);
  EXPECT_EQ(Stored("Num Lock Toggled"), "ON");
  EXPECT_EQ(Stored("Scroll Lock Toggled"), "ON");
  EXPECT_EQ(Stored("Caps Lock Toggled"), "<absent>");
}

TEST_F(TrayMenuTest, EnableOffStopsThePollTurnsTheWindowRedAndIsNotStored) {
  Start();
  clock.Advance(20000);
  const std::string before = SettingsFile();

  form.menu.Execute(MenuCommand::Enable1);
  EXPECT_FALSE(form.Ticks.Enable1);
  EXPECT_FALSE(form.PopupMenu1().Find("Enable1")->checked);
  EXPECT_EQ(view.background, ColorRed);

  Tap(VkCapital);
  clock.Advance(10);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(sound.played.empty());

  // The icon still shows the window, red.
  form.menu.TrayIcon1MouseDown();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.background, ColorRed);
  EXPECT_EQ(SettingsFile(), before);

  form.menu.Execute(MenuCommand::Enable1);
  EXPECT_EQ(view.background, ColorBlack);
  Tap(VkCapital);
  EXPECT_EQ(view.statusText, "Caps Lock: OFF");
}

TEST_F(TrayMenuTest, TrayIconShowsTheShortFormAndTheMenuAtTheCursor) {
  Start();
  Tap(VkCapital);
  ASSERT_EQ(view.statusText, "Caps Lock: ON");

  form.menu.TrayIcon1MouseDown();
  EXPECT_EQ(view.statusText, "");
  EXPECT_EQ(view.ClientHeight(), view.panel1Height);

  view.cursor = {1200, 1000};
  bool pausedWhileOpen = false;
  view.whilePopupOpen = [&] { pausedWhileOpen = !HideTimerRuns(); };
  form.menu.TrayIcon1Popup();
  EXPECT_THAT(view.popups, ElementsAre(Point{1200, 1000}));
  EXPECT_TRUE(pausedWhileOpen);
  EXPECT_TRUE(HideTimerRuns());
}

TEST_F(TrayMenuTest, OnlineHelpAddressFromTheProductName) {
  EXPECT_EQ(HelpAddress("Lock Beacon"), "http://" + ServerHost() + "/help/lock-beacon/");
  // Each space its own "-"; only ASCII capitals are lowered.
  EXPECT_EQ(HelpAddress("Lock  Beacon"), "http://" + ServerHost() + "/help/lock--beacon/");
  EXPECT_EQ(HelpAddress("\xC3\x84rger X"),  // "Ärger X"
            "http://" + ServerHost() + "/help/\xC3\x84rger-x/");
}

TEST_F(TrayMenuTest, OnlineHelpOpensThePageAndDropsFailures) {
  platform.versionData->ProductName = "Lock  Beacon";
  Create();
  shell.failOpen = true;
  form.menu.Execute(MenuCommand::Help1);
  EXPECT_THAT(shell.opened, ElementsAre("http://" + ServerHost() + "/help/lock--beacon/"));
}

TEST_F(TrayMenuTest, SettingsOpensANewDialogEachTime) {
  Create();
  form.menu.Execute(MenuCommand::Settings1);
  form.menu.Execute(MenuCommand::Settings1);
  ASSERT_EQ(host.settingsDialogs.size(), 2u);
  EXPECT_NE(host.settingsDialogs[0].get(), host.settingsDialogs[1].get());
  EXPECT_EQ(host.settingsDialogs[1]->Caption, "Settings");
}

TEST_F(TrayMenuTest, DialogCommandsGoToTheirWindowsAndExitEndsTheProgram) {
  Create();
  form.menu.Execute(MenuCommand::Language1);
  form.menu.Execute(MenuCommand::SendFeedback1);
  form.menu.Execute(MenuCommand::About1);
  form.Enabled.UpdateNotifications1 = true;
  form.menu.Execute(MenuCommand::UpdateNotifications1);
  form.menu.Execute(MenuCommand::UpdateNotifications1);
  EXPECT_THAT(host.opened, ElementsAre("language", "feedback", "about", "update off", "update on"));
  EXPECT_EQ(host.terminated, 0);

  form.menu.Execute(MenuCommand::Exit1);
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
    form.Enabled.UpdateNotifications1 = false;
    form.Ticks.UpdateNotifications1 = true;
    // Before the check has finished the item is ticked, disabled, and a click does nothing.
    form.menu.Execute(MenuCommand::UpdateNotifications1);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_TRUE(Item(form.PopupMenu1(), "UpdateNotifications1").checked);

    form.menu.UpdateCheckDone(c.ticked);
    const MenuItem menu = form.PopupMenu1();
    EXPECT_TRUE(Item(menu, "UpdateNotifications1").enabled);
    EXPECT_EQ(Item(menu, "UpdateNotifications1").checked, c.tickAfterCheck);

    form.menu.Execute(MenuCommand::UpdateNotifications1);
    EXPECT_THAT(host.opened, ElementsAre(c.firstClick));
    EXPECT_EQ(Item(form.PopupMenu1(), "UpdateNotifications1").checked, !c.tickAfterCheck);
  }
}

TEST_F(TrayMenuTest, SoundCommandsReachTheSoundEffects) {
  Create();
  form.menu.Execute(MenuCommand::ASYNC1);
  form.menu.Execute(MenuCommand::CapsLock3);
  EXPECT_EQ(Stored("Play Mode"), "ASYNC");
  EXPECT_EQ(Stored("Caps Lock Sound"), "OFF");
}

TEST_F(TrayMenuTest, ResetToDefaultsAsksWithTranslatedTexts) {
  GivenGerman(
      "{Restart Application?}Neu "
      "starten?\r\n{Confirmation}Bestaetigung\r\n{Yes}Ja\r\n{No}Nein\r\n");
  Create();
  form.menu.Execute(MenuCommand::ResettoDefaults1);

  ASSERT_EQ(messages.shown.size(), 1u);
  const MessageDialog& dialog = messages.shown[0];
  EXPECT_EQ(dialog.message, "Neu starten?");
  EXPECT_EQ(dialog.caption, "Bestaetigung");
  EXPECT_EQ(dialog.type, MsgDlgType::Confirmation);
  ASSERT_EQ(dialog.buttons.size(), 2u);
  EXPECT_EQ(dialog.buttons[0].caption, "Ja");
  EXPECT_EQ(dialog.buttons[1].caption, "Nein");
}

TEST_F(TrayMenuTest, ResetToDefaultsAnsweredOtherThanYesChangesNothing) {
  for (const int answer : {kResultNo, kResultCancel, 0}) {
    test::AppFormRig rig;
    rig.GivenSettings("Num Lock=OFF\r\n");
    rig.form.FormCreate();
    const std::string before = rig.SettingsFile();
    rig.messages.answer = answer;

    rig.form.menu.Execute(MenuCommand::ResettoDefaults1);

    EXPECT_EQ(rig.SettingsFile(), before) << answer;
    EXPECT_TRUE(rig.form.SavePosition);
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

  form.menu.Execute(MenuCommand::ResettoDefaults1);

  EXPECT_FALSE(form.SavePosition);
  EXPECT_TRUE(fileGoneAtRestart);
  EXPECT_FALSE(files.files.contains(kSettingsPath));
  EXPECT_THAT(shell.started, ElementsAre(platform.exePath));
  EXPECT_EQ(host.terminated, 1);
}

TEST_F(TrayMenuTest, ResetToDefaultsRestartsEvenWhenTheFileCannotBeDeleted) {
  Create("Num Lock=OFF\r\n");
  messages.answer = kResultYes;
  files.undeletable.insert(kSettingsPath);

  form.menu.Execute(MenuCommand::ResettoDefaults1);

  EXPECT_THAT(SettingsFile(), HasSubstr("Num Lock=OFF"));
  EXPECT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(host.terminated, 1);
}

}  // namespace
}  // namespace lb
