#include "platform/timer.h"

namespace lb {

Timer::Timer(ITimerHost& host, int id, int intervalMs, bool enabled)
    : host_(host), id_(id), interval_(intervalMs), enabled_(enabled) {
  // A timer that is enabled in its design state runs from its creation on.
  if (enabled_ && interval_ > 0) host_.StartTimer(id_, interval_);
}

void Timer::SetInterval(int intervalMs) {
  if (intervalMs == interval_) return;  // a running countdown is left alone
  interval_ = intervalMs;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void Timer::Restart() {
  host_.StopTimer(id_);
  // An interval of 0 never fires; a negative one is taken the same way.
  if (enabled_ && interval_ > 0) host_.StartTimer(id_, interval_);
}

}  // namespace lb
