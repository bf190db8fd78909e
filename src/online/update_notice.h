#pragma once
// UpdateNotice, the update notice: the rules of its layout, its texts, its countdown, its dragging
// and the address its link opens. The Win32 window (update_notice_window_win.cpp) draws it.
#include <optional>
#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/view_types.h"

namespace lb {

// Design units at 96 dots per inch.
inline constexpr int kNoticeClientWidth = 320;
inline constexpr int kNoticeClientHeight = 68;
inline constexpr int kNoticeMargin = 5;
inline constexpr int kNoticeImageSize = 60;
inline constexpr int kNoticeImageInset = 3;
inline constexpr int kNoticeMiddleWidth = 230;
inline constexpr int kNoticeTitleHeight = 16;
inline constexpr int kNoticeCloseSize = 22;
inline constexpr int kNoticeCloseGlyph = 16;
inline constexpr int kNoticeFontHeight = 13;
inline constexpr int kNoticeBaseFontHeight = 11;

// Seconds after which the notice closes itself.
inline constexpr int kNoticeCountdown = 11;
inline constexpr int kNoticeShowAnimationMs = 100;
inline constexpr int kNoticeHideAnimationMs = 100;

// The notice's top-left corner: 5 pixels below the top edge and 5 pixels left of the right edge
// of the whole primary screen (the work area is not consulted).
[[nodiscard]] Point NoticePosition(int primaryScreenWidth, int clientWidth);

// Whether the notice, once shown, hands the keyboard focus back to the main window: only when
// this program already owns the foreground (the notice took it, or the user was working in the
// program) and the main window can take the focus. The notice appears on its own, seconds after
// start or a day later; taking the focus then from the program the user is typing into would
// send their next keystrokes to Lock Beacon.
[[nodiscard]] constexpr bool NoticeHandsFocusBack(bool programOwnsForeground,
                                                  bool mainWindowCanTakeFocus) {
  return programOwnsForeground && mainWindowCanTakeFocus;
}

// "UPDATE AVAILABLE" and "Click to download Lock Beacon 5.2", translated.
[[nodiscard]] std::string NoticeTitleText();
[[nodiscard]] std::string NoticeLinkText(const std::string& productName,
                                         const std::string& offeredVersion);

// Whether the link may open `address` as it stands: "https://" (the scheme's letter case
// ignored), then exactly `host` (the maker's server, ASCII letter case ignored, a port the same
// as in `host`) up to the end or the first "/", "?" or "#", and nothing the shell or the browser
// could read as the end of the address or as more arguments: no space, control character,
// quote, backslash or byte outside ASCII, no "%" but one that encodes a character other than
// those (space, control characters, quotes), followed by two hexadecimal digits.
[[nodiscard]] bool IsMakersSecureAddress(std::string_view address, std::string_view host);

// The address the link opens. The download address comes from the network, possibly over plain
// HTTP where anyone on the way can change it, and the shell's "open" would just as well start a
// program, open a file or take a quote as the end of the address: only an address that
// IsMakersSecureAddress takes is opened; anything else, an empty address included, gives the
// maker's download page.
[[nodiscard]] std::string NoticeAddressToOpen(const std::string& downloadUrl, std::string_view host,
                                              const std::string& downloadPage);

// The close countdown: OnCountdownTimer's counting.
class NoticeCountdown {
 public:
  // One tick; true on the tick that reaches 0 (the eleventh), and only then.
  bool Tick();
  [[nodiscard]] int Remaining() const { return remaining_; }

 private:
  int remaining_ = kNoticeCountdown;
};

// Dragging the notice by everything but its link and its close button.
class NoticeDrag {
 public:
  // Any button but the right one starts a drag at the pressed point (screen coordinates).
  void OnMouseDown(MouseButton button, Point screen);
  // While dragging: the window's new top-left corner for the pointer at `screen`, the window
  // standing at `topLeft`. Nothing while not dragging.
  std::optional<Point> OnMouseMove(Point screen, Point topLeft);
  void OnMouseUp() { dragging = false; }

  bool dragging = false;
  int dx = 0;
  int dy = 0;
};

}  // namespace lb
