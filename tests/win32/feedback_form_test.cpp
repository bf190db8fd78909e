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
#include "online/feedback_form_win.h"
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

class FeedbackFormTest : public ::testing::Test {
 protected:
  FeedbackFormTest() : saved_(AppIdentity()) {
    MutableAppIdentity().ProductName = "Lock Beacon";
    MutableAppIdentity().AppName = "BRIMLEX - Lock Beacon";
    MutableAppIdentity().AppVersion = "1.0";
  }
  ~FeedbackFormTest() override { MutableAppIdentity() = saved_; }

  static void SetUpTestSuite() {
    exe_.reset(::LoadLibraryExW(ToWide(test::HostPath(LOCKBEACON_EXE_PATH)).c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  }
  static void TearDownTestSuite() { exe_.reset(); }

  std::unique_ptr<TFeedbackForm> Open(const std::string& host) {
    auto form =
        std::make_unique<TFeedbackForm>(::GetModuleHandleW(nullptr), nullptr,
                                        FeedbackFormOptions{.resources = exe_.get(), .host = host});
    form->Show();
    Pump();
    return form;
  }

  static void Type(HWND control, const std::wstring& text) {
    ::SetWindowTextW(control, text.c_str());
  }

  static void Pump() { test::PumpFor(std::chrono::milliseconds(100)); }

  static inline UniqueModule exe_;

 private:
  Identity saved_;
};

TEST_F(FeedbackFormTest, ASendWithLikeArrivesWithExactlyTheExpectedFields) {
  test::StandinServer server;
  auto form = Open(server.Host());
  form->Image1Click();
  Type(form->Item(TFeedbackForm::kMemo), L"  Great tool\r\nThanks  ");
  Type(form->Item(TFeedbackForm::kEmail), L" me@example.com ");

  BoxWatcher box("Success");
  form->BitBtn1Click();  // returns when the box is closed
  EXPECT_EQ(box.Text(), "Your feedback is received.\r\rThank you!");
  EXPECT_EQ(form->LastOutcome(), SendOutcome::Delivered);
  EXPECT_EQ(form->Hwnd(), nullptr);  // closed on success

  const auto posts = server.LogWith({"\"/php/feedback.php\""});
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("\"scheme\": \"https\""), std::string::npos) << posts[0];
  EXPECT_NE(posts[0].find("\"fields\": [[\"cmd\", \"feedback\"], [\"appname\", \"BRIMLEX - Lock "
                          "Beacon\"], [\"version\", \"1.0\"], [\"feedback\", \"I like "
                          "it!\\rGreat tool\\r\\nThanks\"], [\"email\", \"me@example.com\"]]"),
            std::string::npos)
      << posts[0];
}

TEST_F(FeedbackFormTest, HttpsRefusedAndHttpAnsweringOkSucceeds) {
  test::StandinServer server({"--https", "refuse"});
  auto form = Open(server.Host());
  Type(form->Item(TFeedbackForm::kMemo), L"Hello");

  BoxWatcher box("Success");
  form->BitBtn1Click();
  EXPECT_EQ(box.Text(), "Your feedback is received.\r\rThank you!");
  EXPECT_EQ(form->LastOutcome(), SendOutcome::Delivered);

  EXPECT_EQ(server.LogWith({"\"https\"", "\"refused\": true"}).size(), 1u);
  const auto posts = server.LogWith({"\"scheme\": \"http\"", "\"/php/feedback.php\""});
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_NE(posts[0].find("[\"feedback\", \"Hello\"]]"), std::string::npos) << posts[0];
}

TEST_F(FeedbackFormTest, AReplyOtherThanOkShowsTheFailureBoxAndKeepsTheText) {
  test::StandinServer server({"--https", "error", "--http", "error"});
  auto form = Open(server.Host());
  form->Image2Click();
  Type(form->Item(TFeedbackForm::kMemo), L"Too bright");
  Type(form->Item(TFeedbackForm::kEmail), L"me@example.com");

  BoxWatcher box("Failure", "feedback-failure-box");
  form->BitBtn1Click();
  EXPECT_EQ(box.Text(),
            "Something went wrong. Your feedback could not be delivered.\r\rPlease try again "
            "later.");
  EXPECT_EQ(form->LastOutcome(), SendOutcome::Failed);
  ASSERT_NE(form->Hwnd(), nullptr);
  EXPECT_EQ(e2e::WindowText(form->Item(TFeedbackForm::kMemo)), L"Too bright");
  EXPECT_EQ(e2e::WindowText(form->Item(TFeedbackForm::kEmail)), L"me@example.com");
  EXPECT_EQ(form->Choice(), FeedbackChoice::Dislike);
  // The HTTPS reply counts: nothing was retried over plain HTTP.
  EXPECT_EQ(server.LogWith({"\"/php/feedback.php\""}).size(), 1u);
}

TEST_F(FeedbackFormTest, AMalformedAddressIsRefusedBeforeAnythingIsSent) {
  test::StandinServer server;
  auto form = Open(server.Host());
  Type(form->Item(TFeedbackForm::kMemo), L"Hello");
  Type(form->Item(TFeedbackForm::kEmail), L"me@example");

  BoxWatcher box("Failure");
  form->BitBtn1Click();
  EXPECT_EQ(box.Text(), "Invalid e-mail address!");
  EXPECT_EQ(form->LastOutcome(), SendOutcome::InvalidEmail);
  EXPECT_EQ(::GetFocus(), form->Item(TFeedbackForm::kEmail));
  EXPECT_TRUE(server.LogWith({"\"/php/feedback.php\""}).empty());
}

TEST_F(FeedbackFormTest, LaysOutTheControlsAtTheWindowsDpiInTabOrder) {
  auto form = Open("localhost:1");
  const int dpi = DpiForWindow(form->Hwnd());
  EXPECT_EQ(e2e::WindowText(form->Hwnd()), L"Lock Beacon feedback");

  RECT client{};
  ::GetClientRect(form->Hwnd(), &client);
  EXPECT_EQ(client.right, Scale(TFeedbackForm::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scale(TFeedbackForm::kClientHeight, dpi));
  const auto rectOf = [&](HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, form->Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const RECT send = rectOf(form->Item(TFeedbackForm::kSend));
  EXPECT_EQ(send.right - send.left, Scale(180, dpi));
  EXPECT_EQ(send.bottom - send.top, Scale(34, dpi));
  EXPECT_LE(send.right, client.right);
  EXPECT_GE(send.top, Scale(TFeedbackForm::kClientHeight - 40, dpi));
  const RECT like = rectOf(form->Panel4());
  const RECT dislike = rectOf(form->Panel5());
  EXPECT_EQ(like.bottom - like.top, Scale(46, dpi));
  EXPECT_EQ(like.right, dislike.left);
  EXPECT_EQ(dislike.right, client.right);
  const RECT memo = rectOf(form->Item(TFeedbackForm::kMemo));
  const RECT email = rectOf(form->Item(TFeedbackForm::kEmail));
  EXPECT_LT(memo.bottom, email.top);
  EXPECT_LT(email.bottom, send.top);

  // Tab order: the memo, the field, "Send"; the panels take no focus.
  HWND memoWindow = form->Item(TFeedbackForm::kMemo);
  EXPECT_EQ(::GetFocus(), memoWindow);
  HWND next = ::GetNextDlgTabItem(form->Hwnd(), memoWindow, FALSE);
  EXPECT_EQ(next, form->Item(TFeedbackForm::kEmail));
  next = ::GetNextDlgTabItem(form->Hwnd(), next, FALSE);
  EXPECT_EQ(next, form->Item(TFeedbackForm::kSend));
  EXPECT_EQ(::GetNextDlgTabItem(form->Hwnd(), next, FALSE), memoWindow);
  // Tab pressed in the memo, which passes it on to the window, reaches the field.
  MSG tab{.hwnd = memoWindow, .message = WM_KEYDOWN, .wParam = VK_TAB};
  EXPECT_TRUE(::IsDialogMessageW(form->Hwnd(), &tab));
  EXPECT_EQ(::GetFocus(), form->Item(TFeedbackForm::kEmail));
  ::SetFocus(memoWindow);
  EXPECT_EQ(::SendMessageW(memoWindow, EM_GETLIMITTEXT, 0, 0), 10000);
  EXPECT_EQ(::SendMessageW(form->Item(TFeedbackForm::kEmail), EM_GETLIMITTEXT, 0, 0), 100);
  EXPECT_NE(::GetWindowLongW(memoWindow, GWL_STYLE) & WS_VSCROLL, 0);

  // Choosing: at most one panel, switchable but never taken back.
  EXPECT_EQ(form->Choice(), FeedbackChoice::None);
  form->Image1Click();
  EXPECT_EQ(form->Choice(), FeedbackChoice::Like);
  form->Image1Click();
  EXPECT_EQ(form->Choice(), FeedbackChoice::Like);
  form->Image2Click();
  EXPECT_EQ(form->Choice(), FeedbackChoice::Dislike);
  ::SendMessageW(form->Panel4(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(form->Choice(), FeedbackChoice::Like);

  Type(memoWindow, L"The indicator is great.\r\nCould it also show Insert?");
  Type(form->Item(TFeedbackForm::kEmail), L"me@example.com");
  Pump();
  static_cast<void>(e2e::SaveScreenshot("feedback-dialog-" + std::to_string(dpi)));
}

TEST_F(FeedbackFormTest, EscInTheMemoTheFieldOrOnSendClosesWithoutSending) {
  for (const int id : {TFeedbackForm::kMemo, TFeedbackForm::kEmail, TFeedbackForm::kSend}) {
    TFeedbackForm form(::GetModuleHandleW(nullptr), nullptr,
                       FeedbackFormOptions{.resources = exe_.get(), .host = "localhost:1"});
    Type(form.Item(TFeedbackForm::kMemo), L"unsent");
    ::PostMessageW(form.Item(id), WM_KEYDOWN, VK_ESCAPE, 0);
    form.ShowModal();  // its own loop takes the key
    EXPECT_EQ(form.Hwnd(), nullptr) << id;
  }
}

TEST_F(FeedbackFormTest, ABlankMessageSendsNothing) {
  test::StandinServer server;
  auto form = Open(server.Host());
  form->Image1Click();
  Type(form->Item(TFeedbackForm::kMemo), L"  \r\n ");
  form->BitBtn1Click();
  EXPECT_EQ(form->LastOutcome(), SendOutcome::EmptyBody);
  EXPECT_NE(form->Hwnd(), nullptr);
  EXPECT_EQ(::GetFocus(), form->Item(TFeedbackForm::kMemo));
  EXPECT_TRUE(server.LogWith({"\"/php/feedback.php\""}).empty());
}

}  // namespace
}  // namespace lb
