#pragma once
// Where the indicator goes when it follows the user to another monitor: the corner of the work
// area nearest to the user's own place, at the same distances from the work area's edges, in the
// target monitor's scale.
#include "platform/geometry.h"
#include "platform/screen.h"

namespace lb {

// The rectangle of a window of `size` (pixels at the target's DPI) on `target`, for the user's
// own place `home` on `homeMonitor`. On the home monitor itself: `home`'s corner, unchanged.
// Elsewhere: the corner of the work area nearest to `home`'s centre, with `home`'s distances
// from the two edges of that corner scaled to the target's DPI; the top-left corner is that of
// `home` placed so, and a window larger than `home` grows from it as it does at home. The
// result is then moved (not resized) into the target's work area as far as it fits, left and
// top first.
[[nodiscard]] Rect PlaceOnMonitor(const Rect& home, const MonitorArea& homeMonitor,
                                  const MonitorArea& target, Size size);

}  // namespace lb
