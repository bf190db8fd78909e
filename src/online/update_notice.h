#pragma once
// UpdateNotice, the update notice: the rules of its layout, its texts, its countdown, its dragging
// and the address its link opens. The Win32 window (update_notice_window_win.cpp) draws it.
#include <optional>
#include <string>

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

// "UPDATE AVAILABLE" and "Click to download Lock Beacon 5.2", translated.
[[nodiscard]] std::string NoticeTitleText();
[[nodiscard]] std::string NoticeLinkText(const std::string& productName,
                                         const std::string& offeredVersion);

// The address the link opens. The download address comes from the network, possibly over plain
// HTTP where anyone on the way can change it, and the shell's "open" would just as well start a
// program or open a file: only an address beginning with "http://" or "https://" (letter case
// of the scheme ignored) is opened; anything else, an empty address included, gives the home
// page.
[[nodiscard]] std::string NoticeAddressToOpen(const std::string& downloadUrl,
                                              const std::string& homePage);

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
