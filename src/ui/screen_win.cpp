#include "ui/screen_win.h"

#include <algorithm>

#include "ui/dpi_win.h"
#include "ui/geometry_win.h"

namespace lb {

Point Win32Screen::CursorPos() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return {cursor.x, cursor.y};
}

Rect Win32Screen::PrimaryWorkArea() const {
  RECT workArea{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToRect(workArea);
}

Size Win32Screen::PrimaryScreenSize() const {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

Rect Win32Screen::WorkAreaFor(const Rect& bounds) const {
  const RECT area = ToRECT(bounds);
  MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
  if (!::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info)) {
    return PrimaryWorkArea();
  }
  return ToRect(info.rcWork);
}

MonitorArea Win32Screen::AreaOf(HMONITOR monitor) const {
  MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
  if (!::GetMonitorInfoW(monitor, &info)) return {PrimaryWorkArea(), DpiForWindow(nullptr)};
  return {ToRect(info.rcWork), DpiForMonitor(monitor)};
}

MonitorArea Win32Screen::MonitorOf(const Rect& bounds) const {
  const RECT area = ToRECT(bounds);
  return AreaOf(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
}

MonitorArea Win32Screen::ActiveMonitor() const {
  HMONITOR monitor = nullptr;
  if (const HWND foreground = ::GetForegroundWindow()) {
    monitor = ::MonitorFromWindow(foreground, MONITOR_DEFAULTTONULL);
  }
  if (monitor == nullptr) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    monitor = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
  }
  return AreaOf(monitor);
}

std::vector<ScreenMonitor> Win32Screen::Monitors() const {
  std::vector<ScreenMonitor> monitors;
  const auto add = [](HMONITOR monitor, HDC, RECT*, LPARAM data) -> BOOL {
    auto& list = *reinterpret_cast<std::vector<ScreenMonitor>*>(data);
    MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
    if (::GetMonitorInfoW(monitor, &info)) {
      list.push_back({.bounds = ToRect(info.rcMonitor),
                      .area = {ToRect(info.rcWork), DpiForMonitor(monitor)},
                      .primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
  };
  ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&monitors));
  std::stable_partition(monitors.begin(), monitors.end(),
                        [](const ScreenMonitor& monitor) { return monitor.primary; });
  return monitors;
}

}  // namespace lb
