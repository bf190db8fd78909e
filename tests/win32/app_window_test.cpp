// The main window as Windows sees it: its design state, showing without activation, and the
// moves and size changes it hands to the app.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "indicator/popup_menu_win.h"
#include "indicator/settings_window_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/error_report_win.h"
#include "ui/handles_win.h"
#include "win32/app_window_fixture.h"
#include "win32/exe_resources.h"

namespace lb {
namespace {

using test::AppWindowTest;
using test::kSettingsFile;
using test::reports;

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

std::wstring Caption(HWND window) {
  wchar_t text[64] = {};
  ::GetWindowTextW(window, text, 64);
  return text;
}

TEST_F(AppWindowTest, DesignState) {
  const HWND window = Hwnd();
  EXPECT_EQ(ClassName(window), L"LockBeaconIndicator");
  EXPECT_EQ(Caption(window), L"Lock Beacon");
  EXPECT_FALSE(::IsWindowVisible(window));

  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_CAPTION | WS_THICKFRAME);
  // No title-bar buttons at all.
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);

  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOPMOST), WS_EX_LAYERED | WS_EX_TOPMOST);
  EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_NOACTIVATE), 0u);

  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 150);
  EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));

  // Owned by the application window: no taskbar button of its own.
  EXPECT_EQ(::GetWindow(window, GW_OWNER), owner_.get());

  const int dpi = DpiForWindow(window);
  RECT client{};
  ASSERT_TRUE(::GetClientRect(window, &client));
  EXPECT_EQ(client.right, Scale(184, dpi));
  EXPECT_EQ(client.bottom, Scale(125, dpi));
}

TEST_F(AppWindowTest, ShowsWithoutTakingTheFocus) {
  UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                       400, 400, 200, 100, nullptr, nullptr, nullptr, nullptr));
  ::SetForegroundWindow(other.get());
  ::SetActiveWindow(other.get());
  ASSERT_EQ(::GetActiveWindow(), other.get());

  Window().ShowWithoutActivating();
  EXPECT_TRUE(::IsWindowVisible(Hwnd()));
  EXPECT_EQ(::GetActiveWindow(), other.get());
  EXPECT_NE(::GetForegroundWindow(), Hwnd());
}

TEST_F(AppWindowTest, BoundsAreTheOuterRectangle) {
  const Rect bounds = Rect::FromPosSize(120, 80, 230, 170);
  Window().SetBounds(bounds);
  EXPECT_EQ(Window().Bounds(), bounds);
  RECT outer{};
  ::GetWindowRect(Hwnd(), &outer);
  EXPECT_EQ(outer.left, 120);
  EXPECT_EQ(outer.bottom, 250);
}

TEST_F(AppWindowTest, WithoutACompositorTheVisibleFrameIsTheOuterRectangle) {
  // Wine's compositor cannot tell the visible frame (DwmGetWindowAttribute answers E_NOTIMPL),
  // so no invisible borders change where snapping and the default corner put the window, shown
  // or not. The borders of Windows 10 and later are the unit tests' (visible_frame_test.cpp).
  EXPECT_EQ(Window().InvisibleBorders(), Insets{});
  Window().ShowWithoutActivating();
  EXPECT_EQ(Window().InvisibleBorders(), Insets{});
  Window().SetFrameStyle(FrameStyle::None);
  EXPECT_EQ(Window().InvisibleBorders(), Insets{});
}

