#pragma once
// The About box's falling letters: streams of glyphs ("drops") that run down the window's black
// surface, each leaving a fading trail and erasing its tail 40 rows above the head. The logic
// draws through IRainCanvas and never repaints the window: each step touches at most three
// cells per drop (the erased tail cell, the trail cell and the head cell).
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "platform/geometry.h"
#include "platform/view_types.h"

namespace lb {

// The glyphs of the rain are the letters of this text.
inline constexpr const char* kMatrixMarker = "brx";
inline constexpr int kMaxDrops = 5000;
inline constexpr int kCharWidth = 8;
inline constexpr int kCharHeight = 12;
inline constexpr int kMatrixStepMs = 50;
// How far above the head the tail is erased, in rows.
inline constexpr int kTailLength = 40;

// One falling glyph stream.
struct RainDrop {
  int column = 0;      // 0 .. matrixWidth - 1
  int row = 0;         // row of the head
  int speed = 1;       // 1 .. 3: the head moves down on every speed-th step
  int brightness = 0;  // 0 .. 99
  char lastGlyph = ' ';
};

// Pseudo-random integers; tests script them.
class IRandom {
 public:
  virtual ~IRandom() = default;
  // A number from 0 to bound - 1; bound is at least 1.
  [[nodiscard]] virtual int Random(int bound) = 0;
};

// The window's drawing surface, in pixels of its client area.
class IRainCanvas {
 public:
  virtual ~IRainCanvas() = default;
  virtual void FillBlack(int left, int top, int width, int height) = 0;
  // One glyph with its cell's top-left corner at (x, y), on an opaque black background, in a
  // font kCharHeight pixels high.
  virtual void DrawGlyph(int x, int y, char glyph, Color color) = 0;
};

// The head colour of a drop with `brightness` (0..99).
[[nodiscard]] Color HeadColor(int brightness);
// The trail colour: the head colour's formula at a third of the brightness.
[[nodiscard]] Color TrailColor(int brightness);
// The row whose cell is erased for a head in `row`: kTailLength rows up, wrapping round past
// the top to row matrixHeight (one below the last full row) and up.
[[nodiscard]] int TailRow(int row, int matrixHeight);

class MatrixRain {
 public:
  MatrixRain(IRainCanvas& canvas, IRandom& random);
  MatrixRain(const MatrixRain&) = delete;
  MatrixRain& operator=(const MatrixRain&) = delete;

  // Starts a new rain for a window whose outer size is `bitmapSize` (taken once, now) and whose
  // client area is `clientSize`: the frame count from 0, the surface black, new drops.
  void StartMatrix(Size bitmapSize, Size clientSize);
  // Blackens the client area and creates the drops afresh (also on every resize); the matrix
  // keeps the size taken by StartMatrix.
  void ResetMatrix(Size clientSize);
  // Two drops for each column, never more than kMaxDrops.
  void CreateDrops();
  void AddDrop();
  // One animation step (every kMatrixStepMs).
  void StepMatrix();
  // Draws glyph `g` as the new head of `drop`, and its trail, after erasing its tail.
  void DrawGlyph(RainDrop& drop, char g);

  [[nodiscard]] int MatrixWidth() const { return matrixWidth_; }
  [[nodiscard]] int MatrixHeight() const { return matrixHeight_; }
  [[nodiscard]] int FrameCounter() const { return frameCounter_; }
  [[nodiscard]] int DropCount() const { return dropCount_; }
  [[nodiscard]] std::span<RainDrop> Drops() {
    return {drops_.data(), static_cast<std::size_t>(dropCount_)};
  }

 private:
  [[nodiscard]] int RandomSpeed();
  [[nodiscard]] int RandomBrightness();

  IRainCanvas& canvas_;
  IRandom& random_;
  std::string matrixMarker_ = kMatrixMarker;
  Size bitmapSize_;
  int matrixWidth_ = 0;
  int matrixHeight_ = 0;
  int frameCounter_ = 0;
  int dropCount_ = 0;
  std::array<RainDrop, kMaxDrops> drops_{};
};

}  // namespace lb
