#include "online/feedback_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <thread>
#include <utility>

#include "base/identity.h"
#include "base/resource_ids.h"
#include "i18n/translation.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "ui/font_win.h"
#include "ui/message_dialogs_win.h"
#include "ui/modal_loop_win.h"
#include "ui/png_win.h"

namespace lb {
namespace {

// The layout in design units (see the header for the client size).
constexpr int kStripHeight = 46;  // the two choice panels
constexpr int kMargin = 12;
constexpr int kHeadingLabelTop = kStripHeight + 8;
constexpr int kHeadingLabelHeight = 22;
constexpr int kQuestionLabelTop = kHeadingLabelTop + kHeadingLabelHeight + 2;
constexpr int kQuestionLabelHeight = 18;
constexpr int kMemoTop = kQuestionLabelTop + kQuestionLabelHeight + 4;
constexpr int kButtonBarHeight = 40;
constexpr int kEmailBarHeight = 30;
constexpr int kEmailBarTop = FeedbackDialog::kClientHeight - kButtonBarHeight - kEmailBarHeight;
constexpr int kButtonBarTop = FeedbackDialog::kClientHeight - kButtonBarHeight;
constexpr int kButtonWidth = 180;
constexpr int kButtonHeight = 34;
constexpr int kPictureSize = 32;
constexpr int kSendIconSize = 16;
constexpr std::array<int, 2> kFaceSizes{32, 64};
constexpr std::array<int, 2> kSendSizes{16, 32};

std::string WindowTextUtf8(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return ToUtf8(text);
}

// An icon from premultiplied pixels (icons take straight alpha).
UniqueIcon MakeIcon(Pixels pixels) {
  if (pixels.width <= 0) return UniqueIcon();
  Unpremultiply(pixels.data);
  DibSection colour(pixels.width, pixels.height);
  if (!colour) return UniqueIcon();
  std::copy(pixels.data.begin(), pixels.data.end(), colour.Pixels());
  UniqueBitmap mask(::CreateBitmap(pixels.width, pixels.height, 1, 1, nullptr));
  ICONINFO info{.fIcon = TRUE, .hbmMask = mask.get(), .hbmColor = colour.get()};
  return UniqueIcon(::CreateIconIndirect(&info));
}

}  // namespace

// A choice panel: a clickable strip with a face at its left and a caption, raised while not
// chosen, lowered in the selection colours while chosen. It takes no focus.
class FeedbackPanel final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconFeedbackPanel";

  FeedbackPanel(HINSTANCE instance, FeedbackDialog& dialog, std::string caption, int pictureId)
      : dialog_(dialog), caption_(std::move(caption)), pictureId_(pictureId) {
    Create(instance,
           {.name = kClassName,
            .style = CS_HREDRAW | CS_VREDRAW,
            .cursor = ::LoadCursorW(nullptr, IDC_HAND)},
           {.style = WS_CHILD | WS_VISIBLE,
            .x = 0,
            .y = 0,
            .width = 1,
            .height = 1,
            .owner = dialog.Hwnd()});
  }

  // Chosen: its background is not the normal button-face colour.
  [[nodiscard]] bool Chosen() const { return background_ != COLOR_BTNFACE; }
  void Mark(bool chosen) {
    background_ = chosen ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    text_ = chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
  }
  [[nodiscard]] const std::string& Caption() const { return caption_; }

  void LoadPicture(HMODULE module, int dpi) {
    const int size = Scale(kPictureSize, dpi);
    picture_ = LoadSizedPngResource(module, pictureId_, kFaceSizes, size);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (const auto painted =
            PaintWholeClient(Hwnd(), message, wParam, [this](HDC dc) { Paint(dc); })) {
      return *painted;
    }
    switch (message) {
      case WM_LBUTTONDOWN:
        if (this == dialog_.likePanel_.get()) {
          dialog_.OnLikePanelClick();
        } else {
          dialog_.OnDislikePanelClick();
        }
        return 0;
      default:
        return DefaultHandling(message, wParam, lParam);
    }
  }

  void Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(background_));
    ::DrawEdge(dc, &client, Chosen() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const int dpi = dialog_.Dpi();
    const int gap = Scale(8, dpi);
    int textLeft = gap;
    if (picture_) {
      DrawPicture(dc, picture_, gap, (client.bottom - picture_.Height()) / 2);
      textLeft = gap + picture_.Width() + gap;
    }
    ScopedSelectObject font(dc, dialog_.largeFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(text_));
    RECT text{textLeft, 0, client.right - Scale(4, dpi), client.bottom};
    const std::wstring wide = ToWide(caption_);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

  FeedbackDialog& dialog_;
  std::string caption_;
  int pictureId_;
  int background_ = COLOR_BTNFACE;
  int text_ = COLOR_WINDOWTEXT;
  DibSection picture_;
};

void ShowFeedbackDialog(HWND owner) {
  FeedbackDialog dialog(::GetModuleHandleW(nullptr), owner);
  dialog.ShowModal();
}

