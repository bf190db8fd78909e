#include "ui/dpi_win.h"

#include <shellscalingapi.h>

#include <cstdint>

#include "platform/system_library_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

// The pseudo-handles of the awareness contexts (the SDK's macros spell them with C casts).
DPI_AWARENESS_CONTEXT AwarenessContext(std::intptr_t value) noexcept {
  return reinterpret_cast<DPI_AWARENESS_CONTEXT>(value);
}
const DPI_AWARENESS_CONTEXT kPerMonitorAwareV2 = AwarenessContext(-4);

// Windows 10 1703 and later.
using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
// Windows 10 1607 and later.
using GetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
using AreDpiAwarenessContextsEqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// Windows 8.1 and later (shcore.dll).
using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(PROCESS_DPI_AWARENESS);
using GetProcessDpiAwarenessFn = HRESULT(WINAPI*)(HANDLE, PROCESS_DPI_AWARENESS*);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

}  // namespace

DpiAwareness CurrentDpiAwareness() noexcept {
  const auto getContext =
      SystemProc<GetThreadDpiAwarenessContextFn>(L"user32.dll", "GetThreadDpiAwarenessContext");
  const auto getAwareness = SystemProc<GetAwarenessFromDpiAwarenessContextFn>(
      L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  const auto contextsEqual =
      SystemProc<AreDpiAwarenessContextsEqualFn>(L"user32.dll", "AreDpiAwarenessContextsEqual");
  if (getContext && getAwareness && contextsEqual) {
    const DPI_AWARENESS_CONTEXT context = getContext();
    if (contextsEqual(context, kPerMonitorAwareV2)) return DpiAwareness::PerMonitorV2;
    switch (getAwareness(context)) {
      case DPI_AWARENESS_PER_MONITOR_AWARE:
        return DpiAwareness::PerMonitor;
      case DPI_AWARENESS_SYSTEM_AWARE:
        return DpiAwareness::System;
      default:
        return DpiAwareness::Unaware;
    }
  }
  if (const auto getProcess =
          SystemProc<GetProcessDpiAwarenessFn>(L"shcore.dll", "GetProcessDpiAwareness")) {
    PROCESS_DPI_AWARENESS value = PROCESS_DPI_UNAWARE;
    if (SUCCEEDED(getProcess(nullptr, &value))) {
      switch (value) {
        case PROCESS_PER_MONITOR_DPI_AWARE:
          return DpiAwareness::PerMonitor;
        case PROCESS_SYSTEM_DPI_AWARE:
          return DpiAwareness::System;
        default:
          return DpiAwareness::Unaware;
      }
    }
  }
  return ::IsProcessDPIAware() ? DpiAwareness::System : DpiAwareness::Unaware;
}

DpiAwareness EnableProcessDpiAwareness() noexcept {
  // Each step answers "access denied" when the awareness has been set already (by the
  // manifest, normally); then the awareness in force stays and nothing weaker is tried.
  if (const auto setContext = SystemProc<SetProcessDpiAwarenessContextFn>(
          L"user32.dll", "SetProcessDpiAwarenessContext")) {
    if (setContext(kPerMonitorAwareV2)) return DpiAwareness::PerMonitorV2;
    if (::GetLastError() == ERROR_ACCESS_DENIED) return CurrentDpiAwareness();
    // Wine 8 knows the function but not the v2 context (ERROR_INVALID_PARAMETER).
  }
  if (const auto setProcess =
          SystemProc<SetProcessDpiAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
    const HRESULT result = setProcess(PROCESS_PER_MONITOR_DPI_AWARE);
    if (SUCCEEDED(result)) return DpiAwareness::PerMonitor;
    if (result == E_ACCESSDENIED) return CurrentDpiAwareness();
  }
  if (::SetProcessDPIAware()) return DpiAwareness::System;
  return CurrentDpiAwareness();
}

int DpiForWindow(HWND window) noexcept {
  if (const auto getDpi = SystemProc<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow")) {
    if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
  }
  // Windows 8.1: the DPI of the window's monitor.
  if (const auto getMonitorDpi =
          SystemProc<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor")) {
    UINT dpiX = 0;
    UINT dpiY = 0;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(getMonitorDpi(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX != 0) {
      return static_cast<int>(dpiX);
    }
  }
  const WindowDC dc(window);
  if (dc) {
    if (const int dpi = ::GetDeviceCaps(dc.get(), LOGPIXELSX); dpi > 0) return dpi;
  }
  return USER_DEFAULT_SCREEN_DPI;
}

int DpiForMonitor(HMONITOR monitor) noexcept {
  if (const auto getMonitorDpi =
          SystemProc<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor")) {
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (SUCCEEDED(getMonitorDpi(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX != 0) {
      return static_cast<int>(dpiX);
    }
  }
  return DpiForWindow(nullptr);
}

int NotificationIconSize() noexcept {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  const auto getSystemDpi = SystemProc<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
  const auto getMetric =
      SystemProc<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
  if (getMetric) {
    // The taskbar's display; without a taskbar (no shell), the primary display, where it would
    // be.
    HMONITOR monitor = nullptr;
    if (const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) {
      monitor = ::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY);
    } else {
      monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    }
    const int dpi = monitor != nullptr ? DpiForMonitor(monitor)
                                       : (getSystemDpi ? static_cast<int>(getSystemDpi()) : 0);
    if (dpi > 0) {
      if (const int size = getMetric(SM_CXSMICON, static_cast<UINT>(dpi)); size > 0) return size;
    }
  }
  if (const int size = ::GetSystemMetrics(SM_CXSMICON); size > 0) return size;
  return 16;
}

bool AdjustWindowRectForDpi(RECT& client, DWORD style, DWORD exStyle, int dpi) noexcept {
  if (const auto adjust =
          SystemProc<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi")) {
    if (adjust(&client, style, FALSE, exStyle, static_cast<UINT>(dpi))) return true;
  }
  // Before Windows 10 the frame is measured at the system DPI.
  return ::AdjustWindowRectEx(&client, style, FALSE, exStyle) != FALSE;
}

void MoveToSuggestedRect(HWND window, LPARAM lParam) noexcept {
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lb
