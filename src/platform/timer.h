#pragma once
// Timers of the main window. One rule for all of them: setting the interval or the enabled state
// restarts the countdown only when the new value differs from the old one (setting the same value
// leaves a running countdown alone), and an interval of 0 never fires.
namespace lb {

// The platform's timers, one per id: SetTimer/KillTimer on a window, or a virtual clock in tests.
class ITimerHost {
 public:
  virtual ~ITimerHost() = default;
  // Starts the countdown of timer `id` afresh: it fires every `intervalMs` from now on.
  virtual void StartTimer(int id, int intervalMs) = 0;
  // Stops timer `id`; stopping a timer that does not run does nothing.
  virtual void StopTimer(int id) = 0;
};

class Timer {
 public:
  // A timer created enabled with a positive interval starts its countdown at once, so the host
  // must accept StartTimer from the moment the timer is constructed.
  Timer(ITimerHost& host, int id, int intervalMs, bool enabled);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  [[nodiscard]] int Id() const { return id_; }
  [[nodiscard]] int Interval() const { return interval_; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetInterval(int intervalMs);
  void SetEnabled(bool enabled);

 private:
  void Restart();

  ITimerHost& host_;
  int id_;
  int interval_;
  bool enabled_;
};

}  // namespace lb
