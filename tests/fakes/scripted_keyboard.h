#pragma once
// A keyboard that the test plays: press and release keys; a lock key's toggle state flips when
// it goes down, as on the real keyboard.
#include "platform/keyboard.h"

namespace lb::test {

class ScriptedKeyboard : public IKeyboard {
 public:
  KeyStates states{};
  mutable int reads = 0;  // ReadKeyStates calls

  void Press(int vk) { states[vk] = static_cast<std::uint8_t>((states[vk] | 0x80) ^ 0x01); }
  void Release(int vk) { states[vk] = static_cast<std::uint8_t>(states[vk] & ~0x80); }
  void SetToggled(int vk, bool on) {
    states[vk] = static_cast<std::uint8_t>(on ? states[vk] | 0x01 : states[vk] & ~0x01);
  }

  void ReadKeyStates(KeyStates& out) const override {
    ++reads;
    out = states;
  }
  bool IsToggled(int vk) const override { return (states[vk] & 0x01) != 0; }
};

}  // namespace lb::test
