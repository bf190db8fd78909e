#pragma once
// What the system announces about the user's desktop: another window came to the foreground, or
// another desktop became the one that takes the input (the secure desktop of a UAC prompt or of
// Ctrl+Alt+Del, the lock screen, and back). The program has one source of these; any part that
// needs them subscribes to it.
namespace lb {

class IDesktopEventListener {
 public:
  virtual ~IDesktopEventListener() = default;
  virtual void OnForegroundChanged() = 0;
  virtual void OnDesktopSwitched() = 0;
};

class IDesktopEvents {
 public:
  virtual ~IDesktopEvents() = default;
  // A listener is told of every event from now on, until it unsubscribes; subscribing twice
  // counts once. Listeners must unsubscribe before they go.
  virtual void Subscribe(IDesktopEventListener& listener) = 0;
  virtual void Unsubscribe(IDesktopEventListener& listener) = 0;
};

}  // namespace lb
