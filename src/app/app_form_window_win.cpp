#include "app/app_form_window_win.h"

#include <string>

#include "app/app_title.h"
#include "app/resource_ids.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/error_report_win.h"
#include "ui/geometry_win.h"
#include "ui/text_win.h"

namespace lb {

AppFormWindow::AppFormWindow(HINSTANCE instance, HWND owner, const AppPlatform& platform)
    : form_(platform, *this, *this) {
  const std::wstring title = ToWide(kAppTitle);
  Create(instance,
         {
             .name = kClassName,
             .background = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)),
             .icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON)),
         },
         {
             .title = title.c_str(),
             .style = kStyle,
             .exStyle = kExStyle,
             .x = 0,
             .y = 0,
             .width = 0,
             .height = 0,
             .owner = owner,
         });
  // A layered window stays invisible until its attributes are set.
  ::SetLayeredWindowAttributes(Hwnd(), 0, kDesignAlpha, LWA_ALPHA);
  ApplyDesignSize();
  forwardGeometry_ = true;
}

AppFormWindow::~AppFormWindow() {
  // Destroy while the handlers still exist, so that WM_DESTROY ends the message loop.
  Destroy();
}

void AppFormWindow::ApplyDesignSize() noexcept {
  // The DPI is known only once the window exists (it is that of the monitor it lies on).
  const int dpi = DpiForWindow(Hwnd());
  RECT outer{0, 0, Scale(kDesignClientWidth, dpi), Scale(kDesignClientHeight, dpi)};
  if (!AdjustWindowRectForDpi(outer, kStyle, kExStyle, dpi)) return;
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AppFormWindow::ShowWithoutActivating() noexcept { ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE); }

Rect AppFormWindow::Bounds() const {
  RECT bounds{};
  ::GetWindowRect(Hwnd(), &bounds);
  return ToRect(bounds);
}

void AppFormWindow::SetBounds(const Rect& bounds) {
  // WM_MOVE and WM_SIZE reach the form before SetWindowPos returns.
  ::SetWindowPos(Hwnd(), nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect AppFormWindow::PrimaryWorkArea() const {
  RECT workArea{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToRect(workArea);
}

Size AppFormWindow::PrimaryScreenSize() const {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

LRESULT AppFormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
      if (forwardGeometry_) {
        try {
          form_.OnMove();
        } catch (...) {
          // The handler stops at the failing step: no default handling either.
          ReportCurrentException();
          return 0;
        }
      }
      return DefaultHandling(message, wParam, lParam);

    case WM_SIZE:
      // An error here reaches the error report through the window procedure.
      if (forwardGeometry_) form_.FormResize();
      return 0;

    case WM_DPICHANGED: {
      // The system suggests the rectangle that keeps the window's size in design units on the
      // new monitor.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }

    case WM_DESTROY:
      // The main window is the program: when it goes, the message loop ends.
      ::PostQuitMessage(0);
      return 0;

    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace lb
