#include "app/app_window_win.h"

#include <commdlg.h>
#include <dwmapi.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "about/about_box_win.h"
#include "base/resource_ids.h"
#include "i18n/language_chooser_win.h"
#include "indicator/popup_menu_win.h"
#include "indicator/settings_window_win.h"
#include "online/feedback_dialog_win.h"
#include "online/update_check_win.h"
#include "platform/app_error.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/app_title.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/error_report_win.h"
#include "ui/geometry_win.h"
#include "ui/modal_loop_win.h"
#include "ui/pixels.h"
#include "ui/png_win.h"

namespace lb {
namespace {

// The pixel sizes the LED pictures are kept at, in the order of their resource ids.
constexpr int kLedPictureSizes[] = {32, 40, 48, 64};

// LedBand's raised outer bevel: one line of light and one of shadow.
constexpr int kBevelWidth = 1;

// The frame bits that change with the frame style.
constexpr DWORD kFrameBits = WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME;

COLORREF ToColorRef(Color color) noexcept { return RGB(color.r, color.g, color.b); }

int Width(const RECT& r) noexcept { return r.right - r.left; }
int Height(const RECT& r) noexcept { return r.bottom - r.top; }

UniqueFont MakeFont(int points, int weight, int dpi) {
  return UniqueFont(::CreateFontW(-::MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

// Text centred horizontally and vertically in `box`, wrapped at word boundaries.
void DrawWrappedCentred(HDC dc, const std::wstring& text, const RECT& box) {
  RECT measured = box;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  RECT target = box;
  target.top += std::max(0, (Height(box) - Height(measured)) / 2);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, format);
}

}  // namespace

DWORD AppWindow::StyleOf(FrameStyle frame) noexcept {
  switch (frame) {
    case FrameStyle::Sizeable:
      return WS_POPUP | WS_CAPTION | WS_THICKFRAME;
    case FrameStyle::Single:
      return WS_POPUP | WS_CAPTION;  // WS_CAPTION includes the thin border
    case FrameStyle::None:
      break;
  }
  return WS_POPUP;
}

AppWindow::AppWindow(HINSTANCE instance, HWND owner, const AppPlatform& platform)
    : app_(platform, *this, timers_, *this, *this) {
  const std::wstring title = ToWide(kAppTitle);
  Create(instance,
         {
             .name = kClassName,
             .background = nullptr,  // the window paints all of its client area
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
  dpi_ = DpiForWindow(Hwnd());
  menuBitmaps_.emplace(instance);
  MakeDpiResources();
  ApplyDesignSize();
  // The timers that the app started while it was constructed run from now on.
  timers_.Attach(Hwnd());
  forwardGeometry_ = true;
  // The program's icon with the application title until the creation sequence has read the
  // settings; then the lamps, unless they are switched off.
  programIcon_ = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON));
  app_.trayLamps.SetIconSize(NotificationIconSize());
  trayIcon_.emplace(Hwnd(), programIcon_, std::string(kAppTitle));
  // A look decided before the icon existed (a setting or DPI change during creation) was shown
  // nowhere: the next refresh shows it.
  app_.trayLamps.Invalidate();
  // Session unlocks and connects (WM_WTSSESSION_CHANGE): a lock key toggled on the lock screen
  // or set by a Remote Desktop client sends the program no key event.
  if (!RegisterSessionNotifications()) sessionRetry_.Start();
  // A new foreground window or desktop: the states may have changed where the program could
  // not see the key (the secure desktop, an elevated window in front).
  desktopEvents_.Subscribe(app_.monitor);
  desktopEvents_.Subscribe(*this);
  // A full-screen program in front keeps the indicator quiet: asked at every new foreground
  // window, and when the shell tells an app bar of one (F11 or a video, in the same window).
  desktopEvents_.Subscribe(app_.fullScreen);
  try {
    fullScreenAppBar_.emplace(instance, [this] { app_.fullScreen.OnFullScreenAppNotice(); });
  } catch (const AppError&) {
    // Without it a program that goes full-screen in its own window is seen at the next press.
  }
}

bool AppWindow::RegisterSessionNotifications() {
  if (sessionNotifications_) return true;
  // wtsapi32 is no KnownDLL: it comes from System32, never from the exe's folder.
  using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
  const auto registerNotification =
      SystemProc<RegisterFn>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionNotifications_ =
      registerNotification && registerNotification(Hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  return sessionNotifications_;
}

void AppWindow::OnForegroundChanged() {
  // After the retry timer gave up: once more at each such event, which costs no timer.
  if (!sessionNotifications_ && !sessionRetry_.Running()) RegisterSessionNotifications();
}

AppWindow::~AppWindow() {
  desktopEvents_.Unsubscribe(app_.monitor);
  desktopEvents_.Unsubscribe(*this);
  desktopEvents_.Unsubscribe(app_.fullScreen);
  fullScreenAppBar_.reset();
  sessionRetry_.Stop();
  if (sessionNotifications_) {
    using UnregisterFn = BOOL(WINAPI*)(HWND);
    if (const auto unregister =
            SystemProc<UnregisterFn>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification")) {
      unregister(Hwnd());
    }
  }
  // Destroy while the handlers still exist, so that WM_DESTROY ends the message loop.
  Destroy();
}

void AppWindow::ApplyDesignSize() noexcept {
  RECT outer{0, 0, Scale(kDesignClientWidth, dpi_), Scale(kDesignClientHeight, dpi_)};
  if (!AdjustWindowRectForDpi(outer, kStyle, kExStyle, dpi_)) return;
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AppWindow::MakeDpiResources() {
  labelFont_ = MakeFont(8, FW_NORMAL, dpi_);
  statusFont_ = MakeFont(10, FW_BOLD, dpi_);
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(Hwnd(), GWLP_HINSTANCE));
  const int size = Scale(kLedSize, dpi_);
  ledLit_ = LoadSizedPngResource(instance, IDP_LED_ON_BASE, kLedPictureSizes, size);
  ledDark_ = LoadSizedPngResource(instance, IDP_LED_OFF_BASE, kLedPictureSizes, size);
}

void AppWindow::ShowWithoutActivating() noexcept { ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE); }

KeySource AppWindow::StartKeyEvents(std::optional<KeySource> forced) {
  if (keySourceChosen_) return keySource_;
  keySourceChosen_ = true;
  keySource_ =
      StartKeySource(forced, {.startRawInput = [this] { return RegisterRawKeyboardInput(Hwnd()); },
                              .startKeyboardHook = [this] { return keyboardHook_.Start(Hwnd()); }});
  if (keySource_ != KeySource::Polling) app_.monitor.UseKeyEvents();
  return keySource_;
}

// ---- geometry --------------------------------------------------------------------------------

Rect AppWindow::Bounds() const {
  RECT bounds{};
  ::GetWindowRect(Hwnd(), &bounds);
  return ToRect(bounds);
}

void AppWindow::SetBounds(const Rect& bounds) {
  // WM_MOVE and WM_SIZE reach the app before SetWindowPos returns.
  ::SetWindowPos(Hwnd(), nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect AppWindow::PrimaryWorkArea() const {
  RECT workArea{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToRect(workArea);
}

Size AppWindow::PrimaryScreenSize() const {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

Insets AppWindow::InvisibleBorders() const {
  if (frame_ == FrameStyle::None) return {};
  // dwmapi is no KnownDLL: from System32, at first use. Only a compositor that runs draws
  // frames with invisible borders (on Windows 8 and later it always runs). Wine's answers
  // E_NOTIMPL for the frame: no borders there.
  using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
  using GetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const auto isCompositionEnabled =
      SystemProc<IsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
  static const auto getAttribute =
      SystemProc<GetAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
  RECT outer{};
  if (!::GetWindowRect(Hwnd(), &outer)) return {};
  BOOL composition = FALSE;
  RECT frame{};
  const bool answered =
      isCompositionEnabled != nullptr && getAttribute != nullptr &&
      SUCCEEDED(isCompositionEnabled(&composition)) && composition != FALSE &&
      SUCCEEDED(getAttribute(Hwnd(), DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame)));
  const Rect visible = ToRect(frame);
  const bool onScreen = ::IsWindowVisible(Hwnd()) != FALSE;
  const bool known = knownBorders_ && knownBorders_->frame == frame_ && knownBorders_->dpi == dpi_;
  const Insets borders =
      InvisibleBordersOf(ToRect(outer), answered ? &visible : nullptr, onScreen,
                         known ? knownBorders_->borders : EstimatedInvisibleBorders());
  if (answered && onScreen) knownBorders_ = KnownBorders{borders, frame_, dpi_};
  return borders;
}

Insets AppWindow::EstimatedInvisibleBorders() const {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE));
  if ((style & (WS_THICKFRAME | WS_CAPTION)) == 0) return {};
  using GetMetricFn = int(WINAPI*)(int, UINT);
  static const auto getMetric = SystemProc<GetMetricFn>(L"user32.dll", "GetSystemMetricsForDpi");
  const auto metric = [&](int index) {
    return getMetric ? getMetric(index, static_cast<UINT>(dpi_)) : ::GetSystemMetrics(index);
  };
  const bool sizing = (style & WS_THICKFRAME) != 0;
  const int padding = metric(SM_CXPADDEDBORDER);
  const int side =
      metric(sizing ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME) + padding - metric(SM_CXBORDER);
  const int bottom =
      metric(sizing ? SM_CYSIZEFRAME : SM_CYFIXEDFRAME) + padding - metric(SM_CYBORDER);
  return {std::max(0, side), 0, std::max(0, side), std::max(0, bottom)};
}

Rect AppWindow::WorkAreaFor(const Rect& bounds) const {
  const RECT area = ToRECT(bounds);
  MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
  if (!::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &info)) {
    return PrimaryWorkArea();
  }
  return ToRect(info.rcWork);
}

MonitorArea AppWindow::AreaOf(HMONITOR monitor) const {
  MONITORINFO info{.cbSize = sizeof(MONITORINFO)};
  if (!::GetMonitorInfoW(monitor, &info)) return {PrimaryWorkArea(), DpiForWindow(nullptr)};
  return {ToRect(info.rcWork), DpiForMonitor(monitor)};
}

MonitorArea AppWindow::MonitorOf(const Rect& bounds) const {
  const RECT area = ToRECT(bounds);
  return AreaOf(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST));
}

MonitorArea AppWindow::ActiveMonitor() const {
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

Point AppWindow::CursorPos() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return {cursor.x, cursor.y};
}

int AppWindow::ClientHeight() const {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  return client.bottom;
}

void AppWindow::SetClientHeight(int height) {
  RECT client{};
  RECT outer{};
  ::GetClientRect(Hwnd(), &client);
  ::GetWindowRect(Hwnd(), &outer);
  // The frame keeps its size: the outer height changes by as much as the client height.
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, Width(outer), Height(outer) + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AppWindow::SetFrameStyle(FrameStyle style) {
  // The client area stays where it is on the screen, with its size; the outer rectangle follows
  // the new frame.
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  ::MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const auto oldStyle = static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_STYLE));
  const DWORD newStyle = (oldStyle & ~kFrameBits) | StyleOf(style);
  const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE));
  frame_ = style;
  ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, static_cast<LONG_PTR>(newStyle));
  RECT outer = client;
  if (!AdjustWindowRectForDpi(outer, newStyle, exStyle, dpi_)) outer = client;
  ::SetWindowPos(Hwnd(), nullptr, outer.left, outer.top, Width(outer), Height(outer),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Redraw();
}

