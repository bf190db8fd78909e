#include "indicator/popup_menu_win.h"

#include <span>
#include <string>

#include "app/resource_ids.h"
#include "ui/dpi.h"
#include "ui/png_win.h"

#include "ui/text_win.h"

namespace lb {
namespace {

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
  info.fState = (item.checked ? MFS_CHECKED : MFS_UNCHECKED) |
                (item.enabled ? MFS_ENABLED : MFS_DISABLED);
  info.wID = static_cast<UINT>(item.command);
  UniqueMenu submenu;
  if (item.IsSubmenu()) {
    submenu.reset(::CreatePopupMenu());
    for (const MenuItem& entry : item.items) Append(submenu.get(), entry, bitmaps);
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = submenu.get();
  }
  if (item.icon != MenuIcon::None && bitmaps) {
    if (HBITMAP bitmap = bitmaps(item.icon)) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = bitmap;
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
    cached = LoadSizedPngResource(module_, picture.firstId, picture.sizes, Scale(kDesignSize, dpi_));
  }
  return cached->get();
}

UniqueMenu BuildMenu(const MenuItem& root, const MenuBitmapProvider& bitmaps) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  for (const MenuItem& item : root.items) Append(menu.get(), item, bitmaps);
  return menu;
}

MenuCommand MenuCommandFromId(WORD id) noexcept {
  if (id < static_cast<WORD>(MenuCommand::UpdateNotifications1) ||
      id > static_cast<WORD>(MenuCommand::Exit1)) {
    return MenuCommand::None;
  }
  return static_cast<MenuCommand>(id);
}

void ShowPopupMenu(HWND owner, HMENU menu, POINT screen) noexcept {
  // Without the foreground the menu would stay open when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner, nullptr);
  // The documented companion of the foreground switch: lets the menu close properly next time.
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace lb
