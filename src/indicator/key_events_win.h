#pragma once
// Key presses from the system, for the lock-key monitor, without polling: raw keyboard input that
// the system delivers to a window of the program while another program has the focus, or, where
// raw input cannot be registered, a low-level keyboard hook on a thread of its own. Which of them
// runs is decided once at start (StartKeySource, key_source.h; AppWindow::StartKeyEvents).
#include <windows.h>

#include <optional>
#include <thread>

namespace lb {

// One key going down or up.
struct KeyEvent {
  int vk;
  bool down;
};

// Raw keyboard input for `window` whichever window has the focus (RIDEV_INPUTSINK): from now on
// it receives WM_INPUT for every key down and up. Answers whether the system took it. A process
// has one registration for the keyboard; a later one replaces it.
[[nodiscard]] bool RegisterRawKeyboardInput(HWND window);
// Ends the process's raw keyboard input.
void UnregisterRawKeyboardInput() noexcept;
// The key of a WM_INPUT message (its lParam); nothing for other devices, for input that cannot
// be read, and for keys the system could not map to a virtual-key code.
[[nodiscard]] std::optional<KeyEvent> ReadRawKeyEvent(LPARAM rawInput) noexcept;

// The message the keyboard hook posts to its window for a lock key going down or up: wParam the
// virtual-key code, lParam 1 for down and 0 for up.
inline constexpr UINT kLockKeyMessage = WM_APP + 20;
[[nodiscard]] std::optional<KeyEvent> ReadLockKeyMessage(WPARAM wParam, LPARAM lParam) noexcept;

// A low-level keyboard hook on a thread of its own. The system calls the hook for every key of
// every program, waiting for its answer before the key goes on; so the hook does nothing but post
// kLockKeyMessage to the window for Caps Lock, Num Lock and Scroll Lock, and return. The window
// may be busy (a sound played to its end, a dialog) without delaying anybody's keystrokes, and
// the system never drops the hook for answering too slowly.
class KeyboardHookThread {
 public:
  KeyboardHookThread() = default;
  ~KeyboardHookThread() { Stop(); }
  KeyboardHookThread(const KeyboardHookThread&) = delete;
  KeyboardHookThread& operator=(const KeyboardHookThread&) = delete;

  // Starts the thread, which installs the hook for posting to `window`. Answers whether the hook
  // runs; when it does not, no thread is left behind.
  [[nodiscard]] bool Start(HWND window);
  // Removes the hook and ends the thread, waiting for it. Nothing is posted afterwards.
  void Stop() noexcept;
  [[nodiscard]] bool Running() const noexcept { return thread_.joinable(); }

  // Windows removes a low-level hook without a word when it once answers later than
  // LowLevelHooksTimeout, and offers no way to ask whether it is still there. So the thread
  // looks every kCheckIntervalMs: when the hook has seen no key since the last look, it is
  // installed afresh (the new one before the old one goes, so no key slips between them). A
  // look costs a few microseconds; it runs only while the hook is the key source.
  static constexpr UINT kCheckIntervalMs = 10'000;
  // For tests: the thread drops its hook as Windows would, or looks at once. Returns once the
  // thread has done it (true), or false when it is not running or has not within 5 s.
  bool DropHookAsTheSystemWould() noexcept;
  bool CheckHookNow() noexcept;

 private:
  bool AskThread(UINT request) noexcept;

  std::thread thread_;
  DWORD threadId_ = 0;
};

}  // namespace lb
