#include "indicator/popup_menu_win.h"

#include <cstdlib>
#include <span>
#include <string>

#include "base/resource_ids.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/png_win.h"

namespace lb {
namespace {

// How opaque an item's picture is drawn while the item is greyed.
constexpr BYTE kGreyedPictureOpacity = 96;

// A popup menu whose tick and picture share one column: no item has both.
UniqueMenu NewPopupMenu() noexcept {
  UniqueMenu menu(::CreatePopupMenu());
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_CHECKORBMP;
  if (menu) ::SetMenuInfo(menu.get(), &info);
  return menu;
}

void Append(HMENU menu, const MenuItem& item, const MenuBitmapProvider& bitmaps) {
  if (item.separator) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  const std::wstring caption = ToWide(item.caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_FTYPE;
  info.fType = MFT_STRING;
  info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  info.fState =
      (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled ? MFS_ENABLED : MFS_DISABLED);
  info.wID = static_cast<UINT>(item.command);
  UniqueMenu submenu;
  if (item.IsSubmenu()) {
    submenu = NewPopupMenu();
    for (const MenuItem& entry : item.items) Append(submenu.get(), entry, bitmaps);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = submenu.get();
  }
  if (item.icon != MenuIcon::None && bitmaps) {
    if (HBITMAP bitmap = bitmaps(item.icon)) {
      // The owner window draws the picture (DrawMenuPicture): a menu that draws an item's
      // bitmap itself blends its alpha on Windows but shows the transparent pixels black
      // under Wine.
      info.fMask |= MIIM_BITMAP | MIIM_DATA;
      info.hbmpItem = HBMMENU_CALLBACK;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(bitmap);
    }
  }
  const int position = ::GetMenuItemCount(menu);
  if (::InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &info)) {
    // The submenu now belongs to the menu and goes with it.
    static_cast<void>(submenu.release());
  }
}

// Where a menu picture is kept: its first resource id and its pixel sizes.
struct MenuPicture {
  int firstId = 0;
  std::span<const int> sizes;
};

constexpr int kSmallSizes[] = {16, 32};
constexpr int kLargeSizes[] = {48};

MenuPicture PictureOf(MenuIcon icon) noexcept {
  switch (icon) {
    case MenuIcon::About:
      return {IDP_MENU_ABOUT_16, kSmallSizes};
    case MenuIcon::Exit:
      return {IDP_MENU_EXIT_16, kSmallSizes};
    case MenuIcon::Feedback:
      return {IDP_MENU_FEEDBACK_16, kSmallSizes};
    case MenuIcon::Flag:
      return {IDP_MENU_FLAG_16, kSmallSizes};
    case MenuIcon::Help:
      return {IDP_MENU_HELP_16, kSmallSizes};
    case MenuIcon::HandClick:
      return {IDP_MENU_HANDCLICK_48, kLargeSizes};
    case MenuIcon::Settings48:
      return {IDP_MENU_SETTINGS48_48, kLargeSizes};
    case MenuIcon::None:
      break;
  }
  return {};
}

}  // namespace

void MenuBitmaps::SetDpi(int dpi) noexcept {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  for (auto& bitmap : cache_) bitmap.reset();
}

HBITMAP MenuBitmaps::Bitmap(MenuIcon icon) {
  const MenuPicture picture = PictureOf(icon);
  const auto index = static_cast<std::size_t>(icon);
  if (picture.firstId == 0 || index >= cache_.size()) return nullptr;
  std::optional<DibSection>& cached = cache_[index];
  if (!cached) {
    cached =
        LoadSizedPngResource(module_, picture.firstId, picture.sizes, Scale(kDesignSize, dpi_));
  }
  return cached->get();
}

UniqueMenu BuildMenu(const MenuItem& root, const MenuBitmapProvider& bitmaps) {
  UniqueMenu menu = NewPopupMenu();
  if (!menu) return menu;
  for (const MenuItem& item : root.items) Append(menu.get(), item, bitmaps);
  return menu;
}

HBITMAP MenuItemPicture(HMENU menu, UINT position) noexcept {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  if (!::GetMenuItemInfoW(menu, position, TRUE, &info)) return nullptr;
  if (info.hbmpItem != HBMMENU_CALLBACK) return info.hbmpItem;
  return reinterpret_cast<HBITMAP>(info.dwItemData);
}

bool DrawMenuPicture(UINT message, LPARAM lParam) noexcept {
  if (message != WM_MEASUREITEM && message != WM_DRAWITEM) return false;
  // Both structures start with the control type; the item data is where each keeps it.
  if (*reinterpret_cast<const UINT*>(lParam) != ODT_MENU) return false;
  const ULONG_PTR data = message == WM_MEASUREITEM
                             ? reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->itemData
                             : reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemData;
  const auto picture = reinterpret_cast<HBITMAP>(data);
  BITMAP bitmap{};
  if (!picture || ::GetObjectW(picture, sizeof(bitmap), &bitmap) != sizeof(bitmap)) return false;
  const int width = bitmap.bmWidth;
  const int height = std::abs(bitmap.bmHeight);

  if (message == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measure.itemWidth = static_cast<UINT>(width);
    measure.itemHeight = static_cast<UINT>(height);
    return true;
  }
  // Centred in the place the menu gives; faint on a greyed item, as the menu's own pictures.
  const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  const int left = (draw.rcItem.left + draw.rcItem.right - width) / 2;
  const int top = (draw.rcItem.top + draw.rcItem.bottom - height) / 2;
  const bool greyed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  DrawPicture(draw.hDC, picture, RECT{left, top, left + width, top + height},
              greyed ? kGreyedPictureOpacity : 255);
  return true;
}

MenuCommand MenuCommandFromId(WORD id) noexcept {
  if (id < static_cast<WORD>(MenuCommand::UpdateNotifications) ||
      id > static_cast<WORD>(kLastMenuCommand)) {
    return MenuCommand::None;
  }
  return static_cast<MenuCommand>(id);
}

void ShowPopupMenu(HWND owner, HMENU menu, POINT screen, bool firstItemSelected) noexcept {
  // Without the foreground the menu would stay open when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  // The menu's own loop takes the key from the queue as if it had been pressed: the first item
  // is selected when the menu opens.
  if (firstItemSelected) ::PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner, nullptr);
  // The documented companion of the foreground switch: lets the menu close properly next time.
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace lb
