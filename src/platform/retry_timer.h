#pragma once
// Trying something again that the system refused for now (the notification area while Explorer
// is still starting, the session notifications before the terminal service is ready): on a
// timer whose interval doubles after every failed attempt, from one second to 64 seconds, so
// that the last attempt comes a little over two minutes after the first failure. Then it stops
// for good: nothing runs for ever. A success stops it at once.
#include <functional>

#include "platform/timer.h"

namespace lb {

inline constexpr int kRetryFirstIntervalMs = 1000;
inline constexpr int kRetryLastIntervalMs = 64'000;

class RetryTimer {
 public:
  // `attempt` answers whether it succeeded. The timer has the id `id` on `host`.
  RetryTimer(ITimerHost& host, int id, std::function<bool()> attempt);
  RetryTimer(const RetryTimer&) = delete;
  RetryTimer& operator=(const RetryTimer&) = delete;

  // Something failed: attempts begin afresh, the first after kRetryFirstIntervalMs.
  void Start();
  // Nothing more to try (it worked by other means, or the owner goes).
  void Stop() { timer_.SetEnabled(false); }
  [[nodiscard]] bool Running() const { return timer_.Enabled(); }
  [[nodiscard]] int Id() const { return timer_.Id(); }
  // The timer's tick: one attempt; after a failure the next comes twice as late, until the
  // last interval has been tried.
  void OnTimer();

 private:
  Timer timer_;
  std::function<bool()> attempt_;
};

}  // namespace lb
