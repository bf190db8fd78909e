// "Send Feedback..." in the real program: the dialog opens over the indicator with its caption
// and the envelope on "Send", and Esc closes it again; while a slow server keeps the request
// waiting, the indicator still answers the lock keys, and Exit ends the program at once.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "e2e/harness_win.h"
#include "indicator/popup_menu.h"
#include "online/feedback_dialog_win.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"

namespace lb::e2e {
namespace {

HWND FindFeedbackDialog(const AppProcess& app) {
  for (const HWND window : app.Windows()) {
    if (ClassName(window) == FeedbackDialog::kClassName && ::IsWindowVisible(window)) {
      return window;
    }
  }
  return nullptr;
}

TEST(FeedbackE2eTest, SendFeedbackOpensTheDialogAndEscClosesIt) {
  TempFolder folder("feedback");
  AppProcess app(InstallApp(folder.Path()));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::SendFeedback), 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindFeedbackDialog(app)) != nullptr; }));
  EXPECT_EQ(WindowText(dialog), L"Lock Beacon feedback");
  // Modal: the indicator is disabled while the dialog is open.
  EXPECT_FALSE(::IsWindowEnabled(window));
  // The program's common controls show a picture on a push button: the envelope is there.
  const HWND send = ::GetDlgItem(dialog, FeedbackDialog::kSend);
  ASSERT_NE(send, nullptr);
  EXPECT_NE(::SendMessageW(send, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  DrawNow(dialog);
  SaveScreenshot("feedback-dialog");

  // Esc from the message field, which has the focus when the dialog opens.
  const auto focused = [&] {
    GUITHREADINFO info{.cbSize = sizeof(GUITHREADINFO)};
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus
                                                                                  : nullptr;
  };
  ASSERT_TRUE(WaitFor([&] {
    return ::GetForegroundWindow() == dialog &&
           focused() == ::GetDlgItem(dialog, FeedbackDialog::kMemo);
  }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(window) != FALSE; }));
}

// The program started against a stand-in server that trickles its replies, with a long display
// and no fading so that the indicator stands still; the feedback dialog open with a message
// whose request has gone out.
class FeedbackWhileSending : public ::testing::Test {
 protected:
  FeedbackWhileSending() {
    wchar_t saved[256] = {};
    if (::GetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", saved, 256) < 256) savedHost_ = saved;
    ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", ToWide(server_.Host()).c_str());
    WriteText(folder_ / "settings.ini",
              "[Settings]\r\nDisplayDuration=60000\r\nFadeoutAnimation=OFF\r\n");
    app_.emplace(InstallApp(folder_.Path(), true));
  }
  ~FeedbackWhileSending() override {
    app_.reset();
    ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST",
                              savedHost_.empty() ? nullptr : savedHost_.c_str());
  }

  // Opens the dialog, types a message and presses Send; the dialog, once the request is out.
  HWND SendFeedback(HWND window) {
    ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::SendFeedback), 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindFeedbackDialog(*app_)) != nullptr; })) return nullptr;
    ::SendMessageW(::GetDlgItem(dialog, FeedbackDialog::kMemo), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"Is anybody there?"));
    const HWND send = ::GetDlgItem(dialog, FeedbackDialog::kSend);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(FeedbackDialog::kSend, BN_CLICKED),
                   reinterpret_cast<LPARAM>(send));
    if (!WaitFor([&] { return !server_.LogWith({"feedback.php"}).empty(); })) return nullptr;
    return dialog;
  }

  std::wstring savedHost_;
  test::StandinServer server_{{"--https", "trickle", "--http", "trickle"}};
  TempFolder folder_{"feedback-sending"};
  std::optional<AppProcess> app_;
};

TEST_F(FeedbackWhileSending, TheIndicatorAnswersCapsLockWhileTheRequestWaits) {
  const HWND window = app_->WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const auto clientHeight = [&] {
    RECT client{};
    ::GetClientRect(window, &client);
    return client.bottom;
  };
  // The start display: LEDs and key labels only, no status line yet.
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) && clientHeight() > 0; }));
  ASSERT_TRUE(WaitForStartDisplay(window));
  const int startHeight = clientHeight();

  const HWND dialog = SendFeedback(window);
  ASSERT_NE(dialog, nullptr);
  HoldKey(VK_CAPITAL);
  // The status line appears while the request still waits for the server.
  EXPECT_TRUE(WaitFor([&] { return clientHeight() > startHeight; }, 3s))
      << clientHeight() << " " << startHeight;
  EXPECT_TRUE(::IsWindow(dialog));
  EXPECT_EQ(app_->WaitForDialog(L"Failure", 0ms), nullptr);  // the outcome is not in yet
  SaveScreenshot("feedback-sending-caps-lock");
  HoldKey(VK_CAPITAL);  // back as it was

  // The HTTPS attempt runs out of time and the failure box comes; the dialog stays. The text
  // may have reached the server: it is not sent again over plain HTTP.
  const HWND box = app_->WaitForDialog(L"Failure", 30s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(server_.LogWith({"feedback.php"}).size(), 1u);
  EXPECT_TRUE(server_.LogWith({"\"scheme\": \"http\""}).empty());
  EXPECT_EQ(MessageBoxText(box),
            L"Something went wrong. Your feedback could not be delivered.\r\rPlease try again "
            L"later.");
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  EXPECT_TRUE(::IsWindow(dialog));
}

TEST_F(FeedbackWhileSending, ExitEndsTheProgramWithoutWaitingForTheRequest) {
  const HWND window = app_->WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(SendFeedback(window), nullptr);
  ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::Exit), 0);
  // Both attempts together may take twelve seconds; the program is gone long before.
  EXPECT_TRUE(WaitFor([&] { return !app_->IsRunning(); }, 5s));
  EXPECT_EQ(server_.LogWith({"\"scheme\": \"http\"", "feedback.php"}).size(), 0u);
}

}  // namespace
}  // namespace lb::e2e
