#include "platform/desktop_events_win.h"

#include <algorithm>

namespace lb {
namespace {

// The hooks of this thread: out-of-context events come back on the thread that installed them.
thread_local DesktopEventHooks* hooksOfThisThread = nullptr;

HWINEVENTHOOK Install(DWORD event, WINEVENTPROC procedure) noexcept {
  return ::SetWinEventHook(event, event, nullptr, procedure, 0, 0, WINEVENT_OUTOFCONTEXT);
}

}  // namespace

DesktopEventHooks::DesktopEventHooks() {
  hooksOfThisThread = this;
  foregroundHook_ = Install(EVENT_SYSTEM_FOREGROUND, &DesktopEventHooks::OnWinEvent);
  desktopHook_ = Install(EVENT_SYSTEM_DESKTOPSWITCH, &DesktopEventHooks::OnWinEvent);
}

DesktopEventHooks::~DesktopEventHooks() {
  if (foregroundHook_) ::UnhookWinEvent(foregroundHook_);
  if (desktopHook_) ::UnhookWinEvent(desktopHook_);
  if (hooksOfThisThread == this) hooksOfThisThread = nullptr;
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

void CALLBACK DesktopEventHooks::OnWinEvent(HWINEVENTHOOK /*hook*/, DWORD event, HWND /*window*/,
                                            LONG /*object*/, LONG /*child*/, DWORD /*thread*/,
                                            DWORD /*time*/) {
  if (hooksOfThisThread) hooksOfThisThread->Dispatch(event);
}

}  // namespace lb
