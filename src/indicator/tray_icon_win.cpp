#include "indicator/tray_icon_win.h"

#include <shellapi.h>

#include <cwchar>

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

}  // namespace

TrayIcon::TrayIcon(HWND window, HICON icon, const std::string& tooltip)
    : window_(window),
      icon_(icon),
      // At most 127 characters: the tooltip field holds 128 with the terminating zero.
      tooltip_(ToWide(tooltip).substr(0, 127)),
      taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {
  Add();
}

TrayIcon::~TrayIcon() {
  NOTIFYICONDATAW data = IconData(window_);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void TrayIcon::Add() {
  NOTIFYICONDATAW data = IconData(window_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  std::wcsncpy(data.szTip, tooltip_.c_str(), std::size(data.szTip) - 1);
  shown_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (!shown_) return;
  // Version 4: the mouse messages come in the low word of lParam, with the icon's id in the
  // high word and the cursor position in wParam.
  data.uVersion = NOTIFYICON_VERSION_4;
  ::Shell_NotifyIconW(NIM_SETVERSION, &data);
}

TrayMouse TrayIcon::HandleMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    Add();
    return TrayMouse::None;
  }
  if (message != kCallbackMessage) return TrayMouse::None;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return TrayMouse::ButtonDown;
    case WM_RBUTTONUP:
      return TrayMouse::RightButtonUp;
    default:
      return TrayMouse::None;
  }
}

}  // namespace lb
