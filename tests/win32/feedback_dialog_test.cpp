// The feedback dialog in this test program's own process, posting to the stand-in server: what
// arrives there, the fall-back to plain HTTP, the failure box that keeps the dialog open, the
// layout, and Esc.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "base/identity.h"
#include "e2e/harness_win.h"
#include "online/feedback_dialog_win.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"
#include "ui/dpi.h"
#include "ui/dpi_win.h"
#include "win32/host_paths.h"
#include "win32/pump.h"

namespace lb {
namespace {

using namespace std::chrono_literals;

// A message box that "Send" shows, seen from another thread: its text, and a screenshot taken
// while it is up; then it is closed with OK.
class BoxWatcher {
 public:
  BoxWatcher(std::string caption, std::string screenshot = {})
      : thread_([this, caption = std::move(caption), screenshot = std::move(screenshot)] {
          HWND box = nullptr;
          if (e2e::WaitFor(
                  [&] { return (box = ::FindWindowW(L"#32770", ToWide(caption).c_str())); }, 20s)) {
            text_ = ToUtf8(e2e::MessageBoxText(box));
            if (!screenshot.empty()) static_cast<void>(e2e::SaveScreenshot(screenshot));
            seen_ = true;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
          }
        }) {}
  ~BoxWatcher() {
    if (thread_.joinable()) thread_.join();
  }
  // Waits for the watcher; the text of the box, or nothing when none appeared.
  std::string Text() {
    thread_.join();
    return seen_ ? text_ : "(no box)";
  }

 private:
  std::atomic<bool> seen_{false};
  std::string text_;
  std::thread thread_;
};

class FeedbackDialogTest : public ::testing::Test {
 protected:
  FeedbackDialogTest() : saved_(AppIdentity()) {
    MutableAppIdentity().productName = "Lock Beacon";
    MutableAppIdentity().appName = "BRIMLEX - Lock Beacon";
    MutableAppIdentity().appVersion = "1.0";
  }
  ~FeedbackDialogTest() override { MutableAppIdentity() = saved_; }

  static void SetUpTestSuite() {
    exe_.reset(::LoadLibraryExW(ToWide(test::HostPath(LOCKBEACON_EXE_PATH)).c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  }
  static void TearDownTestSuite() { exe_.reset(); }

  std::unique_ptr<FeedbackDialog> Open(const std::string& host) {
    auto dialog = std::make_unique<FeedbackDialog>(
        ::GetModuleHandleW(nullptr), nullptr,
        FeedbackDialogOptions{.resources = exe_.get(), .host = host});
    dialog->Show();
    Pump();
    return dialog;
  }

  static void Type(HWND control, const std::wstring& text) {
    ::SetWindowTextW(control, text.c_str());
  }

  static void Pump() { ProcessPendingMessages(); }

  // "Send", then the messages run until its outcome has come back from the worker thread and
  // been reported (the box closed by a BoxWatcher).
  static void SendAndWait(FeedbackDialog& dialog) {
    dialog.OnSend();
    EXPECT_TRUE(test::PumpUntil([&] { return !dialog.Sending(); }, 30s));
  }

  static inline UniqueModule exe_;

 private:
  Identity saved_;
};

TEST_F(FeedbackDialogTest, ASendWithLikeArrivesWithExactlyTheExpectedFields) {
  test::StandinServer server;
  auto dialog = Open(server.Host());
  dialog->OnLikePanelClick();
  Type(dialog->Item(FeedbackDialog::kMemo), L"  Great tool\r\nThanks  ");
  Type(dialog->Item(FeedbackDialog::kEmail), L" me@example.com ");

  BoxWatcher box("Success");
  SendAndWait(*dialog);
  EXPECT_EQ(box.Text(), "Your feedback is received.\r\rThank you!");
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::Delivered);
  EXPECT_EQ(dialog->Hwnd(), nullptr);  // closed on success

  const auto posts = server.LogWith({"\"/php/feedback.php\""});
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("\"scheme\": \"https\""), std::string::npos) << posts[0];
  EXPECT_NE(posts[0].find("\"fields\": [[\"cmd\", \"feedback\"], [\"appname\", \"BRIMLEX - Lock "
                          "Beacon\"], [\"version\", \"1.0\"], [\"feedback\", \"I like "
                          "it!\\rGreat tool\\r\\nThanks\"], [\"email\", \"me@example.com\"]]"),
            std::string::npos)
      << posts[0];
}

TEST_F(FeedbackDialogTest, AnHttpsPortThatRefusesConnectionsAndHttpAnsweringOkSucceeds) {
  test::StandinServer server({"--https", "no-port"});
  auto dialog = Open(server.Host());
  Type(dialog->Item(FeedbackDialog::kMemo), L"Hello");

  BoxWatcher box("Success");
  SendAndWait(*dialog);
  EXPECT_EQ(box.Text(), "Your feedback is received.\r\rThank you!");
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::Delivered);

