#pragma once
// The lock-key monitor: every 10 ms it looks at the keyboard, and for each lock key held down at
// that moment runs the key's full check (LEDs, status line, sound, show) or its sound-only check,
// as the key's switches say. A tick compares nothing with earlier states.
//
// With key events (raw input or the keyboard hook, see key_source.h) the poll runs only while a
// lock key is down: a lock key's press runs its check at once, from the event, and starts the
// poll, which then does everything it does otherwise (a held key is checked at every tick) and
// stops at the first tick that finds no lock key down. An idle program has no timer running.
//
// Everything a lock key's press makes happen goes through two entry points, OnKeyEvent (the
// system's key events) and OnKeyPollTimer (the poll's ticks); both run a key's checks through
// HandleLockKeyDown. A state that changed without its key is shown through the same checks.
// While a full-screen program is in front (full_screen.h) those checks show and play nothing.
//
// A toggle state can also change with no press of its key that the program sees: a Windows
// setting turns Caps Lock off with Shift, a press on the secure desktop or while an elevated
// window is in front, a Remote Desktop client sets the states. So the monitor remembers the
// states it last showed, and reads them again at every event of another key, at a switch of
// the foreground window or of the desktop, and when the session comes back (unlock, connect,
// resume): a state that changed is shown as a press of its key would show it, once; after the
// session came back, only the LEDs and the tray lamps follow, without showing the window.
#include "indicator/full_screen.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/running_settings.h"
#include "indicator/sound_effects.h"
#include "platform/desktop_events.h"
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

class LockKeyMonitor final : public IDesktopEventListener {
 public:
  LockKeyMonitor(RunningSettings& settings, IIndicatorView& view, const IKeyboard& keyboard,
                 ITimerHost& timers, Indicator& indicator, SoundEffects& sounds);
  LockKeyMonitor(const LockKeyMonitor&) = delete;
  LockKeyMonitor& operator=(const LockKeyMonitor&) = delete;

  // The polling tick. One read of the whole keyboard state stands for GetKeyState of every
  // code from 8 to 255; a tick in which no lock key is down does nothing more and allocates
  // nothing.
  void OnKeyPollTimer();

  // From now on key presses arrive as events (OnKeyEvent): the poll runs only while a lock key
  // is down. Called once at start, when raw input or the keyboard hook has started; until then
  // (and for good when neither starts) the monitor polls every 10 ms.
  void UseKeyEvents() { keyEvents_ = true; }
  [[nodiscard]] bool UsesKeyEvents() const { return keyEvents_; }

  // A key went down or up, as the system reports it. A lock key's down runs its check at once
  // (the toggle state is read as the poll reads it) and starts the poll; the system's repeats
  // of a held key are left to the poll, which checks the key at every tick anyway. Any other
  // key reads the three states again (CatchUp). While the monitor is disabled no key is shown.
  void OnKeyEvent(int vk, bool down);

  // Another window came to the foreground, or another desktop took the input: CatchUp.
  void OnForegroundChanged() override { CatchUp(); }
  void OnDesktopSwitched() override { CatchUp(); }
  // Reads the three states again; each that differs from the one last shown is shown as a
  // press of its key would show it (its full or sound-only check, as its switches say), in the
  // order Caps Lock, Num Lock, Scroll Lock. While disabled they are only remembered.
  void CatchUp();
  // The session was unlocked or connected, or the machine resumed: the LEDs and the tray lamps
  // take the present states, without a sound and without showing the window.
  void ReadStatesQuietly();
  // The states shown now are the ones to compare with (the start display has shown them).
  void RememberStates();

  // The "Enable" switch: polling on (black background) or off (red background). With key
  // events, enabling runs the poll until its first tick without a lock key down.
  void SetEnabled(bool enabled);

  // Runs every 10 ms while polling; with key events only while a lock key is down.
  Timer keyPollTimer;
  // Gets the states of each tick once its checks are done; none: nobody listens.
  IKeyStatesListener* statesListener = nullptr;
  // Asked before every key's check: while a full-screen program is in front, a press (or a
  // state that changed without one) is taken quietly, with the LEDs set and no sound, and is
  // not shown later either. None: never quiet.
  FullScreenWatch* fullScreen = nullptr;

  // The status line of a lock key (VkCapital, VkNumLock, VkScroll) in the given state, in
  // English ("Caps Lock: ON"): the catalogue entry to translate.
  [[nodiscard]] static const char* StatusText(int vk, bool on) noexcept;

  // One lock key and everything the monitor attaches to it.
  struct LockKey {
    int vk;
    const char* onText;
    const char* offText;
    bool MenuTicks::*show;
    bool MenuTicks::*sound;
  };

 private:
  // A lock key is down: its full check, its sound-only check or nothing, as its switches say.
  // Answers whether a check ran (and so let pending messages run).
  bool HandleLockKeyDown(const LockKey& key);
  // Full check of one key: LEDs, status line (with the window grown to show it), sound, show.
  void CheckKey(const LockKey& key);
  // Sound-only check of one key: status line text and sound, nothing else.
  void PlaySoundOnly(const LockKey& key);
  // Reads the three states, remembers them, and answers which of them differ from the ones
  // remembered before (in the order of kLockKeys).
  void ReadChanges(KeyStates& states, bool (&changed)[3]);

  RunningSettings& settings_;
  IIndicatorView& view_;
  const IKeyboard& keyboard_;
  Indicator& indicator_;
  SoundEffects& sounds_;
  bool enabled_ = true;
  bool keyEvents_ = false;
  // Per lock key (in the order of kLockKeys): a key-down event was taken and no key-up or tick
  // has seen the key up since, so a further down is the system's repeat.
  bool heldByEvent_[3] = {false, false, false};
  // Per lock key: the toggle state last shown or read, the one that a change is seen against;
  // unset until the first read.
  bool known_[3] = {false, false, false};
  bool knownSet_ = false;
};

}  // namespace lb
