#pragma once
// The main window: the Win32 window that hosts App and carries out what the app asks of
// its view. A small, dark, alpha-blended, top-most popup with a caption and a sizing frame but
// no title-bar buttons, owned by the hidden application window so that it gets no taskbar
// button.
//
// It has no child windows: the LED row, the key labels and the status line are drawn by the
// window itself (double-buffered) from the state the app sets, and the whole client area is
// one drag surface. Sizes are design units at 96 DPI scaled to the window's DPI; fonts and
// pictures are made again when the DPI changes.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/app.h"
#include "indicator/full_screen_win.h"
#include "indicator/indicator_view.h"
#include "indicator/key_events_win.h"
#include "indicator/key_source.h"
#include "indicator/popup_menu_win.h"
#include "indicator/tray_icon_win.h"
#include "indicator/tray_menu.h"
#include "platform/desktop_events_win.h"
#include "platform/retry_timer.h"
#include "platform/timer_host_win.h"
#include "ui/handles_win.h"
#include "ui/window_base_win.h"

namespace lb {

class AppWindow final : public WindowBase,
                        public IIndicatorView,
                        public IAppHost,
                        public ITrayIconView,
                        private IDesktopEventListener {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconIndicator";
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  static constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOPMOST;
  static constexpr BYTE kDesignAlpha = 150;
  // The timer that tries WTSRegisterSessionNotification again (apart from the app's timers).
  static constexpr int kSessionRetryTimerId = 20;

  // The layout in design units.
  static constexpr int kLedBandHeight = 80;
  static constexpr int kPanelTextsHeight = 35;
  static constexpr int kNumLockLabelWidth = 45;
  static constexpr int kScrollLockLabelWidth = 49;
  static constexpr int kStatusLabelMargin = 3;
  static constexpr int kLedSize = 32;

  // The window style of each frame.
  [[nodiscard]] static DWORD StyleOf(FrameStyle frame) noexcept;

  // Creates the window, hidden, in its design state: client area of the design size at the
  // DPI of the monitor it lies on. Throws AppError when the window cannot be created.
  AppWindow(HINSTANCE instance, HWND owner, const AppPlatform& platform);
  ~AppWindow() override;

  [[nodiscard]] App& Logic() noexcept { return app_; }
  [[nodiscard]] const WindowTimerHost& Timers() const noexcept { return timers_; }

  // Shows the window without activating it: it never takes the keyboard focus from the
  // window the user is typing in.
  void ShowWithoutActivating() noexcept;

  // Chooses, once, where the key monitor learns of key presses: raw input for this window, else
  // the keyboard hook on its thread, else the 10 ms poll that runs from the start; `forced`
  // begins the chain at a source (ForcedKeySource). With an event source the poll runs only
  // while a lock key is down. Until this is called the window polls.
  KeySource StartKeyEvents(std::optional<KeySource> forced);
  [[nodiscard]] KeySource KeySourceInUse() const noexcept { return keySource_; }

  // What the window draws, for tests.
  [[nodiscard]] std::optional<bool> Led(LedColumn column) const noexcept {
    return leds_[static_cast<std::size_t>(column)];
  }
  [[nodiscard]] Point LedPosition(LedColumn column) const noexcept {
    return ledPositions_[static_cast<std::size_t>(column)];
  }
  [[nodiscard]] Color StatusColor() const noexcept { return statusColor_; }
  [[nodiscard]] Color Background() const noexcept { return background_; }
  [[nodiscard]] bool LedBandRaised() const noexcept { return ledBandRaised_; }
  [[nodiscard]] FrameStyle Frame() const noexcept { return frame_; }
  // The key labels' widths: NumLockLabel, CapsLockLabel, ScrollLockLabel.
  [[nodiscard]] std::array<int, 3> KeyLabelWidths() const;
  [[nodiscard]] int Dpi() const noexcept { return dpi_; }
  // The tray menu as the window pops it up: the app's tree with the pictures at the window's DPI.
  // The pictures stay valid until the menu is made again at another DPI.
  [[nodiscard]] UniqueMenu MakePopupMenu();
  // Where the pictures come from: the program's own resources unless a test says otherwise.
  void SetPictureModule(HMODULE module) noexcept { menuBitmaps_.emplace(module); }

  // IWindowPlacement
  [[nodiscard]] Rect Bounds() const override;
  void SetBounds(const Rect& bounds) override;
  [[nodiscard]] Rect PrimaryWorkArea() const override;
  [[nodiscard]] Size PrimaryScreenSize() const override;
  [[nodiscard]] Insets InvisibleBorders() const override;

  // IIndicatorView
  [[nodiscard]] std::uint8_t Alpha() const override { return alpha_; }
  void SetAlpha(std::uint8_t alpha) override;
  [[nodiscard]] bool Visible() const override;
  void SetVisible(bool visible) override;
  void SetTopMost(bool topMost) override;
  void ProcessMessages() override;
  [[nodiscard]] int ClientHeight() const override;
  void SetClientHeight(int height) override;
  [[nodiscard]] int LedBandHeight() const override;
  void SetLed(LedColumn column, bool lit) override;
  [[nodiscard]] std::string StatusText() const override { return statusText_; }
  void SetStatusText(const std::string& text) override;
  void SetStatusColor(Color color) override;
  void SetBackground(Color color) override;
  void SetFrameStyle(FrameStyle style) override;
  void SetLedBandRaised(bool raised) override;
  [[nodiscard]] int PanelTextsClientWidth() const override;
  [[nodiscard]] Size PanelLedsClientSize() const override;
  [[nodiscard]] Size LedImageSize() const override;
  void SetKeyLabelWidths(int sideWidth) override;
  void SetLedPosition(LedColumn column, Point topLeft) override;
  [[nodiscard]] Point CursorPos() const override;
  [[nodiscard]] Rect WorkAreaFor(const Rect& bounds) const override;
  [[nodiscard]] MonitorArea MonitorOf(const Rect& bounds) const override;
  [[nodiscard]] MonitorArea ActiveMonitor() const override;
  void TrackPopupMenu(Point screen, bool firstItemSelected) override;
  [[nodiscard]] std::optional<std::string> OpenFileDialog(const std::string& filterDescription,
                                                          const std::string& filterPattern,
                                                          const std::string& defaultExtension,
                                                          const std::string& presetFile) override;

  // IAppHost
  void Terminate() override;
  void OpenSettingsDialog() override;
  void OpenAboutBox() override;
  void OpenLanguageChooser() override;
  void OpenFeedbackDialog() override;
  void ShowUpdateOn() override;
  void ShowUpdateOff() override;

  // ITrayIconView
  void ShowTrayLook(const TrayLook& look, const std::string& tooltip) override;
  // The notification-area icon, for tests (there from the end of the constructor on).
  [[nodiscard]] const TrayIcon& Tray() const { return trayIcon_.value(); }
  // The foreground and desktop-switch announcements, which the key monitor follows (tests play
  // events through it).
  [[nodiscard]] DesktopEventHooks& DesktopEvents() noexcept { return desktopEvents_; }
  [[nodiscard]] bool SessionNotifications() const noexcept { return sessionNotifications_; }

 private:
  // IDesktopEventListener: a session notification that failed is tried once more at such an
  // event, after the retry timer gave up.
  void OnForegroundChanged() override;
  void OnDesktopSwitched() override { OnForegroundChanged(); }
  // WTSRegisterSessionNotification; answers whether the window gets the notifications now.
  bool RegisterSessionNotifications();

  // The invisible borders that the system metrics give the present frame at the present DPI:
  // the frame less its one visible pixel, left, right and bottom.
  [[nodiscard]] Insets EstimatedInvisibleBorders() const;

  // A monitor's work area and DPI (the primary work area when the system cannot say).
  [[nodiscard]] MonitorArea AreaOf(HMONITOR monitor) const;

  // The client-area rectangles of the panels and labels, at the present size and DPI.
  struct Layout {
    RECT ledBand{};
    RECT panelLeds{};
    RECT panelTexts{};
    RECT numLockLabel{};
    RECT capsLockLabel{};
    RECT scrollLockLabel{};
    RECT statusLabel{};
  };
  [[nodiscard]] Layout ComputeLayout() const;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyDesignSize() noexcept;
  // Fonts and LED pictures for the present DPI.
  void MakeDpiResources();
  void Paint(HDC target, const RECT& client);
  void Redraw() noexcept;
  void OnMouseDown(MouseButton button, LPARAM lParam);
  void OnMouseUp(MouseButton button);
  [[nodiscard]] Point ToScreen(LPARAM lParam) const noexcept;
  [[nodiscard]] std::wstring Caption(const char* component, const char* english) const;

  // Declared before the app: the app's timers start while it is constructed.
  WindowTimerHost timers_;
  App app_;
  HICON programIcon_ = nullptr;       // the tray icon without the lamps
  std::optional<TrayIcon> trayIcon_;  // TrayIcon
  KeySource keySource_ = KeySource::Polling;
  bool keySourceChosen_ = false;
  KeyboardHookThread keyboardHook_;
  // Moves and size changes reach the app only once the window stands in its design state, not
  // while CreateWindowExW is still under way.
  bool forwardGeometry_ = false;
  // The invisible borders the compositor last gave while the window was on the screen, for the
  // frame and DPI it had then: they stand in while it is hidden.
  struct KnownBorders {
    Insets borders;
    FrameStyle frame;
    int dpi;
  };
  mutable std::optional<KnownBorders> knownBorders_;
  bool sessionNotifications_ = false;  // WTSRegisterSessionNotification took the window
  // It fails at sign-in until the terminal service is ready: tried again for two minutes.
  RetryTimer sessionRetry_{timers_, kSessionRetryTimerId,
                           [this] { return RegisterSessionNotifications(); }};

  int dpi_ = 96;
  std::uint8_t alpha_ = kDesignAlpha;
  FrameStyle frame_ = FrameStyle::Sizeable;
  bool ledBandRaised_ = false;
  Color background_ = ColorBlack;
  Color statusColor_ = ColorLime;
  std::string statusText_;
  // Unset until the app first sets them; then exactly one picture of the pair shows.
  std::array<std::optional<bool>, 3> leds_{};
  std::array<Point, 3> ledPositions_{};
  // NumLockLabel's and ScrollLockLabel's widths in pixels; unset: the design widths at the present
  // DPI.
  std::optional<int> sideLabelWidth_;
  // The mouse button that holds the capture, while one does.
  std::optional<MouseButton> captureButton_;

  UniqueFont labelFont_;
  UniqueFont statusFont_;
  DibSection ledLit_;
  DibSection ledDark_;
  std::optional<MenuBitmaps> menuBitmaps_;
  // Tells the full-screen rule when the shell says a program went full-screen or left it
  // (none when its window could not be made).
  std::optional<FullScreenAppBar> fullScreenAppBar_;
  // Last: it goes first, before the listeners it tells.
  DesktopEventHooks desktopEvents_;
};

}  // namespace lb
