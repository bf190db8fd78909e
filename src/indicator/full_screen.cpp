#include "indicator/full_screen.h"

#include <algorithm>

namespace lb {
namespace {

// The desktop (Progman, and WorkerW behind the wallpaper), the taskbar and the taskbars of the
// other monitors.
constexpr std::string_view kDesktopAndShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                        "Shell_SecondaryTrayWnd"};

}  // namespace

bool IsDesktopOrShell(std::string_view className) {
  return std::ranges::find(kDesktopAndShellClasses, className) != std::end(kDesktopAndShellClasses);
}

bool IsFullScreenProgramInFront(const ForegroundWindow& front, UserNotificationState state) {
  if (state == UserNotificationState::D3DFullScreen ||
      state == UserNotificationState::PresentationMode) {
    return true;
  }
  if (!front.exists || IsDesktopOrShell(front.className)) return false;
  const Rect& m = front.monitor;
  const Rect& c = front.client;
  return m.Width() > 0 && m.Height() > 0 && c.left <= m.left && c.top <= m.top &&
         c.right >= m.right && c.bottom >= m.bottom;
}

bool FullScreenWatch::Check() {
  fullScreen_ = probe_ != nullptr &&
                IsFullScreenProgramInFront(probe_->Foreground(), probe_->NotificationState());
  const bool quiet = Quiet();
  if (quiet != told_) {
    told_ = quiet;
    // A copy: a listener may let messages run, in which listeners come or go.
    const std::vector<IFullScreenListener*> listeners = listeners_;
    for (IFullScreenListener* listener : listeners) {
      if (std::ranges::find(listeners_, listener) == listeners_.end()) continue;
      listener->OnQuietChanged(quiet);
    }
  }
  return quiet;
}

void FullScreenWatch::Subscribe(IFullScreenListener& listener) {
  if (std::ranges::find(listeners_, &listener) == listeners_.end()) {
    listeners_.push_back(&listener);
  }
}

void FullScreenWatch::Unsubscribe(IFullScreenListener& listener) {
  std::erase(listeners_, &listener);
}

}  // namespace lb
