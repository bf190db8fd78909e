#include "ui/pixels.h"

#include <gtest/gtest.h>

#include <array>

namespace lb {
namespace {

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

Pixels Filled(int width, int height, std::uint32_t pixel) {
  return {width, height,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, pixel)};
}

bool IsPremultiplied(const Pixels& p) {
  for (const std::uint32_t px : p.data) {
    const std::uint32_t a = px >> 24;
    if (((px >> 16) & 0xFF) > a || ((px >> 8) & 0xFF) > a || (px & 0xFF) > a) return false;
  }
  return true;
}

TEST(Premultiply, ScalesEveryColourChannelByAlpha) {
  std::array<std::uint32_t, 5> pixels = {
      Argb(255, 10, 200, 30),  // opaque: unchanged
      Argb(0, 255, 255, 255),  // transparent: black
      Argb(128, 255, 0, 100),  // 255 * 128 / 255 = 128; 100 * 128 / 255 = 50.2
      Argb(1, 255, 127, 128),  // rounding at the bottom
      Argb(254, 255, 1, 0),
  };
  Premultiply(pixels);
  EXPECT_EQ(pixels[0], Argb(255, 10, 200, 30));
  EXPECT_EQ(pixels[1], Argb(0, 0, 0, 0));
  EXPECT_EQ(pixels[2], Argb(128, 128, 0, 50));
  EXPECT_EQ(pixels[3], Argb(1, 1, 0, 1));
  EXPECT_EQ(pixels[4], Argb(254, 254, 1, 0));
}

TEST(Unpremultiply, DividesPartlyTransparentPixelsByAlphaAndUndoesPremultiply) {
  std::array<std::uint32_t, 5> pixels = {
      Argb(255, 10, 200, 30),  // opaque: unchanged
      Argb(0, 7, 8, 9),        // transparent: left alone (no division by 0)
      Argb(128, 128, 0, 50),   // 128 * 255 / 128 = 255; 50 * 255 / 128 = 99.6
      Argb(1, 1, 0, 1),        // the smallest alpha
      Argb(100, 120, 0, 0),    // a channel above alpha (not premultiplied): capped at 255
  };
  Unpremultiply(pixels);
  EXPECT_EQ(pixels[0], Argb(255, 10, 200, 30));
  EXPECT_EQ(pixels[1], Argb(0, 7, 8, 9));
  EXPECT_EQ(pixels[2], Argb(128, 255, 0, 100));
  EXPECT_EQ(pixels[3], Argb(1, 255, 0, 255));
  EXPECT_EQ(pixels[4], Argb(100, 255, 0, 0));

  // Premultiplied and back: within one step of rounding of the original.
  std::array<std::uint32_t, 1> round = {Argb(200, 90, 180, 33)};
  Premultiply(round);
  Unpremultiply(round);
  for (const int shift : {16, 8, 0}) {
    const int original = (Argb(200, 90, 180, 33) >> shift) & 0xFF;
    EXPECT_NEAR(static_cast<int>((round[0] >> shift) & 0xFF), original, 1) << shift;
  }
}

TEST(Resample, KeepsAUniformPictureUniformAtEveryScale) {
  const std::uint32_t colour = Argb(200, 20, 180, 60);
  for (const auto& [from, to] : {std::pair{64, 40}, {64, 56}, {48, 45}, {32, 96}, {40, 41}}) {
    const Pixels out = Resample(Filled(from, from, colour), to, to);
    ASSERT_EQ(out.width, to);
    ASSERT_EQ(out.height, to);
    for (const std::uint32_t px : out.data) ASSERT_EQ(px, colour) << from << " -> " << to;
  }
}

TEST(Resample, ReducingAveragesInsteadOfDroppingPixels) {
  // A one-pixel checkerboard reduced by half: a point sampler would give all black or all
  // white; averaging gives an even grey (away from the border, where the filter is cut off).
  Pixels checker = Filled(16, 16, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      checker.data[static_cast<std::size_t>(y * 16 + x)] =
          (x + y) % 2 ? Argb(255, 255, 255, 255) : Argb(255, 0, 0, 0);
    }
  }
  const Pixels out = Resample(checker, 8, 8);
  for (int y = 1; y < 7; ++y) {
    for (int x = 1; x < 7; ++x) {
      const std::uint32_t px = out.data[static_cast<std::size_t>(y * 8 + x)];
      EXPECT_EQ(px >> 24, 255u);
      EXPECT_NEAR(static_cast<int>(px & 0xFF), 128, 1) << x << "," << y;
    }
  }
}

TEST(Resample, EdgesOfATransparentBorderStayPremultipliedAndTransparent) {
  // An opaque square in the middle of a transparent picture, as the LED pictures are.
  Pixels picture = Filled(64, 64, 0);
  for (int y = 16; y < 48; ++y) {
    for (int x = 16; x < 48; ++x)
      picture.data[static_cast<std::size_t>(y * 64 + x)] = Argb(255, 40, 220, 40);
  }
  const Pixels out = Resample(picture, 56, 56);
  EXPECT_TRUE(IsPremultiplied(out));
  EXPECT_EQ(out.data.front(), 0u);
  EXPECT_EQ(out.data.back(), 0u);
  EXPECT_EQ(out.data[static_cast<std::size_t>(28 * 56 + 28)], Argb(255, 40, 220, 40));
}

TEST(Resample, SameSizeIsACopyAndEmptySizesGiveNothing) {
  Pixels picture = Filled(3, 2, 0);
  picture.data = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(Resample(picture, 3, 2).data, picture.data);
  EXPECT_TRUE(Resample(picture, 0, 2).data.empty());
  EXPECT_TRUE(Resample(Pixels{}, 4, 4).data.empty());
}

TEST(ChooseSourceSize, TheWantedSizeOrTheNextLargerOrTheLargest) {
  constexpr std::array sizes = {32, 40, 48, 64};
  struct Case {
    int wanted;
    int expected;
  };
  for (const Case& c :
       {Case{32, 32}, {20, 32}, {33, 40}, {40, 40}, {44, 48}, {56, 64}, {64, 64}, {96, 64}}) {
    EXPECT_EQ(ChooseSourceSize(c.wanted, sizes), c.expected) << c.wanted;
  }
  EXPECT_EQ(ChooseSourceSize(32, std::span<const int>{}), 0);
}

}  // namespace
}  // namespace lb
