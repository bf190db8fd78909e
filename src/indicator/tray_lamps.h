#pragma once
// The live notification-area icon: three small lamps, Num Lock, Caps Lock and Scroll Lock from
// left to right, lit in the indicator's green or dark grey, on a black plate like the
// indicator's own background, with a red slash over dimmed lamps while the program is disabled.
// The plate keeps the lamps readable on light and dark taskbars alike (and covers whatever a
// shell that does not clear the old icon leaves behind); only its four corner pixels are
// transparent. The picture is drawn for the exact pixel size the shell asks
// for (16, 20, 24, 32 ... pixels), every edge on a whole pixel, so that it stays sharp at every
// scale instead of being squeezed from a larger picture. The tooltip lists the three states in
// the user's language.
//
// TrayLamps decides what the icon shows and tells ITrayIconView only when that changes: the
// key poll hands it every keyboard state it reads, which costs nothing while nothing changed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "indicator/lock_key_monitor.h"
#include "indicator/running_settings.h"
#include "platform/geometry.h"
#include "platform/keyboard.h"
#include "ui/pixels.h"

namespace lb {

// The toggle states of the three lock keys.
struct LockStates {
  bool numLock = false;
  bool capsLock = false;
  bool scrollLock = false;
  friend bool operator==(const LockStates&, const LockStates&) = default;
};

// The toggle states as a keyboard read reports them.
[[nodiscard]] LockStates LockStatesOf(const KeyStates& states) noexcept;
[[nodiscard]] LockStates LockStatesOf(const IKeyboard& keyboard);

// What the notification-area icon shows.
struct TrayLook {
  bool lamps = true;      // the three lamps; false: the program's own icon
  bool disabled = false;  // "Enable" is off: dimmed lamps under a red slash, no states
  LockStates states;      // shown only by lamps that are not disabled
  int size = 16;          // the lamps' picture is drawn at size × size pixels
  friend bool operator==(const TrayLook&, const TrayLook&) = default;
};

// The colours of the picture (0xAARRGGBB, opaque).
inline constexpr std::uint32_t kTrayLampLit = 0xFF00FF00;      // the indicator's green
inline constexpr std::uint32_t kTrayLampDark = 0xFF505050;     // dark grey
inline constexpr std::uint32_t kTrayLampDimmed = 0xFF303030;   // any lamp while disabled
inline constexpr std::uint32_t kTrayLampOutline = 0xFF000000;  // the frame round each lamp
inline constexpr std::uint32_t kTrayPlate = 0xFF000000;        // behind the lamps
inline constexpr std::uint32_t kTrayDisabledMark = 0xFFE00000;

// The three lamps' rectangles (outline included) in a square picture of `size` pixels, left to
// right: equal, apart, inside the picture, centred. `size` below 8 is taken as 8.
[[nodiscard]] std::array<Rect, 3> TrayLampRects(int size);

// The picture of `look` (which must show lamps) at `size` × `size` pixels, premultiplied;
// every pixel is either fully transparent or opaque.
[[nodiscard]] Pixels DrawTrayPicture(const TrayLook& look, int size);

// "Lock Beacon", then one line per key in the language in use ("Caps Lock: ON"), or the line
// "Disabled" while the program is disabled (it then follows no key). The program's own icon
// has the first line alone.
[[nodiscard]] std::string TrayTooltip(const TrayLook& look);

// The icon in the notification area.
class ITrayIconView {
 public:
  virtual ~ITrayIconView() = default;
  // Shows `look` with `tooltip`, replacing what the icon showed.
  virtual void ShowTrayLook(const TrayLook& look, const std::string& tooltip) = 0;
};

class TrayLamps final : public IKeyStatesListener {
 public:
  TrayLamps(const RunningSettings& settings, ITrayIconView& view, const IKeyboard& keyboard)
      : settings_(settings), view_(view), keyboard_(keyboard) {}
  TrayLamps(const TrayLamps&) = delete;
  TrayLamps& operator=(const TrayLamps&) = delete;

  // Reads the three toggle states from the keyboard: at the start, when the session is
  // unlocked or the machine resumes (a key toggled on the lock screen sends no event), and when
  // a switch of the icon changed.
  void Refresh();
  // A keyboard state the key monitor has read: the icon changes only when what it shows does.
  void OnKeyStatesRead(const KeyStates& states) override;
  // Forgets what the icon shows, so that the next refresh sets it again (the icon was added
  // anew, or its size changed).
  void Invalidate() noexcept { shown_.reset(); }
  // Draws the icon afresh from the keyboard's states.
  void Redraw() {
    Invalidate();
    Refresh();
  }
  // The pixel size the shell shows the icon at (it follows the scale of the display that
  // shows the taskbar): a picture already shown is drawn again at the new size, once.
  void SetIconSize(int size) {
    if (size <= 0 || size == iconSize_) return;
    iconSize_ = size;
    if (shown_) Redraw();
  }
  [[nodiscard]] int IconSize() const noexcept { return iconSize_; }

  [[nodiscard]] const std::optional<TrayLook>& Shown() const noexcept { return shown_; }

 private:
  void Show(const LockStates& states);

  const RunningSettings& settings_;
  ITrayIconView& view_;
  const IKeyboard& keyboard_;
  std::optional<TrayLook> shown_;
  int iconSize_ = 16;
};

}  // namespace lb
