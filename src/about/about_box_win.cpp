#include "about/about_box_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <random>
#include <utility>

#include "base/identity.h"
#include "base/resource_ids.h"
#include "i18n/language_platform_win.h"
#include "i18n/translation.h"
#include "platform/shell_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/font_win.h"
#include "ui/message_dialogs_win.h"
#include "ui/modal_loop_win.h"
#include "ui/pixels.h"
#include "ui/png_win.h"

namespace lb {
namespace {

constexpr Rect DesignRect(int left, int top, int width, int height) {
  return Rect{left, top, left + width, top + height};
}

// Places on the card, in design units from the card's top-left corner.
constexpr Rect kLogoRect = DesignRect(3, 3, 344, 105);
constexpr Rect kBevelRect = DesignRect(12, 122, 34, 34);
constexpr Rect kProductLineRect = DesignRect(54, 124, 290, 40);
constexpr Rect kOkRect = DesignRect(42, 188, 122, 33);
constexpr Rect kInfoRect = DesignRect(186, 188, 122, 33);
constexpr Rect kLinkBand = DesignRect(0, 254, 350, 16);
constexpr int kIconSize = 32;
constexpr int kTextPoints = 12;
constexpr int kLinkPoints = 8;

constexpr COLORREF kCardText = RGB(255, 255, 255);
constexpr COLORREF kLinkColour = RGB(0, 255, 0);
constexpr COLORREF kButtonFace = RGB(40, 40, 40);

RECT ScaleRect(const Rect& design, int dpi) {
  return RECT{Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.right, dpi),
              Scale(design.bottom, dpi)};
}

bool Contains(const RECT& rect, POINT point) { return ::PtInRect(&rect, point) != FALSE; }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The platform's pseudo-random numbers for the rain, seeded afresh for every box.
class RainRandom final : public IRandom {
 public:
  RainRandom() : engine_(std::random_device{}()) {}
  int Random(int bound) override {
    return std::uniform_int_distribution<int>(0, bound - 1)(engine_);
  }

 private:
  std::minstd_rand engine_;
};

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
      return MouseButton::Right;
    case WM_MBUTTONDOWN:
      return MouseButton::Middle;
    default:
      return MouseButton::Left;
  }
}

POINT ScreenPointOf(HWND window, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(window, &point);
  return point;
}

}  // namespace

// The card in the middle: draws the logo, the icon in its frame, the product line and the link,
// parents the two buttons, and hands its mouse events and commands to the box.
class AboutCard final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconAboutCard";

  AboutCard(HINSTANCE instance, AboutBox& box) : box_(box) {
    Create(instance, {.name = kClassName, .style = CS_HREDRAW | CS_VREDRAW},
           {.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
            .exStyle = WS_EX_CONTROLPARENT,
            .x = 0,
            .y = 0,
            .width = 1,
            .height = 1,
            .owner = box.Hwnd()});
  }

  [[nodiscard]] AboutPart PartAt(POINT client) const {
    const int dpi = box_.Dpi();
    if (Contains(ScaleRect(kLogoRect, dpi), client)) return AboutPart::Logo;
    if (Contains(ScaleRect(kBevelRect, dpi), client)) return AboutPart::Icon;
    if (Contains(ScaleRect(kProductLineRect, dpi), client)) return AboutPart::ProductLine;
    if (Contains(LinkRect(), client)) return AboutPart::Link;
    return AboutPart::Card;
  }

  // The link's text box: its text's width, centred in its band.
  [[nodiscard]] RECT LinkRect() const {
    const RECT band = ScaleRect(kLinkBand, box_.Dpi());
    WindowDC dc(Hwnd());
    ScopedSelectObject font(dc.get(), box_.linkFont_.get());
    const std::wstring text = ToWide(box_.linkText_);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int left = band.left + (band.right - band.left - extent.cx) / 2;
    return RECT{left, band.top, left + extent.cx, band.top + extent.cy};
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (const auto painted =
            PaintWholeClient(Hwnd(), message, wParam, [this](HDC dc) { Paint(dc); })) {
      return *painted;
    }
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_RBUTTONDOWN: {
        const POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const AboutPart part = PartAt(client);
        linkPressed_ = message == WM_LBUTTONDOWN && part == AboutPart::Link;
        box_.OnMouseDown(part, ButtonOf(message), ScreenPointOf(Hwnd(), lParam));
        return 0;
      }
      case WM_LBUTTONUP: {
        const POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool click = std::exchange(linkPressed_, false) && PartAt(client) == AboutPart::Link;
        box_.OnMouseUp();
        if (click) box_.OnHomeLinkClick();
        return 0;
      }
      case WM_SETCURSOR: {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(Hwnd(), &cursor);
        if (LOWORD(lParam) == HTCLIENT && PartAt(cursor) == AboutPart::Link) {
          ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
        break;
      }
      case WM_COMMAND:
        box_.OnCommand(LOWORD(wParam));
        return 0;
      case WM_DRAWITEM:
        box_.DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
  }

  void Paint(HDC dc) {
    const int dpi = box_.Dpi();
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);

    const RECT logo = ScaleRect(kLogoRect, dpi);
    DrawPicture(dc, box_.logo_.get(), logo);

    RECT bevel = ScaleRect(kBevelRect, dpi);
    ::DrawEdge(dc, &bevel, BDR_SUNKENOUTER, BF_RECT);
    const int iconSize = Scale(kIconSize, dpi);
    ::DrawIconEx(dc, bevel.left + (bevel.right - bevel.left - iconSize) / 2,
                 bevel.top + (bevel.bottom - bevel.top - iconSize) / 2, box_.icon_.get(), iconSize,
                 iconSize, 0, nullptr, DI_NORMAL);

    ::SetBkMode(dc, TRANSPARENT);
    {
      ScopedSelectObject font(dc, box_.textFont_.get());
      ::SetTextColor(dc, kCardText);
      RECT line = ScaleRect(kProductLineRect, dpi);
      const std::wstring text = ToWide(box_.productLine_);
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                  DT_WORDBREAK | DT_NOPREFIX);
    }
    {
      ScopedSelectObject font(dc, box_.linkFont_.get());
      ::SetTextColor(dc, kLinkColour);
      RECT link = LinkRect();
      const std::wstring text = ToWide(box_.linkText_);
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &link,
                  DT_SINGLELINE | DT_NOPREFIX);
    }
  }

  AboutBox& box_;
  bool linkPressed_ = false;
};

