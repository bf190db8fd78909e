#pragma once
// The tray menu as a real menu: the tree of BuildTrayMenu turned into an HMENU, each clickable
// item under its command's identifier, so that a chosen item reaches the owner window as
// WM_COMMAND with that identifier.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "indicator/popup_menu.h"
#include "ui/handles_win.h"

namespace lb {

// The picture of a menu item, or null for none; the bitmap stays owned by the caller and must
// outlive the menu.
using MenuBitmapProvider = std::function<HBITMAP(MenuIcon)>;

// The menu's pictures from `module`'s resources, 16 pixels square scaled for one DPI: 32-bit
// premultiplied DIB sections, which a menu item shows with their alpha. Each is loaded on first
// use and kept for that DPI; another DPI drops them all.
class MenuBitmaps {
 public:
  static constexpr int kDesignSize = 16;

  explicit MenuBitmaps(HMODULE module) noexcept : module_(module) {}
  MenuBitmaps(const MenuBitmaps&) = delete;
  MenuBitmaps& operator=(const MenuBitmaps&) = delete;

  // The DPI of the next pictures. Bitmaps handed out before a change are gone afterwards, so
  // call it only while no menu shows them.
  void SetDpi(int dpi) noexcept;
  // The picture of `icon` at the present DPI; null for none or when it cannot be loaded.
  [[nodiscard]] HBITMAP Bitmap(MenuIcon icon);
  // As a provider for BuildMenu.
  [[nodiscard]] MenuBitmapProvider Provider() {
    return [this](MenuIcon icon) { return Bitmap(icon); };
  }

 private:
  HMODULE module_;
  int dpi_ = 96;
  std::array<std::optional<DibSection>, 8> cache_;  // by MenuIcon
};

// Builds the popup menu of `root`'s entries.
[[nodiscard]] UniqueMenu BuildMenu(const MenuItem& root, const MenuBitmapProvider& bitmaps);

// The picture of the item at `position` of `menu`, or null for none.
[[nodiscard]] HBITMAP MenuItemPicture(HMENU menu, UINT position) noexcept;

// Answers WM_MEASUREITEM and WM_DRAWITEM for the pictures of a menu made by BuildMenu, sent to
// the window that owns the open menu; false for any other message or item, which the window
// handles itself.
bool DrawMenuPicture(UINT message, LPARAM lParam) noexcept;

// The command of a WM_COMMAND identifier, or None when it is not one of the menu's.
[[nodiscard]] MenuCommand MenuCommandFromId(WORD id) noexcept;

// Pops `menu` up at a screen point and returns when it has closed; the chosen item's
// WM_COMMAND is posted to `owner`. The owner is brought to the foreground first, so that the
// menu closes when the user clicks elsewhere. Opened from the keyboard (`firstItemSelected`),
// the first item is selected, so that the arrow keys and Enter work at once.
void ShowPopupMenu(HWND owner, HMENU menu, POINT screen, bool firstItemSelected = false) noexcept;

}  // namespace lb
