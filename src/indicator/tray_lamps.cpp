#include "indicator/tray_lamps.h"

#include <algorithm>
#include <cstdlib>

#include "i18n/translation.h"
#include "ui/app_title.h"

namespace lb {
namespace {

constexpr int kSmallestPicture = 8;

void Fill(Pixels& picture, const Rect& r, std::uint32_t colour) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      picture.data[static_cast<std::size_t>(y * picture.width + x)] = colour;
    }
  }
}

}  // namespace

LockStates LockStatesOf(const KeyStates& states) noexcept {
  return {IsToggledOn(states[VkNumLock]), IsToggledOn(states[VkCapital]),
          IsToggledOn(states[VkScroll])};
}

LockStates LockStatesOf(const IKeyboard& keyboard) {
  return {keyboard.IsToggled(VkNumLock), keyboard.IsToggled(VkCapital),
          keyboard.IsToggled(VkScroll)};
}

std::array<Rect, 3> TrayLampRects(int size) {
  size = std::max(size, kSmallestPicture);
  // One pixel between the lamps up to 31 pixels, two from 32, and so on; the lamps take what
  // is left, in whole pixels, and the row is centred.
  const int gap = std::max(1, size / 16);
  const int width = (size - 4 * gap) / 3;
  const int height = size * 3 / 4;
  const int left = (size - (3 * width + 2 * gap)) / 2;
  const int top = (size - height) / 2;
  std::array<Rect, 3> lamps;
  for (int i = 0; i < 3; ++i) {
    lamps[static_cast<std::size_t>(i)] =
        Rect::FromPosSize(left + i * (width + gap), top, width, height);
  }
  return lamps;
}

Pixels DrawTrayPicture(const TrayLook& look, int size) {
  size = std::max(size, kSmallestPicture);
  Pixels picture{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), 0)};
  Fill(picture, {0, 0, size, size}, kTrayPlate);
  for (const int corner : {0, size - 1, size * (size - 1), size * size - 1}) {
    picture.data[static_cast<std::size_t>(corner)] = 0;
  }
  const bool lit[] = {look.states.numLock, look.states.capsLock, look.states.scrollLock};
  const std::array<Rect, 3> lamps = TrayLampRects(size);
  for (std::size_t i = 0; i < lamps.size(); ++i) {
    const Rect& lamp = lamps[i];
    Fill(picture, lamp, kTrayLampOutline);
    const std::uint32_t inside =
        look.disabled ? kTrayLampDimmed : (lit[i] ? kTrayLampLit : kTrayLampDark);
    Fill(picture, {lamp.left + 1, lamp.top + 1, lamp.right - 1, lamp.bottom - 1}, inside);
  }
  if (look.disabled) {
    // A red slash from the bottom-left corner to the top-right one, an eighth of the picture
    // thick (at least two pixels).
    const int halfThickness = std::max(2, size / 8) / 2;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (std::abs(x + y - (size - 1)) <= halfThickness) {
          picture.data[static_cast<std::size_t>(y * size + x)] = kTrayDisabledMark;
        }
      }
    }
  }
  return picture;
}

std::string TrayTooltip(const TrayLook& look) {
  std::string tooltip(kAppTitle);
  if (!look.lamps) return tooltip;
  if (look.disabled) return tooltip + "\n" + Translate("Disabled");
  const auto line = [&](int vk, bool on) {
    tooltip += '\n';
    tooltip += Translate(LockKeyMonitor::StatusText(vk, on));
  };
  line(VkNumLock, look.states.numLock);
  line(VkCapital, look.states.capsLock);
  line(VkScroll, look.states.scrollLock);
  return tooltip;
}

void TrayLamps::Refresh() { Show(LockStatesOf(keyboard_)); }

void TrayLamps::OnKeyStatesRead(const KeyStates& states) { Show(LockStatesOf(states)); }

void TrayLamps::Show(const LockStates& states) {
  TrayLook look;
  look.lamps = settings_.ticks.trayIconStates;
  look.disabled = look.lamps && !settings_.ticks.enable;
  // The program's own icon and the disabled lamps show no states: they never change with a key.
  if (look.lamps && !look.disabled) look.states = states;
  if (look.lamps) look.size = iconSize_;
  if (shown_ == look) return;
  view_.ShowTrayLook(look, TrayTooltip(look));
  shown_ = look;
}

}  // namespace lb