void ShowAboutBox(HWND owner) {
  AboutBox box(::GetModuleHandleW(nullptr), owner,
               AboutBoxOptions{.exeFolder = Win32LanguagePlatform().ExeFolder()});
  box.ShowModal();
}

AboutBox::AboutBox(HINSTANCE instance, HWND owner, AboutBoxOptions options)
    : ModalDialog(owner),
      pictures_(options.pictures ? options.pictures : instance),
      actions_(shell_, files_, options.host, options.exeFolder),
      linkText_(options.host),
      random_(std::make_unique<RainRandom>()) {
  Create(instance, {.name = kClassName, .background = nullptr},
         {.title = L"", .style = kStyle, .exStyle = kExStyle, .owner = owner});
  timers_.Attach(Hwnd());
  shell_.SetOwner(Hwnd());

  // The window's DPI decides its outer size, which the rain takes once.
  const int dpi = DpiForWindow(Hwnd());
  const SIZE outer =
      SizeForDpiAndCentre(Hwnd(), kClientSize.width, kClientSize.height, kStyle, kExStyle, dpi);
  const int width = outer.cx;
  const int height = outer.cy;

  card_ = std::make_unique<AboutCard>(instance, *this);
  const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
  okButton_ =
      ::CreateWindowExW(0, L"BUTTON", L"", buttonStyle, 0, 0, 1, 1, card_->Hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkId)), instance, nullptr);
  infoButton_ =
      ::CreateWindowExW(0, L"BUTTON", L"", buttonStyle, 0, 0, 1, 1, card_->Hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInfoId)), instance, nullptr);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(),
                               nullptr, instance, nullptr);

  // The creation sequence: marker, rain, caption, icon, product line, captions, logo.
  rain_ = std::make_unique<MatrixRain>(static_cast<IRainCanvas&>(*this), *random_);
  ApplyDpi(dpi);
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  RunRain([&] { rain_->StartMatrix({width, height}, {client.right, client.bottom}); });
  rainTimer_ = std::make_unique<Timer>(timers_, kRainTimerId, kMatrixStepMs, true);

  const std::string& productName = AppIdentity().productName;
  const AboutCaptions captions =
      MakeAboutCaptions(productName, [](std::string_view english) { return Translate(english); });
  ::SetWindowTextW(Hwnd(), ToWide(captions.title).c_str());
  productLine_ = ProductLine(productName, AppIdentity().appVersion);
  // The card paints the line itself; as the card's window text it is also there for screen
  // readers and for tests from outside the process.
  ::SetWindowTextW(CardWindow(), ToWide(productLine_).c_str());
  ::SetWindowTextW(okButton_, ToWide(captions.ok).c_str());
  ::SetWindowTextW(infoButton_, ToWide(captions.info).c_str());
  infoMenu_.reset(::CreatePopupMenu());
  const std::array<std::pair<int, const std::string*>, 3> items{
      {{kAcknowledgementsId, &captions.acknowledgements},
       {kUninstallId, &captions.uninstall},
       {kLicenseId, &captions.license}}};
  for (const auto& [id, text] : items) {
    ::AppendMenuW(infoMenu_.get(), MF_STRING, static_cast<UINT_PTR>(id), ToWide(*text).c_str());
  }
  LoadLogo();
}

