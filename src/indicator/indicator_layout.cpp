#include "indicator/indicator_layout.h"

#include <algorithm>

#include "ui/dpi.h"

namespace lb {

IndicatorLayout LayOutIndicator(const IndicatorLayoutInput& input) {
  const int dpi = input.dpi;
  const Size client = input.client;
  IndicatorLayout layout;
  layout.ledBand = {0, 0, client.width, Scale(kLedBandDesignHeight, dpi)};
  Rect inner = layout.ledBand;
  if (input.ledBandRaised) {
    inner = {inner.left + kLedBandBevelWidth, inner.top + kLedBandBevelWidth,
             inner.right - kLedBandBevelWidth, inner.bottom - kLedBandBevelWidth};
  }
  layout.panelTexts = {inner.left, inner.bottom - Scale(kPanelTextsDesignHeight, dpi), inner.right,
                       inner.bottom};
  layout.panelLeds = {inner.left, inner.top, inner.right, layout.panelTexts.top};

  const Rect& texts = layout.panelTexts;
  const int numLockWidth = input.sideLabelWidth.value_or(Scale(kNumLockLabelDesignWidth, dpi));
  const int scrollLockWidth =
      input.sideLabelWidth.value_or(Scale(kScrollLockLabelDesignWidth, dpi));
  layout.numLockLabel = {texts.left, texts.top, texts.left + numLockWidth, texts.bottom};
  layout.scrollLockLabel = {texts.right - scrollLockWidth, texts.top, texts.right, texts.bottom};
  layout.capsLockLabel = {layout.numLockLabel.right, texts.top,
                          std::max(layout.numLockLabel.right, layout.scrollLockLabel.left),
                          texts.bottom};

  const int margin = Scale(kStatusLabelDesignMargin, dpi);
  layout.statusLabel = {margin, layout.ledBand.bottom + margin, client.width - margin,
                        client.height - margin};
  return layout;
}

Size LedImageSize(int dpi) {
  const int size = Scale(kLedDesignSize, dpi);
  return {size, size};
}

int SideLabelWidth(int panelTextsWidth) { return panelTextsWidth / 3; }

std::array<Point, 3> LedPositions(Size panelLeds, Size image) {
  const int column = panelLeds.width / 3;
  const int top = panelLeds.height / 2 - image.height / 2;
  std::array<Point, 3> positions{};
  for (int i = 0; i < 3; ++i) positions[i] = {i * column + column / 2 - image.width / 2, top};
  return positions;
}

}  // namespace lb