TEST_F(AppWindowTest, MovesAndSizeChangesReachTheApp) {
  Window().Logic().Create();
  ASSERT_TRUE(Window().Logic().savePosition);

  ::SetWindowPos(Hwnd(), nullptr, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_NE(Settings().find("Left=100"), std::string::npos) << Settings();
  EXPECT_NE(Settings().find("Top=60"), std::string::npos) << Settings();

  ::SetWindowPos(Hwnd(), nullptr, 0, 0, 250, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_NE(Settings().find("Width=250"), std::string::npos) << Settings();
  EXPECT_NE(Settings().find("Height=140"), std::string::npos) << Settings();
  EXPECT_TRUE(reports.empty());
}

TEST_F(AppWindowTest, RefusedWriteOnAMoveIsReportedOnce) {
  Window().Logic().Create();
  files_.refuseWrites = true;

  ::SetWindowPos(Hwnd(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], std::string("Unable to write to ") + kSettingsFile + ".");
  // The window has moved all the same.
  EXPECT_EQ(Window().Bounds().left, 30);
}

// The picture of the menu item at `position`: its size, and whether every pixel is
// premultiplied and some pixel shows; nullopt when the item has none.
struct ItemPicture {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  bool premultiplied = true;
  bool drawn = false;
};
std::optional<ItemPicture> PictureOfItem(HMENU menu, int position) {
  const HBITMAP bitmap = MenuItemPicture(menu, static_cast<UINT>(position));
  if (!bitmap) return std::nullopt;
  DIBSECTION dib{};
  if (::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return ItemPicture{};
  ItemPicture picture{dib.dsBm.bmWidth, std::abs(dib.dsBm.bmHeight), dib.dsBm.bmBitsPixel};
  const auto* pixels = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
  for (int i = 0; pixels && i < picture.width * picture.height; ++i) {
    const std::uint32_t alpha = pixels[i] >> 24;
    for (const int shift : {0, 8, 16}) {
      if (((pixels[i] >> shift) & 0xFF) > alpha) picture.premultiplied = false;
    }
    if (alpha != 0) picture.drawn = true;
  }
  return picture;
}

TEST_F(AppWindowTest, MenuItemsCarryTheirPicturesAtTheWindowsDpi) {
  const UniqueModule exe = test::LoadExeResources();
  ASSERT_TRUE(exe);
  Window().SetPictureModule(exe.get());
  // The items with a picture, by their top-level position (showOnChangeMenu is a submenu).
  const std::vector<int> withPicture = {2, 3, 4, 5, 9, 11, 15};  // Help .. Settings, Exit
  for (const int dpi : {Window().Dpi(), 144, 120}) {
    SCOPED_TRACE(dpi);
    if (dpi != Window().Dpi()) {
      RECT suggested{0, 0, Scale(200, dpi), Scale(150, dpi)};
      ::SendMessageW(Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    const UniqueMenu menu = Window().MakePopupMenu();
    const int count = ::GetMenuItemCount(menu.get());
    ASSERT_EQ(count, 16);
    for (int position = 0; position < count; ++position) {
      SCOPED_TRACE(position);
      const std::optional<ItemPicture> picture = PictureOfItem(menu.get(), position);
      const bool expected =
          std::find(withPicture.begin(), withPicture.end(), position) != withPicture.end();
      ASSERT_EQ(picture.has_value(), expected);
      if (!picture) continue;
      EXPECT_EQ(picture->width, Scale(16, dpi));
      EXPECT_EQ(picture->height, Scale(16, dpi));
      EXPECT_EQ(picture->bitsPerPixel, 32);
      EXPECT_TRUE(picture->premultiplied);
      EXPECT_TRUE(picture->drawn);
    }
  }
}

// The owner window draws the pictures of the open menu: over the menu's background, which
// shows through the transparent pixels, and fainter on a greyed item.
TEST_F(AppWindowTest, OwnerDrawsMenuPicturesOverTheMenuBackground) {
  const UniqueModule exe = test::LoadExeResources();
  ASSERT_TRUE(exe);
  Window().SetPictureModule(exe.get());
  const UniqueMenu menu = Window().MakePopupMenu();
  constexpr int kExitPosition = 15;
  const HBITMAP picture = MenuItemPicture(menu.get(), kExitPosition);
  ASSERT_NE(picture, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectW(picture, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
  const int size = dib.dsBm.bmWidth;
  const auto* source = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);

  MENUITEMINFOW info{.cbSize = sizeof(MENUITEMINFOW), .fMask = MIIM_DATA | MIIM_ID};
  ASSERT_TRUE(::GetMenuItemInfoW(menu.get(), kExitPosition, TRUE, &info));
  MEASUREITEMSTRUCT measure{.CtlType = ODT_MENU, .itemID = info.wID, .itemData = info.dwItemData};
  EXPECT_TRUE(::SendMessageW(Hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measure.itemWidth, static_cast<UINT>(size));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(size));

  // Draws the item's picture into a place the size of the picture, over a background colour.
  constexpr std::uint32_t kBackground = 0x00F0E0D0;
  const auto drawn = [&](UINT state) {
    DibSection target(size, size);
    std::fill_n(target.Pixels(), size * size, kBackground);
    MemoryDC dc(nullptr);
    const ScopedSelectObject selected(dc.get(), target.get());
    DRAWITEMSTRUCT draw{.CtlType = ODT_MENU,
                        .itemID = info.wID,
                        .itemState = state,
                        .hwndItem = reinterpret_cast<HWND>(menu.get()),
                        .hDC = dc.get(),
                        .rcItem = {0, 0, size, size},
                        .itemData = info.dwItemData};
    EXPECT_TRUE(::SendMessageW(Hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
    ::GdiFlush();
    return std::vector<std::uint32_t>(target.Pixels(), target.Pixels() + size * size);
  };
  const std::vector<std::uint32_t> normal = drawn(0);
  const std::vector<std::uint32_t> greyed = drawn(ODS_GRAYED);
  int transparent = 0;
  int opaque = 0;
  for (int i = 0; i < size * size; ++i) {
    const std::uint32_t alpha = source[i] >> 24;
    if (alpha == 0) {
      ++transparent;
      EXPECT_EQ(normal[i] & 0xFFFFFF, kBackground) << i;
      EXPECT_EQ(greyed[i] & 0xFFFFFF, kBackground) << i;
    } else if (alpha == 255) {
      ++opaque;
      EXPECT_EQ(normal[i] & 0xFFFFFF, source[i] & 0xFFFFFF) << i;
      if ((source[i] & 0xFFFFFF) != kBackground) {
        EXPECT_NE(greyed[i], normal[i]) << i;
      }
    }
  }
  // The picture has both kinds of pixel, or the test shows nothing.
  EXPECT_GT(transparent, 0);
  EXPECT_GT(opaque, 0);

  // Items of other kinds stay with the window's default handling.
  MEASUREITEMSTRUCT other{.CtlType = ODT_COMBOBOX, .itemData = info.dwItemData};
  EXPECT_FALSE(::SendMessageW(Hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&other)));
}

// "Save" shows the indicator, which lets waiting messages through. A close of the dialog that
// was waiting (the close box pressed right after Save) and a second press of Save run safely:
// the settings are saved once, and the dialog is gone afterwards.
TEST_F(AppWindowTest, SettingsDialogClosedWhileItSaves) {
  Window().Logic().Create();
  ::SendMessageW(Hwnd(), WM_COMMAND, static_cast<WPARAM>(MenuCommand::Settings), 0);
  HWND dialog = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t name[64] = L"";
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) != SettingsWindow::kClassName) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  ASSERT_NE(dialog, nullptr);
  ::SetDlgItemTextW(dialog, SettingsWindow::kDuration, L"4321");

  const HWND save = ::GetDlgItem(dialog, SettingsWindow::kSave);
  ::PostMessageW(save, BM_CLICK, 0, 0);
  ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  ::SendMessageW(save, BM_CLICK, 0, 0);
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);

  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_NE(Settings().find("DisplayDuration=4321"), std::string::npos) << Settings();
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace lb
