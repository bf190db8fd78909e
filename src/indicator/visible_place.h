#pragma once
// Where the indicator goes when the place the user gave it cannot be seen: a hand-edited
// settings.ini, a monitor unplugged or rearranged, a lower resolution, a taskbar that grew. The
// window exists to be seen, so it is then shown on a monitor that is there, at the corner and
// distances of its own place as far as they fit; its own place is kept, so that it goes back
// there once that place can be seen again.
#include "indicator/monitor_placement.h"
#include "platform/geometry.h"

namespace lb {

// Whether the user sees a window whose visible frame is `frame` on the monitor with the work
// area `workArea` (the present monitor nearest to the frame): at least half of the frame's area
// lies inside the work area. A frame without area is seen where its corner lies inside.
[[nodiscard]] bool MostlyInside(const Rect& frame, const Rect& workArea);

// The monitor that shows a window whose own place `frame` cannot be seen: `nearest` (the present
// monitor nearest to it) while the place lies within one work area's width and height of it,
// where a neighbouring monitor of its size would have stood; `primary` when the place is
// farther off than that.
[[nodiscard]] const MonitorArea& MonitorInSight(const Rect& frame, const MonitorArea& nearest,
                                                const MonitorArea& primary);

// The rectangle of a window of `size` (pixels at the target's DPI) on `target` for the user's
// own place `home`, last seen on `homeMonitor` (which may be gone, or have another size now).
// On a monitor whose work area is `homeMonitor`'s: `home`'s corner moved (not resized) inside
// the work area as far as it fits. On another monitor: PlaceOnMonitor (the corner nearest to
// `home`, its distances scaled by the DPI ratio, pushed inside the work area).
[[nodiscard]] Rect PlaceInSight(const Rect& home, const MonitorArea& homeMonitor,
                                const MonitorArea& target, Size size);

}  // namespace lb
