#pragma once
// The notification area of the test desktop as a user sees it: where it is, and which of the
// program's three lamps it shows lit.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"

namespace lb::e2e {

// The lamps' colours inside their black outlines: the indicator's green and dark grey.
inline bool IsLitLamp(Rgb p) { return p.g > 200 && p.r < 60 && p.b < 60; }
inline bool IsDisabledMark(Rgb p) { return p.r > 200 && p.g < 40 && p.b < 40; }
inline bool IsDarkLamp(Rgb p) {
  return p.r > 0x40 && p.r < 0x60 && std::abs(p.r - p.g) < 6 && std::abs(p.g - p.b) < 6;
}

// The notification area's window: Wine's own when the desktop has no taskbar (Wine also has a
// hidden "Shell_TrayWnd" of no size then).
inline HWND FindNotificationArea() {
  for (const HWND tray :
       {FindWindowW(nullptr, L"Wine System Tray"), FindWindowW(L"Shell_TrayWnd", nullptr)}) {
    RECT r{};
    if (tray && IsWindowVisible(tray) && GetWindowRect(tray, &r) && r.right > r.left) return tray;
  }
  return nullptr;
}

// The screen rectangle of the notification area. The harness's desktop always shows one once a
// program has an icon there: its absence is a failure of the test (ADD_FAILURE), not a skip.
inline RECT NotificationArea() {
  HWND tray = nullptr;
  RECT area{};
  if (!WaitFor([&] { return (tray = FindNotificationArea()) != nullptr; }, 5s) ||
      !GetWindowRect(tray, &area)) {
    ADD_FAILURE() << "the test desktop shows no notification area";
  }
  return area;
}

// Which of the three lamps are lit, as the screen shows them in `area`; nothing when no lamp
// is to be seen there.
inline std::optional<std::vector<bool>> LitLamps(const ScreenImage& screen, const RECT& area) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, screen.Height()); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, screen.Width()); ++x) {
      const Rgb p = screen.Pixel(x, y);
      if (!IsLitLamp(p) && !IsDarkLamp(p)) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
             std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    }
  }
  if (box.right <= box.left) return std::nullopt;
  const int third = (box.right - box.left) / 3;
  std::vector<bool> lit;
  for (int i = 0; i < 3; ++i) {
    const RECT column{box.left + i * third, box.top, box.left + (i + 1) * third, box.bottom};
    lit.push_back(screen.Any(column, IsLitLamp));
  }
  return lit;
}

}  // namespace lb::e2e
