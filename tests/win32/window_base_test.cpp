// The window base: the object behind a window from its first message to its last, and no
// exception leaving the window procedure.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app_error.h"
#include "ui/error_report_win.h"
#include "ui/window_base_win.h"

namespace lb {
namespace {

constexpr UINT kThrowAppError = WM_APP + 1;
constexpr UINT kThrowRuntimeError = WM_APP + 2;
constexpr UINT kThrowSomethingElse = WM_APP + 3;
constexpr UINT kAnswer = WM_APP + 4;

std::vector<std::string> reports;
void RecordReport(const std::string& text) { reports.push_back(text); }

class TestWindow final : public WindowBase {
 public:
  explicit TestWindow(bool failPaint = false) : failPaint_(failPaint) {
    Create(::GetModuleHandleW(nullptr), {.name = L"LockBeaconTestWindow"},
           {.title = L"test", .style = WS_POPUP, .x = 0, .y = 0, .width = 50, .height = 40});
  }
  ~TestWindow() override { Destroy(); }

  HWND hwndAtCreate = nullptr;
  int finalMessages = 0;
  int paints = 0;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        hwndAtCreate = Hwnd();
        return 0;
      case kThrowAppError:
        throw AppError("Unable to write to C:\\x\\settings.ini");
      case kThrowRuntimeError:
        throw std::runtime_error("Failed!");
      case kThrowSomethingElse:
        throw 42;
      case kAnswer:
        return 1234;
      case WM_PAINT:
        ++paints;
        if (failPaint_) throw AppError("Cannot paint");
        break;
    }
    return DefaultHandling(message, wParam, lParam);
  }
  void OnFinalMessage() noexcept override { ++finalMessages; }

  bool failPaint_;
};

class WindowBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reports.clear();
    previous_ = SetErrorReportHook(&RecordReport);
  }
  void TearDown() override { SetErrorReportHook(previous_); }

 private:
  ErrorReportHook previous_ = nullptr;
};

TEST_F(WindowBaseTest, MessagesReachTheObjectFromCreationOn) {
  TestWindow window;
  ASSERT_NE(window.Hwnd(), nullptr);
  EXPECT_EQ(window.hwndAtCreate, window.Hwnd());
  EXPECT_EQ(::SendMessageW(window.Hwnd(), kAnswer, 0, 0), 1234);
}

TEST_F(WindowBaseTest, ExceptionsFromHandlersGoToTheErrorReport) {
  TestWindow window;
  EXPECT_EQ(::SendMessageW(window.Hwnd(), kThrowAppError, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(window.Hwnd(), kThrowRuntimeError, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(window.Hwnd(), kThrowSomethingElse, 0, 0), 0);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0], "Unable to write to C:\\x\\settings.ini.");
  EXPECT_EQ(reports[1], "Failed!");
  EXPECT_FALSE(reports[2].empty());
  // The window carries on.
  EXPECT_EQ(::SendMessageW(window.Hwnd(), kAnswer, 0, 0), 1234);
}

TEST_F(WindowBaseTest, FailedPaintIsReportedOnceNotOverAndOver) {
  TestWindow window(/*failPaint=*/true);
  ::ShowWindow(window.Hwnd(), SW_SHOWNOACTIVATE);
  ::InvalidateRect(window.Hwnd(), nullptr, TRUE);
  ::UpdateWindow(window.Hwnd());
  // A region left invalid would bring WM_PAINT back at once, again and again.
  MSG message;
  for (int i = 0; i < 20 && ::PeekMessageW(&message, window.Hwnd(), 0, 0, PM_REMOVE); ++i) {
    ::DispatchMessageW(&message);
  }
  EXPECT_EQ(window.paints, 1);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_FALSE(::GetUpdateRect(window.Hwnd(), nullptr, FALSE));
}

TEST_F(WindowBaseTest, WindowDestroyedFromOutsideLetsGoOfItsHandle) {
  TestWindow window;
  const HWND hwnd = window.Hwnd();
  ::DestroyWindow(hwnd);
  EXPECT_EQ(window.Hwnd(), nullptr);
  EXPECT_EQ(window.finalMessages, 1);
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(WindowBaseTest, ObjectDestroysItsWindow) {
  HWND hwnd = nullptr;
  {
    TestWindow window;
    hwnd = window.Hwnd();
    ASSERT_TRUE(::IsWindow(hwnd));
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
}  // namespace lb
