#pragma once
// Plain values that the logic and the windows exchange besides geometry: colours and mouse
// buttons.
#include <cstdint>

namespace lb {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color ColorBlack{0, 0, 0};
inline constexpr Color ColorRed{255, 0, 0};
inline constexpr Color ColorLime{0, 255, 0};
inline constexpr Color ColorGrey{128, 128, 128};

enum class MouseButton { Left, Right, Middle };

}  // namespace lb
