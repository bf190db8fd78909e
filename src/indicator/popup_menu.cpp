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

MenuItem BuildTrayMenu(const RunningSettings& settings, const CaptionLookup& caption) {
  const MenuTicks& ticks = settings.ticks;
  const auto item = [&](const char* name, const char* english, MenuCommand command,
                        MenuIcon icon = MenuIcon::None, bool checked = false, bool enabled = true) {
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
  const auto untranslated = [](const char* name, const char* caption, MenuCommand command,
                               bool checked) {
    MenuItem entry;
    entry.name = name;
    entry.caption = caption;
    entry.command = command;
    entry.checked = checked;
    return entry;
  };

  MenuItem root;
  root.name = "Menu";
  root.items = {
      item("UpdateNotifications", "Update Notifications", MenuCommand::UpdateNotifications,
           MenuIcon::None, ticks.updateNotifications, settings.enabled.updateNotifications),
      Separator("UpdateNotificationsBar"),
      item("Help", "Online Help", MenuCommand::Help, MenuIcon::Help),
      item("Language", "Language...", MenuCommand::Language, MenuIcon::Flag),
      item("SendFeedback", "Send Feedback...", MenuCommand::SendFeedback, MenuIcon::Feedback),
      item("About", "About...", MenuCommand::About, MenuIcon::About),
      Separator("AboutBar"),
      item("Enable", "Enable", MenuCommand::Enable, MenuIcon::None, ticks.enable),
      item("TrayIconStates", "Show lock states in the tray icon", MenuCommand::TrayIconStates,
           MenuIcon::None, ticks.trayIconStates),
      submenu("ShowOnChangeMenu", "Show when status changes", MenuIcon::HandClick,
              settings.enabled.showOnChangeMenu,
              {
                  item("ShowNumLock", "Num Lock", MenuCommand::ShowNumLock, MenuIcon::None,
                       ticks.showNumLock),
                  item("ShowCapsLock", "Caps Lock", MenuCommand::ShowCapsLock, MenuIcon::None,
                       ticks.showCapsLock),
                  item("ShowScrollLock", "Scroll Lock", MenuCommand::ShowScrollLock, MenuIcon::None,
                       ticks.showScrollLock),
              }),
      submenu("AlwaysShowMenu", "Always show when toggled on", MenuIcon::None,
              settings.enabled.alwaysShowMenu,
              {
                  item("AlwaysShowNumLock", "Num Lock", MenuCommand::AlwaysShowNumLock,
                       MenuIcon::None, ticks.alwaysShowNumLock),
                  item("AlwaysShowCapsLock", "Caps Lock", MenuCommand::AlwaysShowCapsLock,
                       MenuIcon::None, ticks.alwaysShowCapsLock),
                  item("AlwaysShowScrollLock", "Scroll Lock", MenuCommand::AlwaysShowScrollLock,
                       MenuIcon::None, ticks.alwaysShowScrollLock),
              }),
      item("Settings", "Settings...", MenuCommand::Settings, MenuIcon::Settings48),
      submenu(
          "SoundEffect", "Sound Effect", MenuIcon::None, true,
          {
              submenu("PlaySoundEffects", "Play Sound Effects", MenuIcon::None, true,
                      {
                          item("NumLockSound", "Num Lock", MenuCommand::NumLockSound,
                               MenuIcon::None, ticks.numLockSound),
                          item("CapsLockSound", "Caps Lock", MenuCommand::CapsLockSound,
                               MenuIcon::None, ticks.capsLockSound),
                          item("ScrollLockSound", "Scroll Lock", MenuCommand::ScrollLockSound,
                               MenuIcon::None, ticks.scrollLockSound),
                      }),
              submenu("BrowseSounds", "Browse...", MenuIcon::None, true,
                      {
                          item("BrowseOnSound", "Turn On", MenuCommand::BrowseOnSound),
                          item("BrowseOffSound", "Turn Off", MenuCommand::BrowseOffSound),
                      }),
              submenu(
                  "PlayMode", "Mode", MenuIcon::None, true,
                  {
                      untranslated("SyncMode", "SYNC", MenuCommand::SyncMode, ticks.syncMode),
                      untranslated("AsyncMode", "ASYNC", MenuCommand::AsyncMode, ticks.asyncMode),
                  }),
          }),
      item("ResetToDefaults", "Reset to Defaults", MenuCommand::ResetToDefaults),
      Separator("ResetToDefaultsBar"),
      item("Exit", "Exit", MenuCommand::Exit, MenuIcon::Exit),
  };
  return root;
}

}  // namespace lb
