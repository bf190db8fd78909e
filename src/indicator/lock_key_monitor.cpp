#include "indicator/lock_key_monitor.h"

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

constexpr bool IsDown(std::uint8_t state) { return (state & 0x80) != 0; }

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
  for (const LockKey* key : kLockKeys) {
    if (!IsDown(states[key->vk])) continue;
    const MenuTicks& ticks = settings_.ticks;
    if (ticks.*key->show) {
      CheckKey(*key);
    } else if (ticks.*key->sound) {
      PlaySoundOnly(*key);
    } else {
      continue;
    }
    keyboard_.ReadKeyStates(states);
  }
  if (statesListener) statesListener->OnKeyStatesRead(states);
}

void LockKeyMonitor::CheckKey(const LockKey& key) {
  indicator_.RefreshLeds();
  if (!settings_.minimalMode) view_.SetClientHeight(StatusLineHeight(view_.LedBandHeight()));
  PlaySoundOnly(key);
  indicator_.ShowIndicator();
}

void LockKeyMonitor::PlaySoundOnly(const LockKey& key) {
  const bool on = keyboard_.IsToggled(key.vk);
  view_.SetStatusText(Translate(on ? key.onText : key.offText));
  view_.SetStatusColor(on ? ColorLime : ColorGrey);
  view_.ProcessMessages();
  if (settings_.ticks.*key.sound) sounds_.PlayToggleSound(on);
}

void LockKeyMonitor::SetEnabled(bool enabled) {
  keyPollTimer.SetEnabled(enabled);
  view_.SetBackground(enabled ? ColorBlack : ColorRed);
}

}  // namespace lb
