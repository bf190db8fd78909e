#include "indicator/tray_icon_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/wide_text_win.h"

namespace lb {
namespace {

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = TrayIcon::kIconId;
  return data;
}

// At most 127 UTF-16 units (the tooltip field holds 128 with the terminating zero), never
// half a surrogate pair.
std::wstring TooltipText(const std::string& tooltip) {
  std::wstring text = ToWide(tooltip);
  if (text.size() <= 127) return text;
  std::size_t length = 127;
  if (text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
  return text.substr(0, length);
}

}  // namespace

UniqueIcon MakeIcon(const Pixels& picture) {
  if (picture.width <= 0 || picture.height <= 0) return UniqueIcon();
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = picture.width;
  header.bV5Height = -picture.height;  // top-down
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  UniqueBitmap colour(::CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
  ::ReleaseDC(nullptr, screen);
  if (!colour || bits == nullptr) return UniqueIcon();
  std::memcpy(bits, picture.data.data(), picture.data.size() * sizeof(std::uint32_t));
  // The mask: set where the picture is transparent. A shell that draws the icon by its mask
  // (Wine's notification area does) would otherwise show the transparent pixels black.
  const int stride = (picture.width + 15) / 16 * 2;  // rows of whole 16-bit words
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(stride * picture.height), 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if ((picture.data[static_cast<std::size_t>(y * picture.width + x)] >> 24) == 0) {
        maskBits[static_cast<std::size_t>(y * stride + x / 8)] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  UniqueBitmap mask(::CreateBitmap(picture.width, picture.height, 1, 1, maskBits.data()));
  if (!mask) return UniqueIcon();
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour.get();
  info.hbmMask = mask.get();
  return UniqueIcon(::CreateIconIndirect(&info));
}

TrayIcon::TrayIcon(HWND window, HICON icon, const std::string& tooltip)
    : window_(window),
      icon_(icon),
      tooltip_(TooltipText(tooltip)),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")),
      keeper_(*this, retryTimers_, kRetryTimerId) {
  // A copy that runs elevated gets no broadcast from the shell, which runs at a lower
  // integrity level, unless the window lets that one message through.
  if (taskbarCreated_ != 0) {
    ::ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  }
  retryTimers_.Attach(window_);
  keeper_.Add();
}

TrayIcon::~TrayIcon() {
  retryTimers_.Detach();
  NOTIFYICONDATAW data = IconData(window_);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

bool TrayIcon::AddIcon() {
  NOTIFYICONDATAW data = IconData(window_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  std::wcsncpy(data.szTip, tooltip_.c_str(), std::size(data.szTip) - 1);
  return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::SetIconVersion() {
  NOTIFYICONDATAW data = IconData(window_);
  // Version 4: the mouse messages come in the low word of lParam, with the icon's id in the
  // high word and the cursor position (or the icon's anchor, for the keyboard) in wParam; the
  // icon can be reached from the keyboard (NIN_KEYSELECT, WM_CONTEXTMENU).
  data.uVersion = NOTIFYICON_VERSION_4;
  ::Shell_NotifyIconW(NIM_SETVERSION, &data);
}

bool TrayIcon::ModifyIcon() {
  NOTIFYICONDATAW data = IconData(window_);
  // The callback message too: an icon that a timed-out add left in the shell gets it this way.
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  std::wcsncpy(data.szTip, tooltip_.c_str(), std::size(data.szTip) - 1);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Show(HICON icon, const std::string& tooltip) {
  icon_ = icon;
  tooltip_ = TooltipText(tooltip);
  keeper_.Changed();
  ownIcon_.reset();  // the shell has its own copy of the old one
}

void TrayIcon::Show(const Pixels& picture, const std::string& tooltip) {
  UniqueIcon icon = MakeIcon(picture);
  if (!icon) return;  // the old picture stays rather than none
  icon_ = icon.get();
  tooltip_ = TooltipText(tooltip);
  keeper_.Changed();
  ownIcon_ = std::move(icon);
}

TrayMouse TrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    keeper_.Add();
    return TrayMouse::None;
  }
  if (message == WM_TIMER && wParam == static_cast<WPARAM>(kRetryTimerId)) {
    keeper_.OnTimer();
    return TrayMouse::None;
  }
  if (message != kCallbackMessage) return TrayMouse::None;
  const UINT event = LOWORD(lParam);
  // Mouse moves in between leave the right button's menu standing.
  const bool afterRightButton = menuOpenedByRightButton_;
  if (event != WM_MOUSEMOVE) menuOpenedByRightButton_ = false;
  switch (event) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return TrayMouse::ButtonDown;
    case WM_RBUTTONUP:
      menuOpenedByRightButton_ = true;
      return TrayMouse::RightButtonUp;
    case WM_CONTEXTMENU:
      if (afterRightButton) return TrayMouse::None;
      [[fallthrough]];
    case NIN_KEYSELECT: {
      menuAnchor_ = {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
      if (wParam == 0) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        menuAnchor_ = {cursor.x, cursor.y};
      }
      return TrayMouse::KeyboardMenu;
    }
    default:
      return TrayMouse::None;
  }
}

}  // namespace lb
