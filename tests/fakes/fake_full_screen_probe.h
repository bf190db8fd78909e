#pragma once
// What is in front of the user, as the test sets it: an ordinary window by default, a
// borderless window over the whole primary screen on request, and the shell's word
// (SHQueryUserNotificationState, which Wine always answers "accepts notifications").
#include "indicator/full_screen.h"

namespace lb::test {

class FakeFullScreenProbe : public IFullScreenProbe {
 public:
  static constexpr Rect kScreen{0, 0, 1280, 1024};

  ForegroundWindow front{true, "Notepad", Rect{100, 100, 700, 500}, kScreen};
  UserNotificationState state = UserNotificationState::Other;
  mutable int asked = 0;

  // A game or film in borderless full screen, in front; an ordinary window in front.
  void FullScreenProgram() { front = {true, "GameWindow", kScreen, kScreen}; }
  void OrdinaryWindow() { front = {true, "Notepad", Rect{100, 100, 700, 500}, kScreen}; }

  ForegroundWindow Foreground() const override {
    ++asked;
    return front;
  }
  UserNotificationState NotificationState() const override { return state; }
};

}  // namespace lb::test
