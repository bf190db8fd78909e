#pragma once
// The screen as the program's logic sees it: the monitors, each with its work area and its dots
// per inch, where the mouse cursor is, and which monitor the user works on. The Win32 program
// asks the system (Win32Screen); tests describe any set of monitors with a fake.
#include <vector>

#include "platform/geometry.h"

namespace lb {

// One monitor: its work area (screen pixels, the monitor less the taskbar and docked bars) and
// its dots per inch.
struct MonitorArea {
  Rect workArea;
  int dpi = 96;
  friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// One present monitor with its whole rectangle, for a caller that needs every one.
struct ScreenMonitor {
  Rect bounds;  // the whole monitor, screen pixels
  MonitorArea area;
  bool primary = false;
  friend bool operator==(const ScreenMonitor&, const ScreenMonitor&) = default;
};

class IScreen {
 public:
  virtual ~IScreen() = default;

  // The mouse cursor's screen position.
  [[nodiscard]] virtual Point CursorPos() const = 0;
  // The primary monitor's work area, and its whole size.
  [[nodiscard]] virtual Rect PrimaryWorkArea() const = 0;
  [[nodiscard]] virtual Size PrimaryScreenSize() const = 0;
  // The work area of the monitor that the given window rectangle lies on (the nearest one).
  [[nodiscard]] virtual Rect WorkAreaFor(const Rect& bounds) const = 0;
  // The monitor that the given window rectangle lies on (the nearest one), with its DPI.
  [[nodiscard]] virtual MonitorArea MonitorOf(const Rect& bounds) const = 0;
  // The monitor the user works on: the foreground window's, or the mouse cursor's when there
  // is no foreground window.
  [[nodiscard]] virtual MonitorArea ActiveMonitor() const = 0;
  // Every monitor present now, the primary one first.
  [[nodiscard]] virtual std::vector<ScreenMonitor> Monitors() const = 0;
};

}  // namespace lb
