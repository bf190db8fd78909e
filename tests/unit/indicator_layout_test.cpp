// The indicator window's layout: the band, the key labels and the status line at each scale,
// with the raised band of minimal mode, with the label widths of the layout pass, and in a
// window too narrow for the design widths; and the LEDs centred in their thirds.
#include "indicator/indicator_layout.h"

#include <gtest/gtest.h>

#include <array>

namespace lb {
namespace {

TEST(IndicatorLayoutTest, PanelsAndLabelsAtEachScaleAndFrame) {
  struct Case {
    const char* name;
    IndicatorLayoutInput input;
    IndicatorLayout expected;
  };
  const Case cases[] = {
      {"DesignSizeAt96",
       {.client = {184, 125}, .dpi = 96},
       {.ledBand = {0, 0, 184, 80},
        .panelLeds = {0, 0, 184, 45},
        .panelTexts = {0, 45, 184, 80},
        .numLockLabel = {0, 45, 45, 80},
        .capsLockLabel = {45, 45, 135, 80},
        .scrollLockLabel = {135, 45, 184, 80},
        .statusLabel = {3, 83, 181, 122}}},
      // Halves round away from zero: 35 → 52.5 → 53, 45 → 68, 49 → 74, 3 → 5.
      {"DesignSizeAt144",
       {.client = {276, 188}, .dpi = 144},
       {.ledBand = {0, 0, 276, 120},
        .panelLeds = {0, 0, 276, 67},
        .panelTexts = {0, 67, 276, 120},
        .numLockLabel = {0, 67, 68, 120},
        .capsLockLabel = {68, 67, 202, 120},
        .scrollLockLabel = {202, 67, 276, 120},
        .statusLabel = {5, 125, 271, 183}}},
      {"DesignSizeAt192",
       {.client = {368, 250}, .dpi = 192},
       {.ledBand = {0, 0, 368, 160},
        .panelLeds = {0, 0, 368, 90},
        .panelTexts = {0, 90, 368, 160},
        .numLockLabel = {0, 90, 90, 160},
        .capsLockLabel = {90, 90, 270, 160},
        .scrollLockLabel = {270, 90, 368, 160},
        .statusLabel = {6, 166, 362, 244}}},
      // Minimal mode: the band is the whole window, its panels inside the one-pixel bevel; the
      // status line has no room.
      {"RaisedBandInMinimalMode",
       {.client = {184, 80}, .dpi = 96, .ledBandRaised = true},
       {.ledBand = {0, 0, 184, 80},
        .panelLeds = {1, 1, 183, 44},
        .panelTexts = {1, 44, 183, 79},
        .numLockLabel = {1, 44, 46, 79},
        .capsLockLabel = {46, 44, 134, 79},
        .scrollLockLabel = {134, 44, 183, 79},
        .statusLabel = {3, 83, 181, 77}}},
      {"SideWidthsOfTheLayoutPass",
       {.client = {184, 125}, .dpi = 96, .sideLabelWidth = 61},
       {.ledBand = {0, 0, 184, 80},
        .panelLeds = {0, 0, 184, 45},
        .panelTexts = {0, 45, 184, 80},
        .numLockLabel = {0, 45, 61, 80},
        .capsLockLabel = {61, 45, 123, 80},
        .scrollLockLabel = {123, 45, 184, 80},
        .statusLabel = {3, 83, 181, 122}}},
      // Narrower than the two side labels: CapsLockLabel is empty instead of inside out.
      {"TooNarrowForTheDesignWidths",
       {.client = {80, 125}, .dpi = 96},
       {.ledBand = {0, 0, 80, 80},
        .panelLeds = {0, 0, 80, 45},
        .panelTexts = {0, 45, 80, 80},
        .numLockLabel = {0, 45, 45, 80},
        .capsLockLabel = {45, 45, 45, 80},
        .scrollLockLabel = {31, 45, 80, 80},
        .statusLabel = {3, 83, 77, 122}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const IndicatorLayout layout = LayOutIndicator(c.input);
    EXPECT_EQ(layout.ledBand, c.expected.ledBand);
    EXPECT_EQ(layout.panelLeds, c.expected.panelLeds);
    EXPECT_EQ(layout.panelTexts, c.expected.panelTexts);
    EXPECT_EQ(layout.numLockLabel, c.expected.numLockLabel);
    EXPECT_EQ(layout.capsLockLabel, c.expected.capsLockLabel);
    EXPECT_EQ(layout.scrollLockLabel, c.expected.scrollLockLabel);
    EXPECT_EQ(layout.statusLabel, c.expected.statusLabel);
  }
}

TEST(IndicatorLayoutTest, LedsAreCentredInTheirThirdsAndSideLabelsTakeAThird) {
  EXPECT_EQ(LedImageSize(96), (Size{32, 32}));
  EXPECT_EQ(LedImageSize(192), (Size{64, 64}));
  EXPECT_EQ(LedPositions({184, 45}, {32, 32}),
            (std::array<Point, 3>{{{14, 6}, {75, 6}, {136, 6}}}));
  EXPECT_EQ(LedPositions({368, 90}, {64, 64}),
            (std::array<Point, 3>{{{29, 13}, {151, 13}, {273, 13}}}));
  EXPECT_EQ(SideLabelWidth(184), 61);
  EXPECT_EQ(SideLabelWidth(368), 122);
}

}  // namespace
}  // namespace lb
