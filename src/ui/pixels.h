#pragma once
// Pictures in memory: 32-bit pixels 0xAARRGGBB (in memory the bytes B, G, R, A, the layout of a
// 32-bit DIB section on Windows), rows top-down without padding. Portable, so that the
// arithmetic is tested natively.
#include <cstdint>
#include <span>
#include <vector>

namespace lb {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> data;  // width * height pixels
};

// Multiplies every colour channel by its pixel's alpha (rounded), the form that AlphaBlend and
// layered drawing expect.
void Premultiply(std::span<std::uint32_t> pixels) noexcept;

// The reverse, for icons (which take straight alpha): divides every colour channel of a
// partly transparent pixel by its alpha (rounded, at most 255). Opaque and fully transparent
// pixels stay as they are.
void Unpremultiply(std::span<std::uint32_t> pixels) noexcept;

// Resizes a premultiplied picture with a tent filter whose width follows the scale: a plain
// bilinear filter when enlarging, an average over every source pixel that a target pixel
// covers when reducing, so that a reduced picture stays smooth and sharp. Returns an empty
// picture when either size is not positive.
[[nodiscard]] Pixels Resample(const Pixels& source, int width, int height);

// Of the sizes a picture is kept at (ascending), the one to draw `wanted` pixels from: the
// wanted size itself, else the smallest larger one (reducing keeps the detail), else the
// largest. 0 for an empty list.
[[nodiscard]] int ChooseSourceSize(int wanted, std::span<const int> sizes) noexcept;

}  // namespace lb
