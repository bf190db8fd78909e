// "Send Feedback..." in the real program: the dialog opens over the indicator with its caption
// and the envelope on "Send", and Esc closes it again.
#include <gtest/gtest.h>

#include <thread>

#include "e2e/harness_win.h"
#include "indicator/popup_menu.h"
#include "online/feedback_dialog_win.h"

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
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // until the controls have drawn
  SaveScreenshot("feedback-dialog");

  // Esc from the message field, which has the focus when the dialog opens.
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == dialog; }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(window) != FALSE; }));
}

}  // namespace
}  // namespace lb::e2e
