#include "indicator/popup_menu.h"

namespace lb {
namespace {

MenuItem Separator(const char* name) {
  MenuItem item;
  item.name = name;
  item.separator = true;
  return item;
}

}  // namespace

std::string_view MenuIconName(MenuIcon icon) {
  switch (icon) {
    case MenuIcon::About:
      return "about";
    case MenuIcon::Exit:
      return "exit";
    case MenuIcon::Feedback:
      return "feedback";
    case MenuIcon::Flag:
      return "flag";
    case MenuIcon::Help:
      return "help";
    case MenuIcon::HandClick:
      return "handclick";
    case MenuIcon::Settings48:
      return "settings48";
    case MenuIcon::None:
      break;
  }
  return {};
}

const MenuItem* MenuItem::Find(std::string_view itemName) const {
  if (name == itemName) return this;
  for (const MenuItem& item : items) {
    if (const MenuItem* found = item.Find(itemName)) return found;
  }
  return nullptr;
}

MenuItem BuildPopupMenu1(const RunningSettings& settings, const CaptionLookup& caption) {
  const MenuTicks& ticks = settings.Ticks;
  const auto item = [&](const char* name, const char* english, MenuCommand command,
                        MenuIcon icon = MenuIcon::None, bool checked = false,
                        bool enabled = true) {
    MenuItem entry;
    entry.name = name;
    entry.caption = caption(name, english);
    entry.command = command;
    entry.icon = icon;
    entry.checked = checked;
    entry.enabled = enabled;
    return entry;
  };
  const auto submenu = [&](const char* name, const char* english, MenuIcon icon, bool enabled,
                           std::vector<MenuItem> entries) {
    MenuItem entry = item(name, english, MenuCommand::None, icon, false, enabled);
    entry.items = std::move(entries);
    return entry;
  };
  // "SYNC" and "ASYNC" stay as they are in every language.
  const auto untranslated = [](const char* name, MenuCommand command, bool checked) {
    MenuItem entry;
    entry.name = name;
    entry.caption = name[0] == 'S' ? "SYNC" : "ASYNC";
    entry.command = command;
    entry.checked = checked;
    return entry;
  };

  MenuItem root;
  root.name = "PopupMenu1";
  root.items = {
      item("UpdateNotifications1", "Update Notifications", MenuCommand::UpdateNotifications1,
           MenuIcon::None, ticks.UpdateNotifications1, settings.Enabled.UpdateNotifications1),
      Separator("UpdateNotificationsBar"),
      item("Help1", "Online Help", MenuCommand::Help1, MenuIcon::Help),
      item("Language1", "Language...", MenuCommand::Language1, MenuIcon::Flag),
      item("SendFeedback1", "Send Feedback...", MenuCommand::SendFeedback1, MenuIcon::Feedback),
      item("About1", "About...", MenuCommand::About1, MenuIcon::About),
      Separator("N1"),
      item("Enable1", "Enable", MenuCommand::Enable1, MenuIcon::None, ticks.Enable1),
      submenu("ShowLights1", "Show when status changes", MenuIcon::HandClick,
              settings.Enabled.ShowLights1,
              {
                  item("NumLock1", "Num Lock", MenuCommand::NumLock1, MenuIcon::None,
                       ticks.NumLock1),
                  item("CapsLock1", "Caps Lock", MenuCommand::CapsLock1, MenuIcon::None,
                       ticks.CapsLock1),
                  item("ScrollLock1", "Scroll Lock", MenuCommand::ScrollLock1, MenuIcon::None,
                       ticks.ScrollLock1),
              }),
      submenu("AlwaysshowwhentoggledON1", "Always show when toggled on", MenuIcon::None,
              settings.Enabled.AlwaysshowwhentoggledON1,
              {
                  item("NumLock2", "Num Lock", MenuCommand::NumLock2, MenuIcon::None,
                       ticks.NumLock2),
                  item("CapsLock2", "Caps Lock", MenuCommand::CapsLock2, MenuIcon::None,
                       ticks.CapsLock2),
                  item("ScrollLock2", "Scroll Lock", MenuCommand::ScrollLock2, MenuIcon::None,
                       ticks.ScrollLock2),
              }),
      item("Settings1", "Settings...", MenuCommand::Settings1, MenuIcon::Settings48),
      submenu("SoundEffect1", "Sound Effect", MenuIcon::None, true,
              {
                  submenu("PlaySoundEffects1", "Play Sound Effects", MenuIcon::None, true,
                          {
                              item("NumLock3", "Num Lock", MenuCommand::NumLock3, MenuIcon::None,
                                   ticks.NumLock3),
                              item("CapsLock3", "Caps Lock", MenuCommand::CapsLock3,
                                   MenuIcon::None, ticks.CapsLock3),
                              item("ScrollLock3", "Scroll Lock", MenuCommand::ScrollLock3,
                                   MenuIcon::None, ticks.ScrollLock3),
                          }),
                  submenu("Browse1", "Browse...", MenuIcon::None, true,
                          {
                              item("urnOn1", "Turn On", MenuCommand::urnOn1),
                              item("urnOff1", "Turn Off", MenuCommand::urnOff1),
                          }),
                  submenu("Mode1", "Mode", MenuIcon::None, true,
                          {
                              untranslated("SYNC1", MenuCommand::SYNC1, ticks.SYNC1),
                              untranslated("ASYNC1", MenuCommand::ASYNC1, ticks.ASYNC1),
                          }),
              }),
      item("ResettoDefaults1", "Reset to Defaults", MenuCommand::ResettoDefaults1),
      Separator("N2"),
      item("Exit1", "Exit", MenuCommand::Exit1, MenuIcon::Exit),
  };
  return root;
}

}  // namespace lb
