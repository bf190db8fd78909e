#include "indicator/monitor_placement.h"

#include "ui/dpi.h"

namespace lb {

Rect PlaceOnMonitor(const Rect& home, const MonitorArea& homeMonitor, const MonitorArea& target,
                    Size size) {
  if (target.workArea == homeMonitor.workArea) {
    return Rect::FromPosSize(home.left, home.top, size.width, size.height);
  }
  const Rect& from = homeMonitor.workArea;
  const Rect& to = target.workArea;
  const auto scale = [&](int value) { return ScaleBetween(value, homeMonitor.dpi, target.dpi); };
  // Twice the centres, so that no half pixel is lost.
  const bool right = home.left + home.right > from.left + from.right;
  const bool bottom = home.top + home.bottom > from.top + from.bottom;
  const int homeWidth = scale(home.Width());
  const int homeHeight = scale(home.Height());
  int left = right ? to.right - scale(from.right - home.right) - homeWidth
                   : to.left + scale(home.left - from.left);
  int top = bottom ? to.bottom - scale(from.bottom - home.bottom) - homeHeight
                   : to.top + scale(home.top - from.top);
  // Inside the work area as far as it fits; a window larger than it keeps its left or top edge
  // on the work area's.
  if (left + size.width > to.right) left = to.right - size.width;
  if (left < to.left) left = to.left;
  if (top + size.height > to.bottom) top = to.bottom - size.height;
  if (top < to.top) top = to.top;
  return Rect::FromPosSize(left, top, size.width, size.height);
}

}  // namespace lb
