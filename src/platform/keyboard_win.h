#pragma once
// The keyboard of the user-interface thread, as GetKeyState sees it.
#include "platform/keyboard.h"

namespace lb {

class Win32Keyboard final : public IKeyboard {
 public:
  // One GetKeyboardState call: its bytes carry exactly GetKeyState's high bit (down, 0x80) and
  // low bit (toggled, 0x01) for every code; other bits are cleared.
  void ReadKeyStates(KeyStates& states) const override;
  [[nodiscard]] bool IsToggled(int vk) const override;
};

}  // namespace lb
