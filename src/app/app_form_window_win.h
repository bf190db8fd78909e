#pragma once
// The main window: the Win32 window that hosts TAppForm and carries out what the form asks of
// its view. A small, dark, alpha-blended, top-most popup with a caption and a sizing frame but
// no title-bar buttons, owned by the hidden application window so that it gets no taskbar
// button.
#include <windows.h>

#include "app/app_form.h"
#include "app/app_form_view.h"
#include "ui/window_base_win.h"

namespace lb {

class AppFormWindow final : public WindowBase, public IAppFormView {
 public:
  static constexpr const wchar_t* kClassName = L"TAppForm";
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  static constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOPMOST;
  static constexpr BYTE kDesignAlpha = 150;

  // Creates the window, hidden, in its design state: client area of the design size at the
  // DPI of the monitor it lies on. Throws AppError when the window cannot be created.
  AppFormWindow(HINSTANCE instance, HWND owner, const AppPlatform& platform);
  ~AppFormWindow() override;

  [[nodiscard]] TAppForm& Form() noexcept { return form_; }

  // Shows the window without activating it: it never takes the keyboard focus from the
  // window the user is typing in.
  void ShowWithoutActivating() noexcept;

  // IAppFormView
  [[nodiscard]] Rect Bounds() const override;
  void SetBounds(const Rect& bounds) override;
  [[nodiscard]] Rect PrimaryWorkArea() const override;
  [[nodiscard]] Size PrimaryScreenSize() const override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyDesignSize() noexcept;

  TAppForm form_;
  // Moves and size changes reach the form only once the window stands in its design state, not
  // while CreateWindowExW is still under way.
  bool forwardGeometry_ = false;
};

}  // namespace lb
