#include "ui/pixels.h"

#include <algorithm>
#include <cmath>

namespace lb {
namespace {

std::uint32_t Channel(std::uint32_t pixel, int shift) noexcept { return (pixel >> shift) & 0xFF; }

// The weights of one target coordinate over the source coordinates, for one axis.
struct Tap {
  int first = 0;               // first source index
  std::vector<float> weights;  // summing to 1
};

std::vector<Tap> Taps(int sourceSize, int targetSize) {
  const double scale = static_cast<double>(sourceSize) / targetSize;
  const double radius = std::max(1.0, scale);
  std::vector<Tap> taps(static_cast<std::size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    const double centre = (i + 0.5) * scale - 0.5;
    const int first = std::max(0, static_cast<int>(std::floor(centre - radius)) + 1);
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(centre + radius)) - 1);
    Tap& tap = taps[static_cast<std::size_t>(i)];
    double sum = 0;
    for (int x = first; x <= last; ++x) {
      const double w = 1.0 - std::abs(x - centre) / radius;
      tap.weights.push_back(static_cast<float>(std::max(0.0, w)));
      sum += std::max(0.0, w);
    }
    if (tap.weights.empty() || sum <= 0) {
      // Only possible at the very edge: take the nearest source pixel.
      tap.first = std::clamp(static_cast<int>(std::lround(centre)), 0, sourceSize - 1);
      tap.weights.assign(1, 1.0f);
      continue;
    }
    tap.first = first;
    for (float& w : tap.weights) w = static_cast<float>(w / sum);
  }
  return taps;
}

}  // namespace

void Premultiply(std::span<std::uint32_t> pixels) noexcept {
  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = Channel(p, 24);
    if (a == 255) continue;
    const auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    p = (a << 24) | (mul(Channel(p, 16)) << 16) | (mul(Channel(p, 8)) << 8) | mul(Channel(p, 0));
  }
}

void Unpremultiply(std::span<std::uint32_t> pixels) noexcept {
  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = Channel(p, 24);
    if (a == 0 || a == 255) continue;
    const auto div = [a](std::uint32_t c) {
      return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a);
    };
    p = (a << 24) | (div(Channel(p, 16)) << 16) | (div(Channel(p, 8)) << 8) | div(Channel(p, 0));
  }
}

Pixels Resample(const Pixels& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return {};
  if (width == source.width && height == source.height) return source;

  const std::vector<Tap> across = Taps(source.width, width);
  const std::vector<Tap> down = Taps(source.height, height);

  // Horizontal pass into four float channels per pixel, then the vertical pass.
  std::vector<float> rows(static_cast<std::size_t>(width) * source.height * 4);
  for (int y = 0; y < source.height; ++y) {
    const std::uint32_t* in = &source.data[static_cast<std::size_t>(y) * source.width];
    for (int x = 0; x < width; ++x) {
      const Tap& tap = across[static_cast<std::size_t>(x)];
      float acc[4] = {};
      for (std::size_t k = 0; k < tap.weights.size(); ++k) {
        const std::uint32_t p = in[tap.first + static_cast<int>(k)];
        for (int c = 0; c < 4; ++c) {
          acc[c] += tap.weights[k] * static_cast<float>(Channel(p, c * 8));
        }
      }
      float* out = &rows[(static_cast<std::size_t>(y) * width + x) * 4];
      std::copy(acc, acc + 4, out);
    }
  }

  Pixels target{width, height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const Tap& tap = down[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      float acc[4] = {};
      for (std::size_t k = 0; k < tap.weights.size(); ++k) {
        const float* in =
            &rows[(static_cast<std::size_t>(tap.first + static_cast<int>(k)) * width + x) * 4];
        for (int c = 0; c < 4; ++c) acc[c] += tap.weights[k] * in[c];
      }
      std::uint32_t value[4];
      for (int c = 0; c < 4; ++c) {
        value[c] = static_cast<std::uint32_t>(std::clamp(std::lround(acc[c]), 0L, 255L));
      }
      // Rounding must not leave a colour channel above its alpha (premultiplied form).
      for (int c = 0; c < 3; ++c) value[c] = std::min(value[c], value[3]);
      target.data[static_cast<std::size_t>(y) * width + x] =
          (value[3] << 24) | (value[2] << 16) | (value[1] << 8) | value[0];
    }
  }
  return target;
}

int ChooseSourceSize(int wanted, std::span<const int> sizes) noexcept {
  if (sizes.empty()) return 0;
  for (const int size : sizes) {
    if (size >= wanted) return size;
  }
  return sizes.back();
}

}  // namespace lb
