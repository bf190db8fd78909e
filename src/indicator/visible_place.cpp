#include "indicator/visible_place.h"

#include <algorithm>
#include <cstdint>

namespace lb {
namespace {

std::int64_t Area(const Rect& r) {
  return static_cast<std::int64_t>(std::max(0, r.Width())) * std::max(0, r.Height());
}

Rect Intersection(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// How far the span [low, high) lies outside [lowEdge, highEdge): 0 when they overlap.
int Gap(int low, int high, int lowEdge, int highEdge) {
  if (high <= lowEdge) return lowEdge - high;
  if (low >= highEdge) return low - highEdge;
  return 0;
}

}  // namespace

bool MostlyInside(const Rect& frame, const Rect& workArea) {
  const std::int64_t area = Area(frame);
  if (area == 0) {
    return frame.left >= workArea.left && frame.left < workArea.right &&
           frame.top >= workArea.top && frame.top < workArea.bottom;
  }
  return 2 * Area(Intersection(frame, workArea)) >= area;
}

const MonitorArea& MonitorInSight(const Rect& frame, const MonitorArea& nearest,
                                  const MonitorArea& primary) {
  const Rect& area = nearest.workArea;
  const bool near = Gap(frame.left, frame.right, area.left, area.right) <= area.Width() &&
                    Gap(frame.top, frame.bottom, area.top, area.bottom) <= area.Height();
  return near ? nearest : primary;
}

Rect PlaceInSight(const Rect& home, const MonitorArea& homeMonitor, const MonitorArea& target,
                  Size size) {
  if (target.workArea != homeMonitor.workArea) {
    return PlaceOnMonitor(home, homeMonitor, target, size);
  }
  const Rect& to = target.workArea;
  // Right and bottom first, so that a window larger than the work area keeps its left and top
  // edges on the work area's.
  int left = std::min(home.left, to.right - size.width);
  int top = std::min(home.top, to.bottom - size.height);
  left = std::max(left, to.left);
  top = std::max(top, to.top);
  return Rect::FromPosSize(left, top, size.width, size.height);
}

}  // namespace lb
