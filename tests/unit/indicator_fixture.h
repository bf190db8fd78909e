#pragma once
// The main window started on fakes, for the indicator's tests: the creation sequence has run,
// and the clock stands at 0 ms, just before the start tick.
#include <gtest/gtest.h>

#include <string>

#include "fakes/app_rig.h"

namespace lb::test {

class IndicatorTest : public ::testing::Test, public AppRig {
 protected:
  // Runs the creation sequence with these lines in settings.ini, the built-in sounds present.
  void Create(const std::string& settingsLines = "") {
    files.files[kBuiltInOn] = "RIFF on";
    files.files[kBuiltInOff] = "RIFF off";
    if (!settingsLines.empty()) GivenSettings(settingsLines);
    app.Create();
  }
  // Creation and the start tick.
  void Start(const std::string& settingsLines = "") {
    Create(settingsLines);
    clock.Advance(1);
  }
  // Holds a key down for one poll (10 ms) and lets it go.
  void Tap(int vk) {
    keyboard.Press(vk);
    clock.Advance(10);
    keyboard.Release(vk);
  }
  [[nodiscard]] bool HideTimerRuns() const { return clock.IsRunning(kHideTimerId); }
};

}  // namespace lb::test
