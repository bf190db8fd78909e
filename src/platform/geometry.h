#pragma once

namespace lb {

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  [[nodiscard]] int Width() const { return right - left; }
  [[nodiscard]] int Height() const { return bottom - top; }
  [[nodiscard]] static Rect FromPosSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lb
