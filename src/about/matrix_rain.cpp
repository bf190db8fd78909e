#include "about/matrix_rain.h"

namespace lb {
namespace {

Color GreenOf(int b) {
  return Color{static_cast<std::uint8_t>(b * 150 / 255), static_cast<std::uint8_t>(b),
               static_cast<std::uint8_t>(b * 100 / 255)};
}

}  // namespace

Color HeadColor(int brightness) { return GreenOf(brightness * 255 / 100); }

Color TrailColor(int brightness) { return GreenOf(brightness * 255 / 100 / 3); }

int TailRow(int row, int matrixHeight) {
  int tail = row - kTailLength;
  // A matrix without rows never wraps (and never has drops); guard the loop all the same.
  if (matrixHeight + 1 <= 0) return tail;
  while (tail < 0) tail += matrixHeight + 1;
  return tail;
}

MatrixRain::MatrixRain(IRainCanvas& canvas, IRandom& random) : canvas_(canvas), random_(random) {}

void MatrixRain::StartMatrix(Size bitmapSize, Size clientSize) {
  frameCounter_ = 0;
  bitmapSize_ = bitmapSize;
  ResetMatrix(clientSize);
}

void MatrixRain::ResetMatrix(Size clientSize) {
  canvas_.FillBlack(0, 0, clientSize.width, clientSize.height);
  matrixWidth_ = bitmapSize_.width / kCharWidth;
  matrixHeight_ = bitmapSize_.height / kCharHeight;
  CreateDrops();
}

void MatrixRain::CreateDrops() {
  dropCount_ = 0;
  for (int i = 0; i < 2 * matrixWidth_; ++i) AddDrop();
}

void MatrixRain::AddDrop() {
  // A window too small for one cell has no columns or rows to give a drop.
  if (dropCount_ >= kMaxDrops || matrixWidth_ <= 0 || matrixHeight_ <= 0) return;
  RainDrop& drop = drops_[static_cast<std::size_t>(dropCount_)];
  drop.column = dropCount_ % matrixWidth_;
  drop.row = random_.Random(matrixHeight_);
  drop.speed = RandomSpeed();
  drop.brightness = RandomBrightness();
  ++dropCount_;
}

void MatrixRain::StepMatrix() {
  const int letters = static_cast<int>(matrixMarker_.size());
  for (RainDrop& drop : Drops()) {
    DrawGlyph(drop, matrixMarker_[static_cast<std::size_t>(random_.Random(letters))]);
    if (frameCounter_ % drop.speed == 0) {
      ++drop.row;
      if (drop.row > matrixHeight_ + 1) {
        drop.row = 0;
        drop.speed = RandomSpeed();
        drop.brightness = RandomBrightness();
      }
    }
  }
  ++frameCounter_;
}

void MatrixRain::DrawGlyph(RainDrop& drop, char g) {
  drop.lastGlyph = g;
  const int x = drop.column * kCharWidth;
  canvas_.FillBlack(x, TailRow(drop.row, matrixHeight_) * kCharHeight, kCharWidth, kCharHeight);
  if (drop.row > 0) {
    canvas_.DrawGlyph(x, (drop.row - 1) * kCharHeight, drop.lastGlyph, TrailColor(drop.brightness));
  }
  canvas_.DrawGlyph(x, drop.row * kCharHeight, g, HeadColor(drop.brightness));
}

int MatrixRain::RandomSpeed() { return 1 + random_.Random(3); }

int MatrixRain::RandomBrightness() { return random_.Random(100); }

}  // namespace lb
