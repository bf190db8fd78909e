#pragma once
// What the main window's logic asks of its window. The Win32 window implements it; tests use a
// recording fake. Geometry is in screen pixels; sizes are outer sizes (frame included).
#include "platform/geometry.h"

namespace lb {

class IAppFormView {
 public:
  virtual ~IAppFormView() = default;

  [[nodiscard]] virtual Rect Bounds() const = 0;
  // Moves and sizes the window. The window reports the change back through the form's OnMove
  // and FormResize, as a real window does, before this returns.
  virtual void SetBounds(const Rect& bounds) = 0;

  [[nodiscard]] virtual Rect PrimaryWorkArea() const = 0;
  [[nodiscard]] virtual Size PrimaryScreenSize() const = 0;
};

}  // namespace lb
