#include "indicator/key_events_win.h"

#include <chrono>
#include <future>
#include <memory>
#include <system_error>

#include "platform/keyboard.h"

namespace lb {
namespace {

constexpr USHORT kGenericDesktopPage = 0x01;
constexpr USHORT kKeyboardUsage = 0x06;

bool IsLockKey(DWORD vk) noexcept { return vk == VkCapital || vk == VkNumLock || vk == VkScroll; }

// The window the hook of this thread posts to. Each hook thread sets its own before installing
// the hook, which the system calls on that same thread; no other thread reads it.
thread_local HWND hookWindow = nullptr;
// Whether the hook of this thread was called since the last look (see CheckHook).
thread_local bool hookCalled = false;

// Thread messages of the hook's thread.
constexpr UINT kCheckHookMessage = WM_APP + 1;
constexpr UINT kDropHookMessage = WM_APP + 2;

LRESULT CALLBACK OnLowLevelKey(int code, WPARAM message, LPARAM info) {
  hookCalled = true;
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(info);
    if (IsLockKey(key->vkCode)) {
      // Posted, never sent: the hook returns at once, whatever the window is doing.
      ::PostMessageW(hookWindow, kLockKeyMessage, key->vkCode, (key->flags & LLKHF_UP) ? 0 : 1);
    }
  }
  return ::CallNextHookEx(nullptr, code, message, info);
}

HHOOK InstallHook() noexcept {
  return ::SetWindowsHookExW(WH_KEYBOARD_LL, OnLowLevelKey, ::GetModuleHandleW(nullptr), 0);
}

// A hook that saw no key since the last look may have been removed by the system: a new one
// takes its place (installed first, so that no key goes unseen in between).
void CheckHook(HHOOK& hook) noexcept {
  if (!hookCalled || hook == nullptr) {
    if (const HHOOK fresh = InstallHook()) {
      if (hook != nullptr) ::UnhookWindowsHookEx(hook);
      hook = fresh;
    }
  }
  hookCalled = false;
}

}  // namespace

bool RegisterRawKeyboardInput(HWND window) {
  const RAWINPUTDEVICE keyboard{.usUsagePage = kGenericDesktopPage,
                                .usUsage = kKeyboardUsage,
                                .dwFlags = RIDEV_INPUTSINK,
                                .hwndTarget = window};
  return ::RegisterRawInputDevices(&keyboard, 1, sizeof(RAWINPUTDEVICE)) != FALSE;
}

void UnregisterRawKeyboardInput() noexcept {
  const RAWINPUTDEVICE keyboard{.usUsagePage = kGenericDesktopPage,
                                .usUsage = kKeyboardUsage,
                                .dwFlags = RIDEV_REMOVE,
                                .hwndTarget = nullptr};
  static_cast<void>(::RegisterRawInputDevices(&keyboard, 1, sizeof(RAWINPUTDEVICE)));
}

std::optional<KeyEvent> ReadRawKeyEvent(LPARAM rawInput) noexcept {
  RAWINPUT input{};
  UINT size = sizeof(input);
  const UINT read = ::GetRawInputData(reinterpret_cast<HRAWINPUT>(rawInput), RID_INPUT, &input,
                                      &size, sizeof(RAWINPUTHEADER));
  if (read == static_cast<UINT>(-1) || read < sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD) ||
      input.header.dwType != RIM_TYPEKEYBOARD) {
    return std::nullopt;
  }
  const RAWKEYBOARD& key = input.data.keyboard;
  // 0xFF: a scan code the system has no virtual key for (part of an escape sequence).
  if (key.VKey == 0 || key.VKey >= 0xFF) return std::nullopt;
  return KeyEvent{key.VKey, (key.Flags & RI_KEY_BREAK) == 0};
}

std::optional<KeyEvent> ReadLockKeyMessage(WPARAM wParam, LPARAM lParam) noexcept {
  if (!IsLockKey(static_cast<DWORD>(wParam))) return std::nullopt;
  return KeyEvent{static_cast<int>(wParam), lParam != 0};
}

bool KeyboardHookThread::Start(HWND window) {
  if (Running()) return true;
  // The thread answers with its id once the hook is in, or with 0 when the system refused it.
  std::promise<DWORD> installed;
  std::future<DWORD> answer = installed.get_future();
  try {
    thread_ = std::thread([window, &installed] {
      hookWindow = window;
      MSG message;
      // The thread's message queue, for the WM_QUIT that ends it, before anybody can post it.
      ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
      HHOOK hook = InstallHook();
      installed.set_value(hook != nullptr ? ::GetCurrentThreadId() : 0);
      if (hook == nullptr) return;
      const UINT_PTR checkTimer = ::SetTimer(nullptr, 0, kCheckIntervalMs, nullptr);
      // The system calls the hook from inside this loop.
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr) {
          if (message.message == WM_TIMER && message.wParam == checkTimer) {
            CheckHook(hook);
            continue;
          }
          if (message.message == kCheckHookMessage || message.message == kDropHookMessage) {
            if (message.message == kCheckHookMessage) {
              CheckHook(hook);
            } else {
              if (hook != nullptr) ::UnhookWindowsHookEx(hook);
              hook = nullptr;
              hookCalled = false;
            }
            // The test's request, answered once it is done.
            const std::unique_ptr<std::promise<void>> done(
                reinterpret_cast<std::promise<void>*>(message.wParam));
            if (done) done->set_value();
            continue;
          }
        }
        ::DispatchMessageW(&message);
      }
      if (checkTimer != 0) ::KillTimer(nullptr, checkTimer);
      if (hook != nullptr) ::UnhookWindowsHookEx(hook);
    });
  } catch (const std::system_error&) {
    return false;  // no thread could be made
  }
  // SetWindowsHookExW answers at once; the wait ends as soon as it has.
  threadId_ = answer.get();
  if (threadId_ == 0) {
    thread_.join();
    return false;
  }
  return true;
}

bool KeyboardHookThread::DropHookAsTheSystemWould() noexcept { return AskThread(kDropHookMessage); }

bool KeyboardHookThread::CheckHookNow() noexcept { return AskThread(kCheckHookMessage); }

bool KeyboardHookThread::AskThread(UINT request) noexcept {
  if (!Running()) return false;
  try {
    // The thread takes over the promise and keeps its word; the future outlives a late answer.
    auto done = std::make_unique<std::promise<void>>();
    std::future<void> answer = done->get_future();
    if (!::PostThreadMessageW(threadId_, request, reinterpret_cast<WPARAM>(done.get()), 0)) {
      return false;
    }
    done.release();
    return answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  } catch (...) {
    return false;
  }
}

void KeyboardHookThread::Stop() noexcept {
  if (!thread_.joinable()) return;
  // The queue exists since before the hook was installed, so the message cannot be lost.
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
  threadId_ = 0;
}

}  // namespace lb