FeedbackDialog::FeedbackDialog(HINSTANCE instance, HWND owner, FeedbackDialogOptions options)
    : ModalDialog(owner), options_(std::move(options)) {
  if (options_.resources == nullptr) options_.resources = ::GetModuleHandleW(nullptr);
  inputs_ = FeedbackInputs{.host = options_.host,
                           .appName = AppIdentity().appName,
                           .appVersion = AppIdentity().appVersion};

  Create(instance, {.name = kClassName, .background = ::GetSysColorBrush(COLOR_BTNFACE)},
         {.title = L"Feedback", .style = kStyle, .exStyle = kExStyle, .owner = owner});
  KeepFocusAcrossActivations();
  const int dpi = DpiForWindow(Hwnd());
  static_cast<void>(
      SizeForDpiAndCentre(Hwnd(), kClientWidth, kClientHeight, kStyle, kExStyle, dpi));

  // Creation: the caption, then the heading, the question, the e-mail label, "Send" and the two
  // choice panels.
  const FeedbackCaptions captions =
      MakeFeedbackCaptions(AppIdentity().productName, inputs_.translate);
  ::SetWindowTextW(Hwnd(), ToWide(captions.title).c_str());
  CreateControls(instance, captions);
  ApplyDpi(dpi);
  outcomeTarget_->window = Hwnd();
  sender_.emplace(
      static_cast<IFeedbackView&>(*this), inputs_,
      [this](const std::string& host, const FormLines& lines) { StartRequest(host, lines); });
}

FeedbackDialog::~FeedbackDialog() {
  ForgetRequests();
  likePanel_.reset();
  dislikePanel_.reset();
  Destroy();
}

void FeedbackDialog::CreateControls(HINSTANCE instance, const FeedbackCaptions& captions) {
  const auto make = [&](const wchar_t* cls, const std::string& text, DWORD style, int id,
                        DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                             0, 0, 0, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             instance, nullptr);
  };
  make(L"STATIC", captions.heading, SS_LEFT | SS_NOPREFIX, kHeadingLabel);
  make(L"STATIC", captions.question, SS_LEFT | SS_NOPREFIX, kQuestionLabel);
  make(L"STATIC", captions.emailLabel, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, kEmailLabel);
  // The tab order: the memo, the e-mail field, "Send".
  HWND memo =
      make(L"EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
           kMemo, WS_EX_CLIENTEDGE);
  ::SendMessageW(memo, EM_SETLIMITTEXT, kFeedbackMemoMaxLength, 0);
  HWND email = make(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kEmail, WS_EX_CLIENTEDGE);
  ::SendMessageW(email, EM_SETLIMITTEXT, kFeedbackEmailMaxLength, 0);
  make(L"BUTTON", captions.send, WS_TABSTOP | BS_PUSHBUTTON, kSend);
  likePanel_ =
      std::make_unique<FeedbackPanel>(instance, *this, captions.like, IDP_FEEDBACK_LIKE_32);
  dislikePanel_ =
      std::make_unique<FeedbackPanel>(instance, *this, captions.dislike, IDP_FEEDBACK_DISLIKE_32);
}

