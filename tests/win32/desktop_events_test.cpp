// The foreground and desktop-switch announcements: one set of hooks for the program, any number
// of listeners. Wine 8 sends neither event by itself (no EVENT_SYSTEM_FOREGROUND when another
// window comes to the foreground, and it has no secure desktop to switch to), so the tests
// raise them with NotifyWinEvent, as a program may, and the system hands them to the hooks
// as it would its own.
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

class DesktopEventsTest : public ::testing::Test {
 protected:
  // What the system announces about `window_`, handed to the hooks out of context.
  void Announce(DWORD event) const {
    ::NotifyWinEvent(event, window_.get(), OBJID_WINDOW, CHILDID_SELF);
  }
  UniqueWindow window_{::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, nullptr, nullptr)};
};

TEST_F(DesktopEventsTest, EveryListenerHearsOfEachEventUntilItUnsubscribes) {
  DesktopEventHooks hooks;
  ASSERT_TRUE(hooks.WatchesForeground());
  ASSERT_TRUE(hooks.WatchesDesktopSwitch());
  CountingListener first;
  CountingListener second;
  hooks.Subscribe(first);
  hooks.Subscribe(second);
  hooks.Subscribe(first);  // once is enough

  Announce(EVENT_SYSTEM_FOREGROUND);
  ASSERT_TRUE(PumpUntil([&] { return first.foreground > 0 && second.foreground > 0; }));
  Announce(EVENT_SYSTEM_DESKTOPSWITCH);  // back from a UAC prompt
  ASSERT_TRUE(PumpUntil([&] { return first.desktop > 0 && second.desktop > 0; }));
  Announce(EVENT_SYSTEM_MENUSTART);  // not watched
  // The events arrive in order: once the next switch has come, the menu's start has too.
  Announce(EVENT_SYSTEM_DESKTOPSWITCH);
  ASSERT_TRUE(PumpUntil([&] { return first.desktop > 1 && second.desktop > 1; }));
  EXPECT_EQ(first.foreground, 1) << "subscribed twice, told once";
  EXPECT_EQ(first.desktop, 2);
  EXPECT_EQ(second.foreground, 1);
  EXPECT_EQ(second.desktop, 2);

  hooks.Unsubscribe(first);
  Announce(EVENT_SYSTEM_FOREGROUND);
  ASSERT_TRUE(PumpUntil([&] { return second.foreground == 2; }));
  EXPECT_EQ(first.foreground, 1);
}

TEST_F(DesktopEventsTest, NothingArrivesOnceTheHooksAreGone) {
  CountingListener listener;
  {
    DesktopEventHooks hooks;
    hooks.Subscribe(listener);
  }
  // Hooks set afterwards hear both events: by then the gone ones would have heard them too.
  DesktopEventHooks later;
  CountingListener witness;
  later.Subscribe(witness);
  Announce(EVENT_SYSTEM_FOREGROUND);
  Announce(EVENT_SYSTEM_DESKTOPSWITCH);
  ASSERT_TRUE(PumpUntil([&] { return witness.foreground > 0 && witness.desktop > 0; }));
  EXPECT_EQ(listener.foreground + listener.desktop, 0);
}

TEST_F(DesktopEventsTest, AListenerThatLeavesDuringAnEventIsNotToldAfterwards) {
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
