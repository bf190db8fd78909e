#include "app/app_window_win.h"

#include <dwmapi.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "base/resource_ids.h"
#include "indicator/popup_menu_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/app_title.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/error_report_win.h"
#include "ui/font_win.h"
#include "ui/geometry_win.h"
#include "ui/modal_loop_win.h"
#include "ui/pixels.h"
#include "ui/png_win.h"

namespace lb {
namespace {

// The pixel sizes the LED pictures are kept at, in the order of their resource ids.
constexpr int kLedPictureSizes[] = {32, 40, 48, 64};

// The frame bits that change with the frame style.
constexpr DWORD kFrameBits = WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME;

COLORREF ToColorRef(Color color) noexcept { return RGB(color.r, color.g, color.b); }

int Width(const RECT& r) noexcept { return r.right - r.left; }
int Height(const RECT& r) noexcept { return r.bottom - r.top; }

// The indicator's labels: Tahoma at the system's default quality.
UniqueFont IndicatorFont(int points, bool bold, int dpi) {
  return MakeFont({.pixelHeight = FontPixels(points, dpi),
                   .bold = bold,
                   .quality = DEFAULT_QUALITY,
                   .pitchAndFamily = DEFAULT_PITCH | FF_SWISS});
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
    : screen_(platform.screen),
      dialogs_(app_),
      app_(platform, *this, timers_, dialogs_, trayView_) {
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
  dialogs_.SetOwner(Hwnd());
  // The program's icon with the application title until the creation sequence has read the
  // settings; then the lamps, unless they are switched off.
  app_.OnTrayIconSize(NotificationIconSize());
  trayView_.Add(Hwnd(), ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON)),
                std::string(kAppTitle));
  // A look decided before the icon existed (a setting or DPI change during creation) was shown
  // nowhere: the next refresh shows it.
  app_.OnTrayIconRecreated();
  systemEvents_.emplace(instance, owner, app_);
}

AppWindow::~AppWindow() {
  systemEvents_.reset();
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
  labelFont_ = IndicatorFont(8, false, dpi_);
  statusFont_ = IndicatorFont(10, true, dpi_);
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(Hwnd(), GWLP_HINSTANCE));
  const int size = lb::LedImageSize(dpi_).width;
  ledLit_ = LoadSizedPngResource(instance, IDP_LED_ON_BASE, kLedPictureSizes, size);
  ledDark_ = LoadSizedPngResource(instance, IDP_LED_OFF_BASE, kLedPictureSizes, size);
}

void AppWindow::ShowWithoutActivating() noexcept { ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE); }

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

IndicatorLayout AppWindow::Layout() const {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  return LayOutIndicator({.client = {client.right, client.bottom},
                          .dpi = dpi_,
                          .ledBandRaised = ledBandRaised_,
                          .sideLabelWidth = sideLabelWidth_});
}

int AppWindow::LedBandHeight() const { return Layout().ledBand.Height(); }

int AppWindow::PanelTextsClientWidth() const { return Layout().panelTexts.Width(); }

Size AppWindow::PanelLedsClientSize() const {
  const Rect leds = Layout().panelLeds;
  return {leds.Width(), leds.Height()};
}

Size AppWindow::LedImageSize() const { return lb::LedImageSize(dpi_); }