AppWindow::Layout AppWindow::ComputeLayout() const {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  Layout layout;
  layout.ledBand = {0, 0, client.right, Scale(kLedBandHeight, dpi_)};
  RECT inner = layout.ledBand;
  if (ledBandRaised_) ::InflateRect(&inner, -kBevelWidth, -kBevelWidth);
  layout.panelTexts = {inner.left, inner.bottom - Scale(kPanelTextsHeight, dpi_), inner.right,
                       inner.bottom};
  layout.panelLeds = {inner.left, inner.top, inner.right, layout.panelTexts.top};

  const RECT& texts = layout.panelTexts;
  const int numLockWidth = sideLabelWidth_.value_or(Scale(kNumLockLabelWidth, dpi_));
  const int scrollLockWidth = sideLabelWidth_.value_or(Scale(kScrollLockLabelWidth, dpi_));
  layout.numLockLabel = {texts.left, texts.top, texts.left + numLockWidth, texts.bottom};
  layout.scrollLockLabel = {texts.right - scrollLockWidth, texts.top, texts.right, texts.bottom};
  layout.capsLockLabel = {layout.numLockLabel.right, texts.top,
                          std::max(layout.numLockLabel.right, layout.scrollLockLabel.left),
                          texts.bottom};

  const int margin = Scale(kStatusLabelMargin, dpi_);
  layout.statusLabel = {margin, layout.ledBand.bottom + margin, client.right - margin,
                        client.bottom - margin};
  return layout;
}

