// Key presses as events under the system: raw input for the main window and the keyboard hook on
// its thread, each reached by a real SendInput press while the window is in the background, and
// the poll that runs only while a lock key is down. The presses go in pairs, so that Caps Lock
// ends as it began.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app_window_fixture.h"
#include "indicator/key_events_win.h"
#include "indicator/key_source.h"
#include "pump.h"

namespace lb::test {
namespace {

void SendKey(WORD vk, bool down) {
  INPUT input{.type = INPUT_KEYBOARD};
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  ASSERT_EQ(::SendInput(1, &input, sizeof(INPUT)), 1u);
}

void Tap(WORD vk) {
  SendKey(vk, true);
  SendKey(vk, false);
}

// The window the user types into: the foreground window while it lives. (Wine hands raw input
// out only while there is one; on a desktop there always is.)
class TypedIntoWindow {
 public:
  TypedIntoWindow()
      : window_(::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                                  80, nullptr, nullptr, nullptr, nullptr)) {
    ::SetForegroundWindow(window_.get());
  }

 private:
  UniqueWindow window_;
};

class KeySourceWindowTest : public AppWindowTest, public ::testing::WithParamInterface<KeySource> {
 protected:
  [[nodiscard]] bool PollRuns() { return Window().Timers().Running().count(kKeyPollTimerId) == 1; }
};

TEST_P(KeySourceWindowTest, ARealPressReachesTheMonitorAndThePollRunsOnlyWhileAKeyIsDown) {
  const TypedIntoWindow typedInto;
  Window().Logic().Create();
  ASSERT_EQ(Window().StartKeyEvents(GetParam()), GetParam());
  EXPECT_EQ(Window().KeySourceInUse(), GetParam());
  EXPECT_TRUE(Window().Logic().TestParts().monitor.UsesKeyEvents());
  // The poll's first tick finds no lock key down and stops it: the idle window has no poll.
  ASSERT_TRUE(PumpUntil([&] { return !PollRuns(); }));

  // The check reads the scripted keyboard: what it shows proves the event came.
  keyboard_.SetToggled(VkCapital, true);
  keyboard_.states[VkCapital] |= 0x80;  // held, as far as the poll can tell
  SendKey(VK_CAPITAL, true);
  ASSERT_TRUE(PumpUntil([&] { return Window().StatusText() == "Caps Lock: ON"; }));
  EXPECT_TRUE(PollRuns());
  EXPECT_TRUE(Window().Visible());

  SendKey(VK_CAPITAL, false);
  keyboard_.Release(VkCapital);
  EXPECT_TRUE(PumpUntil([&] { return !PollRuns(); }));

  // The second press puts Caps Lock back; other keys never reach the checks.
  keyboard_.SetToggled(VkCapital, false);
  Tap(VK_CAPITAL);
  EXPECT_TRUE(PumpUntil([&] { return Window().StatusText() == "Caps Lock: OFF"; }));
  Tap('A');
  Tap(VK_SHIFT);
  // A check would show the same text again: no later event tells the two keys have come, so
  // the messages run for a while (raw input and the hook take a few milliseconds).
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(Window().StatusText(), "Caps Lock: OFF");
  EXPECT_TRUE(PumpUntil([&] { return !PollRuns(); }));
}

INSTANTIATE_TEST_SUITE_P(Sources, KeySourceWindowTest,
                         ::testing::Values(KeySource::RawInput, KeySource::KeyboardHook),
                         [](const auto& source) {
                           return source.param == KeySource::RawInput ? std::string("RawInput")
                                                                      : std::string("KeyboardHook");
                         });

using KeySourceChoiceTest = AppWindowTest;

TEST_F(KeySourceChoiceTest, UnforcedTheWindowTakesRawInputForItselfInTheBackground) {
  Window().Logic().Create();
  ASSERT_EQ(Window().StartKeyEvents(std::nullopt), KeySource::RawInput);
  RAWINPUTDEVICE devices[4]{};
  UINT count = 4;
  ASSERT_EQ(::GetRegisteredRawInputDevices(devices, &count, sizeof(RAWINPUTDEVICE)), 1u);
  EXPECT_EQ(devices[0].usUsagePage, 1);
  EXPECT_EQ(devices[0].usUsage, 6);
  EXPECT_EQ(devices[0].dwFlags & RIDEV_INPUTSINK, static_cast<DWORD>(RIDEV_INPUTSINK));
  EXPECT_EQ(devices[0].hwndTarget, Window().SystemEvents().Hwnd());
  // Chosen once: a second call changes nothing.
  EXPECT_EQ(Window().StartKeyEvents(KeySource::Polling), KeySource::RawInput);
}

TEST_F(KeySourceChoiceTest, ForcedPollingKeepsTheTenMillisecondPoll) {
  Window().Logic().Create();
  ASSERT_EQ(Window().StartKeyEvents(KeySource::Polling), KeySource::Polling);
  EXPECT_FALSE(Window().Logic().TestParts().monitor.UsesKeyEvents());
  EXPECT_EQ(Window().StartKeyEvents(std::nullopt), KeySource::Polling);  // chosen once
  // Ten ticks of the 10 ms poll, none of which finds a lock key down: the poll goes on.
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_EQ(Window().Timers().Running().at(kKeyPollTimerId), 10);
}

TEST(KeyboardHookThreadTest, PostsLockKeysOnlyAndNothingOnceStopped) {
  const UniqueWindow target(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                              nullptr, nullptr, nullptr));
  // What the hook posted to the window, taken until `count` keys have come (or 3 s passed;
  // nothing else of the queue is touched).
  const auto posted = [&](std::size_t count) {
    std::vector<std::pair<WPARAM, LPARAM>> keys;
    PumpUntil([&] {
      MSG message;
      while (::PeekMessageW(&message, target.get(), kLockKeyMessage, kLockKeyMessage, PM_REMOVE)) {
        keys.emplace_back(message.wParam, message.lParam);
      }
      return keys.size() >= count;
    });
    return keys;
  };
  using Keys = std::vector<std::pair<WPARAM, LPARAM>>;

