#include "online/update_notice_window_win.h"

#include <windowsx.h>

#include "base/resource_ids.h"
#include "platform/app_error.h"
#include "platform/shell_win.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/dpi_window_win.h"
#include "ui/font_win.h"

namespace lb {
namespace {

// The places of the parts, in design units of the 320 x 68 client area: a raised bevel of one
// pixel, the icon on the left (60 x 60, inset by 3), the middle panel (230 wide) with the title
// on top (inset by 3, 16 high) and the link below it, the close button (22 x 22) on the right.
constexpr RECT kIconRect{4, 4, 64, 64};
constexpr RECT kMiddlePanelRect{67, 1, 297, 67};
constexpr RECT kTitleRect{70, 4, 294, 20};
constexpr RECT kLinkRect{67, 23, 297, 67};
constexpr RECT kCloseButtonRect{297, 1, 319, 23};

// AnimateWindow: the notice grows out of its centre and shrinks into it.
constexpr DWORD kShowAnimation = AW_CENTER | AW_HOR_POSITIVE | AW_HOR_NEGATIVE;
constexpr DWORD kHideAnimation = AW_HIDE | AW_CENTER;

void ShellOpen(const std::string& address) {
  // Failures are dropped: the notice closes all the same.
  Win32Shell().OpenAddress(address);
}

UniqueFont NoticeFont(int pixelHeight, bool bold, bool underline) {
  return MakeFont({.pixelHeight = pixelHeight,
                   .bold = bold,
                   .underline = underline,
                   .pitchAndFamily = DEFAULT_PITCH | FF_SWISS});
}

bool Inside(const RECT& rect, POINT point) { return ::PtInRect(&rect, point) != FALSE; }

}  // namespace

UpdateNoticeWindow::UpdateNoticeWindow(HINSTANCE instance, Options options)
    : options_(std::move(options)) {
  if (!options_.open) options_.open = ShellOpen;
  Create(instance,
         {
             .name = kClassName,
             .background = ::GetSysColorBrush(COLOR_BTNFACE),
         },
         {
             .title = L"",
             .style = WS_POPUP | WS_CLIPCHILDREN,
             .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
             .x = 0,
             .y = 0,
             .width = kNoticeClientWidth,
             .height = kNoticeClientHeight,
             .owner = options_.owner,
         });

  // Creation.
  const int dpi = DpiForWindow(Hwnd());
  const Point place =
      NoticePosition(::GetSystemMetrics(SM_CXSCREEN), Scale(kNoticeClientWidth, dpi));
  ::SetWindowPos(Hwnd(), HWND_TOPMOST, place.x, place.y, Scale(kNoticeClientWidth, dpi),
                 Scale(kNoticeClientHeight, dpi), SWP_NOACTIVATE);
  titleText_ = NoticeTitleText();
  linkText_ = NoticeLinkText(options_.productName, options_.offeredVersion);
  closeButton_.reset(::CreateWindowExW(
      0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 1, 1, Hwnd(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), instance, nullptr));
  ApplyDpi(dpi);

  ::SetTimer(Hwnd(), kShowTimerId, 1, nullptr);
  ::SetTimer(Hwnd(), kCountdownTimerId, 1000, nullptr);
  ::SetTimer(Hwnd(), kLinkHoverTimerId, 100, nullptr);
}

UpdateNoticeWindow::~UpdateNoticeWindow() {
  // The button is a child: it goes with the window, not on its own.
  static_cast<void>(closeButton_.release());
  Destroy();
}

void UpdateNoticeWindow::LayOut(int /*dpi*/) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(Hwnd(), GWLP_HINSTANCE));
  icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                              Scaled(32), Scaled(32), LR_DEFAULTCOLOR)));
  titleFont_ = NoticeFont(Scaled(kNoticeFontHeight), true, false);
  linkFont_ = NoticeFont(Scaled(kNoticeFontHeight), false, true);
  const RECT button = DesignRect(kCloseButtonRect.left, kCloseButtonRect.top,
                                 kCloseButtonRect.right, kCloseButtonRect.bottom);
  ::SetWindowPos(closeButton_.get(), nullptr, button.left, button.top, button.right - button.left,
                 button.bottom - button.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

RECT UpdateNoticeWindow::DesignRect(int left, int top, int right, int bottom) const {
  return RECT{Scaled(left), Scaled(top), Scaled(right), Scaled(bottom)};
}

RECT UpdateNoticeWindow::LinkRect() const {
  return DesignRect(kLinkRect.left, kLinkRect.top, kLinkRect.right, kLinkRect.bottom);
}

bool UpdateNoticeWindow::DragsAt(POINT client) const {
  const RECT middlePanel = DesignRect(kMiddlePanelRect.left, kMiddlePanelRect.top,
                                      kMiddlePanelRect.right, kMiddlePanelRect.bottom);
  const RECT titleRect =
      DesignRect(kTitleRect.left, kTitleRect.top, kTitleRect.right, kTitleRect.bottom);
  return !Inside(middlePanel, client) || Inside(titleRect, client);
}

void UpdateNoticeWindow::OnShowTimer() {
  ::KillTimer(Hwnd(), kShowTimerId);
  ::AnimateWindow(Hwnd(), kNoticeShowAnimationMs, kShowAnimation);
  ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
  // The keyboard focus goes back to the main window only while this program owns the
  // foreground; over another program's window it stays where the user is typing.
  const bool mainWindowCanTakeFocus = options_.mainWindow != nullptr &&
                                      ::IsWindowVisible(options_.mainWindow) &&
                                      ::IsWindowEnabled(options_.mainWindow);
  if (NoticeHandsFocusBack(OwnsForeground(options_.focus), mainWindowCanTakeFocus)) {
    options_.focus.setFocus(options_.mainWindow);
  }
}

void UpdateNoticeWindow::OnCountdownTimer() {
  if (!countdown_.Tick()) return;
  ::KillTimer(Hwnd(), kCountdownTimerId);
  ::AnimateWindow(Hwnd(), kNoticeHideAnimationMs, kHideAnimation);
  Close();
}

void UpdateNoticeWindow::OnLinkHoverTimer() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  ::ScreenToClient(Hwnd(), &cursor);
  const RECT link = LinkRect();
  const bool hot = Inside(link, cursor);
  if (hot == linkHot_) return;
  linkHot_ = hot;
  ::InvalidateRect(Hwnd(), &link, TRUE);
}

