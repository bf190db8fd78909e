// UpdateNoticeWindow, the update notice window, under Wine.
#include <gtest/gtest.h>
#include <windows.h>
// The shell needs the types of windows.h first.
#include <shellapi.h>

#include <chrono>
#include <thread>
#include <vector>

#include "online/update_notice_window_win.h"
#include "platform/wide_text_win.h"
#include "ui/modal_loop_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

void Pump() { ProcessPendingMessages(); }

LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }

class NoticeWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<UpdateNoticeWindow> Make(const std::string& url, HWND mainWindow = nullptr,
                                           FocusCalls focus = {}) {
    return std::make_unique<UpdateNoticeWindow>(
        ::GetModuleHandleW(nullptr),
        UpdateNoticeWindow::Options{.productName = "Lock Beacon",
                                    .offeredVersion = "5.2",
                                    .downloadUrl = url,
                                    .host = "www.example.test",
                                    .downloadPage = "https://www.example.test/download/lb/",
                                    .mainWindow = mainWindow,
                                    .open =
                                        [this](const std::string& address) {
                                          opened.push_back(address);
                                          // Anything but a web address reaches the real shell, so
                                          // that a program slipped through would really start.
                                          if (!address.starts_with("http")) {
                                            ::ShellExecuteW(::GetDesktopWindow(), L"open",
                                                            ToWide(address).c_str(), nullptr,
                                                            nullptr, 0);
                                          }
                                        },
                                    .focus = focus});
  }
  static RECT Bounds(HWND window) {
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    return bounds;
  }
  static POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  std::vector<std::string> opened;
};

