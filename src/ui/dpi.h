#pragma once
// Layouts are given in design units at 96 dots per inch; every size on screen is a design value
// scaled to the dots per inch of the monitor that shows the window.
#include <cstdint>

namespace lb {

inline constexpr int kDesignDpi = 96;

// designValue * dpi / 96, rounded to the nearest whole number with halves away from zero (the
// rounding of the system's MulDiv), so that positive and negative offsets scale symmetrically.
[[nodiscard]] constexpr int Scale(int designValue, int dpi) noexcept {
  const std::int64_t product = static_cast<std::int64_t>(designValue) * dpi;
  const std::int64_t half = kDesignDpi / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
  return static_cast<int>(rounded);
}

}  // namespace lb
