#pragma once
// Time as a test input: timers that fire as the test advances the clock, in time order, each
// tick routed to `onTick` (the app's OnTimer). A timer restarted inside a tick counts from that
// moment, as SetTimer does.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/timer.h"

namespace lb::test {

class VirtualClock : public ITimerHost {
 public:
  std::function<void(int id)> onTick;
  std::int64_t now = 0;  // milliseconds since the clock was made

  void StartTimer(int id, int intervalMs) override {
    running_[id] = Countdown{intervalMs, now + intervalMs, nextOrder_++};
  }
  void StopTimer(int id) override { running_.erase(id); }

  [[nodiscard]] bool IsRunning(int id) const { return running_.contains(id); }
  // The interval the host was last given for a running timer; 0 when it does not run.
  [[nodiscard]] int IntervalOf(int id) const {
    const auto found = running_.find(id);
    return found == running_.end() ? 0 : found->second.interval;
  }
  // When a running timer fires next; -1 when it does not run.
  [[nodiscard]] std::int64_t DueAt(int id) const {
    const auto found = running_.find(id);
    return found == running_.end() ? -1 : found->second.due;
  }

  // Lets `ms` pass, firing every timer that comes due on the way, earliest first (timers due at
  // the same moment in the order they were started). A tick that blocks past the target leaves
  // the timers that came due meanwhile for the next Advance.
  void Advance(std::int64_t ms) { AdvanceTo(now + ms); }
  void AdvanceTo(std::int64_t target) {
    for (;;) {
      auto next = std::min_element(running_.begin(), running_.end(), [](auto& a, auto& b) {
        return a.second.due != b.second.due ? a.second.due < b.second.due
                                            : a.second.order < b.second.order;
      });
      if (next == running_.end() || std::max(now, next->second.due) > target) break;
      now = std::max(now, next->second.due);
      const int id = next->first;
      next->second.due = now + next->second.interval;
      next->second.order = nextOrder_++;
      if (onTick) onTick(id);
    }
    now = std::max(now, target);
  }

  // Time passes without any timer firing, as while the thread is blocked (a synchronous
  // sound): a timer that came due meanwhile fires once, at the next Advance.
  void Block(std::int64_t ms) { now += ms; }

 private:
  struct Countdown {
    int interval;
    std::int64_t due;
    std::uint64_t order;
  };
  std::map<int, Countdown> running_;
  std::uint64_t nextOrder_ = 0;
};

}  // namespace lb::test