std::array<int, 3> AppWindow::KeyLabelWidths() const {
  const IndicatorLayout layout = Layout();
  return {layout.numLockLabel.Width(), layout.capsLockLabel.Width(),
          layout.scrollLockLabel.Width()};
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

void AppWindow::Paint(HDC target, const RECT& client) {
  if (client.right <= 0 || client.bottom <= 0) return;
  // Drawn off screen and copied in one piece, so that nothing flickers.
  MemoryDC buffer(target);
  UniqueBitmap bitmap(::CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!buffer || !bitmap) return;
  const ScopedSelectObject selectBitmap(buffer.get(), bitmap.get());
  const HDC dc = buffer.get();
  const IndicatorLayout layout = Layout();
  const RECT ledBand = ToRECT(layout.ledBand);
  const RECT panelLeds = ToRECT(layout.panelLeds);

  const UniqueBrush background(::CreateSolidBrush(ToColorRef(background_)));
  ::FillRect(dc, &client, background.get());
  if (ledBandRaised_) {
    RECT bevel = ledBand;
    ::DrawEdge(dc, &bevel, BDR_RAISEDOUTER, BF_RECT);
  }

  // The LEDs: of each pair the lit or the dark picture (the dark one lies on top until the app
  // first sets the pair), clipped to the LED row.
  {
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, panelLeds.left, panelLeds.top, panelLeds.right, panelLeds.bottom);
    for (std::size_t i = 0; i < leds_.size(); ++i) {
      const DibSection& picture = leds_[i].value_or(false) ? ledLit_ : ledDark_;
      DrawPicture(dc, picture, panelLeds.left + ledPositions_[i].x,
                  panelLeds.top + ledPositions_[i].y);
    }
    ::RestoreDC(dc, saved);
  }

  ::SetBkMode(dc, TRANSPARENT);
  {
    const ScopedSelectObject selectFont(dc, labelFont_.get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    DrawWrappedCentred(dc, ToWide(app_.KeyLabel(LedColumn::NumLock)), ToRECT(layout.numLockLabel));
    DrawWrappedCentred(dc, ToWide(app_.KeyLabel(LedColumn::CapsLock)),
                       ToRECT(layout.capsLockLabel));
    DrawWrappedCentred(dc, ToWide(app_.KeyLabel(LedColumn::ScrollLock)),
                       ToRECT(layout.scrollLockLabel));
  }
  if (!statusText_.empty() && layout.statusLabel.Height() > 0) {
    const ScopedSelectObject selectFont(dc, statusFont_.get());
    ::SetTextColor(dc, ToColorRef(statusColor_));
    const std::wstring text = ToWide(statusText_);
    RECT box = ToRECT(layout.statusLabel);
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

bool AppWindow::HandleTrayMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (trayView_.HandleMessage(message, wParam, lParam)) {
    case TrayMouse::ButtonDown:
      app_.OnTrayIconMouseDown();
      return true;
    case TrayMouse::RightButtonUp:
      // The menu that follows closes when the user clicks elsewhere only if its owner is in
      // the foreground.
      ::SetForegroundWindow(Hwnd());
      app_.OnTrayIconPopup();
      return true;
    case TrayMouse::KeyboardMenu:
      ::SetForegroundWindow(Hwnd());
      app_.OnTrayIconKeyboardMenu(trayView_.MenuAnchor());
      return true;
    case TrayMouse::None:
      break;
  }
  return false;
}

LRESULT AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTrayMessage(message, wParam, lParam)) return 0;
  switch (message) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (DrawMenuPicture(message, lParam)) return TRUE;
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      // A chosen item of the tray menu.
      if (HIWORD(wParam) == 0 && lParam == 0) {
        app_.OnCommand(MenuCommandFromId(LOWORD(wParam)));
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
        const Rect placed = SnapWindowRect(current, proposed, screen_.WorkAreaFor(proposed),
                                           app_.screenSnap, InvisibleBorders());
        pos->x = placed.left;
        pos->y = placed.top;
      }
      return DefaultHandling(message, wParam, lParam);
    }

    case WM_TIMER:
      app_.OnTimer(static_cast<int>(wParam));
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
      app_.OnContextMenu({at.x, at.y}, lParam == -1);
      return 0;
    }

    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
      // The taskbar's display may have another scale now: the lamps follow its icon size.
      app_.OnTrayIconSize(NotificationIconSize());
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
      app_.OnTrayIconSize(NotificationIconSize());
      // The system suggests the rectangle that keeps the window's size in design units on the
      // new monitor; the layout pass that follows the size change places the labels and LEDs.
      MoveToSuggestedRect(Hwnd(), lParam);
      Redraw();
      return 0;
    }

    case WM_DESTROY:
      timers_.Detach();
      // The main window is the program: when it goes, the message loop ends.
      ::PostQuitMessage(0);
      return 0;

    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace lb
