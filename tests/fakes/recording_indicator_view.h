#pragma once
// The indicator window as the tests see it: it records what the logic told it, and moves and
// resizes like a real window: every change reaches the app before SetBounds returns, the way
// WM_MOVE and WM_SIZE do, and a move that keeps the size snaps to the work area first, the way
// WM_WINDOWPOSCHANGING does. A frame change keeps the client area where it is on the screen, as
// the real window's does, so the outer corner moves by the frame. Sizes are those of 96 dots
// per inch.
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "ui/dpi.h"

namespace lb::test {

class RecordingIndicatorView : public IIndicatorView {
 public:
  // The frame's share of the outer size, with a caption and a border, and without.
  static constexpr Size kFrame{16, 39};
  // Where the client area begins inside the outer rectangle of a framed window: the left border,
  // and the caption with the top border.
  static constexpr Point kClientOffset{8, 31};
  static constexpr int kPanelTextsHeight = 35;

  App* app = nullptr;  // gets OnMove and OnResize

  Rect bounds = Rect::FromPosSize(0, 0, 184 + kFrame.width, 125 + kFrame.height);
  Rect workArea{0, 0, 1280, 984};  // the primary monitor's, at 96 DPI
  // The monitors beside the primary one; a window belongs to the one that holds its centre (the
  // primary when none does). A move onto a monitor of another DPI takes the size the system
  // suggests (the old size scaled) at the proposed corner moved by `dpiChangeDrift`, as a
  // WM_DPICHANGED handler does.
  std::vector<MonitorArea> otherMonitors;
  int activeMonitor = 0;  // 0: the primary; n: otherMonitors[n - 1]
  Point dpiChangeDrift{0, 0};
  // The invisible borders of a framed window as Windows 10 has them (none without a frame, and
  // none under Wine, where this stays empty).
  Insets framedBorders{};
  Size screen{1280, 1024};
  int moves = 0;
  int resizes = 0;

  std::uint8_t alpha = 150;
  bool visible = false;
  bool topMost = true;
  std::vector<bool> topMostChanges;
  int pumps = 0;  // ProcessMessages calls
  std::function<void()> onProcessMessages;

  int ledBandHeight = 80;
  std::array<std::optional<bool>, 3> leds{};  // lit or dark, by column; unset until told
  std::string statusText;
  std::optional<Color> statusColor;
  Color background = ColorBlack;
  FrameStyle frame = FrameStyle::Sizeable;
  bool ledBandRaised = false;

  Size ledImage{32, 32};
  int sideLabelWidth = -1;
  int middleLabelWidth = -1;
  std::array<std::optional<Point>, 3> ledPositions{};

  Point cursor{0, 0};
  std::vector<Point> popups;
  std::vector<bool> popupsWithFirstItemSelected;
  std::function<void()> whilePopupOpen;

  struct DialogCall {
    std::string filterDescription;
    std::string filterPattern;
    std::string defaultExtension;
    std::string presetFile;
    friend bool operator==(const DialogCall&, const DialogCall&) = default;
  };
  std::vector<DialogCall> dialogs;
  std::optional<std::string> dialogAnswer;  // nothing: the user cancels

  [[nodiscard]] Size Frame() const { return frame == FrameStyle::None ? Size{} : kFrame; }
  [[nodiscard]] Point ClientOffset() const {
    return frame == FrameStyle::None ? Point{} : kClientOffset;
  }
  [[nodiscard]] int ClientWidth() const { return bounds.Width() - Frame().width; }
  [[nodiscard]] bool Lit(LedColumn column) const { return leds[static_cast<int>(column)].value(); }

  // IWindowPlacement
  Rect Bounds() const override { return bounds; }
  void SetBounds(const Rect& proposed) override {
    Rect next = app ? SnapWindowRect(bounds, proposed, WorkAreaFor(proposed), app->screenSnap,
                                     InvisibleBorders())
                    : proposed;
    if (const int from = MonitorOf(bounds).dpi, to = MonitorOf(next).dpi; from != to) {
      next = Rect::FromPosSize(next.left + dpiChangeDrift.x, next.top + dpiChangeDrift.y,
                               ScaleBetween(bounds.Width(), from, to),
                               ScaleBetween(bounds.Height(), from, to));
    }
    const bool moved = next.left != bounds.left || next.top != bounds.top;
    const bool resized = next.Width() != bounds.Width() || next.Height() != bounds.Height();
    bounds = next;
    if (moved) {
      ++moves;
      if (app) app->OnMove();
    }
    if (resized) {
      ++resizes;
      if (app) app->OnResize();
    }
  }
  Rect PrimaryWorkArea() const override { return workArea; }
  Size PrimaryScreenSize() const override { return screen; }
  Insets InvisibleBorders() const override {
    return frame == FrameStyle::None ? Insets{} : framedBorders;
  }

