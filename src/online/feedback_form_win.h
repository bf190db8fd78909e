#pragma once
// The feedback dialog on Win32: two choice panels with their faces, the memo, the e-mail field
// and "Send". The rules live in feedback.h; this file lays the controls out, draws the panels
// and turns messages into calls of them.
#include <windows.h>

#include <memory>
#include <string>

#include "base/server_host.h"
#include "online/feedback.h"
#include "online/web_client_win.h"
#include "ui/handles_win.h"
#include "ui/modal_loop_win.h"
#include "ui/window_base_win.h"

namespace lb {

// Opens a new feedback dialog over `owner` (which is disabled meanwhile) and returns when it
// has closed. The "Send Feedback..." menu command calls this.
void ShowFeedbackForm(HWND owner);

struct FeedbackFormOptions {
  HMODULE resources = nullptr;  // where the pictures are; null: the executable
  IWebClient* web = nullptr;    // null: WinHTTP
  std::string host = ServerHost();
};

class FeedbackPanel;

class TFeedbackForm final : public WindowBase, private IFeedbackView {
 public:
  static constexpr const wchar_t* kClassName = L"TFeedbackForm";
  // A fixed single border with only the close box.
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  // Design sizes at 96 dots per inch.
  static constexpr int kClientWidth = 525;
  static constexpr int kClientHeight = 326;

  enum : int { kMemo = 101, kEmail, kSend, kLabel1, kLabel2, kLabel3 };

  // Creates the dialog, hidden, centred on the screen, with its captions translated (FormCreate).
  // Throws AppError when the window cannot be created.
  TFeedbackForm(HINSTANCE instance, HWND owner, FeedbackFormOptions options = {});
  ~TFeedbackForm() override;

  // Shows the dialog and runs its own message loop until it closes; the owner is disabled
  // meanwhile. A WM_QUIT that arrives meanwhile ends the loop and is posted again.
  void ShowModal();
  // Shows the dialog without a loop of its own (the caller pumps messages and calls
  // PreTranslate).
  void Show();
  // Closes the dialog (FormClose): the owner is enabled again and the window destroyed.
  void Close() override;
  // The keys the dialog handles before the control gets them (Esc, Tab in the memo); true when
  // the message was used.
  bool PreTranslate(const MSG& message);

  void Image1Click();
  void Image2Click();
  void BitBtn1Click();
  void Memo1KeyDown(WPARAM key);
  void Edit1KeyDown(WPARAM key);
  void BitBtn1KeyDown(WPARAM key);

  // What the dialog shows, for tests.
  [[nodiscard]] HWND Item(int id) const { return ::GetDlgItem(Hwnd(), id); }
  [[nodiscard]] HWND Panel4() const;
  [[nodiscard]] HWND Panel5() const;
  [[nodiscard]] FeedbackChoice Choice() const override;
  [[nodiscard]] SendOutcome LastOutcome() const { return lastOutcome_; }

 private:
  friend class FeedbackPanel;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CreateControls(HINSTANCE instance);
  // Fonts, pictures, positions and sizes for `dpi`.
  void LayOut(int dpi);
  void EscapeCloses(WPARAM key);

  // IFeedbackView
  std::string LikeCaption() const override;
  std::string DislikeCaption() const override;
  std::string MemoText() const override;
  std::string EmailText() const override;
  void FocusMemo() override;
  void FocusEmail() override;
  void Beep() override;
  void SetBusyCursor(bool busy) override;
  void MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

  ModalOwner owner_;
  bool busy_ = false;
  HWND lastFocus_ = nullptr;
  int dpi_ = 96;
  FeedbackFormOptions options_;
  WinHttpWebClient winHttp_;
  FeedbackInputs inputs_;
  SendOutcome lastOutcome_ = SendOutcome::EmptyBody;
  std::unique_ptr<FeedbackPanel> panel4_;
  std::unique_ptr<FeedbackPanel> panel5_;
  UniqueFont baseFont_;   // Tahoma 8 pt
  UniqueFont largeFont_;  // Tahoma 12 pt: the panels and Label1
  UniqueFont textFont_;   // Tahoma 10 pt: the memo, Label3 and the field
  UniqueFont boldFont_;   // Tahoma 10 pt bold: Label2 and "Send"
  UniqueIcon sendIcon_;
};

}  // namespace lb
