#pragma once
// Looking at the screen and using the mouse from outside the program, as a user would.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lb::e2e {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
};

// One picture of the whole screen, as it is shown (alpha blending included).
class ScreenImage {
 public:
  ScreenImage();
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] Rgb Pixel(int x, int y) const;
  // The pixels of one row, 0x00RRGGBB each.
  [[nodiscard]] const std::uint32_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  // True when some pixel of the screen rectangle satisfies `test`.
  template <typename Test>
  [[nodiscard]] bool Any(const RECT& area, Test test) const {
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, height_); ++y) {
      for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width_); ++x) {
        if (test(Pixel(x, y))) return true;
      }
    }
    return false;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// A pixel of the About box's rain: green clearly above red and blue (the drops' colours keep
// red at 150/255 and blue at 100/255 of the green).
[[nodiscard]] bool IsRainGreen(const Rgb& pixel);

// Of the four margins of a window's client area around a card (screen rectangles), how many
// show some rain.
[[nodiscard]] int RainyMargins(const ScreenImage& screen, const RECT& client, const RECT& card);

// Moves the cursor to a screen point, presses the left button, moves by (dx, dy) in `steps`
// steps and releases the button, through SendInput.
void DragWithLeftButton(POINT from, int dx, int dy, int steps = 4);

// The screen rectangle of a window's client area.
RECT ClientRectOnScreen(HWND window);

// Sets the DPI for programs started from now on (HKCU\Control Panel\Desktop\LogPixels) and puts
// the old value back when it goes.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD dpi);
  ~ScopedLogPixels();
  ScopedLogPixels(const ScopedLogPixels&) = delete;
  ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

 private:
  bool hadValue_ = false;
  DWORD oldValue_ = 0;
};

}  // namespace lb::e2e
