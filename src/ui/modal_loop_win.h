#pragma once
// Message loops besides the program's main one: the loop of a modal window (About box, feedback
// dialog, language chooser), run while the window is open, and the short pass over the waiting
// messages that the indicator and the language chooser make between their steps.
#include <windows.h>

#include <functional>
#include <utility>

#include "ui/window_base_win.h"

namespace lb {

// The owner of a modal window: disabled while the window runs modally, and enabled again by
// Release() before the window goes, so that it gets the activation back.
class ModalOwner {
 public:
  explicit ModalOwner(HWND owner) noexcept : owner_(owner) {}
  ModalOwner(const ModalOwner&) = delete;
  ModalOwner& operator=(const ModalOwner&) = delete;

  void Disable() noexcept {
    if (owner_ == nullptr || disabled_) return;
    ::EnableWindow(owner_, FALSE);
    disabled_ = true;
  }
  void Release() noexcept {
    if (std::exchange(disabled_, false)) ::EnableWindow(owner_, TRUE);
  }

 private:
  HWND owner_;
  bool disabled_ = false;
};

// Handles every message waiting in this thread's queue and returns.
// A quit request is left for the message loop, which ends the program.
void ProcessPendingMessages() noexcept;

// Runs until `window` is gone. A key message goes to `preTranslate` first (when given; true:
// handled), then to the window's dialog keys, then to those of a modeless dialog open beside it
// (a Settings dialog keeps its Tab, Enter and Esc). When the program is asked to quit, `close`
// closes the window and the quit is posted again for the main loop.
void RunModalLoop(const WindowBase& window, const std::function<void()>& close,
                  const std::function<bool(const MSG&)>& preTranslate = {});

}  // namespace lb