void FeedbackDialog::LayOut(int dpi) {
  baseFont_ = TahomaFont(8, dpi);
  largeFont_ = TahomaFont(12, dpi);
  textFont_ = TahomaFont(10, dpi);
  boldFont_ = TahomaFont(10, dpi, true);
  const auto place = [&](HWND control, int x, int y, int width, int height, HFONT font) {
    ::SetWindowPos(control, nullptr, Scale(x, dpi), Scale(y, dpi),
                   Scale(x + width, dpi) - Scale(x, dpi), Scale(y + height, dpi) - Scale(y, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  };
  const int half = kClientWidth / 2;
  place(likePanel_->Hwnd(), 0, 0, half, kStripHeight, nullptr);
  place(dislikePanel_->Hwnd(), half, 0, kClientWidth - half, kStripHeight, nullptr);
  likePanel_->LoadPicture(options_.resources, dpi);
  dislikePanel_->LoadPicture(options_.resources, dpi);
  const int inner = kClientWidth - 2 * kMargin;
  place(Item(kHeadingLabel), kMargin, kHeadingLabelTop, inner, kHeadingLabelHeight,
        largeFont_.get());
  place(Item(kQuestionLabel), kMargin, kQuestionLabelTop, inner, kQuestionLabelHeight,
        boldFont_.get());
  place(Item(kMemo), kMargin, kMemoTop, inner, kEmailBarTop - 4 - kMemoTop, textFont_.get());

  // The label as wide as its text (in design units), the field filling the rest of the bar.
  int labelWidth = 120;
  {
    WindowDC dc(Hwnd());
    ScopedSelectObject font(dc.get(), textFont_.get());
    const std::wstring text = ToWide(WindowTextUtf8(Item(kEmailLabel)));
    SIZE extent{};
    if (::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent)) {
      labelWidth = std::min(inner / 2, ::MulDiv(extent.cx, kDesignDpi, dpi) + 2);
    }
  }
  place(Item(kEmailLabel), kMargin, kEmailBarTop + 4, labelWidth, 22, textFont_.get());
  const int fieldLeft = kMargin + labelWidth + 6;
  place(Item(kEmail), fieldLeft, kEmailBarTop + 4, kClientWidth - kMargin - fieldLeft, 22,
        textFont_.get());
  place(Item(kSend), kClientWidth - kMargin - kButtonWidth,
        kButtonBarTop + (kButtonBarHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight,
        boldFont_.get());

  const int iconSize = Scale(kSendIconSize, dpi);
  sendIcon_ =
      MakeIcon(LoadSizedPngPixels(options_.resources, IDP_FEEDBACK_SEND_16, kSendSizes, iconSize));
  ::SendMessageW(Item(kSend), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(sendIcon_.get()));
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

HWND FeedbackDialog::LikePanel() const { return likePanel_ ? likePanel_->Hwnd() : nullptr; }
HWND FeedbackDialog::DislikePanel() const {
  return dislikePanel_ ? dislikePanel_->Hwnd() : nullptr;
}

bool FeedbackDialog::PreTranslate(const MSG& message) {
  if (!Hwnd() || message.message != WM_KEYDOWN) return false;
  HWND memo = Item(kMemo);
  if (message.wParam != VK_ESCAPE) return false;
  // Esc in the memo, the e-mail field or on "Send" closes the dialog.
  if (message.hwnd != memo && message.hwnd != Item(kEmail) && message.hwnd != Item(kSend)) {
    return false;
  }
  CloseUnlessSending();
  return true;
}

void FeedbackDialog::ForgetRequests() noexcept {
  const std::lock_guard<std::mutex> guard(outcomeTarget_->lock);
  outcomeTarget_->window = nullptr;
}

void FeedbackDialog::StartRequest(const std::string& host, const FormLines& lines) {
  // The thread owns copies of everything it uses; it is never waited for, so Exit does not wait
  // for the server. Its outcome comes back as a posted message, or goes nowhere when the
  // dialog is gone by then.
  std::thread([target = outcomeTarget_, web = options_.web, host, lines]() noexcept {
    bool delivered = false;
    if (web != nullptr) {
      delivered = PostFeedback(*web, host, lines);
    } else {
      WinHttpWebClient winHttp;
      delivered = PostFeedback(winHttp, host, lines);
    }
    const std::lock_guard<std::mutex> guard(target->lock);
    if (target->window != nullptr) {
      ::PostMessageW(target->window, kRequestDoneMessage, delivered ? 1 : 0, 0);
    }
  }).detach();
}

void FeedbackDialog::CloseUnlessSending() {
  if (!Sending()) Close();
}

void FeedbackDialog::OnLikePanelClick() {
  if (!likePanel_->Chosen()) likePanel_->Mark(true);
  if (dislikePanel_->Chosen()) dislikePanel_->Mark(false);
}

void FeedbackDialog::OnDislikePanelClick() {
  if (!dislikePanel_->Chosen()) dislikePanel_->Mark(true);
  if (likePanel_->Chosen()) likePanel_->Mark(false);
}

void FeedbackDialog::OnSend() {
  if (const std::optional<SendOutcome> outcome = sender_->Send()) lastOutcome_ = *outcome;
}

FeedbackChoice FeedbackDialog::Choice() const {
  if (likePanel_->Chosen()) return FeedbackChoice::Like;
  if (dislikePanel_->Chosen()) return FeedbackChoice::Dislike;
  return FeedbackChoice::None;
}

std::string FeedbackDialog::LikeCaption() const { return likePanel_->Caption(); }
std::string FeedbackDialog::DislikeCaption() const { return dislikePanel_->Caption(); }
std::string FeedbackDialog::MemoText() const { return WindowTextUtf8(Item(kMemo)); }
std::string FeedbackDialog::EmailText() const { return WindowTextUtf8(Item(kEmail)); }
void FeedbackDialog::FocusMemo() { ::SetFocus(Item(kMemo)); }
void FeedbackDialog::FocusEmail() { ::SetFocus(Item(kEmail)); }
void FeedbackDialog::Beep() { ::MessageBeep(0); }

void FeedbackDialog::SetBusyCursor(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void FeedbackDialog::ShowReport(const std::string& text, const std::string& caption,
                                MessageType type) {
  // Owned by the dialog, which waits for it.
  TaskMessageDialogs(Hwnd()).ShowReport(
      text, caption, type == MessageType::Error ? MessageType::Error : MessageType::Information);
}

LRESULT FeedbackDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kSend && HIWORD(wParam) == BN_CLICKED) OnSend();
      return 0;
    case WM_CLOSE:
      if (!Sending()) Close();
      return 0;
    case kRequestDoneMessage:
      if (Sending()) lastOutcome_ = sender_->OnRequestDone(wParam != 0);
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
        return TRUE;
      }
      return DpiWindow::HandleMessage(message, wParam, lParam);
    default:
      return DpiWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace lb
