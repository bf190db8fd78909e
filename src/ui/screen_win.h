#pragma once
// The screen as the system describes it: monitors, work areas and their DPIs from the monitor
// functions, the cursor from GetCursorPos, the monitor in use from the foreground window.
#include <windows.h>

#include "platform/screen.h"

namespace lb {

class Win32Screen final : public IScreen {
 public:
  [[nodiscard]] Point CursorPos() const override;
  [[nodiscard]] Rect PrimaryWorkArea() const override;
  [[nodiscard]] Size PrimaryScreenSize() const override;
  [[nodiscard]] Rect WorkAreaFor(const Rect& bounds) const override;
  [[nodiscard]] MonitorArea MonitorOf(const Rect& bounds) const override;
  [[nodiscard]] MonitorArea ActiveMonitor() const override;
  [[nodiscard]] std::vector<ScreenMonitor> Monitors() const override;

 private:
  // A monitor's work area and DPI (the primary work area when the system cannot say).
  [[nodiscard]] MonitorArea AreaOf(HMONITOR monitor) const;
};

}  // namespace lb
