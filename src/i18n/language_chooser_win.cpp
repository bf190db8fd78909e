#include "i18n/language_chooser_win.h"

// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <utility>

#include "base/client_identity_win.h"
#include "base/identity.h"
#include "base/resource_ids.h"
#include "base/server_host.h"
#include "base/startup_platform_win.h"
#include "i18n/restart_script.h"
#include "i18n/translation.h"
#include "platform/shell_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/font_win.h"
#include "ui/layout_win.h"
#include "ui/modal_loop_win.h"
#include "ui/png_win.h"

namespace lb {
namespace {

// The layout in 96-DPI design units: x, y, width, height of each control. The bottom bar is 45
// high with a one-pixel line above it; the right column is 350 wide.
constexpr int kBarTop = LanguageChooserDialog::kClientHeight - 45;
constexpr int kColumn = LanguageChooserDialog::kClientWidth - 16 - 350;
constexpr int kButtonWidth = 165;
constexpr int kButtonHeight = 33;
constexpr int kVisibleItems = 12;  // entries shown by the dropped-down list
constexpr LayoutPlace kLayout[] = {
    {LanguageChooserDialog::kLanguageLabel, 16, 19, kColumn - 24, 21},
    {LanguageChooserDialog::kTranslatorsLabel, 16, 50, kColumn - 24, 21},
    {LanguageChooserDialog::kLanguageList, kColumn, 16, 350, 0},  // height: the dropped-down list's
    {LanguageChooserDialog::kTranslatorsBox, kColumn, 46, 350, 130},
    {LanguageChooserDialog::kBevel, 0, kBarTop - 1, LanguageChooserDialog::kClientWidth, 1},
    {LanguageChooserDialog::kTranslationLink, 16, kBarTop + 13, 0, 21},  // width: its text's
    {LanguageChooserDialog::kOk,
     LanguageChooserDialog::kClientWidth - 12 - kButtonWidth - 8 - kButtonWidth, kBarTop + 6,
     kButtonWidth, kButtonHeight},
    {LanguageChooserDialog::kCancel, LanguageChooserDialog::kClientWidth - 12 - kButtonWidth,
     kBarTop + 6, kButtonWidth, kButtonHeight},
};

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

std::wstring JoinLines(const std::vector<std::string>& lines) {
  std::wstring text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += ToWide(lines[i]);
  }
  return text;
}

std::wstring ItemText(HWND combo, int index) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

}  // namespace

LanguageChooserOptions ProgramChooserOptions(const LanguageChooserHost& host) {
  const Translator& language = AppLanguage();
  return LanguageChooserOptions{
      .host = host,
      .language = {.languagesFolder = language.LanguagesFolder(),
                   .languageFiles = language.LanguageFiles(),
                   .currentLanguage = language.CurrentLanguage(),
                   .languageFilePath = language.LanguageFilePath()},
      .settingsFolder = AppIdentity().settingsFolder,
      .programPath = WinStartupPlatform().ExePath(),
      .serverHost = ServerHost(),
      .flagModule = ::GetModuleHandleW(nullptr),
  };
}

void ShowLanguageChooser(HWND owner, const LanguageChooserHost& host) {
  LanguageChooserDialog dialog(::GetModuleHandleW(nullptr), owner, ProgramChooserOptions(host));
  dialog.ShowModal();
}

void StartBatchHidden(const std::string& scriptPath, const std::string& workingFolder) {
  const ScriptLaunch launch = RestartScriptLaunch(scriptPath, workingFolder);
  Win32Shell().StartHidden(ToUtf8(SystemFolder()) + "\\cmd.exe", launch.commandLine,
                           launch.inWorkingFolder ? workingFolder : std::string());
}