  const auto posts = server.LogWith({"\"scheme\": \"http\"", "\"/php/feedback.php\""});
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("[\"feedback\", \"Hello\"]]"), std::string::npos) << posts[0];
}

TEST_F(FeedbackDialogTest, AReplyOtherThanOkShowsTheFailureBoxAndKeepsTheText) {
  test::StandinServer server({"--https", "error", "--http", "error"});
  auto dialog = Open(server.Host());
  dialog->OnDislikePanelClick();
  Type(dialog->Item(FeedbackDialog::kMemo), L"Too bright");
  Type(dialog->Item(FeedbackDialog::kEmail), L"me@example.com");

  BoxWatcher box("Failure", "feedback-failure-box");
  SendAndWait(*dialog);
  EXPECT_EQ(box.Text(),
            "Something went wrong. Your feedback could not be delivered.\r\rPlease try again "
            "later.");
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::Failed);
  ASSERT_NE(dialog->Hwnd(), nullptr);
  EXPECT_EQ(e2e::WindowText(dialog->Item(FeedbackDialog::kMemo)), L"Too bright");
  EXPECT_EQ(e2e::WindowText(dialog->Item(FeedbackDialog::kEmail)), L"me@example.com");
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::Dislike);
  // The HTTPS reply counts: nothing was retried over plain HTTP.
  EXPECT_EQ(server.LogWith({"\"/php/feedback.php\""}).size(), 1u);
}

// A certificate that is not the server's: someone on the way may wait for the text over plain
// HTTP. It is not sent; the failure is reported and the dialog keeps everything.
TEST_F(FeedbackDialogTest, ARefusedCertificateIsAFailureAndNothingIsSentInClear) {
  test::StandinServer server({"--certificate", "other-host"});
  auto dialog = Open(server.Host());
  Type(dialog->Item(FeedbackDialog::kMemo), L"Private words");
  Type(dialog->Item(FeedbackDialog::kEmail), L"me@example.com");

  BoxWatcher box("Failure");
  SendAndWait(*dialog);
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::Failed);
  ASSERT_NE(dialog->Hwnd(), nullptr);
  EXPECT_EQ(e2e::WindowText(dialog->Item(FeedbackDialog::kMemo)), L"Private words");
  EXPECT_EQ(e2e::WindowText(dialog->Item(FeedbackDialog::kEmail)), L"me@example.com");
  EXPECT_TRUE(server.LogWith({"\"/php/feedback.php\""}).empty());
  EXPECT_TRUE(server.LogWith({"\"scheme\": \"http\""}).empty());
}

TEST_F(FeedbackDialogTest, AMalformedAddressIsRefusedBeforeAnythingIsSent) {
  test::StandinServer server;
  auto dialog = Open(server.Host());
  Type(dialog->Item(FeedbackDialog::kMemo), L"Hello");
  Type(dialog->Item(FeedbackDialog::kEmail), L"me@example");

  BoxWatcher box("Failure");
  SendAndWait(*dialog);
  EXPECT_EQ(box.Text(), "Invalid e-mail address!");
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::InvalidEmail);
  EXPECT_EQ(::GetFocus(), dialog->Item(FeedbackDialog::kEmail));
  EXPECT_TRUE(server.LogWith({"\"/php/feedback.php\""}).empty());
}

