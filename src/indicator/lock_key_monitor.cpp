#include "indicator/lock_key_monitor.h"

#include "i18n/translation.h"

namespace lb {
namespace {

constexpr LockKeyMonitor::LockKey kCapsLock{VkCapital, "Caps Lock: ON", "Caps Lock: OFF",
                                            &MenuTicks::CapsLock1, &MenuTicks::CapsLock3};
constexpr LockKeyMonitor::LockKey kNumLock{VkNumLock, "Num Lock: ON", "Num Lock: OFF",
                                           &MenuTicks::NumLock1, &MenuTicks::NumLock3};
constexpr LockKeyMonitor::LockKey kScrollLock{VkScroll, "Scroll Lock: ON", "Scroll Lock: OFF",
                                              &MenuTicks::ScrollLock1, &MenuTicks::ScrollLock3};

// In the order of their virtual-key codes, which is the order a tick handles them in.
constexpr const LockKeyMonitor::LockKey* kLockKeys[] = {&kCapsLock, &kNumLock, &kScrollLock};

constexpr bool IsDown(std::uint8_t state) { return (state & 0x80) != 0; }

}  // namespace

LockKeyMonitor::LockKeyMonitor(RunningSettings& settings, IIndicatorView& view,
                               const IKeyboard& keyboard, ITimerHost& timers, Indicator& indicator,
                               SoundEffects& sounds)
    : Timer1(timers, kTimer1Id, kKeyPollIntervalMs, true),
      settings_(settings),
      view_(view),
      keyboard_(keyboard),
      indicator_(indicator),
      sounds_(sounds) {}

void LockKeyMonitor::Timer1Timer() {
  // Only codes 20, 144 and 145 are acted on; every other key is ignored, down or not. A check
  // lets pending messages run, after which GetKeyState could answer differently for the codes
  // still to come, so the states are read again after every check. On the stack: a check may
  // run another tick inside it.
  KeyStates states;
  keyboard_.ReadKeyStates(states);
  for (const LockKey* key : kLockKeys) {
    if (!IsDown(states[key->vk])) continue;
    const MenuTicks& ticks = settings_.Ticks;
    if (ticks.*key->show) {
      FullCheck(*key);
    } else if (ticks.*key->sound) {
      SoundOnlyCheck(*key);
    } else {
      continue;
    }
    keyboard_.ReadKeyStates(states);
  }
}

void LockKeyMonitor::FullCheck(const LockKey& key) {
  indicator_.MevcutDurum();
  if (!settings_.MinimalMode) view_.SetClientHeight(StatusLineHeight(view_.Panel1Height()));
  SoundOnlyCheck(key);
  indicator_.YapYap();
}

void LockKeyMonitor::SoundOnlyCheck(const LockKey& key) {
  const bool on = keyboard_.IsToggled(key.vk);
  view_.SetStatusText(Translate(on ? key.onText : key.offText));
  view_.SetStatusColor(on ? ColorLime : ColorGrey);
  view_.ProcessMessages();
  if (settings_.Ticks.*key.sound) sounds_.SesCal(on);
}

void LockKeyMonitor::CapsLockKontrolEt() { FullCheck(kCapsLock); }
void LockKeyMonitor::NumLockKontrolEt() { FullCheck(kNumLock); }
void LockKeyMonitor::ScrollLockKontrolEt() { FullCheck(kScrollLock); }
void LockKeyMonitor::CapsLockKontrolEtSadeceSes() { SoundOnlyCheck(kCapsLock); }
void LockKeyMonitor::NumLockKontrolEtSadeceSes() { SoundOnlyCheck(kNumLock); }
void LockKeyMonitor::ScrollLockKontrolEtSadeceSes() { SoundOnlyCheck(kScrollLock); }

void LockKeyMonitor::SetEnabled(bool enabled) {
  Timer1.SetEnabled(enabled);
  view_.SetBackground(enabled ? ColorBlack : ColorRed);
}

}  // namespace lb