  // IIndicatorView
  std::uint8_t Alpha() const override { return alpha; }
  void SetAlpha(std::uint8_t value) override { alpha = value; }
  bool Visible() const override { return visible; }
  void SetVisible(bool value) override { visible = value; }
  void SetTopMost(bool value) override {
    topMost = value;
    topMostChanges.push_back(value);
  }
  void ProcessMessages() override {
    ++pumps;
    if (onProcessMessages) onProcessMessages();
  }

  int ClientHeight() const override { return bounds.Height() - Frame().height; }
  void SetClientHeight(int height) override {
    SetBounds(Rect::FromPosSize(bounds.left, bounds.top, bounds.Width(), height + Frame().height));
  }
  int LedBandHeight() const override { return ledBandHeight; }

  void SetLed(LedColumn column, bool lit) override { leds[static_cast<int>(column)] = lit; }

  std::string StatusText() const override { return statusText; }
  void SetStatusText(const std::string& text) override { statusText = text; }
  void SetStatusColor(Color color) override { statusColor = color; }
  void SetBackground(Color color) override { background = color; }

  void SetFrameStyle(FrameStyle style) override {
    // The client area keeps its place on the screen and its size; the outer rectangle follows
    // the frame.
    const Point client{bounds.left + ClientOffset().x, bounds.top + ClientOffset().y};
    const Size clientSize{ClientWidth(), ClientHeight()};
    frame = style;
    SetBounds(Rect::FromPosSize(client.x - ClientOffset().x, client.y - ClientOffset().y,
                                clientSize.width + Frame().width,
                                clientSize.height + Frame().height));
  }
  void SetLedBandRaised(bool raised) override { ledBandRaised = raised; }

  int PanelTextsClientWidth() const override { return ClientWidth(); }
  Size PanelLedsClientSize() const override {
    return {ClientWidth(), ledBandHeight - kPanelTextsHeight};
  }
  Size LedImageSize() const override { return ledImage; }
  void SetKeyLabelWidths(int sideWidth) override {
    sideLabelWidth = sideWidth;
    middleLabelWidth = PanelTextsClientWidth() - 2 * sideWidth;
  }
  void SetLedPosition(LedColumn column, Point topLeft) override {
    ledPositions[static_cast<int>(column)] = topLeft;
  }

  Point CursorPos() const override { return cursor; }
  Rect WorkAreaFor(const Rect& r) const override { return MonitorOf(r).workArea; }
  MonitorArea MonitorOf(const Rect& r) const override {
    // The one that holds the centre, else the nearest, as MONITOR_DEFAULTTONEAREST (the primary
    // first among equals).
    const int x2 = r.left + r.right;
    const int y2 = r.top + r.bottom;
    for (const MonitorArea& monitor : otherMonitors) {
      const Rect& area = monitor.workArea;
      if (x2 >= 2 * area.left && x2 < 2 * area.right && y2 >= 2 * area.top &&
          y2 < 2 * area.bottom) {
        return monitor;
      }
    }
    const auto distance = [&](const Rect& area) {
      const long long dx = std::max({0, area.left - r.right, r.left - area.right});
      const long long dy = std::max({0, area.top - r.bottom, r.top - area.bottom});
      return dx * dx + dy * dy;
    };
    MonitorArea nearest{workArea, 96};
    for (const MonitorArea& monitor : otherMonitors) {
      if (distance(monitor.workArea) < distance(nearest.workArea)) nearest = monitor;
    }
    return nearest;
  }
  MonitorArea ActiveMonitor() const override {
    return activeMonitor == 0 ? MonitorArea{workArea, 96}
                              : otherMonitors.at(static_cast<std::size_t>(activeMonitor - 1));
  }

  void TrackPopupMenu(Point at, bool firstItemSelected) override {
    popups.push_back(at);
    popupsWithFirstItemSelected.push_back(firstItemSelected);
    if (whilePopupOpen) whilePopupOpen();
  }
  std::optional<std::string> OpenFileDialog(const std::string& filterDescription,
                                            const std::string& filterPattern,
                                            const std::string& defaultExtension,
                                            const std::string& presetFile) override {
    dialogs.push_back({filterDescription, filterPattern, defaultExtension, presetFile});
    return dialogAnswer;
  }
};

}  // namespace lb::test
