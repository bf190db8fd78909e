#pragma once
// The system's announcements of a new foreground window (EVENT_SYSTEM_FOREGROUND) and of a
// switch of the input desktop (EVENT_SYSTEM_DESKTOPSWITCH), through SetWinEventHook out of
// context: the system queues each event to the thread that installed the hooks, which gets it
// while it waits for messages. Nothing polls, and nothing runs while nothing happens. One
// object per program, on the window thread; any number of listeners.
#include <windows.h>

#include <vector>

#include "platform/desktop_events.h"

namespace lb {

class DesktopEventHooks final : public IDesktopEvents {
 public:
  // Installs both hooks for the calling thread. A hook the system refuses is left out: its
  // events then never come.
  DesktopEventHooks();
  ~DesktopEventHooks() override;
  DesktopEventHooks(const DesktopEventHooks&) = delete;
  DesktopEventHooks& operator=(const DesktopEventHooks&) = delete;

  void Subscribe(IDesktopEventListener& listener) override;
  void Unsubscribe(IDesktopEventListener& listener) override;

  // Tells every listener of `event` as the hook does (tests play events that Wine never sends
  // through this, EVENT_SYSTEM_DESKTOPSWITCH among them).
  void Dispatch(DWORD event);

  // Whether the system took each hook.
  [[nodiscard]] bool WatchesForeground() const noexcept { return foregroundHook_ != nullptr; }
  [[nodiscard]] bool WatchesDesktopSwitch() const noexcept { return desktopHook_ != nullptr; }

 private:
  static void CALLBACK OnWinEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                  LONG child, DWORD thread, DWORD time);

  HWINEVENTHOOK foregroundHook_ = nullptr;
  HWINEVENTHOOK desktopHook_ = nullptr;
  std::vector<IDesktopEventListener*> listeners_;
};

}  // namespace lb
