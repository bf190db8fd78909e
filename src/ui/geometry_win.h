#pragma once
// Conversions between the portable geometry types and Win32's.
#include <windows.h>

#include "platform/geometry.h"

namespace lb {

[[nodiscard]] inline Rect ToRect(const RECT& r) noexcept {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
}

[[nodiscard]] inline RECT ToRECT(const Rect& r) noexcept {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace lb