LanguageChooserDialog::LanguageChooserDialog(HINSTANCE instance, HWND owner,
                                             LanguageChooserOptions options)
    : ModalDialog(owner),
      host_(std::move(options.host)),
      programPath_(std::move(options.programPath)),
      flagModule_(options.flagModule),
      chooser_(
          LanguageChooser::Parts{.language = std::move(options.language),
                                 .settingsFolder = std::move(options.settingsFolder),
                                 .host = std::move(options.serverHost),
                                 .files = files_,
                                 .codePage = codePage_,
                                 .messages = options.messages ? *options.messages : ownMessages_,
                                 .platform = static_cast<IChooserPlatform&>(*this)}) {
  Create(instance, {.name = kClassName, .background = ::GetSysColorBrush(COLOR_BTNFACE)},
         {.title = L"", .style = kStyle, .exStyle = kExStyle, .owner = owner});
  ownMessages_.SetOwner(Hwnd());

  const int dpi = DpiForWindow(Hwnd());
  static_cast<void>(
      SizeForDpiAndCentre(Hwnd(), kClientWidth, kClientHeight, kStyle, kExStyle, dpi));

  // The window's own icon, at both sizes (a test program without the resource has none).
  bigIcon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)));
  smallIcon_.reset(static_cast<HICON>(::LoadImageW(
      instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  if (bigIcon_)
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  if (smallIcon_) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }

  CreateControls(instance);

  // Captions, the list and its selection, the translators.
  chooser_.OnCreate();
  ::SetWindowTextW(Hwnd(), ToWide(chooser_.caption).c_str());
  ::SetWindowTextW(Item(kLanguageLabel), ToWide(chooser_.languageLabelCaption).c_str());
  ::SetWindowTextW(Item(kTranslatorsLabel), ToWide(chooser_.translatorsLabelCaption).c_str());
  ::SetWindowTextW(Item(kOk), ToWide(chooser_.okButtonCaption).c_str());
  ::SetWindowTextW(Item(kCancel), ToWide(chooser_.cancelButtonCaption).c_str());
  ::SetWindowTextW(Item(kTranslationLink), ToWide(chooser_.translationLinkCaption).c_str());
  HWND combo = Item(kLanguageList);
  for (const std::string& name : chooser_.languageListItems) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(name).c_str()));
  }
  ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(chooser_.selectedIndex), 0);
  ShowTranslators();

  ApplyDpi(dpi);
}

LanguageChooserDialog::~LanguageChooserDialog() {
  if (tooltip_) ::DestroyWindow(tooltip_);
  Close();
}

void LanguageChooserDialog::CreateControls(HINSTANCE instance) {
  const auto make = [&](const wchar_t* cls, DWORD style, int id, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // Created in the tab order: the list, the translators, "OK", "Cancel".
  make(WC_COMBOBOXW,
       WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
       kLanguageList);
  make(WC_EDITW,
       WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
           ES_AUTOVSCROLL,
       kTranslatorsBox, WS_EX_CLIENTEDGE);
  make(WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, kOk);
  make(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, kCancel);
  make(WC_STATICW, SS_LEFT | SS_NOPREFIX, kLanguageLabel);
  make(WC_STATICW, SS_LEFT | SS_NOPREFIX, kTranslatorsLabel);
  make(WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, kTranslationLink);
  make(WC_STATICW, SS_GRAYRECT, kBevel);

  // The link's tooltip shows the page's address.
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(),
                               nullptr, instance, nullptr);
}

