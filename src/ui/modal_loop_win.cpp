#include "ui/modal_loop_win.h"

#include "ui/modeless_win.h"

namespace lb {

void ProcessPendingMessages() noexcept {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to end the loop here: leave the request for the message loop.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void RunModalLoop(const WindowBase& window, const std::function<void()>& close,
                  const std::function<bool(const MSG&)>& preTranslate) {
  MSG message{};
  while (window.Hwnd()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      close();
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got == -1) return;
    if (preTranslate && preTranslate(message)) continue;
    if (window.Hwnd() && ::IsDialogMessageW(window.Hwnd(), &message)) continue;
    if (IsModelessDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace lb
