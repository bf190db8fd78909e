// The file dialog of "Sound Effect" > "Browse...": comdlg32 is loaded only when it first opens,
// not at start. The system's Open dialog must still come up, and again after a cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include "e2e/harness_win.h"
#include "indicator/popup_menu.h"

namespace lb::e2e {
namespace {

HWND WaitForAnyDialog(const AppProcess& app) {
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND window : app.Windows()) {
      if (IsWindowVisible(window) && ClassName(window) == L"#32770") dialog = window;
    }
    return dialog != nullptr;
  });
  return dialog;
}

TEST(FileDialogE2eTest, BrowseOpensTheSystemsOpenDialogEachTime) {
  TempFolder folder("file-dialog");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  for (int round = 0; round < 2; ++round) {
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::BrowseOnSound), 0);
    const HWND dialog = WaitForAnyDialog(app);
    ASSERT_NE(dialog, nullptr) << round;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) << round;
  }
  EXPECT_TRUE(app.IsRunning());
}

}  // namespace
}  // namespace lb::e2e