  KeyboardHookThread hook;
  ASSERT_TRUE(hook.Start(target.get()));
  EXPECT_TRUE(hook.Running());
  Tap('A');
  Tap(VK_SCROLL);
  Tap(VK_LSHIFT);
  Tap(VK_SCROLL);
  EXPECT_EQ(posted(4), (Keys{{VK_SCROLL, 1}, {VK_SCROLL, 0}, {VK_SCROLL, 1}, {VK_SCROLL, 0}}));

  hook.Stop();
  EXPECT_FALSE(hook.Running());
  Tap(VK_SCROLL);
  Tap(VK_SCROLL);
  // A stopped hook starts again. What it posts comes after anything the stopped one posted:
  // Num Lock's four, and nothing of Scroll Lock before them.
  ASSERT_TRUE(hook.Start(target.get()));
  Tap(VK_NUMLOCK);
  Tap(VK_NUMLOCK);
  EXPECT_EQ(posted(4), (Keys{{VK_NUMLOCK, 1}, {VK_NUMLOCK, 0}, {VK_NUMLOCK, 1}, {VK_NUMLOCK, 0}}));
}

TEST(KeyboardHookThreadTest, AHookThatTheSystemRemovedIsInstalledAgainAtTheNextLook) {
  const UniqueWindow target(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                              nullptr, nullptr, nullptr));
  // The keys the hook posted to the window, taken until `count` have come (or 3 s passed).
  const auto posted = [&](std::size_t count) {
    std::vector<WPARAM> keys;
    PumpUntil([&] {
      MSG message;
      while (::PeekMessageW(&message, target.get(), kLockKeyMessage, kLockKeyMessage, PM_REMOVE)) {
        keys.push_back(message.wParam);
      }
      return keys.size() >= count;
    });
    return keys;
  };
  using Keys = std::vector<WPARAM>;
  KeyboardHookThread hook;
  ASSERT_TRUE(hook.Start(target.get()));
  // Windows removes a hook that once answered too late, and says nothing (Wine never does).
  ASSERT_TRUE(hook.DropHookAsTheSystemWould());
  Tap(VK_NUMLOCK);
  Tap(VK_NUMLOCK);

  // The thread's periodic look (every kCheckIntervalMs) finds that no key reached the hook and
  // installs it again. The keys come in order: none of Num Lock's before Scroll Lock's shows
  // that the hook was gone.
  ASSERT_TRUE(hook.CheckHookNow());
  Tap(VK_SCROLL);
  Tap(VK_SCROLL);
  ASSERT_EQ(posted(4), (Keys{VK_SCROLL, VK_SCROLL, VK_SCROLL, VK_SCROLL})) << "the hook is gone";

  // A hook that saw keys since the last look is kept, and still posts each key once: Scroll
  // Lock's four, then Num Lock's.
  ASSERT_TRUE(hook.CheckHookNow());
  Tap(VK_SCROLL);
  Tap(VK_SCROLL);
  Tap(VK_NUMLOCK);
  Tap(VK_NUMLOCK);
  EXPECT_EQ(posted(8), (Keys{VK_SCROLL, VK_SCROLL, VK_SCROLL, VK_SCROLL, VK_NUMLOCK, VK_NUMLOCK,
                             VK_NUMLOCK, VK_NUMLOCK}));
}

}  // namespace
}  // namespace lb::test
