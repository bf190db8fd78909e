#pragma once
// The keyboard as the lock-key monitor sees it: the state of every virtual key of this thread,
// as GetKeyState reports it (high bit: down; low bit: toggled on).
#include <array>
#include <cstdint>

namespace lb {

inline constexpr int VkCapital = 20;
inline constexpr int VkNumLock = 144;
inline constexpr int VkScroll = 145;

// One byte per virtual-key code, 0x80 while the key is down, 0x01 while its toggle state is on.
using KeyStates = std::array<std::uint8_t, 256>;

// One key's byte of KeyStates.
[[nodiscard]] constexpr bool IsDown(std::uint8_t state) noexcept { return (state & 0x80) != 0; }
[[nodiscard]] constexpr bool IsToggledOn(std::uint8_t state) noexcept {
  return (state & 0x01) != 0;
}

class IKeyboard {
 public:
  virtual ~IKeyboard() = default;
  // Reads the state of all keys at once; the result equals GetKeyState for every code.
  virtual void ReadKeyStates(KeyStates& states) const = 0;
  // The toggle state of one key (GetKeyState(vk), lowest bit).
  [[nodiscard]] virtual bool IsToggled(int vk) const = 0;
};

}  // namespace lb
