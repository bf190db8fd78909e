#pragma once
// Keeping the notification-area icon there. At sign-in the shell may refuse to add an icon, or
// time out, while Explorer is still busy, and no "TaskbarCreated" follows then: the icon is
// tried again (changed, else added: an add that timed out may have reached the shell after all)
// on a timer whose interval grows, for about two minutes (RetryTimer), and again after any
// change that the shell refused.
#include "platform/retry_timer.h"
#include "platform/timer.h"

namespace lb {

// The notification area as the keeper uses it: Shell_NotifyIcon, or a fake shell in tests.
class INotifyArea {
 public:
  virtual ~INotifyArea() = default;
  // NIM_ADD with the icon's picture, tooltip and callback message; true when the shell took it.
  virtual bool AddIcon() = 0;
  // NIM_MODIFY with the picture and tooltip the icon shows now; true when the shell took it.
  virtual bool ModifyIcon() = 0;
  // The icon's protocol version, once the icon is there (NIM_SETVERSION).
  virtual void SetIconVersion() = 0;
};

class TrayIconKeeper {
 public:
  TrayIconKeeper(INotifyArea& area, ITimerHost& timers, int timerId);
  TrayIconKeeper(const TrayIconKeeper&) = delete;
  TrayIconKeeper& operator=(const TrayIconKeeper&) = delete;

  // Adds the icon: at the start, and when the taskbar was created anew.
  void Add();
  // The picture or the tooltip changed: the shell is told, or, while it has no icon, the icon
  // is tried again with the new look (at once unless a retry is due anyway).
  void Changed();
  // The retry timer's tick.
  void OnTimer() { retry_.OnTimer(); }

  // Whether the shell holds the icon, as far as its last answer says.
  [[nodiscard]] bool Shown() const noexcept { return shown_; }
  [[nodiscard]] const RetryTimer& Retry() const noexcept { return retry_; }

 private:
  // Changed, else added. Answers whether the shell holds the icon now.
  bool TryAgain();

  INotifyArea& area_;
  RetryTimer retry_;
  bool shown_ = false;
};

}  // namespace lb
