#pragma once
// Layouts are given in design units at 96 dots per inch; every size on screen is a design value
// scaled to the dots per inch of the monitor that shows the window.
#include <cstdint>

namespace lb {

inline constexpr int kDesignDpi = 96;

// `value` pixels at `fromDpi` in pixels at `toDpi`: value * toDpi / fromDpi, rounded to the
// nearest whole number with halves away from zero (the rounding of the system's MulDiv), so that
// positive and negative offsets scale symmetrically. A `fromDpi` that is not positive leaves the
// value as it is.
[[nodiscard]] constexpr int ScaleBetween(int value, int fromDpi, int toDpi) noexcept {
  if (fromDpi <= 0 || fromDpi == toDpi) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * toDpi;
  const std::int64_t half = fromDpi / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  return static_cast<int>(rounded);
}

// A design value (at 96 dots per inch) at `dpi`.
[[nodiscard]] constexpr int Scale(int designValue, int dpi) noexcept {
  return ScaleBetween(designValue, kDesignDpi, dpi);
}

}  // namespace lb
