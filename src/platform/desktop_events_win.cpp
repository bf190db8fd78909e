#include "platform/desktop_events_win.h"

#include <algorithm>

namespace lb {
namespace {

// The hook objects of this thread: out-of-context events come back on the thread that installed
// them, each with the handle of its hook.
thread_local std::vector<DesktopEventHooks*> hooksOfThisThread;

HWINEVENTHOOK Install(DWORD event, WINEVENTPROC procedure) noexcept {
  return ::SetWinEventHook(event, event, nullptr, procedure, 0, 0, WINEVENT_OUTOFCONTEXT);
}

}  // namespace

DesktopEventHooks::DesktopEventHooks() {
  hooksOfThisThread.push_back(this);
  foregroundHook_ = Install(EVENT_SYSTEM_FOREGROUND, &DesktopEventHooks::OnWinEvent);
  desktopHook_ = Install(EVENT_SYSTEM_DESKTOPSWITCH, &DesktopEventHooks::OnWinEvent);
}

DesktopEventHooks::~DesktopEventHooks() {
  if (foregroundHook_) ::UnhookWinEvent(foregroundHook_);
  if (desktopHook_) ::UnhookWinEvent(desktopHook_);
  std::erase(hooksOfThisThread, this);
}

void DesktopEventHooks::Subscribe(IDesktopEventListener& listener) {
  if (std::ranges::find(listeners_, &listener) == listeners_.end()) {
    listeners_.push_back(&listener);
  }
}

void DesktopEventHooks::Unsubscribe(IDesktopEventListener& listener) {
  std::erase(listeners_, &listener);
}

void DesktopEventHooks::Dispatch(DWORD event) {
  if (event != EVENT_SYSTEM_FOREGROUND && event != EVENT_SYSTEM_DESKTOPSWITCH) return;
  // A copy: a listener may let messages run, in which listeners come or go.
  const std::vector<IDesktopEventListener*> listeners = listeners_;
  for (IDesktopEventListener* listener : listeners) {
    if (std::ranges::find(listeners_, listener) == listeners_.end()) continue;  // gone meanwhile
    if (event == EVENT_SYSTEM_FOREGROUND) {
      listener->OnForegroundChanged();
    } else {
      listener->OnDesktopSwitched();
    }
  }
}

void CALLBACK DesktopEventHooks::OnWinEvent(HWINEVENTHOOK hook, DWORD event, HWND /*window*/,
                                            LONG /*object*/, LONG /*child*/, DWORD /*thread*/,
                                            DWORD /*time*/) {
  for (DesktopEventHooks* hooks : hooksOfThisThread) {
    if (hooks->foregroundHook_ == hook || hooks->desktopHook_ == hook) {
      hooks->Dispatch(event);
      return;
    }
  }
}

}  // namespace lb
