#pragma once
// The tray menu, the one popup menu of the tray icon and of the indicator window: its whole tree as
// data, built afresh from the running settings each time it pops up, so that its ticks and
// enabled states are always those of the running program. The platform turns the tree into a
// real menu and reports the chosen item by its command.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "indicator/running_settings.h"

namespace lb {

// One command per clickable item, named after the item. The values are the platform's menu
// item identifiers (never 0, which means "nothing chosen").
enum class MenuCommand : int {
  None = 0,
  UpdateNotifications = 100,
  Help,
  Language,
  SendFeedback,
  About,
  Enable,
  ShowNumLock,
  ShowCapsLock,
  ShowScrollLock,
  AlwaysShowNumLock,
  AlwaysShowCapsLock,
  AlwaysShowScrollLock,
  Settings,
  NumLockSound,
  CapsLockSound,
  ScrollLockSound,
  BrowseOnSound,
  BrowseOffSound,
  SyncMode,
  AsyncMode,
  ResetToDefaults,
  Exit,
  TrayIconStates,
};
// The highest identifier; a new command goes before this line and becomes it.
inline constexpr MenuCommand kLastMenuCommand = MenuCommand::TrayIconStates;

// The menu's pictures, by the name of their image.
enum class MenuIcon { None, About, Exit, Feedback, Flag, Help, HandClick, Settings48 };
[[nodiscard]] std::string_view MenuIconName(MenuIcon icon);

struct MenuItem {
  std::string name;     // component name ("ShowNumLock"); separators too ("AboutBar")
  std::string caption;  // shown text; empty for a separator
  MenuCommand command = MenuCommand::None;  // None for separators and submenus
  MenuIcon icon = MenuIcon::None;
  bool separator = false;
  bool checked = false;
  bool enabled = true;
  std::vector<MenuItem> items;  // a submenu's entries

  [[nodiscard]] bool IsSubmenu() const { return !items.empty(); }
  // The item of that name anywhere in this item's tree, or null.
  [[nodiscard]] const MenuItem* Find(std::string_view itemName) const;
};

// The caption of a component from its English text (the translation the creation sequence set).
using CaptionLookup =
    std::function<std::string(std::string_view component, std::string_view english)>;

// The whole tree: the root item's entries are the menu's top level.
[[nodiscard]] MenuItem BuildTrayMenu(const RunningSettings& settings, const CaptionLookup& caption);

}  // namespace lb
