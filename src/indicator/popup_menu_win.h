#pragma once
// PopupMenu1 as a real menu: the tree of BuildPopupMenu1 turned into an HMENU, each clickable
// item under its command's identifier, so that a chosen item reaches the owner window as
// WM_COMMAND with that identifier.
#include <windows.h>

#include <functional>

#include "indicator/popup_menu.h"
#include "ui/handles_win.h"

namespace lb {

// The picture of a menu item, or null for none; the bitmap stays owned by the caller and must
// outlive the menu.
using MenuBitmapProvider = std::function<HBITMAP(MenuIcon)>;

// Builds the popup menu of `root`'s entries.
[[nodiscard]] UniqueMenu BuildMenu(const MenuItem& root, const MenuBitmapProvider& bitmaps);

// The command of a WM_COMMAND identifier, or None when it is not one of the menu's.
[[nodiscard]] MenuCommand MenuCommandFromId(WORD id) noexcept;

// Pops `menu` up at a screen point and returns when it has closed; the chosen item's
// WM_COMMAND is posted to `owner`. The owner is brought to the foreground first, so that the
// menu closes when the user clicks elsewhere.
void ShowPopupMenu(HWND owner, HMENU menu, POINT screen) noexcept;

}  // namespace lb
