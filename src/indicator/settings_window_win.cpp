#include "indicator/settings_window_win.h"

// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <string>

#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/dpi_window_win.h"
#include "ui/error_report_win.h"
#include "ui/font_win.h"
#include "ui/layout_win.h"
#include "ui/modeless_win.h"

namespace lb {
namespace {

// The layout in 96-DPI design units: x, y, width, height of each control.
constexpr int kBarHeight = 36;
constexpr int kBarTop = kSettingsClientHeight - kBarHeight;
constexpr LayoutPlace kLayout[] = {
    {SettingsWindow::kDurationLabel, 12, 15, 100, 14},
    {SettingsWindow::kDuration, 112, 11, 75, 21},
    {SettingsWindow::kSpin, 187, 11, 17, 21},  // with the field: 92 wide
    {SettingsWindow::kMillisecondsLabel, 207, 15, 94, 14},
    {SettingsWindow::kAlwaysOnTop, 12, 42, 289, 18},
    {SettingsWindow::kFadeOut, 12, 62, 289, 18},
    {SettingsWindow::kMinimalMode, 12, 82, 289, 18},
    {SettingsWindow::kScreenSnap, 12, 102, 289, 18},
    {SettingsWindow::kShowOnActiveMonitor, 12, 122, 289, 18},
    {SettingsWindow::kHideInFullScreen, 12, 142, 289, 18},
    {SettingsWindow::kStartWithWindows, 12, 162, 289, 18},
    // The bottom bar: its two separator strips along its top edge, the buttons at the right.
    {SettingsWindow::kGreySeparator, 0, kBarTop, kSettingsClientWidth, 1},
    {SettingsWindow::kWhiteSeparator, 0, kBarTop + 1, kSettingsClientWidth, 1},
    {SettingsWindow::kSave, kSettingsClientWidth - 8 - 100 - 6 - 100, kBarTop + 3, 100, 30},
    {SettingsWindow::kCancel, kSettingsClientWidth - 8 - 100, kBarTop + 3, 100, 30},
};

// The locale's decimal separator (its first character).
char32_t DecimalSeparator() {
  wchar_t separator[8] = L".";
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  return static_cast<char32_t>(separator[0]);
}

}  // namespace

SettingsWindow* SettingsWindow::Open(HINSTANCE instance, HWND owner,
                                     std::unique_ptr<SettingsDialog> dialog) {
  auto* window = new SettingsWindow(std::move(dialog));
  try {
    const std::wstring caption = ToWide(window->dialog_->caption);
    window->Create(instance,
                   {
                       .name = kClassName,
                       .background = ::GetSysColorBrush(COLOR_BTNFACE),
                   },
                   {
                       .title = caption.c_str(),
                       .style = kStyle,
                       .exStyle = kExStyle,
                       .x = 0,
                       .y = 0,
                       .width = 0,
                       .height = 0,
                       .owner = owner,
                   });
  } catch (...) {
    delete window;
    throw;
  }
  // From here on the window owns the object: it goes with WM_NCDESTROY.
  window->CreateControls(instance);
  // A modeless window keeps its focused control across activations.
  window->KeepFocusAcrossActivations();
  const int dpi = DpiForWindow(window->Hwnd());
  static_cast<void>(SizeForDpiAndCentre(window->Hwnd(), kSettingsClientWidth, kSettingsClientHeight,
                                        kStyle, kExStyle, dpi));
  window->ApplyDpi(dpi);
  RegisterModelessDialog(window->Hwnd());
  ::ShowWindow(window->Hwnd(), SW_SHOWNORMAL);
  ::SetFocus(window->Item(kSave));
  return window;
}

SettingsWindow::SettingsWindow(std::unique_ptr<SettingsDialog> dialog)
    : dialog_(std::move(dialog)) {}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::CreateControls(HINSTANCE instance) {
  const auto make = [&](const wchar_t* cls, const std::string& text, DWORD style, int id,
                        DWORD exStyle = 0) {
    const std::wstring wide = ToWide(text);
    return ::CreateWindowExW(exStyle, cls, wide.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                             Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                             nullptr);
  };
  const SettingsDialog& d = *dialog_;
  // Created in the tab order: "Save", "Cancel", the field, then the boxes top to bottom.
  make(L"BUTTON", d.saveButtonCaption, WS_TABSTOP | BS_PUSHBUTTON, kSave);
  make(L"BUTTON", d.cancelButtonCaption, WS_TABSTOP | BS_PUSHBUTTON, kCancel);
  HWND edit =
      make(L"EDIT", d.durationFieldText, WS_TABSTOP | ES_AUTOHSCROLL, kDuration, WS_EX_CLIENTEDGE);
  ::SetWindowSubclass(edit, &SettingsWindow::DurationProc, 1, reinterpret_cast<DWORD_PTR>(this));
  HWND spin = make(UPDOWN_CLASSW, "", UDS_ARROWKEYS, kSpin);
  // Every click is one step of the field's own value: the control's position never moves.
  ::SendMessageW(spin, UDM_SETRANGE32, 0, 2);
  ::SendMessageW(spin, UDM_SETPOS32, 0, 1);
  make(L"BUTTON", d.alwaysOnTopBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kAlwaysOnTop);
  make(L"BUTTON", d.fadeOutBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kFadeOut);
  make(L"BUTTON", d.minimalModeBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kMinimalMode);
  make(L"BUTTON", d.screenSnapBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kScreenSnap);
  make(L"BUTTON", d.showOnActiveMonitorBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX,
       kShowOnActiveMonitor);
  make(L"BUTTON", d.hideInFullScreenBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kHideInFullScreen);
  make(L"BUTTON", d.startWithWindowsBoxCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kStartWithWindows);
  make(L"STATIC", d.durationLabelCaption, SS_LEFT | SS_NOPREFIX, kDurationLabel);
  make(L"STATIC", d.millisecondsLabelCaption, SS_RIGHT | SS_NOPREFIX, kMillisecondsLabel);
  make(L"STATIC", "", SS_GRAYRECT, kGreySeparator);
  make(L"STATIC", "", SS_WHITERECT, kWhiteSeparator);

  ::CheckDlgButton(Hwnd(), kAlwaysOnTop, d.alwaysOnTopBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kScreenSnap, d.screenSnapBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kFadeOut, d.fadeOutBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kMinimalMode, d.minimalModeBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kShowOnActiveMonitor,
                   d.showOnActiveMonitorBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kHideInFullScreen, d.hideInFullScreenBox ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(Hwnd(), kStartWithWindows, d.startWithWindowsBox ? BST_CHECKED : BST_UNCHECKED);
}

void SettingsWindow::LayOut(int dpi) {
  font_ = TahomaFont(8, dpi);
  buttonFont_ = TahomaFont(10, dpi);
  for (const LayoutPlace& place : kLayout) {
    HWND control = Item(place.id);
    MoveControl(control, ScalePlace(place, dpi));
    const bool button = place.id == kSave || place.id == kCancel;
    ::SendMessageW(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(button ? buttonFont_.get() : font_.get()), TRUE);
  }
}

void SettingsWindow::ShowDuration() {
  const std::wstring text = ToWide(dialog_->durationFieldText);
  HWND edit = Item(kDuration);
  ::SetWindowTextW(edit, text.c_str());
  const auto end = static_cast<WPARAM>(text.size());
  ::SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
}

void SettingsWindow::Save() {
  // Save shows the indicator, which lets waiting messages through: a second press of "Save"
  // waits for the first, and a window closed meanwhile (Cancel, Esc, the close box) keeps its
  // object until Save is done with it.
  if (saving_) return;
  dialog_->alwaysOnTopBox = ::IsDlgButtonChecked(Hwnd(), kAlwaysOnTop) == BST_CHECKED;
  dialog_->screenSnapBox = ::IsDlgButtonChecked(Hwnd(), kScreenSnap) == BST_CHECKED;
  dialog_->fadeOutBox = ::IsDlgButtonChecked(Hwnd(), kFadeOut) == BST_CHECKED;
  dialog_->minimalModeBox = ::IsDlgButtonChecked(Hwnd(), kMinimalMode) == BST_CHECKED;
  dialog_->showOnActiveMonitorBox =
      ::IsDlgButtonChecked(Hwnd(), kShowOnActiveMonitor) == BST_CHECKED;
  dialog_->hideInFullScreenBox = ::IsDlgButtonChecked(Hwnd(), kHideInFullScreen) == BST_CHECKED;
  dialog_->startWithWindowsBox = ::IsDlgButtonChecked(Hwnd(), kStartWithWindows) == BST_CHECKED;
  saving_ = true;
  try {
    dialog_->OnSave();
  } catch (...) {
    saving_ = false;
    if (destroyedWhileSaving_) delete this;
    throw;
  }
  saving_ = false;
  if (destroyedWhileSaving_) {
    delete this;
    return;
  }
  if (dialog_->closed) Close();
}

void SettingsWindow::OnFinalMessage() noexcept {
  if (saving_) {
    destroyedWhileSaving_ = true;
  } else {
    delete this;
  }
}

void SettingsWindow::Close() {
  UnregisterModelessDialog(Hwnd());
  Destroy();
}

void SettingsWindow::Command(int id, int code) {
  switch (id) {
    case kSave:
      if (code == BN_CLICKED) {
        // A click gives the button the focus first, so the field has been left already; a key
        // press on another control has not.
        if (::GetFocus() == Item(kDuration)) ::SetFocus(Item(kSave));
        Save();
      }
      break;
    case kCancel:
      dialog_->OnCancel();
      Close();
      break;
    case kDuration:
      if (code == EN_CHANGE) {
        wchar_t text[64]{};
        ::GetWindowTextW(Item(kDuration), text, 64);
        dialog_->durationFieldText = ToUtf8(text);
      }
      break;
    default:
      break;
  }
}

LRESULT SettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kSpin && header->code == UDN_DELTAPOS) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        dialog_->StepDurationField(change->iDelta > 0 ? 1 : -1);
        ShowDuration();
        return TRUE;  // the control's own position stays
      }
      return 0;
    }
    case WM_CLOSE:
      dialog_->OnCancel();
      Close();
      return 0;
    case WM_DESTROY:
      UnregisterModelessDialog(Hwnd());
      return 0;
    default:
      return DpiWindow::HandleMessage(message, wParam, lParam);
  }
}

LRESULT CALLBACK SettingsWindow::DurationProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR /*id*/, DWORD_PTR self) noexcept {
  auto* window = reinterpret_cast<SettingsWindow*>(self);
  switch (message) {
    case WM_GETDLGCODE:
      // Enter reaches the field (which refuses it with a beep) instead of the dialog.
      if (lParam != 0) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
          return DLGC_WANTALLKEYS | ::DefSubclassProc(edit, message, wParam, lParam);
        }
      }
      break;
    case WM_CHAR:
      if (!SettingsDialog::DurationFieldAccepts(static_cast<char32_t>(wParam),
                                                DecimalSeparator())) {
        ::MessageBeep(0);
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        window->dialog_->StepDurationField(wParam == VK_UP ? 1 : -1);
        window->ShowDuration();
        return 0;
      }
      break;
    case WM_KILLFOCUS: {
      const std::string before = window->dialog_->durationFieldText;
      window->dialog_->OnDurationFieldExit();
      if (window->dialog_->durationFieldText != before) window->ShowDuration();
      break;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(edit, &SettingsWindow::DurationProc, 1);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace lb
