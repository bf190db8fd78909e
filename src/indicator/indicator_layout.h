#pragma once
// Where the indicator window's parts lie in its client area: the top band with the LED row and
// the key-label row under it, the three key labels, the status line below the band, and each
// LED's picture in its column. Sizes are design units at 96 DPI, scaled to the window's DPI;
// the window draws from this, and the logic's layout pass reads the same rules.
#include <array>
#include <optional>

#include "platform/geometry.h"

namespace lb {

// The layout in design units.
inline constexpr int kLedBandDesignHeight = 80;
inline constexpr int kPanelTextsDesignHeight = 35;
inline constexpr int kNumLockLabelDesignWidth = 45;
inline constexpr int kScrollLockLabelDesignWidth = 49;
inline constexpr int kStatusLabelDesignMargin = 3;
inline constexpr int kLedDesignSize = 32;
// The raised band's outer bevel (minimal mode): one line of light and one of shadow, in pixels.
inline constexpr int kLedBandBevelWidth = 1;

struct IndicatorLayoutInput {
  Size client;  // the client area, pixels
  int dpi = 96;
  bool ledBandRaised = false;
  // NumLockLabel's and ScrollLockLabel's width in pixels, once the layout pass has set it;
  // unset: their design widths at the DPI.
  std::optional<int> sideLabelWidth;
};

// The client-area rectangles of the panels and labels.
struct IndicatorLayout {
  Rect ledBand;
  Rect panelLeds;
  Rect panelTexts;
  Rect numLockLabel;
  Rect capsLockLabel;
  Rect scrollLockLabel;
  Rect statusLabel;
  friend bool operator==(const IndicatorLayout&, const IndicatorLayout&) = default;
};

[[nodiscard]] IndicatorLayout LayOutIndicator(const IndicatorLayoutInput& input);

// The LED pictures' size at a DPI.
[[nodiscard]] Size LedImageSize(int dpi);

// The layout pass's rules: the side labels take a third of the label row each, CapsLockLabel
// what lies between them; each LED is centred in its third of the LED row (top-left corners in
// the row's coordinates).
[[nodiscard]] int SideLabelWidth(int panelTextsWidth);
[[nodiscard]] std::array<Point, 3> LedPositions(Size panelLeds, Size image);

}  // namespace lb
