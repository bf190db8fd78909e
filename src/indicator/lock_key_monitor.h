#pragma once
// The lock-key monitor: every 10 ms it looks at the keyboard, and for each lock key held down at
// that moment runs the key's full check (LEDs, status line, sound, show) or its sound-only check,
// as the key's switches say. It keeps no memory of earlier states.
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/running_settings.h"
#include "indicator/sound_effects.h"
#include "platform/keyboard.h"
#include "platform/timer.h"

namespace lb {

inline constexpr int kKeyPollIntervalMs = 10;

// Told of every keyboard state the monitor reads (the live tray icon).
class IKeyStatesListener {
 public:
  virtual ~IKeyStatesListener() = default;
  virtual void OnKeyStatesRead(const KeyStates& states) = 0;
};

class LockKeyMonitor {
 public:
  LockKeyMonitor(RunningSettings& settings, IIndicatorView& view, const IKeyboard& keyboard,
                 ITimerHost& timers, Indicator& indicator, SoundEffects& sounds);
  LockKeyMonitor(const LockKeyMonitor&) = delete;
  LockKeyMonitor& operator=(const LockKeyMonitor&) = delete;

  // The polling tick. One read of the whole keyboard state stands for GetKeyState of every
  // code from 8 to 255; a tick in which no lock key is down does nothing more and allocates
  // nothing.
  void OnKeyPollTimer();

  // The "Enable" switch: polling on (black background) or off (red background).
  void SetEnabled(bool enabled);

  Timer keyPollTimer;
  // Gets the states of each tick once its checks are done; none: nobody listens.
  IKeyStatesListener* statesListener = nullptr;

  // One lock key and everything the monitor attaches to it.
  struct LockKey {
    int vk;
    const char* onText;
    const char* offText;
    bool MenuTicks::*show;
    bool MenuTicks::*sound;
  };

 private:
  // Full check of one key: LEDs, status line (with the window grown to show it), sound, show.
  void CheckKey(const LockKey& key);
  // Sound-only check of one key: status line text and sound, nothing else.
  void PlaySoundOnly(const LockKey& key);

  RunningSettings& settings_;
  IIndicatorView& view_;
  const IKeyboard& keyboard_;
  Indicator& indicator_;
  SoundEffects& sounds_;
};

}  // namespace lb
