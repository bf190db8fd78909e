#pragma once
// Letting this thread's window messages run in a test, which has no message loop of its own.
#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

#include "ui/modal_loop_win.h"

namespace lb::test {

// Has `window` and its children paint themselves now (for a look at the screen).
inline void DrawNow(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
  ProcessPendingMessages();
}

// Lets the messages run for `duration`. Only for a test that must show that something does not
// happen and has no later event to wait for instead; each use says why.
inline void PumpFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    ProcessPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Lets the messages run until `done` holds (true) or `timeout` passes (false).
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ProcessPendingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace lb::test
