#include "indicator/tray_menu.h"

#include <exception>

#include "base/identity.h"
#include "base/server_host.h"
#include "base/settings_keys.h"
#include "i18n/translation.h"
#include "platform/restart_handover.h"

namespace lb {

std::string HelpAddress(const std::string& productName) {
  std::string path = productName;
  for (char& c : path) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (c == ' ') {
      c = '-';
    }
  }
  return "https://" + ServerHost() + "/help/" + path + "/";
}

MenuItem TrayMenu::Menu(const CaptionLookup& caption) const {
  return BuildTrayMenu(p_.settings, caption);
}

void TrayMenu::Execute(MenuCommand command) {
  switch (command) {
    case MenuCommand::UpdateNotifications:
      return OnUpdateNotifications();
    case MenuCommand::Help:
      return OnHelp();
    case MenuCommand::Language:
      return OnLanguage();
    case MenuCommand::SendFeedback:
      return OnSendFeedback();
    case MenuCommand::About:
      return OnAbout();
    case MenuCommand::Enable:
      return OnEnable();
    case MenuCommand::ShowNumLock:
      return OnShowNumLock();
    case MenuCommand::ShowCapsLock:
      return OnShowCapsLock();
    case MenuCommand::ShowScrollLock:
      return OnShowScrollLock();
    case MenuCommand::AlwaysShowNumLock:
      return OnAlwaysShowNumLock();
    case MenuCommand::AlwaysShowCapsLock:
      return OnAlwaysShowCapsLock();
    case MenuCommand::AlwaysShowScrollLock:
      return OnAlwaysShowScrollLock();
    case MenuCommand::Settings:
      return OnSettings();
    case MenuCommand::NumLockSound:
      return p_.sounds.OnNumLockSound();
    case MenuCommand::CapsLockSound:
      return p_.sounds.OnCapsLockSound();
    case MenuCommand::ScrollLockSound:
      return p_.sounds.OnScrollLockSound();
    case MenuCommand::BrowseOnSound:
      return p_.sounds.OnBrowseOnSound();
    case MenuCommand::BrowseOffSound:
      return p_.sounds.OnBrowseOffSound();
    case MenuCommand::SyncMode:
      return p_.sounds.OnPlaySync();
    case MenuCommand::AsyncMode:
      return p_.sounds.OnPlayAsync();
    case MenuCommand::ResetToDefaults:
      return OnResetToDefaults();
    case MenuCommand::Exit:
      return OnExit();
    case MenuCommand::TrayIconStates:
      return OnTrayIconStates();
    case MenuCommand::None:
      break;
  }
}

void TrayMenu::OnTrayIconMouseDown() {
  p_.indicator.KeepInSight();
  p_.indicator.ShowOnPointing(true);
}

void TrayMenu::OnTrayIconPopup() { p_.indicator.Popup(p_.view.CursorPos()); }

void TrayMenu::OnTrayIconKeyboardMenu(Point anchor) { p_.indicator.Popup(anchor, true); }

void TrayMenu::UpdateCheckDone(bool ticked) {
  p_.settings.enabled.updateNotifications = true;
  if (!ticked) p_.settings.ticks.updateNotifications = false;
}

void TrayMenu::OnUpdateNotifications() {
  if (!p_.settings.enabled.updateNotifications) return;
  bool& tick = p_.settings.ticks.updateNotifications;
  tick = !tick;
  if (tick) {
    p_.host.ShowUpdateOn();
  } else {
    p_.host.ShowUpdateOff();
  }
}

void TrayMenu::OnHelp() {
  try {
    p_.shell.OpenAddress(HelpAddress(AppIdentity().productName));
  } catch (const std::exception&) {
    // Opening a web page is optional work: its failures are dropped.
  }
}

void TrayMenu::OnLanguage() { p_.host.OpenLanguageChooser(); }
void TrayMenu::OnSendFeedback() { p_.host.OpenFeedbackDialog(); }
void TrayMenu::OnAbout() { p_.host.OpenAboutBox(); }

void TrayMenu::OnEnable() {
  bool& tick = p_.settings.ticks.enable;
  tick = !tick;
  p_.monitor.SetEnabled(tick);
  p_.trayLamps.Refresh();
}

void TrayMenu::OnTrayIconStates() {
  SwitchShow(&MenuTicks::trayIconStates, keys::TrayIconStates);
  p_.trayLamps.Refresh();
}

void TrayMenu::SwitchShow(bool MenuTicks::*tick, const char* key) {
  bool& ticked = p_.settings.ticks.*tick;
  ticked = !ticked;
  // No store: the creation sequence failed before it could open one (and said so); the switch
  // then holds for this session only.
  if (p_.store) p_.store->WriteString(key, ticked ? keys::On : keys::Off);
}

void TrayMenu::SwitchAlwaysShow(bool MenuTicks::*tick, const char* key) {
  SwitchShow(tick, key);
  p_.indicator.ShowIndicator();
}

void TrayMenu::OnShowNumLock() { SwitchShow(&MenuTicks::showNumLock, keys::NumLock); }
void TrayMenu::OnShowCapsLock() { SwitchShow(&MenuTicks::showCapsLock, keys::CapsLock); }
void TrayMenu::OnShowScrollLock() { SwitchShow(&MenuTicks::showScrollLock, keys::ScrollLock); }
void TrayMenu::OnAlwaysShowNumLock() {
  SwitchAlwaysShow(&MenuTicks::alwaysShowNumLock, keys::NumLockToggled);
}
void TrayMenu::OnAlwaysShowCapsLock() {
  SwitchAlwaysShow(&MenuTicks::alwaysShowCapsLock, keys::CapsLockToggled);
}
void TrayMenu::OnAlwaysShowScrollLock() {
  SwitchAlwaysShow(&MenuTicks::alwaysShowScrollLock, keys::ScrollLockToggled);
}

void TrayMenu::OnSettings() { p_.host.OpenSettingsDialog(); }

void TrayMenu::OnResetToDefaults() {
  const int answer =
      ShowMessageDialog(p_.messages, Translate("Restart Application?"), MessageType::Confirmation,
                        {MessageButton::Yes, MessageButton::No}, Translate("Confirmation"),
                        {Translate("Yes"), Translate("No")});
  if (answer != kResultYes) return;

  // No move or resize of the closing window may write the file again.
  p_.settings.savePosition = false;
  // A file that cannot be deleted is not reported: the program restarts with the old settings.
  static_cast<void>(p_.files.RemoveFile(AppIdentity().settingsFolder + "settings.ini"));
  p_.view.ProcessMessages();
  // The new copy uses the same settings: it must not take this one for a running copy.
  HandOverForRestart();
  p_.shell.StartProgram(p_.startup.ExePath());
  OnExit();
}

void TrayMenu::OnExit() { p_.host.Terminate(); }

}  // namespace lb