TEST_F(FeedbackDialogTest, LaysOutTheControlsAtTheWindowsDpiInTabOrder) {
  auto dialog = Open("localhost:1");
  const int dpi = DpiForWindow(dialog->Hwnd());
  EXPECT_EQ(e2e::WindowText(dialog->Hwnd()), L"Lock Beacon feedback");

  RECT client{};
  ::GetClientRect(dialog->Hwnd(), &client);
  EXPECT_EQ(client.right, Scale(FeedbackDialog::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scale(FeedbackDialog::kClientHeight, dpi));
  const auto rectOf = [&](HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog->Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT send = rectOf(dialog->Item(FeedbackDialog::kSend));
  EXPECT_EQ(send.right - send.left, Scale(180, dpi));
  EXPECT_EQ(send.bottom - send.top, Scale(34, dpi));
  EXPECT_LE(send.right, client.right);
  EXPECT_GE(send.top, Scale(FeedbackDialog::kClientHeight - 40, dpi));
  const RECT like = rectOf(dialog->LikePanel());
  const RECT dislike = rectOf(dialog->DislikePanel());
  EXPECT_EQ(like.bottom - like.top, Scale(46, dpi));
  EXPECT_EQ(like.right, dislike.left);
  EXPECT_EQ(dislike.right, client.right);
  const RECT memo = rectOf(dialog->Item(FeedbackDialog::kMemo));
  const RECT email = rectOf(dialog->Item(FeedbackDialog::kEmail));
  EXPECT_LT(memo.bottom, email.top);
  EXPECT_LT(email.bottom, send.top);

  // Tab order: the memo, the field, "Send"; the panels take no focus.
  HWND memoWindow = dialog->Item(FeedbackDialog::kMemo);
  EXPECT_EQ(::GetFocus(), memoWindow);
  HWND next = ::GetNextDlgTabItem(dialog->Hwnd(), memoWindow, FALSE);
  EXPECT_EQ(next, dialog->Item(FeedbackDialog::kEmail));
  next = ::GetNextDlgTabItem(dialog->Hwnd(), next, FALSE);
  EXPECT_EQ(next, dialog->Item(FeedbackDialog::kSend));
  EXPECT_EQ(::GetNextDlgTabItem(dialog->Hwnd(), next, FALSE), memoWindow);
  // Tab pressed in the memo, which passes it on to the window, reaches the field.
  MSG tab{.hwnd = memoWindow, .message = WM_KEYDOWN, .wParam = VK_TAB};
  EXPECT_TRUE(::IsDialogMessageW(dialog->Hwnd(), &tab));
  EXPECT_EQ(::GetFocus(), dialog->Item(FeedbackDialog::kEmail));
  ::SetFocus(memoWindow);
  EXPECT_EQ(::SendMessageW(memoWindow, EM_GETLIMITTEXT, 0, 0), 10000);
  EXPECT_EQ(::SendMessageW(dialog->Item(FeedbackDialog::kEmail), EM_GETLIMITTEXT, 0, 0), 100);
  EXPECT_NE(::GetWindowLongW(memoWindow, GWL_STYLE) & WS_VSCROLL, 0);

  // Choosing: at most one panel, switchable but never taken back.
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::None);
  dialog->OnLikePanelClick();
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::Like);
  dialog->OnLikePanelClick();
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::Like);
  dialog->OnDislikePanelClick();
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::Dislike);
  ::SendMessageW(dialog->LikePanel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(dialog->Choice(), FeedbackChoice::Like);

  Type(memoWindow, L"The indicator is great.\r\nCould it also show Insert?");
  Type(dialog->Item(FeedbackDialog::kEmail), L"me@example.com");
  test::DrawNow(dialog->Hwnd());
  static_cast<void>(e2e::SaveScreenshot("feedback-dialog-" + std::to_string(dpi)));
}

TEST_F(FeedbackDialogTest, EscInTheMemoTheFieldOrOnSendClosesWithoutSending) {
  for (const int id : {FeedbackDialog::kMemo, FeedbackDialog::kEmail, FeedbackDialog::kSend}) {
    FeedbackDialog dialog(::GetModuleHandleW(nullptr), nullptr,
                          FeedbackDialogOptions{.resources = exe_.get(), .host = "localhost:1"});
    Type(dialog.Item(FeedbackDialog::kMemo), L"unsent");
    ::PostMessageW(dialog.Item(id), WM_KEYDOWN, VK_ESCAPE, 0);
    dialog.ShowModal();  // its own loop takes the key
    EXPECT_EQ(dialog.Hwnd(), nullptr) << id;
  }
}

