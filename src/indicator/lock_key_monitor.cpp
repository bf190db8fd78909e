#include "indicator/lock_key_monitor.h"

#include <iterator>

#include "i18n/translation.h"

namespace lb {
namespace {

constexpr LockKeyMonitor::LockKey kCapsLock{VkCapital, "Caps Lock: ON", "Caps Lock: OFF",
                                            &MenuTicks::showCapsLock, &MenuTicks::capsLockSound};
constexpr LockKeyMonitor::LockKey kNumLock{VkNumLock, "Num Lock: ON", "Num Lock: OFF",
                                           &MenuTicks::showNumLock, &MenuTicks::numLockSound};
constexpr LockKeyMonitor::LockKey kScrollLock{VkScroll, "Scroll Lock: ON", "Scroll Lock: OFF",
                                              &MenuTicks::showScrollLock,
                                              &MenuTicks::scrollLockSound};

// In the order of their virtual-key codes, which is the order a tick handles them in.
constexpr const LockKeyMonitor::LockKey* kLockKeys[] = {&kCapsLock, &kNumLock, &kScrollLock};

std::size_t IndexOf(const LockKeyMonitor::LockKey& key) noexcept {
  for (std::size_t i = 0; i < std::size(kLockKeys); ++i) {
    if (kLockKeys[i]->vk == key.vk) return i;
  }
  return 0;
}

}  // namespace

LockKeyMonitor::LockKeyMonitor(RunningSettings& settings, IIndicatorView& view,
                               const IKeyboard& keyboard, ITimerHost& timers, Indicator& indicator,
                               SoundEffects& sounds)
    : keyPollTimer(timers, kKeyPollTimerId, kKeyPollIntervalMs, true),
      settings_(settings),
      view_(view),
      keyboard_(keyboard),
      indicator_(indicator),
      sounds_(sounds) {}

void LockKeyMonitor::OnKeyPollTimer() {
  // Only codes 20, 144 and 145 are acted on; every other key is ignored, down or not. A check
  // lets pending messages run, after which GetKeyState could answer differently for the codes
  // still to come, so the states are read again after every check. On the stack: a check may
  // run another tick inside it.
  KeyStates states;
  keyboard_.ReadKeyStates(states);
  bool lockKeyDown = false;
  for (std::size_t i = 0; i < std::size(kLockKeys); ++i) {
    const LockKey& key = *kLockKeys[i];
    if (!IsDown(states[key.vk])) {
      heldByEvent_[i] = false;  // its next down is a new press, whatever became of its key-up
      continue;
    }
    lockKeyDown = true;
    if (HandleLockKeyDown(key)) keyboard_.ReadKeyStates(states);
  }
  if (statesListener) statesListener->OnKeyStatesRead(states);
  // With key events the poll has work only while a lock key is down: it stops one interval
  // after the last one is released.
  if (keyEvents_ && !lockKeyDown) keyPollTimer.SetEnabled(false);
}

void LockKeyMonitor::OnKeyEvent(int vk, bool down) {
  for (std::size_t i = 0; i < std::size(kLockKeys); ++i) {
    if (kLockKeys[i]->vk != vk) continue;
    if (!down) {
      heldByEvent_[i] = false;
    } else if (enabled_ && !heldByEvent_[i]) {
      heldByEvent_[i] = true;
      // The poll first: a tick that comes due while the check lets messages run sees the key
      // held, as a nested tick does while polling.
      keyPollTimer.SetEnabled(true);
      HandleLockKeyDown(*kLockKeys[i]);
    }
    // A lock key's own event: its press is checked, and the poll that it starts reads all
    // three states at every tick until the key is up. (Reading them again at its release made
    // Wine, whose focused windows take the lock states from the X server, now and then report
    // a state that flips back a moment later.)
    return;
  }
  // Any other key: a state may have changed without its key (Shift turning Caps Lock off, a
  // press the program did not see). Three states from the thread's key state: no wake-up, no
  // allocation.
  CatchUp();
}

void LockKeyMonitor::ReadChanges(KeyStates& states, bool (&changed)[3]) {
  keyboard_.ReadKeyStates(states);
  for (std::size_t i = 0; i < std::size(kLockKeys); ++i) {
    const bool on = IsToggledOn(states[kLockKeys[i]->vk]);
    // The first read has nothing to compare with: it is what the program shows already.
    changed[i] = knownSet_ && known_[i] != on;
    known_[i] = on;
  }
  knownSet_ = true;
}

void LockKeyMonitor::CatchUp() {
  KeyStates states;
  bool changed[3] = {false, false, false};
  ReadChanges(states, changed);
  if (!changed[0] && !changed[1] && !changed[2]) return;  // the usual case: nothing to show
  for (std::size_t i = 0; i < std::size(kLockKeys); ++i) {
    if (!changed[i] || !enabled_) continue;
    // The check reads the state again and lets pending messages run (in which another catch-up
    // may run: the state is remembered already, so it is shown once).
    HandleLockKeyDown(*kLockKeys[i]);
  }
  keyboard_.ReadKeyStates(states);
  if (statesListener) statesListener->OnKeyStatesRead(states);
}

void LockKeyMonitor::ReadStatesQuietly() {
  KeyStates states;
  bool changed[3] = {false, false, false};
  ReadChanges(states, changed);
  if (changed[0] || changed[1] || changed[2]) indicator_.SetLedsFromKeys();
  if (statesListener) statesListener->OnKeyStatesRead(states);
}

void LockKeyMonitor::RememberStates() {
  KeyStates states;
  bool changed[3] = {false, false, false};
  ReadChanges(states, changed);
}

bool LockKeyMonitor::HandleLockKeyDown(const LockKey& key) {
  const MenuTicks& ticks = settings_.ticks;
  if ((ticks.*key.show || ticks.*key.sound) && fullScreen != nullptr && fullScreen->Check()) {
    // Quiet over a full-screen program: the state is taken as shown, the LEDs follow it for the
    // next show, and nothing else happens (the tray lamps follow it with every read).
    known_[IndexOf(key)] = keyboard_.IsToggled(key.vk);
    knownSet_ = true;
    indicator_.SetLedsFromKeys();
    return false;
  }
  if (ticks.*key.show) {
    CheckKey(key);
  } else if (ticks.*key.sound) {
    PlaySoundOnly(key);
  } else {
    return false;
  }
  return true;
}

const char* LockKeyMonitor::StatusText(int vk, bool on) noexcept {
  for (const LockKey* key : kLockKeys) {
    if (key->vk == vk) return on ? key->onText : key->offText;
  }
  return "";
}

void LockKeyMonitor::CheckKey(const LockKey& key) {
  indicator_.RefreshLeds();
  if (!settings_.minimalMode) view_.SetClientHeight(StatusLineHeight(view_.LedBandHeight()));
  PlaySoundOnly(key);
  indicator_.ShowIndicator();
}

void LockKeyMonitor::PlaySoundOnly(const LockKey& key) {
  const bool on = keyboard_.IsToggled(key.vk);
  // What is shown now is what a later change is seen against.
  known_[IndexOf(key)] = on;
  knownSet_ = true;
  view_.SetStatusText(Translate(on ? key.onText : key.offText));
  view_.SetStatusColor(on ? ColorLime : ColorGrey);
  view_.ProcessMessages();
  if (settings_.ticks.*key.sound) sounds_.PlayToggleSound(on);
}

void LockKeyMonitor::SetEnabled(bool enabled) {
  enabled_ = enabled;
  for (bool& held : heldByEvent_) held = false;
  keyPollTimer.SetEnabled(enabled);
  view_.SetBackground(enabled ? ColorBlack : ColorRed);
}

}  // namespace lb
