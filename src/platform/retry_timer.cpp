#include "platform/retry_timer.h"

#include <utility>

namespace lb {

RetryTimer::RetryTimer(ITimerHost& host, int id, std::function<bool()> attempt)
    : timer_(host, id, kRetryFirstIntervalMs, false), attempt_(std::move(attempt)) {}

void RetryTimer::Start() {
  // Stopped first, so that a schedule under way begins again from its first interval.
  timer_.SetEnabled(false);
  timer_.SetInterval(kRetryFirstIntervalMs);
  timer_.SetEnabled(true);
}

void RetryTimer::OnTimer() {
  if (!timer_.Enabled()) return;
  const int tried = timer_.Interval();
  // Stopped before the attempt: an attempt that fails again and starts the schedule anew (a
  // refused modify) is not undone by what follows.
  if (tried >= kRetryLastIntervalMs) timer_.SetEnabled(false);
  if (attempt_()) {
    timer_.SetEnabled(false);
    return;
  }
  if (tried < kRetryLastIntervalMs && timer_.Enabled() && timer_.Interval() == tried) {
    timer_.SetInterval(tried * 2);
  }
}

}  // namespace lb