// A server that trickles its reply: the request waits on its worker thread while the dialog
// goes on answering, ignores Send, Esc and its close box, and reports the failure once the
// HTTPS attempt has run out of time (the text may have arrived: it is not sent again in clear).
TEST_F(FeedbackDialogTest, WhileTheServerTricklesTheDialogWaitsWithoutBlocking) {
  test::StandinServer server({"--https", "trickle", "--http", "trickle"});
  auto dialog = Open(server.Host());
  Type(dialog->Item(FeedbackDialog::kMemo), L"Slow server");
  dialog->OnSend();
  ASSERT_TRUE(dialog->Sending());
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_APPSTARTING));

  // This thread's messages run meanwhile: a window of its own still answers at once.
  Pump();
  EXPECT_EQ(::SendMessageTimeoutW(dialog->Hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr), 1);
  // Send, Esc and the close box do nothing while the request is out.
  dialog->OnSend();
  ::SendMessageW(dialog->Hwnd(), WM_CLOSE, 0, 0);
  MSG esc{.hwnd = dialog->Item(FeedbackDialog::kMemo), .message = WM_KEYDOWN, .wParam = VK_ESCAPE};
  EXPECT_TRUE(dialog->PreTranslate(esc));
  ASSERT_NE(dialog->Hwnd(), nullptr);
  EXPECT_TRUE(dialog->Sending());

  BoxWatcher box("Failure");
  EXPECT_TRUE(test::PumpUntil([&] { return !dialog->Sending(); }, 30s));
  EXPECT_EQ(box.Text(),
            "Something went wrong. Your feedback could not be delivered.\r\rPlease try again "
            "later.");
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::Failed);
  ASSERT_NE(dialog->Hwnd(), nullptr);
  EXPECT_EQ(e2e::WindowText(dialog->Item(FeedbackDialog::kMemo)), L"Slow server");
  // One attempt, over HTTPS; the second press of Send sent nothing.
  const auto posts = server.LogWith({"\"/php/feedback.php\""});
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("\"scheme\": \"https\""), std::string::npos) << posts[0];
}

// The dialog closed while its request is out (the program ending, Reset to Defaults, a
// language restart): the outcome that comes back later finds nothing and touches nothing.
TEST_F(FeedbackDialogTest, AnOutcomeForAClosedDialogIsDropped) {
  test::StandinServer server({"--https", "no-port", "--http", "status:500", "--delay", "1"});
  {
    auto dialog = Open(server.Host());
    Type(dialog->Item(FeedbackDialog::kMemo), L"Gone soon");
    dialog->OnSend();
    ASSERT_TRUE(dialog->Sending());
    dialog->Close();
    EXPECT_EQ(dialog->Hwnd(), nullptr);
  }
  // The request ends (HTTPS refused, then the HTTP error a second later) with no dialog to
  // report to: no box appears.
  EXPECT_TRUE(test::PumpUntil(
      [&] {
        return server.LogWith({"\"scheme\": \"http\"", "feedback.php"}).size() == 1;
      },
      20s));
  // The worker's end comes to no window, so nothing announces it: the messages run a while.
  test::PumpFor(std::chrono::milliseconds(1500));
  EXPECT_EQ(::FindWindowW(L"#32770", L"Failure"), nullptr);
}

TEST_F(FeedbackDialogTest, ABlankMessageSendsNothing) {
  test::StandinServer server;
  auto dialog = Open(server.Host());
  dialog->OnLikePanelClick();
  Type(dialog->Item(FeedbackDialog::kMemo), L"  \r\n ");
  dialog->OnSend();
  EXPECT_EQ(dialog->LastOutcome(), SendOutcome::EmptyBody);
  EXPECT_NE(dialog->Hwnd(), nullptr);
  EXPECT_EQ(::GetFocus(), dialog->Item(FeedbackDialog::kMemo));
  EXPECT_TRUE(server.LogWith({"\"/php/feedback.php\""}).empty());
}

}  // namespace
}  // namespace lb
