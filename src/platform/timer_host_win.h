#pragma once
// The timers of one window: SetTimer and KillTimer with the timer's id; every tick arrives as
// WM_TIMER with the id in wParam, which the window hands to its logic.
#include <windows.h>

#include <map>

#include "platform/timer.h"

namespace lb {

class WindowTimerHost final : public ITimerHost {
 public:
  WindowTimerHost() = default;
  ~WindowTimerHost() override;
  WindowTimerHost(const WindowTimerHost&) = delete;
  WindowTimerHost& operator=(const WindowTimerHost&) = delete;

  // Timers may be started before their window exists (the logic's timers run from their
  // construction on); they are kept and started when the window is attached.
  void Attach(HWND window);
  // Stops every running timer; the timers started afterwards wait for the next Attach.
  void Detach() noexcept;

  // SetTimer with the same id restarts the countdown. The system rounds intervals below
  // USER_TIMER_MINIMUM (10 ms) up to it; an interval below 1 would fire at that rate, so it
  // stops the timer instead (an interval of 0 never fires).
  void StartTimer(int id, int intervalMs) override;
  void StopTimer(int id) override;

  // The timers that run (or wait for the window), with their intervals.
  [[nodiscard]] const std::map<int, int>& Running() const noexcept { return running_; }

 private:
  HWND window_ = nullptr;
  std::map<int, int> running_;
};

}  // namespace lb
