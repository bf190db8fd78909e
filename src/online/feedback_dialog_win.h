#pragma once
// The feedback dialog on Win32: two choice panels with their faces, the memo, the e-mail field
// and "Send". The rules live in feedback.h; this file lays the controls out, draws the panels
// and turns messages into calls of them.
#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/server_host.h"
#include "online/feedback.h"
#include "online/web_client_win.h"
#include "ui/handles_win.h"
#include "ui/modal_dialog_win.h"

namespace lb {

// Opens a new feedback dialog over `owner` (which is disabled meanwhile) and returns when it
// has closed. The "Send Feedback..." menu command calls this.
void ShowFeedbackDialog(HWND owner);

struct FeedbackDialogOptions {
  HMODULE resources = nullptr;  // where the pictures are; null: the executable
  // null: WinHTTP. Used on the request's worker thread; it must outlive every request.
  IWebClient* web = nullptr;
  std::string host = ServerHost();
};

// Where a request's worker thread posts its outcome: the dialog while it exists, nowhere once
// it is gone (closed by the user, by Exit, Reset to Defaults or a language restart). The
// worker and the dialog share it; the lock makes "is the dialog still there" and the post one
// step, so nothing is ever posted to a window that has been destroyed.
struct FeedbackOutcomeTarget {
  std::mutex lock;
  HWND window = nullptr;
};

class FeedbackPanel;

class FeedbackDialog final : public ModalDialog, private IFeedbackView {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconFeedback";
  // A fixed single border with only the close box.
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  // Design sizes at 96 dots per inch.
  static constexpr int kClientWidth = 525;
  static constexpr int kClientHeight = 326;

  enum : int { kMemo = 101, kEmail, kSend, kHeadingLabel, kQuestionLabel, kEmailLabel };

  // Creates the dialog, hidden, centred on the screen, with its captions translated.
  // Throws AppError when the window cannot be created.
  FeedbackDialog(HINSTANCE instance, HWND owner, FeedbackDialogOptions options = {});
  ~FeedbackDialog() override;

  // ShowModal, Show (the caller pumps messages and calls PreTranslate) and Close come from
  // ModalDialog; closing also forgets a request that is still out.
  void Close() override { ModalDialog::Close(); }
  // The key the dialog handles before the control gets it (Esc, which closes the dialog unless
  // a request is out); true when the message was used.
  bool PreTranslate(const MSG& message) override;

  // Posted by the request's worker thread: wParam is 1 when the feedback was delivered.
  static constexpr UINT kRequestDoneMessage = WM_APP + 41;

  void OnLikePanelClick();
  void OnDislikePanelClick();
  void OnSend();

  // What the dialog shows, for tests.
  [[nodiscard]] HWND Item(int id) const { return ::GetDlgItem(Hwnd(), id); }
  [[nodiscard]] HWND LikePanel() const;
  [[nodiscard]] HWND DislikePanel() const;
  [[nodiscard]] FeedbackChoice Choice() const override;
  [[nodiscard]] SendOutcome LastOutcome() const { return lastOutcome_; }
  // Whether a request is out (busy cursor; Send, Esc and the close box ignored).
  [[nodiscard]] bool Sending() const { return sender_ && sender_->Busy(); }

 private:
  friend class FeedbackPanel;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CreateControls(HINSTANCE instance, const FeedbackCaptions& captions);
  // Fonts, pictures, positions and sizes for `dpi`.
  void LayOut(int dpi) override;
  [[nodiscard]] HWND FirstFocus() const override { return Item(kMemo); }
  void OnClosing() noexcept override { ForgetRequests(); }
  // Esc: closes the dialog unless a request is out.
  void CloseUnlessSending();
  // Runs the request on a worker thread of its own with copies of its inputs.
  void StartRequest(const std::string& host, const FormLines& lines);
  // From here on no outcome reaches this dialog.
  void ForgetRequests() noexcept;

  // IFeedbackView
  std::string LikeCaption() const override;
  std::string DislikeCaption() const override;
  std::string MemoText() const override;
  std::string EmailText() const override;
  void FocusMemo() override;
  void FocusEmail() override;
  void Beep() override;
  void SetBusyCursor(bool busy) override;
  void ShowReport(const std::string& text, const std::string& caption, MessageType type) override;

  bool busy_ = false;
  FeedbackDialogOptions options_;
  FeedbackInputs inputs_;
  std::shared_ptr<FeedbackOutcomeTarget> outcomeTarget_ = std::make_shared<FeedbackOutcomeTarget>();
  std::optional<FeedbackSender> sender_;
  SendOutcome lastOutcome_ = SendOutcome::EmptyBody;
  std::unique_ptr<FeedbackPanel> likePanel_;
  std::unique_ptr<FeedbackPanel> dislikePanel_;
  UniqueFont baseFont_;   // Tahoma 8 pt
  UniqueFont largeFont_;  // Tahoma 12 pt: the panels and kHeadingLabel
  UniqueFont textFont_;   // Tahoma 10 pt: the memo, kEmailLabel and the field
  UniqueFont boldFont_;   // Tahoma 10 pt bold: kQuestionLabel and "Send"
  UniqueIcon sendIcon_;
};

}  // namespace lb
