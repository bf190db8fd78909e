#include "indicator/tray_menu.h"

#include <exception>

#include "base/identity.h"
#include "base/server_host.h"
#include "base/settings_keys.h"
#include "i18n/translation.h"

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
  return "http://" + ServerHost() + "/help/" + path + "/";
}

MenuItem TrayMenu::PopupMenu1(const CaptionLookup& caption) const {
  return BuildPopupMenu1(p_.settings, caption);
}

void TrayMenu::Execute(MenuCommand command) {
  switch (command) {
    case MenuCommand::UpdateNotifications1:
      return UpdateNotifications1Click();
    case MenuCommand::Help1:
      return Help1Click();
    case MenuCommand::Language1:
      return Language1Click();
    case MenuCommand::SendFeedback1:
      return SendFeedback1Click();
    case MenuCommand::About1:
      return About1Click();
    case MenuCommand::Enable1:
      return Enable1Click();
    case MenuCommand::NumLock1:
      return NumLock1Click();
    case MenuCommand::CapsLock1:
      return CapsLock1Click();
    case MenuCommand::ScrollLock1:
      return ScrollLock1Click();
    case MenuCommand::NumLock2:
      return NumLock2Click();
    case MenuCommand::CapsLock2:
      return CapsLock2Click();
    case MenuCommand::ScrollLock2:
      return ScrollLock2Click();
    case MenuCommand::Settings1:
      return Settings1Click();
    case MenuCommand::NumLock3:
      return p_.sounds.NumLock3Click();
    case MenuCommand::CapsLock3:
      return p_.sounds.CapsLock3Click();
    case MenuCommand::ScrollLock3:
      return p_.sounds.ScrollLock3Click();
    case MenuCommand::urnOn1:
      return p_.sounds.urnOn1Click();
    case MenuCommand::urnOff1:
      return p_.sounds.urnOff1Click();
    case MenuCommand::SYNC1:
      return p_.sounds.SYNC1Click();
    case MenuCommand::ASYNC1:
      return p_.sounds.ASYNC1Click();
    case MenuCommand::ResettoDefaults1:
      return ResettoDefaults1Click();
    case MenuCommand::Exit1:
      return Exit1Click();
    case MenuCommand::None:
      break;
  }
}

void TrayMenu::TrayIcon1MouseDown() { p_.indicator.Kaybolma(true); }

void TrayMenu::TrayIcon1Popup() { p_.indicator.Popup(p_.view.CursorPos()); }

void TrayMenu::UpdateCheckDone(bool ticked) {
  p_.settings.Enabled.UpdateNotifications1 = true;
  if (!ticked) p_.settings.Ticks.UpdateNotifications1 = false;
}

void TrayMenu::UpdateNotifications1Click() {
  if (!p_.settings.Enabled.UpdateNotifications1) return;
  bool& tick = p_.settings.Ticks.UpdateNotifications1;
  tick = !tick;
  if (tick) {
    p_.host.ShowUpdateOn();
  } else {
    p_.host.ShowUpdateOff();
  }
}

void TrayMenu::Help1Click() {
  try {
    p_.shell.OpenAddress(HelpAddress(AppIdentity().ProductName));
  } catch (const std::exception&) {
    // Opening a web page is optional work: its failures are dropped.
  }
}

void TrayMenu::Language1Click() { p_.host.OpenLanguageChooser(); }
void TrayMenu::SendFeedback1Click() { p_.host.OpenFeedbackDialog(); }
void TrayMenu::About1Click() { p_.host.OpenAboutBox(); }

void TrayMenu::Enable1Click() {
  bool& tick = p_.settings.Ticks.Enable1;
  tick = !tick;
  p_.monitor.SetEnabled(tick);
}

void TrayMenu::SwitchShow(bool MenuTicks::*tick, const char* key) {
  bool& ticked = p_.settings.Ticks.*tick;
  ticked = !ticked;
  p_.store->WriteString(key, ticked ? keys::On : keys::Off);
}

void TrayMenu::SwitchAlwaysShow(bool MenuTicks::*tick, const char* key) {
  SwitchShow(tick, key);
  p_.indicator.YapYap();
}

void TrayMenu::NumLock1Click() { SwitchShow(&MenuTicks::NumLock1, keys::NumLock); }
void TrayMenu::CapsLock1Click() { SwitchShow(&MenuTicks::CapsLock1, keys::CapsLock); }
void TrayMenu::ScrollLock1Click() { SwitchShow(&MenuTicks::ScrollLock1, keys::ScrollLock); }
void TrayMenu::NumLock2Click() { SwitchAlwaysShow(&MenuTicks::NumLock2, keys::NumLockToggled); }
void TrayMenu::CapsLock2Click() { SwitchAlwaysShow(&MenuTicks::CapsLock2, keys::CapsLockToggled); }
void TrayMenu::ScrollLock2Click() {
  SwitchAlwaysShow(&MenuTicks::ScrollLock2, keys::ScrollLockToggled);
}

void TrayMenu::Settings1Click() { p_.host.OpenSettingsDialog(); }

void TrayMenu::ResettoDefaults1Click() {
  const int answer =
      TranslatedMessageDlg(p_.messages, Translate("Restart Application?"), MsgDlgType::Confirmation,
                           {MsgDlgBtn::Yes, MsgDlgBtn::No}, Translate("Confirmation"),
                           {Translate("Yes"), Translate("No")});
  if (answer != kResultYes) return;

  // No move or resize of the closing window may write the file again.
  p_.settings.SavePosition = false;
  // A file that cannot be deleted is not reported: the program restarts with the old settings.
  static_cast<void>(p_.files.RemoveFile(AppIdentity().SettingsFolder + "settings.ini"));
  p_.view.ProcessMessages();
  p_.shell.StartProgram(p_.startup.ExePath());
  Exit1Click();
}

void TrayMenu::Exit1Click() { p_.host.Terminate(); }

}  // namespace lb