int AppWindow::LedBandHeight() const { return Scale(kLedBandHeight, dpi_); }

int AppWindow::PanelTextsClientWidth() const { return Width(ComputeLayout().panelTexts); }

Size AppWindow::PanelLedsClientSize() const {
  const RECT leds = ComputeLayout().panelLeds;
  return {Width(leds), Height(leds)};
}

Size AppWindow::LedImageSize() const {
  const int size = Scale(kLedSize, dpi_);
  return {size, size};
}

std::array<int, 3> AppWindow::KeyLabelWidths() const {
  const Layout layout = ComputeLayout();
  return {Width(layout.numLockLabel), Width(layout.capsLockLabel), Width(layout.scrollLockLabel)};
}

void AppWindow::SetKeyLabelWidths(int sideWidth) {
  sideLabelWidth_ = sideWidth;
  Redraw();
}

void AppWindow::SetLedPosition(LedColumn column, Point topLeft) {
  ledPositions_[static_cast<std::size_t>(column)] = topLeft;
  Redraw();
}

// ---- showing ---------------------------------------------------------------------------------

void AppWindow::SetAlpha(std::uint8_t alpha) {
  if (alpha == alpha_) return;
  alpha_ = alpha;
  ::SetLayeredWindowAttributes(Hwnd(), 0, alpha, LWA_ALPHA);
}

