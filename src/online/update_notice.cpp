#include "online/update_notice.h"

#include <cctype>

#include "i18n/translation.h"

namespace lb {
namespace {

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

Point NoticePosition(int primaryScreenWidth, int clientWidth) {
  return {primaryScreenWidth - clientWidth - kNoticeMargin, kNoticeMargin};
}

std::string NoticeTitleText() { return Translate("UPDATE AVAILABLE"); }

std::string NoticeLinkText(const std::string& productName, const std::string& offeredVersion) {
  return Translate("Click to download") + " " + productName + " " + offeredVersion;
}

std::string NoticeAddressToOpen(const std::string& downloadUrl, const std::string& homePage) {
  if (StartsWithNoCase(downloadUrl, "http://") || StartsWithNoCase(downloadUrl, "https://")) {
    return downloadUrl;
  }
  return homePage;
}

bool NoticeCountdown::Tick() {
  if (remaining_ <= 0) return false;
  return --remaining_ == 0;
}

void NoticeDrag::OnMouseDown(MouseButton button, Point screen) {
  if (button == MouseButton::Right) return;
  dx = screen.x;
  dy = screen.y;
  dragging = true;
}

std::optional<Point> NoticeDrag::OnMouseMove(Point screen, Point topLeft) {
  if (!dragging) return std::nullopt;
  const Point moved{topLeft.x + screen.x - dx, topLeft.y + screen.y - dy};
  dx = screen.x;
  dy = screen.y;
  return moved;
}

}  // namespace lb
