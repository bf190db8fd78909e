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

// How far each edge of a window's outer rectangle lies outside the edge the user sees: the
// invisible resizing borders that Windows 10 and later keep round a framed window (about 7
// pixels left, right and bottom at 100 %, none at the top). None for a window without a frame.
struct Insets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Insets&, const Insets&) = default;
};

// The visible part of the outer rectangle `outer`, and the outer rectangle of a visible one.
[[nodiscard]] inline Rect Shrink(const Rect& outer, const Insets& borders) {
  return {outer.left + borders.left, outer.top + borders.top, outer.right - borders.right,
          outer.bottom - borders.bottom};
}
[[nodiscard]] inline Rect Grow(const Rect& visible, const Insets& borders) {
  return {visible.left - borders.left, visible.top - borders.top, visible.right + borders.right,
          visible.bottom + borders.bottom};
}

// The invisible borders of a window whose outer rectangle is `outer`: from `visibleFrame`, the
// frame the compositor draws, where it has one that lies inside `outer` and differs from it.
// While the window is not on the screen (before its first show, and hidden) the compositor
// reports the outer rectangle itself, and `known` stands in: the borders the compositor gave
// for this frame before, or else what the system metrics say they are. No compositor answer at
// all (`visibleFrame` null: none runs, or it cannot tell) means no invisible borders: the outer
// rectangle is what the user sees.
[[nodiscard]] inline Insets InvisibleBordersOf(const Rect& outer, const Rect* visibleFrame,
                                               bool onScreen, const Insets& known) {
  if (visibleFrame == nullptr) return {};
  const Rect& frame = *visibleFrame;
  const bool inside = frame.left >= outer.left && frame.top >= outer.top &&
                      frame.right <= outer.right && frame.bottom <= outer.bottom &&
                      frame.Width() > 0 && frame.Height() > 0;
  if (!inside) return {};
  if (frame == outer) return onScreen ? Insets{} : known;
  return {frame.left - outer.left, frame.top - outer.top, outer.right - frame.right,
          outer.bottom - frame.bottom};
}

}  // namespace lb