TEST_F(NoticeWindowTest, AppearsBorderlessAndTopMostInTheTopRightCorner) {
  const auto notice = Make("https://www.example.test/download/");
  EXPECT_FALSE(::IsWindowVisible(notice->Hwnd()));
  EXPECT_EQ(notice->TitleText(), "UPDATE AVAILABLE");
  EXPECT_EQ(notice->LinkText(), "Click to download Lock Beacon 5.2");

  notice->OnShowTimer();
  EXPECT_TRUE(::IsWindowVisible(notice->Hwnd()));
  const RECT bounds = Bounds(notice->Hwnd());
  EXPECT_EQ(bounds.left, ::GetSystemMetrics(SM_CXSCREEN) - 320 - 5);  // at 96 dots per inch
  EXPECT_EQ(bounds.top, 5);
  EXPECT_EQ(bounds.right - bounds.left, 320);
  EXPECT_EQ(bounds.bottom - bounds.top, 68);
  const LONG_PTR style = ::GetWindowLongPtrW(notice->Hwnd(), GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(notice->Hwnd(), GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
}

// The focus calls of the notice, recorded; the foreground window is whatever the test says.
struct RecordedFocus {
  static inline HWND foreground = nullptr;
  static inline std::vector<HWND> focused;
  static HWND WINAPI Foreground() { return foreground; }
  static HWND WINAPI SetFocusTo(HWND window) {
    focused.push_back(window);
    return nullptr;
  }
};

// The notice appears on its own, seconds or a day after start: while another program is in
// front (the user is typing into it) it takes neither the focus nor the foreground; only while
// this program owns the foreground does the focus go back to the main window.
TEST_F(NoticeWindowTest, TakesNoFocusFromTheProgramInFront) {
  const UniqueWindow mainWindow(::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 0,
                                                  0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  const HWND otherProgram = ::GetDesktopWindow();  // the desktop's process, not this one
  DWORD otherProcess = 0;
  ::GetWindowThreadProcessId(otherProgram, &otherProcess);
  ASSERT_NE(otherProcess, ::GetCurrentProcessId());
  const FocusCalls recorded{.foregroundWindow = &RecordedFocus::Foreground,
                            .setFocus = &RecordedFocus::SetFocusTo};
  const struct {
    HWND foreground;
    std::vector<HWND> focused;
  } cases[] = {
      {otherProgram, {}},
      {nullptr, {}},  // nothing in front (a switch of desktops): still nothing taken
      {mainWindow.get(), {mainWindow.get()}},
  };
  for (const auto& one : cases) {
    RecordedFocus::foreground = one.foreground;
    RecordedFocus::focused.clear();
    const HWND before = ::GetFocus();
    const auto notice = Make("https://www.example.test/download/", mainWindow.get(), recorded);
    notice->OnShowTimer();
    EXPECT_TRUE(::IsWindowVisible(notice->Hwnd()));
    EXPECT_EQ(RecordedFocus::focused, one.focused);
    EXPECT_EQ(::GetFocus(), before) << "the notice itself took the focus";
  }
}

// Dragged onto a monitor with another DPI, the notice takes the size the system suggests and
// lays its close button out at that DPI.
TEST_F(NoticeWindowTest, TakesAnotherMonitorsDpi) {
  const auto notice = Make("https://www.example.test/download/");
  notice->OnShowTimer();
  const RECT before = Bounds(notice->Hwnd());
  const RECT button96 = Bounds(notice->CloseButton());
  RECT suggested{before.left - 100, before.top + 10, before.left - 100 + 480,
                 before.top + 10 + 102};
  ::SendMessageW(notice->Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
  const RECT after = Bounds(notice->Hwnd());
  EXPECT_EQ(after.left, suggested.left);
  EXPECT_EQ(after.right - after.left, 480);
  EXPECT_EQ(after.bottom - after.top, 102);
  const RECT button144 = Bounds(notice->CloseButton());
  // Design units at 144 dots per inch: half as much again, rounded.
  EXPECT_EQ(button144.right - button144.left, ::MulDiv(button96.right - button96.left, 3, 2));
  EXPECT_EQ(button144.left - after.left, ::MulDiv(button96.left - before.left, 3, 2));
}

TEST_F(NoticeWindowTest, LinkOpensTheDownloadAddressAndCloses) {
  const auto notice = Make("https://www.example.test/download/");
  notice->OnShowTimer();
  const POINT link = Centre(notice->LinkRect());
  ::SendMessageW(notice->Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(link));
  ::SendMessageW(notice->Hwnd(), WM_LBUTTONUP, 0, At(link));
  EXPECT_EQ(opened, std::vector<std::string>{"https://www.example.test/download/"});
  EXPECT_FALSE(::IsWindowVisible(notice->Hwnd()));
}

TEST_F(NoticeWindowTest, AHostileDownloadAddressIsNotStarted) {
  const test::TempFolder folder;
  const std::string marker = folder.Path("started.txt");
  folder.Put("setup.bat", "@echo started> \"" + marker + "\"\r\n");
  // The shell would start the script: the check below can see it.
  ::ShellExecuteW(::GetDesktopWindow(), L"open", ToWide(folder.Path("setup.bat")).c_str(), nullptr,
                  nullptr, 0);
  for (int i = 0; i < 100 && !folder.Get("started.txt"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(folder.Get("started.txt")) << "the shell did not run the script at all";
  // The command interpreter may still hold the file it has just created: the file goes only
  // once it is closed, and deleting fails while it is open without sharing.
  for (int i = 0; i < 100 && folder.Get("started.txt"); ++i) {
    ::DeleteFileW(ToWide(marker).c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(folder.Get("started.txt"));

  const auto notice = Make(folder.Path("setup.bat"));
  notice->OnShowTimer();
  notice->OnLinkClick();
  EXPECT_EQ(opened, std::vector<std::string>{"https://www.example.test/download/lb/"});
  // A script started by mistake writes its file at a moment nothing announces; above, the
  // shell's own start of it took well under 2 s.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_FALSE(folder.Get("started.txt"));
  EXPECT_FALSE(::IsWindowVisible(notice->Hwnd()));
}

TEST_F(NoticeWindowTest, CloseButtonClosesWithoutOpening) {
  const auto notice = Make("https://www.example.test/download/");
  notice->OnShowTimer();
  ::SendMessageW(notice->CloseButton(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_FALSE(::IsWindowVisible(notice->Hwnd()));
  EXPECT_TRUE(opened.empty());
}

TEST_F(NoticeWindowTest, ClosesItselfOnTheEleventhCountdownTick) {
  const auto notice = Make("");
  notice->OnShowTimer();
  for (int tick = 1; tick <= 10; ++tick) notice->OnCountdownTimer();
  EXPECT_TRUE(::IsWindowVisible(notice->Hwnd()));
  notice->OnCountdownTimer();
  EXPECT_FALSE(::IsWindowVisible(notice->Hwnd()));
}

TEST_F(NoticeWindowTest, DragsByTheIconButNotByTheLinkOrTheRightButton) {
  const auto notice = Make("https://www.example.test/download/");
  notice->OnShowTimer();
  const HWND window = notice->Hwnd();
  const RECT start = Bounds(window);

  // The right button does nothing.
  ::SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At({30, 30}));
  ::SendMessageW(window, WM_MOUSEMOVE, MK_RBUTTON, At({10, 40}));
  ::SendMessageW(window, WM_RBUTTONUP, 0, At({10, 40}));
  EXPECT_EQ(Bounds(window).left, start.left);

  // A press on the link does not drag.
  const POINT link = Centre(notice->LinkRect());
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(link));
  ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At({link.x - 40, link.y + 10}));
  EXPECT_EQ(Bounds(window).left, start.left);
  ::SendMessageW(window, WM_LBUTTONUP, 0, At({30, 60}));  // released off the link
  EXPECT_TRUE(opened.empty());

  // The icon drags: the window follows the pointer.
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At({30, 30}));
  ::SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At({10, 45}));
  ::SendMessageW(window, WM_LBUTTONUP, 0, At({10, 45}));
  EXPECT_EQ(Bounds(window).left, start.left - 20);
  EXPECT_EQ(Bounds(window).top, start.top + 15);

  // The link still opens after the drag.
  const POINT moved = Centre(notice->LinkRect());
  ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(moved));
  ::SendMessageW(window, WM_LBUTTONUP, 0, At(moved));
  EXPECT_EQ(opened, std::vector<std::string>{"https://www.example.test/download/"});
}

}  // namespace
}  // namespace lb
