// The loop of a modal window: it runs until the window is gone, and a modeless dialog open
// beside it keeps its dialog keys.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/modal_loop_win.h"
#include "ui/modeless_win.h"
#include "ui/window_base_win.h"

namespace lb {
namespace {

class ModalWindow final : public WindowBase {
 public:
  ModalWindow() {
    Create(::GetModuleHandleW(nullptr), {.name = L"LockBeaconModalLoopTest"},
           {.title = L"modal", .style = WS_POPUP, .x = 0, .y = 0, .width = 50, .height = 40});
  }
  ~ModalWindow() override { Destroy(); }
  void Close() { Destroy(); }
};

TEST(ModalLoop, AModelessDialogBesideTheModalWindowKeepsItsDialogKeys) {
  // The modeless dialog: a window with two fields in the tab order.
  const HWND dialog = ::CreateWindowExW(0, L"STATIC", L"modeless", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                        100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  const HWND first = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0,
                                       90, 20, dialog, nullptr, nullptr, nullptr);
  const HWND second = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 0,
                                        90, 20, dialog, nullptr, nullptr, nullptr);
  RegisterModelessDialog(dialog);
  ::SetFocus(first);
  ASSERT_EQ(::GetFocus(), first);

  ModalWindow modal;
  // Tab in the modeless dialog, then the modal window closes (the user's last action).
  ::PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
  ::PostMessageW(modal.Hwnd(), WM_CLOSE, 0, 0);  // default handling destroys the window
  int closes = 0;
  RunModalLoop(modal, [&] { ++closes; });

  EXPECT_EQ(modal.Hwnd(), nullptr) << "the loop ran until the window was gone";
  EXPECT_EQ(closes, 0) << "no quit was asked for";
  EXPECT_EQ(::GetFocus(), second);
  UnregisterModelessDialog(dialog);
  ::DestroyWindow(dialog);
}

TEST(ModalLoop, AQuitClosesTheWindowAndIsPostedAgainForTheMainLoop) {
  ModalWindow modal;
  ::PostQuitMessage(7);
  int closes = 0;
  RunModalLoop(modal, [&] {
    ++closes;
    modal.Close();
  });
  EXPECT_EQ(closes, 1);
  MSG quit{};
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
}  // namespace lb
