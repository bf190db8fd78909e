#pragma once
// What the indicator's logic asks of the indicator window (beyond IWindowPlacement's geometry). The
// Win32 window implements it; tests use a recording fake. Sizes and positions are actual pixels
// (the window has already scaled its 96-DPI design layout); screen positions are in screen pixels.
#include <cstdint>
#include <optional>
#include <string>

#include "indicator/monitor_placement.h"
#include "platform/geometry.h"
#include "platform/view_types.h"

namespace lb {

// The window's frame: the design frame (caption, sizing border), the single fixed frame with a
// caption, or none (minimal mode).
enum class FrameStyle { Sizeable, Single, None };

// The window's place on the screen (the screen itself is IScreen).
class IWindowPlacement {
 public:
  virtual ~IWindowPlacement() = default;

  [[nodiscard]] virtual Rect Bounds() const = 0;
  // Moves and sizes the window. The window reports the change back through the app's OnMove
  // and OnResize, as a real window does, before this returns.
  virtual void SetBounds(const Rect& bounds) = 0;

  // The window's invisible borders now (see Insets): the edges the user sees lie this far
  // inside Bounds(). Snapping, the default corner and the placement on another monitor put
  // the visible edges where they belong; Bounds() and the stored geometry stay the outer ones.
  [[nodiscard]] virtual Insets InvisibleBorders() const = 0;
};

// The LED columns, left to right.
enum class LedColumn { NumLock = 0, CapsLock = 1, ScrollLock = 2 };

class IIndicatorView : public IWindowPlacement {
 public:
  // Layered-window opacity, 0..255.
  [[nodiscard]] virtual std::uint8_t Alpha() const = 0;
  virtual void SetAlpha(std::uint8_t alpha) = 0;
  [[nodiscard]] virtual bool Visible() const = 0;
  // Showing never activates the window (the keyboard focus stays where the user types).
  virtual void SetVisible(bool visible) = 0;
  // Into (true) or out of (false) the always-on-top band, without moving, sizing or activating.
  virtual void SetTopMost(bool topMost) = 0;
  // Lets pending messages be handled once, then returns.
  virtual void ProcessMessages() = 0;

  [[nodiscard]] virtual int ClientHeight() const = 0;
  virtual void SetClientHeight(int height) = 0;
  // The top band (LED row and key-label row).
  [[nodiscard]] virtual int LedBandHeight() const = 0;

  // Shows the lit picture of a column and hides the dark one, or the reverse.
  virtual void SetLed(LedColumn column, bool lit) = 0;

  [[nodiscard]] virtual std::string StatusText() const = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStatusColor(Color color) = 0;
  virtual void SetBackground(Color color) = 0;

  virtual void SetFrameStyle(FrameStyle style) = 0;
  // LedBand's outer bevel: raised in minimal mode, none otherwise.
  virtual void SetLedBandRaised(bool raised) = 0;

  // Layout pass inputs and outputs.
  [[nodiscard]] virtual int PanelTextsClientWidth() const = 0;
  [[nodiscard]] virtual Size PanelLedsClientSize() const = 0;
  // The size of every LED picture (all six are the same size).
  [[nodiscard]] virtual Size LedImageSize() const = 0;
  // NumLockLabel and ScrollLockLabel get `sideWidth`; CapsLockLabel fills what lies between them.
  virtual void SetKeyLabelWidths(int sideWidth) = 0;
  // The top-left corner of both pictures of a column, in PanelLeds' client coordinates.
  virtual void SetLedPosition(LedColumn column, Point topLeft) = 0;

  // Shows the popup menu at a screen position and returns when it has closed; opened from the
  // keyboard, its first item is selected, so that the arrow keys work at once.
  virtual void TrackPopupMenu(Point screen, bool firstItemSelected) = 0;
};

}  // namespace lb