AboutBox::~AboutBox() {
  rainTimer_.reset();
  card_.reset();
  // The tooltip belongs to the box: once the box is gone (closed), so is the tooltip.
  if (tooltip_ && Hwnd()) ::DestroyWindow(tooltip_);
  Destroy();
}

std::wstring AboutBox::Caption() const { return WindowText(Hwnd()); }

HWND AboutBox::CardWindow() const { return card_ ? card_->Hwnd() : nullptr; }

RECT AboutBox::CardRectOnScreen() const {
  RECT rect{};
  ::GetWindowRect(CardWindow(), &rect);
  return rect;
}

void AboutBox::OnOk() { Close(); }

void AboutBox::OnInfo() {
  // The Info menu opens below its button, at the button's bottom-left corner.
  const auto button = reinterpret_cast<std::uintptr_t>(infoButton_);
  const auto menu = reinterpret_cast<std::uintptr_t>(infoMenu_.get());
  if (!popupGuard_.ShouldOpen(button, menu, ::GetTickCount())) return;
  RECT client{};
  ::GetClientRect(infoButton_, &client);
  POINT corner{0, client.bottom};
  ::ClientToScreen(infoButton_, &corner);
  const int chosen = static_cast<int>(
      ::TrackPopupMenu(infoMenu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                       corner.x, corner.y, 0, Hwnd(), nullptr));
  popupGuard_.Closed(button, menu, ::GetTickCount());
  if (chosen != 0) OnCommand(chosen);
}

void AboutBox::OnCommand(int id) {
  // Enter comes as the default button's command whichever button has the focus (drawn by the
  // box, they are no push buttons to the dialog keys): on "Info" it is that button's press.
  if (id == kOkId && infoButton_ != nullptr && ::GetFocus() == infoButton_) id = kInfoId;
  switch (id) {
    case kOkId:
    case IDCANCEL:  // Esc, through the dialog keys of the modal loop
      OnOk();
      break;
    case kInfoId:
      OnInfo();
      break;
    case kAcknowledgementsId:
      OnAcknowledgements();
      break;
    case kUninstallId:
      OnHowToUninstall();
      break;
    case kLicenseId:
      OnLicense();
      break;
    default:
      break;
  }
}

void AboutBox::DrawButton(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  UniqueBrush face(::CreateSolidBrush(kButtonFace));
  ::FillRect(dc, &rect, face.get());
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  ::DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  RECT textRect = rect;
  if (item.hwndItem == infoButton_) {
    // The "arrow": a small triangle pointing down, at the button's right.
    const int half = Scale(4, Dpi());
    const int right = rect.right - Scale(12, Dpi());
    const int middle = (rect.top + rect.bottom) / 2;
    const std::array<POINT, 3> arrow{{{right - 2 * half, middle - half / 2},
                                      {right, middle - half / 2},
                                      {right - half, middle + half / 2 + 1}}};
    ScopedSelectObject brush(dc, ::GetStockObject(WHITE_BRUSH));
    ScopedSelectObject pen(dc, ::GetStockObject(WHITE_PEN));
    ::Polygon(dc, arrow.data(), static_cast<int>(arrow.size()));
  }
  if (pressed) ::OffsetRect(&textRect, 1, 1);
  ScopedSelectObject font(dc, textFont_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kCardText);
  const std::wstring text = WindowText(item.hwndItem);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT focus = rect;
    ::InflateRect(&focus, -Scale(4, Dpi()), -Scale(4, Dpi()));
    ::SetTextColor(dc, kCardText);
    ::DrawFocusRect(dc, &focus);
  }
}

