#include "platform/timer_host_win.h"

namespace lb {

WindowTimerHost::~WindowTimerHost() { Detach(); }

void WindowTimerHost::Attach(HWND window) {
  Detach();
  window_ = window;
  for (const auto& [id, interval] : running_) {
    ::SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(interval), nullptr);
  }
}

void WindowTimerHost::Detach() noexcept {
  if (window_ && ::IsWindow(window_)) {
    for (const auto& entry : running_) ::KillTimer(window_, static_cast<UINT_PTR>(entry.first));
  }
  window_ = nullptr;
}

void WindowTimerHost::StartTimer(int id, int intervalMs) {
  if (intervalMs < 1) {
    StopTimer(id);
    return;
  }
  running_[id] = intervalMs;
  if (window_)
    ::SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), nullptr);
}

void WindowTimerHost::StopTimer(int id) {
  running_.erase(id);
  if (window_) ::KillTimer(window_, static_cast<UINT_PTR>(id));
}

}  // namespace lb