bool AppWindow::Visible() const { return ::IsWindowVisible(Hwnd()) != FALSE; }

void AppWindow::SetVisible(bool visible) {
  if (visible == Visible()) return;
  // Shown without activation: the keyboard focus stays in the window the user is typing in.
  ::ShowWindow(Hwnd(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void AppWindow::SetTopMost(bool topMost) {
  ::SetWindowPos(Hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AppWindow::ProcessMessages() { ProcessPendingMessages(); }

// ---- what the window shows -------------------------------------------------------------------

void AppWindow::SetLed(LedColumn column, bool lit) {
  leds_[static_cast<std::size_t>(column)] = lit;
  Redraw();
}

void AppWindow::SetStatusText(const std::string& text) {
  statusText_ = text;
  Redraw();
}

void AppWindow::SetStatusColor(Color color) {
  statusColor_ = color;
  Redraw();
}

void AppWindow::SetBackground(Color color) {
  background_ = color;
  Redraw();
}

void AppWindow::SetLedBandRaised(bool raised) {
  ledBandRaised_ = raised;
  Redraw();
}

void AppWindow::Redraw() noexcept { ::InvalidateRect(Hwnd(), nullptr, FALSE); }

std::wstring AppWindow::Caption(const char* component, const char* english) const {
  const auto found = app_.captions.find(component);
  return ToWide(found != app_.captions.end() ? found->second : english);
}

void AppWindow::Paint(HDC target, const RECT& client) {
  if (client.right <= 0 || client.bottom <= 0) return;
  // Drawn off screen and copied in one piece, so that nothing flickers.
  MemoryDC buffer(target);
  UniqueBitmap bitmap(::CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!buffer || !bitmap) return;
  const ScopedSelectObject selectBitmap(buffer.get(), bitmap.get());
  const HDC dc = buffer.get();
  const Layout layout = ComputeLayout();

  const UniqueBrush background(::CreateSolidBrush(ToColorRef(background_)));
  ::FillRect(dc, &client, background.get());
  if (ledBandRaised_) {
    RECT bevel = layout.ledBand;
    ::DrawEdge(dc, &bevel, BDR_RAISEDOUTER, BF_RECT);
  }

  // The LEDs: of each pair the lit or the dark picture (the dark one lies on top until the app
  // first sets the pair), clipped to the LED row.
  {
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, layout.panelLeds.left, layout.panelLeds.top, layout.panelLeds.right,
                        layout.panelLeds.bottom);
    for (std::size_t i = 0; i < leds_.size(); ++i) {
      const DibSection& picture = leds_[i].value_or(false) ? ledLit_ : ledDark_;
      DrawPicture(dc, picture, layout.panelLeds.left + ledPositions_[i].x,
                  layout.panelLeds.top + ledPositions_[i].y);
    }
    ::RestoreDC(dc, saved);
  }

  ::SetBkMode(dc, TRANSPARENT);
  {
    const ScopedSelectObject selectFont(dc, labelFont_.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    DrawWrappedCentred(dc, Caption("NumLockLabel", "Num Lock"), layout.numLockLabel);
    DrawWrappedCentred(dc, Caption("CapsLockLabel", "Caps Lock"), layout.capsLockLabel);
    DrawWrappedCentred(dc, Caption("ScrollLockLabel", "Scroll Lock"), layout.scrollLockLabel);
  }
  if (!statusText_.empty() && Height(layout.statusLabel) > 0) {
    const ScopedSelectObject selectFont(dc, statusFont_.get());
    ::SetTextColor(dc, ToColorRef(statusColor_));
    const std::wstring text = ToWide(statusText_);
    RECT box = layout.statusLabel;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }

  ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

// ---- menu and dialog -------------------------------------------------------------------------

UniqueMenu AppWindow::MakePopupMenu() {
  // No menu is open while another is made, so a new DPI may drop the old pictures here.
  menuBitmaps_->SetDpi(dpi_);
  return BuildMenu(app_.Menu(), menuBitmaps_->Provider());
}

void AppWindow::TrackPopupMenu(Point screen, bool firstItemSelected) {
  const UniqueMenu menu = MakePopupMenu();
  ShowPopupMenu(Hwnd(), menu.get(), {screen.x, screen.y}, firstItemSelected);
}

std::optional<std::string> AppWindow::OpenFileDialog(const std::string& filterDescription,
                                                     const std::string& filterPattern,
                                                     const std::string& defaultExtension,
                                                     const std::string& presetFile) {
  // One filter entry: description, pattern, and the empty entry that ends the list.
  std::wstring filter = ToWide(filterDescription);
  filter += L'\0';
  filter += ToWide(filterPattern);
  filter += L'\0';
  filter += L'\0';
  const std::wstring extension = ToWide(defaultExtension);
  // Room for the longest path the file system allows.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring preset = ToWide(presetFile);
  if (preset.size() < file.size()) std::copy(preset.begin(), preset.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(OPENFILENAMEW);
  dialog.hwndOwner = Hwnd();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // A typed name is taken as it is (the file is not tested: a missing one plays the built-in
  // sound); the program's current folder stays where it was.
  dialog.Flags =
      OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_EXPLORER;
  dialog.lpstrDefExt = extension.c_str();
  // comdlg32 (a KnownDLL) is loaded at the first file dialog, not at every start: it pulls in the
  // printer spooler and its libraries.
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto getOpenFileName = SystemProc<GetOpenFileNameFn>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!getOpenFileName || !getOpenFileName(&dialog)) return std::nullopt;  // cancelled (or refused)
  return ToUtf8(file.data());
}

// ---- messages --------------------------------------------------------------------------------

Point AppWindow::ToScreen(LPARAM lParam) const noexcept {
  // Signed: while the mouse is captured it may be left of or above the client area.
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(Hwnd(), &point);
  return {point.x, point.y};
}

void AppWindow::OnMouseDown(MouseButton button, LPARAM lParam) {
  if (button != MouseButton::Right) {
    // A drag goes on when the cursor leaves the window.
    captureButton_ = button;
    ::SetCapture(Hwnd());
  }
  app_.OnMouseDown(button, ToScreen(lParam));
}

void AppWindow::OnMouseUp(MouseButton button) {
  if (captureButton_ == button) {
    captureButton_.reset();
    ::ReleaseCapture();
  }
  app_.OnMouseUp(button);
}

void AppWindow::Terminate() { ::PostQuitMessage(0); }

void AppWindow::OpenFeedbackDialog() { ShowFeedbackDialog(Hwnd()); }
void AppWindow::OpenAboutBox() { ShowAboutBox(Hwnd()); }

void AppWindow::ShowUpdateOn() { lb::ShowUpdateOn(); }

void AppWindow::ShowUpdateOff() { lb::ShowUpdateOff(); }

void AppWindow::ShowTrayLook(const TrayLook& look, const std::string& tooltip) {
  if (!trayIcon_) return;
  if (look.lamps) {
    // Drawn for the size the shell shows, not squeezed from another one.
    trayIcon_->Show(DrawTrayPicture(look, look.size), tooltip);
  } else {
    trayIcon_->Show(programIcon_, tooltip);
  }
}

void AppWindow::OpenLanguageChooser() {
  ShowLanguageChooser(
      Hwnd(),
      {.setLanguageFile = [this](const std::string& filename) { app_.SetLanguageFile(filename); },
       .terminate = [this] { Terminate(); }});
}

void AppWindow::OpenSettingsDialog() {
  // Owned by the application window, as the main window is: no taskbar button.
  static_cast<void>(
      SettingsWindow::Open(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(Hwnd(), GWLP_HINSTANCE)),
                           ::GetWindow(Hwnd(), GW_OWNER), app_.NewSettingsDialog()));
}

LRESULT AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (trayIcon_) {
    switch (trayIcon_->HandleMessage(message, wParam, lParam)) {
      case TrayMouse::ButtonDown:
        app_.menu.OnTrayIconMouseDown();
        return 0;
      case TrayMouse::RightButtonUp:
        ::SetForegroundWindow(Hwnd());
        app_.menu.OnTrayIconPopup();
        return 0;
      case TrayMouse::KeyboardMenu:
        ::SetForegroundWindow(Hwnd());
        app_.menu.OnTrayIconKeyboardMenu(trayIcon_->MenuAnchor());
        return 0;
      case TrayMouse::None:
        break;
    }
  }
  switch (message) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (DrawMenuPicture(message, lParam)) return TRUE;
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      // A chosen item of the tray menu.
      if (HIWORD(wParam) == 0 && lParam == 0) {
        app_.menu.Execute(MenuCommandFromId(LOWORD(wParam)));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);

    case WM_MOVE:
      if (forwardGeometry_) {
        try {
          app_.OnMove();
        } catch (...) {
          // The handler stops at the failing step: no default handling either.
          ReportCurrentException();
          return 0;
        }
      }
      return DefaultHandling(message, wParam, lParam);

    case WM_SIZE:
      // An error here reaches the error report through the window procedure.
      if (forwardGeometry_) app_.OnResize();
      Redraw();
      return 0;

    case WM_WINDOWPOSCHANGING: {
      // Snapping to the edges of the work area, for moves that keep the size.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (forwardGeometry_ && !(pos->flags & SWP_NOMOVE)) {
        const Rect current = Bounds();
        const bool keepsSize = (pos->flags & SWP_NOSIZE) != 0;
        const Rect proposed =
            Rect::FromPosSize(pos->x, pos->y, keepsSize ? current.Width() : pos->cx,
                              keepsSize ? current.Height() : pos->cy);
        const Rect placed = SnapWindowRect(current, proposed, WorkAreaFor(proposed),
                                           app_.screenSnap, InvisibleBorders());
        pos->x = placed.left;
        pos->y = placed.top;
      }
      return DefaultHandling(message, wParam, lParam);
    }

    case WM_TIMER:
      if (wParam == static_cast<WPARAM>(kSessionRetryTimerId)) {
        sessionRetry_.OnTimer();
        return 0;
      }
      app_.OnTimer(static_cast<int>(wParam));
      return 0;

    case WM_INPUT:
      // Raw keyboard input: every key of the system, down and up, while the window is in the
      // background too. The default handling frees the input's data.
      if (keySource_ == KeySource::RawInput) {
        if (const std::optional<KeyEvent> key = ReadRawKeyEvent(lParam)) {
          app_.monitor.OnKeyEvent(key->vk, key->down);
        }
      }
      return DefaultHandling(message, wParam, lParam);
    case kLockKeyMessage:
      // A lock key, posted by the keyboard hook's thread.
      if (const std::optional<KeyEvent> key = ReadLockKeyMessage(wParam, lParam)) {
        app_.monitor.OnKeyEvent(key->vk, key->down);
      }
      return 0;

    case WM_LBUTTONDOWN:
      OnMouseDown(MouseButton::Left, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouseDown(MouseButton::Middle, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouseDown(MouseButton::Right, lParam);
      return 0;
    case WM_MOUSEMOVE:
      app_.OnMouseMove(ToScreen(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnMouseUp(MouseButton::Left);
      return 0;
    case WM_MBUTTONUP:
      OnMouseUp(MouseButton::Middle);
      return 0;
    case WM_RBUTTONUP:
      OnMouseUp(MouseButton::Right);
      return 0;
    case WM_CONTEXTMENU: {
      // The menu from the keyboard (the menu key, Shift+F10) at the window's corner, and from a
      // right click on the frame or caption at the cursor. A right click in the client area has
      // opened it already (WM_RBUTTONDOWN), and does not come here.
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (lParam == -1) {
        at = {0, 0};
        ::ClientToScreen(Hwnd(), &at);
      } else if (::SendMessageW(Hwnd(), WM_NCHITTEST, 0, lParam) == HTCLIENT) {
        return 0;
      }
      app_.indicator.Popup({at.x, at.y}, lParam == -1);
      return 0;
    }

    case WM_WTSSESSION_CHANGE:
      // Back from the lock screen, or connected (a Remote Desktop client sets the states).
      if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT ||
          wParam == WTS_REMOTE_CONNECT) {
        app_.OnLockStatesMayHaveChanged();
      }
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
        app_.OnLockStatesMayHaveChanged();
        // Docked or undocked while asleep: the indicator's monitor may be gone.
        app_.OnDisplaysChanged();
      }
      return TRUE;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
      // The taskbar's display may have another scale now: the lamps follow its icon size.
      app_.trayLamps.SetIconSize(NotificationIconSize());
      // A monitor added, removed or rearranged, another resolution, or a work area that changed
      // (the taskbar moved or grew): the indicator stays where it can be seen.
      if (message == WM_DISPLAYCHANGE || wParam == SPI_SETWORKAREA) app_.OnDisplaysChanged();
      return DefaultHandling(message, wParam, lParam);
    case WM_ENTERSIZEMOVE:
      // The user takes the window by its caption or frame: wherever it goes is the user's
      // place, even when it stood away from it (on another monitor, or out of a lost one).
      app_.OnUserPlacesWindow();
      return DefaultHandling(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      // Another window took the mouse in the middle of a drag: for the app, the button is up.
      if (captureButton_) {
        const MouseButton button = *captureButton_;
        captureButton_.reset();
        app_.OnMouseUp(button);
      }
      return 0;

    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintOrPrint(Hwnd(), message, wParam, [this](HDC dc) {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        Paint(dc, client);
      });
      return 0;

    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      MakeDpiResources();
      // The scale of this window's display changed, or the window went to another display: the
      // taskbar's may be this one.
      app_.trayLamps.SetIconSize(NotificationIconSize());
      // The system suggests the rectangle that keeps the window's size in design units on the
      // new monitor; the layout pass that follows the size change places the labels and LEDs.
      MoveToSuggestedRect(Hwnd(), lParam);
      Redraw();
      return 0;
    }

    case WM_DESTROY:
      timers_.Detach();
      // No key events for a window that is gone: the hook's thread ends here.
      keyboardHook_.Stop();
      if (keySource_ == KeySource::RawInput) UnregisterRawKeyboardInput();
      // The main window is the program: when it goes, the message loop ends.
      ::PostQuitMessage(0);
      return 0;

    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace lb