void AboutBox::LayOut(int dpi) {
  // The rain's height is in pixels at every DPI: its cells are pixels too.
  rainFont_ = MakeFont({.pixelHeight = kCharHeight, .quality = DEFAULT_QUALITY});
  textFont_ = TahomaFont(kTextPoints, dpi);
  linkFont_ = MakeFont(
      {.pixelHeight = FontPixels(kLinkPoints, dpi), .underline = true, .face = L"MS Sans Serif"});
  ::SendMessageW(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
  ::SendMessageW(infoButton_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);

  const int iconSize = Scale(kIconSize, dpi);
  icon_.reset(static_cast<HICON>(::LoadImageW(pictures_, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                              iconSize, iconSize, LR_DEFAULTCOLOR)));
  // A program without the icon resource (a test program) shows the system's application icon.
  if (!icon_) icon_.reset(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));

  const RECT card = ScaleRect(kCardRect, dpi);
  ::SetWindowPos(card_->Hwnd(), nullptr, card.left, card.top, card.right - card.left,
                 card.bottom - card.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT ok = ScaleRect(kOkRect, dpi);
  ::SetWindowPos(okButton_, nullptr, ok.left, ok.top, ok.right - ok.left, ok.bottom - ok.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT info = ScaleRect(kInfoRect, dpi);
  ::SetWindowPos(infoButton_, nullptr, info.left, info.top, info.right - info.left,
                 info.bottom - info.top, SWP_NOZORDER | SWP_NOACTIVATE);

  // The link's tooltip shows the page's address.
  static std::wstring tipText;
  tipText = ToWide(AboutPageAddress(AboutPage::Home, linkText_));
  TOOLINFOW tool{.cbSize = sizeof(TOOLINFOW),
                 .uFlags = TTF_SUBCLASS,
                 .hwnd = card_->Hwnd(),
                 .uId = 1,
                 .rect = card_->LinkRect(),
                 .lpszText = tipText.data()};
  ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void AboutBox::LoadLogo() {
  // The picture is kept at twice the design size: reduced (or at 200 % taken as it is) to the
  // logo's size at the window's DPI.
  logo_ = DibSection();
  const Pixels picture = DecodePng(RcDataResource(pictures_, IDP_ABOUT_LOGO));
  const int width = Scale(kLogoRect.right - kLogoRect.left, Dpi());
  const int height = Scale(kLogoRect.bottom - kLogoRect.top, Dpi());
  logo_ = ToDibSection(picture.width == width && picture.height == height
                           ? picture
                           : Resample(picture, width, height));
  ::InvalidateRect(CardWindow(), nullptr, FALSE);
}

void AboutBox::OnRainTimer() {
  RunRain([&] { rain_->StepMatrix(); });
}

template <typename Action>
void AboutBox::RunRain(Action action) {
  WindowDC dc(Hwnd());
  if (!dc) return;
  ScopedSelectObject font(dc.get(), rainFont_.get());
  ::SetBkColor(dc.get(), RGB(0, 0, 0));
  ::SetBkMode(dc.get(), OPAQUE);
  dc_ = dc.get();
  action();
  dc_ = nullptr;
}

void AboutBox::FillBlack(int left, int top, int width, int height) {
  if (!dc_) return;
  const RECT rect{left, top, left + width, top + height};
  ::FillRect(dc_, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void AboutBox::DrawGlyph(int x, int y, char glyph, Color color) {
  if (!dc_) return;
  ::SetTextColor(dc_, RGB(color.r, color.g, color.b));
  const RECT cell{x, y, x + kCharWidth, y + kCharHeight};
  const wchar_t text = static_cast<unsigned char>(glyph);
  ::ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell, &text, 1, nullptr);
}

void AboutShell::OpenAddress(const std::string& address) { Win32Shell().OpenAddress(address); }

void AboutShell::OpenInNotepad(const std::string& path) {
  // By its full path in the Windows folder: a bare "notepad.exe" would be looked for in the
  // current folder first.
  Win32Shell(owner_).StartProgramWith(ToUtf8(WindowsFolder() + L"\\notepad.exe"), path);
}

void AboutShell::ShowError(const std::string& caption, const std::string& text) {
  TaskMessageDialogs(owner_).ShowReport(text, caption, MessageType::Error);
}

void AboutBox::OnMouseDown(AboutPart part, MouseButton button, POINT screen) {
  drag_.OnMouseDown(part, button, {screen.x, screen.y});
  if (drag_.Dragging()) ::SetCapture(Hwnd());
}

void AboutBox::OnMouseMove(POINT screen) {
  RECT bounds{};
  ::GetWindowRect(Hwnd(), &bounds);
  const auto moved = drag_.OnMouseMove({screen.x, screen.y},
                                       Rect{bounds.left, bounds.top, bounds.right, bounds.bottom});
  if (moved) {
    ::SetWindowPos(Hwnd(), nullptr, moved->left, moved->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void AboutBox::OnMouseUp() {
  drag_.OnMouseUp();
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // The rain's cells come back only as drops pass again.
      PaintOrPrint(Hwnd(), message, wParam, [this](HDC dc) {
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      });
      return 0;
    case WM_SIZE:
      if (rain_) RunRain([&] { rain_->ResetMatrix({LOWORD(lParam), HIWORD(lParam)}); });
      return 0;
    case WM_TIMER:
      if (wParam == kRainTimerId) OnRainTimer();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      OnMouseDown(AboutPart::Window, ButtonOf(message), ScreenPointOf(Hwnd(), lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(ScreenPointOf(Hwnd(), lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
      OnMouseUp();
      return 0;
    case WM_CAPTURECHANGED:
      drag_.OnMouseUp();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED: {
      // The logo is made for the new DPI too, after the layout.
      const LRESULT result = DpiWindow::HandleMessage(message, wParam, lParam);
      LoadLogo();
      return result;
    }
    default:
      break;
  }
  return DpiWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace lb
