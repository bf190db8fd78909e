#include "ui/dpi.h"

#include <gtest/gtest.h>

namespace lb {
namespace {

TEST(Scale, DesignUnitsToTheMonitorsDpiRoundedLikeMulDiv) {
  struct Case {
    int designValue;
    int dpi;
    int expected;
  };
  const Case cases[] = {
      {184, 96, 184},
      {125, 96, 125},  // design DPI: unchanged
      {184, 144, 276},
      {125, 144, 188},  // 187.5 rounds up
      {125, 120, 156},  // 156.25 rounds down
      {3, 120, 4},
      {1, 144, 2},  // halves round away from zero
      {-3, 120, -4},
      {-1, 144, -2},  // symmetric for negative offsets
      {0, 192, 0},
      {80, 192, 160},
      {10'000'000, 480, 50'000'000},  // no overflow in the product
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scale(c.designValue, c.dpi), c.expected) << c.designValue << " at " << c.dpi;
  }
}

}  // namespace
}  // namespace lb
