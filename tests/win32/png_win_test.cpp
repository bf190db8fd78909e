// The LED pictures as the program loads them: from the exe's resources, through libpng, into
// premultiplied DIB sections.
#include "ui/png_win.h"

#include <gtest/gtest.h>

#include <array>

#include "base/resource_ids.h"
#include "win32/exe_resources.h"

namespace lb {
namespace {

class ExeResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { exe_ = test::LoadExeResources(); }
  static void TearDownTestSuite() { exe_.reset(); }
  static inline UniqueModule exe_;
};

std::uint32_t At(const DibSection& dib, int x, int y) {
  return dib.Pixels()[static_cast<std::size_t>(y) * dib.Width() + x];
}

TEST_F(ExeResources, LedPicturesDecodeAtEverySize) {
  ASSERT_TRUE(exe_) << LOCKBEACON_EXE_PATH;
  const std::array sizes = {32, 40, 48, 64};
  for (const int base : {IDP_LED_ON_BASE, IDP_LED_OFF_BASE}) {
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      const DibSection dib = LoadPngResource(exe_.get(), base + static_cast<int>(i));
      ASSERT_TRUE(dib) << base + static_cast<int>(i);
      EXPECT_EQ(dib.Width(), sizes[i]);
      EXPECT_EQ(dib.Height(), sizes[i]);

      BITMAP info{};
      ASSERT_EQ(::GetObjectW(dib.get(), sizeof info, &info), static_cast<int>(sizeof info));
      EXPECT_EQ(info.bmBitsPixel, 32);
      EXPECT_EQ(info.bmWidth, sizes[i]);
    }
  }
}

TEST_F(ExeResources, LitLedIsAGreenDiscOnTransparencyAndPremultiplied) {
  ASSERT_TRUE(exe_);
  const DibSection lit = LoadPngResource(exe_.get(), IDP_LED_ON_32);
  const DibSection dark = LoadPngResource(exe_.get(), IDP_LED_OFF_32);
  ASSERT_TRUE(lit && dark);

  // Transparent corners: premultiplied, so all four channels are 0.
  for (const DibSection* dib : {&lit, &dark}) {
    EXPECT_EQ(At(*dib, 0, 0), 0u);
    EXPECT_EQ(At(*dib, 31, 31), 0u);
  }
  // No colour channel above its alpha anywhere, and some pixels partly transparent (the
  // smooth edge), which shows that premultiplication had something to do.
  int partial = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t p = At(lit, x, y);
      const std::uint32_t a = p >> 24;
      ASSERT_LE((p >> 16) & 0xFF, a) << x << "," << y;
      ASSERT_LE((p >> 8) & 0xFF, a) << x << "," << y;
      ASSERT_LE(p & 0xFF, a) << x << "," << y;
      if (a > 0 && a < 255) ++partial;
    }
  }
  EXPECT_GT(partial, 0);

  // The centre (below the highlight) is opaque; green on the lit one, grey on the dark one.
  const std::uint32_t green = At(lit, 18, 20);
  EXPECT_EQ(green >> 24, 255u);
  EXPECT_GT((green >> 8) & 0xFF, ((green >> 16) & 0xFF) + 60);
  const std::uint32_t grey = At(dark, 18, 20);
  EXPECT_EQ(grey >> 24, 255u);
  const int r = static_cast<int>((grey >> 16) & 0xFF), g = static_cast<int>((grey >> 8) & 0xFF);
  EXPECT_NEAR(r, g, 16);
  EXPECT_LT(g, 160);
}

TEST(DecodePng, DamagedOrMissingDataGivesNothing) {
  const std::uint8_t notPng[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(DecodePng(notPng).data.empty());
  EXPECT_TRUE(DecodePng({}).data.empty());
  EXPECT_FALSE(LoadPngResource(::GetModuleHandleW(nullptr), 4711));
}

}  // namespace
}  // namespace lb
