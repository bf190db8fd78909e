#pragma once
// The main window: the Win32 window that hosts TAppForm and carries out what the form asks of
// its view. A small, dark, alpha-blended, top-most popup with a caption and a sizing frame but
// no title-bar buttons, owned by the hidden application window so that it gets no taskbar
// button.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/app_form.h"
#include "indicator/indicator_view.h"
#include "platform/timer.h"
#include "ui/window_base_win.h"

namespace lb {

class AppFormWindow final : public WindowBase, public IIndicatorView, public ITimerHost {
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

  // IIndicatorView and ITimerHost: placeholders that keep the window building until the
  // indicator's Win32 side (LEDs, labels, status line, timers, menu, file dialog) is in place.
  [[nodiscard]] std::uint8_t Alpha() const override { return kDesignAlpha; }
  void SetAlpha(std::uint8_t) override {}
  [[nodiscard]] bool Visible() const override { return ::IsWindowVisible(Hwnd()) != FALSE; }
  void SetVisible(bool) override {}
  void SetTopMost(bool) override {}
  void ProcessMessages() override {}
  [[nodiscard]] int ClientHeight() const override { return 0; }
  void SetClientHeight(int) override {}
  [[nodiscard]] int Panel1Height() const override { return 0; }
  void SetLed(LedColumn, bool) override {}
  [[nodiscard]] std::string StatusText() const override { return {}; }
  void SetStatusText(const std::string&) override {}
  void SetStatusColor(Color) override {}
  void SetBackground(Color) override {}
  void SetFrameStyle(FrameStyle) override {}
  void SetPanel1Raised(bool) override {}
  [[nodiscard]] int PanelTextsClientWidth() const override { return 0; }
  [[nodiscard]] Size PanelLedsClientSize() const override { return {}; }
  [[nodiscard]] Size LedImageSize() const override { return {}; }
  void SetKeyLabelWidths(int) override {}
  void SetLedPosition(LedColumn, Point) override {}
  [[nodiscard]] Point CursorPos() const override { return {}; }
  [[nodiscard]] Rect WorkAreaFor(const Rect&) const override { return PrimaryWorkArea(); }
  void TrackPopupMenu(Point) override {}
  [[nodiscard]] std::optional<std::string> OpenFileDialog(const std::string&, const std::string&,
                                                          const std::string&,
                                                          const std::string&) override {
    return std::nullopt;
  }
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyDesignSize() noexcept;

  TAppForm form_;
  // Moves and size changes reach the form only once the window stands in its design state, not
  // while CreateWindowExW is still under way.
  bool forwardGeometry_ = false;
};

}  // namespace lb