void LanguageChooserDialog::LayOut(int dpi) {
  labelFont_ = TahomaFont(12, dpi);
  listFont_ = TahomaFont(10, dpi);
  linkFont_ = TahomaFont(12, dpi, false, true);
  LoadFlags();

  for (const LayoutPlace& place : kLayout) {
    HWND control = Item(place.id);
    HFONT font = place.id == kLanguageList      ? listFont_.get()
                 : place.id == kTranslationLink ? linkFont_.get()
                                                : labelFont_.get();
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT rect = ScalePlace(place, dpi);
    if (place.id == kLanguageList) {
      rect.bottom = rect.top + Scale(kItemHeight * (kVisibleItems + 2), dpi);
    } else if (place.id == kTranslationLink) {
      WindowDC dc(control);
      ScopedSelectObject select(dc.get(), font);
      const std::wstring text = ToWide(chooser_.translationLinkCaption);
      SIZE extent{};
      ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
      rect.right = rect.left + extent.cx + 1;
      rect.bottom = rect.top + extent.cy;
    }
    MoveControl(control, rect);
  }
  HWND combo = Item(kLanguageList);
  ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scale(kItemHeight, dpi));
  ::SendMessageW(combo, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  ::SendMessageW(combo, CB_SETMINVISIBLE, kVisibleItems, 0);

  tipText_ = ToWide(chooser_.translationLinkHint);
  TOOLINFOW tool{.cbSize = sizeof(TOOLINFOW),
                 .uFlags = TTF_SUBCLASS | TTF_IDISHWND,
                 .hwnd = Hwnd(),
                 .uId = reinterpret_cast<UINT_PTR>(Item(kTranslationLink)),
                 .lpszText = tipText_.data()};
  ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void LanguageChooserDialog::LoadFlags() {
  // The pictures are kept at 48 pixels and drawn reduced to 16 design units.
  const int size = Scale(kFlagSize, Dpi());
  for (int i = 0; i < kFlagCount; ++i) {
    const Pixels picture = DecodePng(RcDataResource(flagModule_, IDP_FLAG_BASE + i));
    flags_[static_cast<std::size_t>(i)] = picture.width == size && picture.height == size
                                              ? ToDibSection(picture)
                                              : ToDibSection(Resample(picture, size, size));
  }
}

void LanguageChooserDialog::ShowTranslators() {
  ::SetWindowTextW(Item(kTranslatorsBox), JoinLines(chooser_.translatorsBoxLines).c_str());
}

void LanguageChooserDialog::OnLanguageListChange() {
  const LRESULT index = ::SendMessageW(Item(kLanguageList), CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  chooser_.Select(static_cast<int>(index));
  ShowTranslators();
}

void LanguageChooserDialog::OnOk() {
  switch (chooser_.OnOk()) {
    case LanguageChooser::OkResult::Close:
    case LanguageChooser::OkResult::Restart:
      Close();
      break;
    case LanguageChooser::OkResult::StayOpen:
      break;
  }
}

void LanguageChooserDialog::DrawLanguageListItem(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  // The list's own colours, normal or selected, as the control prepares them for its items.
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::SetBkMode(dc, TRANSPARENT);

  const std::wstring text = ItemText(item.hwndItem, static_cast<int>(item.itemID));
  const DibSection& flag = flags_[static_cast<std::size_t>(FlagIndex(ToUtf8(text)))];
  const int size = Scale(kFlagSize, Dpi());
  DrawPicture(dc, flag, item.rcItem.left, item.rcItem.top);
  ScopedSelectObject font(dc, listFont_.get());
  ::TextOutW(dc, item.rcItem.left + size, item.rcItem.top, text.c_str(),
             static_cast<int>(text.size()));
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    ::DrawFocusRect(dc, &item.rcItem);
  }
}

LRESULT LanguageChooserDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kOk:
          if (HIWORD(wParam) == BN_CLICKED) OnOk();
          return 0;
        case kCancel:  // the button, Esc and the dialog keys
          OnCancel();
          return 0;
        case kLanguageList:
          if (HIWORD(wParam) == CBN_SELCHANGE) OnLanguageListChange();
          return 0;
        case kTranslationLink:
          if (HIWORD(wParam) == STN_CLICKED) OnTranslationLinkClick();
          return 0;
        default:
          return 0;
      }
    case DM_GETDEFID:
      return MAKELRESULT(kOk, DC_HASDEFID);
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlID == kLanguageList) {
        measure->itemHeight = static_cast<UINT>(Scale(kItemHeight, Dpi()));
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM:
      if (const auto* item = OwnerDrawItem(lParam, kLanguageList)) {
        DrawLanguageListItem(*item);
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Item(kTranslationLink)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, kLinkColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Item(kTranslationLink)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      OnCancel();
      return 0;
    default:
      break;
  }
  return DpiWindow::HandleMessage(message, wParam, lParam);
}

// ---- IChooserPlatform ------------------------------------------------------------------------

void LanguageChooserDialog::SetLanguageFile(const std::string& fileName) {
  if (host_.setLanguageFile) host_.setLanguageFile(fileName);
}

void LanguageChooserDialog::ProcessMessages() { ProcessPendingMessages(); }

int LanguageChooserDialog::OsMajorVersion() const { return lb::OsMajorVersion(); }

std::string LanguageChooserDialog::SystemFolder() const { return ToUtf8(lb::SystemFolder()); }

void LanguageChooserDialog::StartScriptHidden(const std::string& scriptPath,
                                              const std::string& workingFolder) {
  StartBatchHidden(scriptPath, workingFolder);
}

void LanguageChooserDialog::Terminate() {
  if (host_.terminate) host_.terminate();
}

void LanguageChooserDialog::OpenAddress(const std::string& address) {
  Win32Shell().OpenAddress(address);
}

}  // namespace lb
