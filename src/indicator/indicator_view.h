#pragma once
// What the indicator's logic asks of the indicator window (beyond IAppFormView's geometry). The
// Win32 window implements it; tests use a recording fake. Sizes and positions are actual pixels
// (the window has already scaled its 96-DPI design layout); screen positions are in screen pixels.
#include <cstdint>
#include <optional>
#include <string>

#include "app/app_form_view.h"
#include "platform/geometry.h"

namespace lb {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color ColorBlack{0, 0, 0};
inline constexpr Color ColorRed{255, 0, 0};
inline constexpr Color ColorLime{0, 255, 0};
inline constexpr Color ColorGrey{128, 128, 128};

// The window's frame: the design frame (caption, sizing border), the single fixed frame with a
// caption, or none (minimal mode).
enum class FrameStyle { Sizeable, Single, None };

enum class MouseButton { Left, Right, Middle };

// The LED columns, left to right.
enum class LedColumn { NumLock = 0, CapsLock = 1, ScrollLock = 2 };

class IIndicatorView : public IAppFormView {
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
  [[nodiscard]] virtual int Panel1Height() const = 0;

  // Shows the lit picture of a column and hides the dark one, or the reverse.
  virtual void SetLed(LedColumn column, bool lit) = 0;

  [[nodiscard]] virtual std::string StatusText() const = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetStatusColor(Color color) = 0;
  virtual void SetBackground(Color color) = 0;

  virtual void SetFrameStyle(FrameStyle style) = 0;
  // Panel1's outer bevel: raised in minimal mode, none otherwise.
  virtual void SetPanel1Raised(bool raised) = 0;

  // Layout pass inputs and outputs.
  [[nodiscard]] virtual int PanelTextsClientWidth() const = 0;
  [[nodiscard]] virtual Size PanelLedsClientSize() const = 0;
  // The size of every LED picture (all six are the same size).
  [[nodiscard]] virtual Size LedImageSize() const = 0;
  // Label2 and Label4 get `sideWidth`; Label3 fills what lies between them.
  virtual void SetKeyLabelWidths(int sideWidth) = 0;
  // The top-left corner of both pictures of a column, in PanelLeds' client coordinates.
  virtual void SetLedPosition(LedColumn column, Point topLeft) = 0;

  // The mouse cursor's screen position.
  [[nodiscard]] virtual Point CursorPos() const = 0;
  // The work area of the monitor that the given window rectangle lies on.
  [[nodiscard]] virtual Rect WorkAreaFor(const Rect& bounds) const = 0;

  // Shows the popup menu at a screen position and returns when it has closed.
  virtual void TrackPopupMenu(Point screen) = 0;
  // The modal open-file dialog: one filter entry, a default extension, a preset file name
  // (empty for none). Returns the chosen full path, or nothing when the user cancelled.
  [[nodiscard]] virtual std::optional<std::string> OpenFileDialog(
      const std::string& filterDescription, const std::string& filterPattern,
      const std::string& defaultExtension, const std::string& presetFile) = 0;
};

}  // namespace lb
