#include "ui/window_base_win.h"

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "ui/error_report_win.h"

namespace lb {

WindowBase::~WindowBase() {
  // The derived object is already destroyed: detach first, so that the messages DestroyWindow
  // sends do not reach its handlers.
  if (HWND window = window_.get()) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_.reset();
  }
}

void WindowBase::Destroy() noexcept {
  if (HWND window = window_.get()) {
    // WM_NCDESTROY releases window_ through the window procedure.
    ::DestroyWindow(window);
  }
}

void WindowBase::Create(HINSTANCE instance, const WindowClassSpec& windowClass,
                        const WindowSpec& window) {
  const WNDCLASSEXW classInfo{
      .cbSize = sizeof(WNDCLASSEXW),
      .style = windowClass.style,
      .lpfnWndProc = &WindowBase::WindowProc,
      .cbClsExtra = 0,
      .cbWndExtra = 0,
      .hInstance = instance,
      .hIcon = windowClass.icon,
      .hCursor = windowClass.cursor ? windowClass.cursor : ::LoadCursorW(nullptr, IDC_ARROW),
      .hbrBackground = windowClass.background,
      .lpszMenuName = nullptr,
      .lpszClassName = windowClass.name,
      .hIconSm = windowClass.smallIcon,
  };
  if (!::RegisterClassExW(&classInfo) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw AppError(SystemErrorMessage(::GetLastError()));
  }
  // window_ is set from WM_NCCREATE on, so that handlers of the creation messages see Hwnd().
  HWND created = ::CreateWindowExW(window.exStyle, windowClass.name, window.title, window.style,
                                   window.x, window.y, window.width, window.height, window.owner,
                                   nullptr, instance, this);
  if (!created) {
    const DWORD error = ::GetLastError();
    // If WM_NCCREATE got as far as attaching, the system has destroyed the window again.
    static_cast<void>(window_.release());
    throw AppError(SystemErrorMessage(error));
  }
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NEXTDLGCTL) {
    // A multi-line edit control hands Tab on to its parent this way. The system's dialog
    // procedure would move the focus; these windows are no dialogs and do it here, or Tab
    // would leave the focus stuck in the edit control.
    const HWND target = LOWORD(lParam) != 0
                            ? reinterpret_cast<HWND>(wParam)
                            : ::GetNextDlgTabItem(window_.get(), ::GetFocus(), wParam != 0);
    if (target != nullptr) {
      ::SetFocus(target);
      if (::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        ::SendMessageW(target, EM_SETSEL, 0, -1);
      }
    }
    return 0;
  }
  return ::DefWindowProcW(window_.get(), message, wParam, lParam);
}

void WindowBase::Detach() noexcept {
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  // The system destroys the window itself; only the handle is dropped.
  static_cast<void>(window_.release());
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<WindowBase*>(create->lpCreateParams);
    if (self) {
      self->window_.reset(window);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after the object let go.
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    // A paint handler that failed has not validated its region; without this the window
    // would ask to be painted (and report the error) again at once, forever.
    if (message == WM_PAINT) ::ValidateRect(window, nullptr);
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    self->Detach();
    self->OnFinalMessage();
  }
  return result;
}

}  // namespace lb