void UpdateNoticeWindow::OnLinkClick() {
  options_.open(NoticeAddressToOpen(options_.downloadUrl, options_.host, options_.downloadPage));
  Close();
}

void UpdateNoticeWindow::OnCloseButtonClick() { Close(); }

void UpdateNoticeWindow::Close() {
  // Closing does nothing more: it hides the notice, which is not shown again.
  drag_.OnMouseUp();
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  ::ShowWindow(Hwnd(), SW_HIDE);
}

void UpdateNoticeWindow::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);

  if (icon_) {
    const RECT image = DesignRect(kIconRect.left, kIconRect.top, kIconRect.right, kIconRect.bottom);
    const int size = Scaled(32);
    ::DrawIconEx(dc, (image.left + image.right - size) / 2, (image.top + image.bottom - size) / 2,
                 icon_.get(), size, size, 0, nullptr, DI_NORMAL);
  }

  ::SetBkMode(dc, TRANSPARENT);
  {
    const ScopedSelectObject font(dc, titleFont_.get());
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    RECT titleRect =
        DesignRect(kTitleRect.left, kTitleRect.top, kTitleRect.right, kTitleRect.bottom);
    const std::wstring text = ToWide(titleText_);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &titleRect,
                DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  {
    const ScopedSelectObject font(dc, linkFont_.get());
    ::SetTextColor(dc, ::GetSysColor(linkHot_ ? COLOR_MENUHILIGHT : COLOR_WINDOWTEXT));
    const RECT area = LinkRect();
    const std::wstring text = ToWide(linkText_);
    // Word-wrapped and centred both ways: measure the wrapped height first.
    RECT measure = area;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    RECT place = area;
    const int height = measure.bottom - measure.top;
    place.top = area.top + ((area.bottom - area.top) - height) / 2;
    place.bottom = place.top + height;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place,
                DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  }
}

void UpdateNoticeWindow::DrawCloseButton(const DRAWITEMSTRUCT& item) {
  RECT rect = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  ::DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  // The "close" picture: a cross in a 16 x 16 square in the middle of the button.
  const int glyph = Scaled(kNoticeCloseGlyph);
  const int left = (rect.left + rect.right - glyph) / 2 + (pressed ? 1 : 0);
  const int top = (rect.top + rect.bottom - glyph) / 2 + (pressed ? 1 : 0);
  const int inset = Scaled(4);
  const UniquePen pen(::CreatePen(PS_SOLID, std::max(1, Scaled(2)), ::GetSysColor(COLOR_BTNTEXT)));
  const ScopedSelectObject select(item.hDC, pen.get());
  ::MoveToEx(item.hDC, left + inset, top + inset, nullptr);
  ::LineTo(item.hDC, left + glyph - inset, top + glyph - inset);
  ::MoveToEx(item.hDC, left + glyph - inset - 1, top + inset, nullptr);
  ::LineTo(item.hDC, left + inset - 1, top + glyph - inset);
}

LRESULT UpdateNoticeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      switch (wParam) {
        case kShowTimerId:
          OnShowTimer();
          return 0;
        case kCountdownTimerId:
          OnCountdownTimer();
          return 0;
        case kLinkHoverTimerId:
          OnLinkHoverTimer();
          return 0;
        default:
          break;
      }
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // AnimateWindow grows the notice from its centre by printing it.
      PaintOrPrint(Hwnd(), message, wParam, [this](HDC dc) { Paint(dc); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DRAWITEM:
      if (const auto* item = OwnerDrawItem(lParam, kCloseButtonId)) {
        DrawCloseButton(*item);
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButtonId && HIWORD(wParam) == BN_CLICKED) {
        OnCloseButtonClick();
        return 0;
      }
      break;
    case WM_SETCURSOR: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      ::ScreenToClient(Hwnd(), &cursor);
      if (reinterpret_cast<HWND>(wParam) == closeButton_.get() || Inside(LinkRect(), cursor)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (message == WM_LBUTTONDOWN && Inside(LinkRect(), client)) {
        linkPressed_ = true;
        return 0;
      }
      if (!DragsAt(client)) return 0;
      POINT screen = client;
      ::ClientToScreen(Hwnd(), &screen);
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      drag_.OnMouseDown(button, {screen.x, screen.y});
      if (drag_.dragging) ::SetCapture(Hwnd());
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ::ClientToScreen(Hwnd(), &screen);
      RECT bounds{};
      ::GetWindowRect(Hwnd(), &bounds);
      if (const auto moved = drag_.OnMouseMove({screen.x, screen.y}, {bounds.left, bounds.top})) {
        ::SetWindowPos(Hwnd(), nullptr, moved->x, moved->y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP: {
      const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const bool wasDragging = drag_.dragging;
      drag_.OnMouseUp();
      if (wasDragging && ::GetCapture() == Hwnd()) ::ReleaseCapture();
      if (message == WM_LBUTTONUP && linkPressed_) {
        linkPressed_ = false;
        if (Inside(LinkRect(), client)) OnLinkClick();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      drag_.OnMouseUp();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return DpiWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace lb
