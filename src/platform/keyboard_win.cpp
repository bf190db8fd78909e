#include "platform/keyboard_win.h"

#include <windows.h>

namespace lb {

void Win32Keyboard::ReadKeyStates(KeyStates& states) const {
  static_assert(sizeof(KeyStates) == 256, "GetKeyboardState fills 256 bytes");
  // Wine brings the key states of a thread whose windows do not have the keyboard focus (the
  // indicator's, always) up to date with the desktop's in GetKeyState only, not in
  // GetKeyboardState: one GetKeyState first makes both agree. On Windows it changes nothing.
  static_cast<void>(::GetKeyState(VkCapital));
  if (::GetKeyboardState(states.data())) {
    for (std::uint8_t& state : states) state &= 0x81;
    return;
  }
  // Not expected on a thread with a message queue; ask key by key then.
  for (int vk = 0; vk < 256; ++vk) {
    const SHORT state = ::GetKeyState(vk);
    states[static_cast<std::size_t>(vk)] =
        static_cast<std::uint8_t>(((state & 0x8000) ? 0x80 : 0) | (state & 0x01));
  }
}

bool Win32Keyboard::IsToggled(int vk) const { return (::GetKeyState(vk) & 0x01) != 0; }

}  // namespace lb
