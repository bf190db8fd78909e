#include "online/update_notice.h"

#include "i18n/translation.h"

namespace lb {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A character that may end the address or start another argument where the address is handed
// on: spaces, control characters, quotes. Written as it stands or %-encoded, neither may appear.
bool BreaksTheAddress(unsigned char c) { return c <= 0x20 || c == 0x7F || c == '"' || c == '\''; }

}  // namespace

Point NoticePosition(int primaryScreenWidth, int clientWidth) {
  return {primaryScreenWidth - clientWidth - kNoticeMargin, kNoticeMargin};
}

std::string NoticeTitleText() { return Translate("UPDATE AVAILABLE"); }

std::string NoticeLinkText(const std::string& productName, const std::string& offeredVersion) {
  return Translate("Click to download") + " " + productName + " " + offeredVersion;
}

bool IsMakersSecureAddress(std::string_view address, std::string_view host) {
  constexpr std::string_view kScheme = "https://";
  if (host.empty() || address.size() < kScheme.size() ||
      !EqualsNoCase(address.substr(0, kScheme.size()), kScheme)) {
    return false;
  }
  for (std::size_t i = 0; i < address.size(); ++i) {
    const auto c = static_cast<unsigned char>(address[i]);
    // Beyond ASCII lie more spaces and controls (no-break space, the direction marks); the
    // maker's addresses need none of them.
    if (BreaksTheAddress(c) || c == '\\' || c >= 0x80) return false;
    if (c == '%') {
      if (i + 2 >= address.size()) return false;
      const int high = HexValue(address[i + 1]);
      const int low = HexValue(address[i + 2]);
      if (high < 0 || low < 0 || BreaksTheAddress(static_cast<unsigned char>(high * 16 + low))) {
        return false;
      }
    }
  }
  const std::string_view rest = address.substr(kScheme.size());
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  return EqualsNoCase(authority, host);
}

std::string NoticeAddressToOpen(const std::string& downloadUrl, std::string_view host,
                                const std::string& downloadPage) {
  return IsMakersSecureAddress(downloadUrl, host) ? downloadUrl : downloadPage;
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
