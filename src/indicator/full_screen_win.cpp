#include "indicator/full_screen_win.h"

#include <shellapi.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/wide_text_win.h"
#include "ui/geometry_win.h"

namespace lb {

ForegroundWindow Win32FullScreenProbe::Foreground() const {
  const HWND window = ::GetForegroundWindow();
  if (window == nullptr || !::IsWindowVisible(window)) return {};
  ForegroundWindow front;
  front.exists = true;
  wchar_t name[256] = L"";
  const int length = ::GetClassNameW(window, name, 256);
  front.className = ToUtf8(std::wstring_view(name, static_cast<std::size_t>(std::max(length, 0))));
  RECT client{};
  if (::GetClientRect(window, &client)) {
    // Both corners on the screen; a window laid out right to left maps them swapped.
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    ::MapWindowPoints(window, nullptr, corners, 2);
    front.client = {std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                    std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
  }
  MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
  if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    front.monitor = ToRect(info.rcMonitor);
  }
  return front;
}

UserNotificationState Win32FullScreenProbe::NotificationState() const {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(::SHQueryUserNotificationState(&state))) return UserNotificationState::Other;
  switch (state) {
    case QUNS_RUNNING_D3D_FULL_SCREEN:
      return UserNotificationState::D3DFullScreen;
    case QUNS_PRESENTATION_MODE:
      return UserNotificationState::PresentationMode;
    case QUNS_QUIET_TIME:
      return UserNotificationState::QuietTime;
    default:
      return UserNotificationState::Other;
  }
}

FullScreenAppBar::FullScreenAppBar(HINSTANCE instance, std::function<void()> onNotice)
    : onNotice_(std::move(onNotice)) {
  // A top-level window (the shell's broadcasts reach only those), never shown, without a
  // taskbar button.
  Create(instance, {.name = kClassName},
         {.title = L"",
          .style = WS_POPUP,
          .exStyle = WS_EX_TOOLWINDOW,
          .x = 0,
          .y = 0,
          .width = 0,
          .height = 0});
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // A copy that runs elevated gets nothing from the shell, which runs at a lower integrity
  // level, unless the window lets these two messages through.
  ::ChangeWindowMessageFilterEx(Hwnd(), kCallbackMessage, MSGFLT_ALLOW, nullptr);
  if (taskbarCreated_ != 0) {
    ::ChangeWindowMessageFilterEx(Hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  }
  Register();
}

FullScreenAppBar::~FullScreenAppBar() {
  if (registered_) {
    APPBARDATA data{.cbSize = sizeof(APPBARDATA), .hWnd = Hwnd()};
    ::SHAppBarMessage(ABM_REMOVE, &data);
  }
  Destroy();
}

void FullScreenAppBar::Register() noexcept {
  APPBARDATA data{
      .cbSize = sizeof(APPBARDATA), .hWnd = Hwnd(), .uCallbackMessage = kCallbackMessage};
  registered_ = ::SHAppBarMessage(ABM_NEW, &data) != FALSE;
}

LRESULT FullScreenAppBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    if (wParam == ABN_FULLSCREENAPP && onNotice_) onNotice_();
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // A new shell knows no app bar of the old one's.
    Register();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace lb
