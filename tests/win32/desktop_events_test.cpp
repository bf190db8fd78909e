// The foreground and desktop-switch announcements: one set of hooks for the program, any number
// of listeners. Wine sends EVENT_SYSTEM_FOREGROUND when another window comes to the foreground,
// as Windows does, but never EVENT_SYSTEM_DESKTOPSWITCH (it has no secure desktop): that one is
// played through Dispatch, as the hook hands it on.
#include <gtest/gtest.h>

#include "platform/desktop_events_win.h"
#include "pump.h"
#include "ui/handles_win.h"

namespace lb::test {
namespace {

struct CountingListener : IDesktopEventListener {
  int foreground = 0;
  int desktop = 0;
  void OnForegroundChanged() override { ++foreground; }
  void OnDesktopSwitched() override { ++desktop; }
};

UniqueWindow ForegroundWindow(int x) {
  UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, 100, 100, 60,
                                        nullptr, nullptr, nullptr, nullptr));
  ::SetForegroundWindow(window.get());
  return window;
}

TEST(DesktopEventsTest, EveryListenerHearsOfANewForegroundWindowUntilItUnsubscribes) {
  DesktopEventHooks hooks;
  ASSERT_TRUE(hooks.WatchesForeground());
  CountingListener first;
  CountingListener second;
  hooks.Subscribe(first);
  hooks.Subscribe(second);
  hooks.Subscribe(first);  // once is enough

  const UniqueWindow one = ForegroundWindow(100);
  ASSERT_TRUE(PumpUntil([&] { return first.foreground > 0 && second.foreground > 0; }));
  EXPECT_EQ(first.foreground, second.foreground) << "subscribed twice, told once";

  hooks.Unsubscribe(first);
  const int before = first.foreground;
  const int secondBefore = second.foreground;
  const UniqueWindow two = ForegroundWindow(300);
  ASSERT_TRUE(PumpUntil([&] { return second.foreground > secondBefore; }));
  EXPECT_EQ(first.foreground, before);
  EXPECT_EQ(first.desktop + second.desktop, 0);
}

TEST(DesktopEventsTest, ADesktopSwitchReachesEveryListenerAndOtherEventsNone) {
  DesktopEventHooks hooks;
  CountingListener first;
  CountingListener second;
  hooks.Subscribe(first);
  hooks.Subscribe(second);
  hooks.Dispatch(EVENT_SYSTEM_DESKTOPSWITCH);  // back from a UAC prompt
  EXPECT_EQ(first.desktop, 1);
  EXPECT_EQ(second.desktop, 1);
  hooks.Dispatch(EVENT_SYSTEM_MENUSTART);
  EXPECT_EQ(first.desktop + first.foreground, 1);
}

TEST(DesktopEventsTest, AListenerThatLeavesDuringAnEventIsNotToldAfterwards) {
  DesktopEventHooks hooks;
  CountingListener stays;
  struct Leaving : IDesktopEventListener {
    DesktopEventHooks* hooks = nullptr;
    IDesktopEventListener* other = nullptr;
    void OnForegroundChanged() override {}
    void OnDesktopSwitched() override { hooks->Unsubscribe(*other); }
  } leaving;
  leaving.hooks = &hooks;
  leaving.other = &stays;
  hooks.Subscribe(leaving);
  hooks.Subscribe(stays);
  hooks.Dispatch(EVENT_SYSTEM_DESKTOPSWITCH);
  EXPECT_EQ(stays.desktop, 0);
}

}  // namespace
}  // namespace lb::test
