#pragma once
// The screen as a test describes it: the primary monitor's work area and size at 96 DPI, the
// monitors beside it, the one the user works on, and the cursor. A window rectangle belongs to
// the monitor that holds its centre, else to the nearest one.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/screen.h"

namespace lb::test {

class FakeScreen : public IScreen {
 public:
  Rect workArea{0, 0, 1280, 984};  // the primary monitor's, at 96 DPI
  Size screen{1280, 1024};         // the primary monitor's whole size
  // The monitors beside the primary one, in the order the system lists them.
  std::vector<MonitorArea> otherMonitors;
  int activeMonitor = 0;  // 0: the primary; n: otherMonitors[n - 1]
  Point cursor{0, 0};

  Point CursorPos() const override { return cursor; }
  Rect PrimaryWorkArea() const override { return workArea; }
  Size PrimaryScreenSize() const override { return screen; }
  Rect WorkAreaFor(const Rect& r) const override { return MonitorOf(r).workArea; }
  MonitorArea MonitorOf(const Rect& r) const override {
    // The one that holds the centre, else the nearest, as MONITOR_DEFAULTTONEAREST (the primary
    // first among equals).
    const int x2 = r.left + r.right;
    const int y2 = r.top + r.bottom;
    for (const MonitorArea& monitor : otherMonitors) {
      const Rect& area = monitor.workArea;
      if (x2 >= 2 * area.left && x2 < 2 * area.right && y2 >= 2 * area.top &&
          y2 < 2 * area.bottom) {
        return monitor;
      }
    }
    const auto distance = [&](const Rect& area) {
      const long long dx = std::max({0, area.left - r.right, r.left - area.right});
      const long long dy = std::max({0, area.top - r.bottom, r.top - area.bottom});
      return dx * dx + dy * dy;
    };
    MonitorArea nearest{workArea, 96};
    for (const MonitorArea& monitor : otherMonitors) {
      if (distance(monitor.workArea) < distance(nearest.workArea)) nearest = monitor;
    }
    return nearest;
  }
  MonitorArea ActiveMonitor() const override {
    return activeMonitor == 0 ? MonitorArea{workArea, 96}
                              : otherMonitors.at(static_cast<std::size_t>(activeMonitor - 1));
  }
  // The other monitors' whole rectangles are their work areas: the fake has no taskbar there.
  std::vector<ScreenMonitor> Monitors() const override {
    std::vector<ScreenMonitor> monitors{
        {.bounds = {0, 0, screen.width, screen.height}, .area = {workArea, 96}, .primary = true}};
    for (const MonitorArea& monitor : otherMonitors) {
      monitors.push_back({.bounds = monitor.workArea, .area = monitor});
    }
    return monitors;
  }
};

}  // namespace lb::test
