#include "about/about_box.h"

#include <utility>

#include "i18n/translation.h"

namespace lb {

std::string AboutCaption(std::string_view translatedFormat, std::string_view productName) {
  std::string caption(translatedFormat);
  if (const auto at = caption.find("%s"); at != std::string::npos) {
    caption.replace(at, 2, productName);
  }
  return caption;
}

AboutCaptions MakeAboutCaptions(std::string_view productName,
                                const std::function<std::string(std::string_view)>& translate) {
  return {AboutCaption(translate("About %s"), productName),
          translate("OK"),
          translate("Info"),
          translate("Acknowledgements..."),
          translate("How to uninstall..."),
          translate("License...")};
}

std::string ProductLine(std::string_view productName, std::string_view appVersion) {
  std::string line(productName);
  line += ' ';
  line += appVersion;
  return line;
}

std::string AboutPageAddress(AboutPage page, std::string_view host) {
  // Every page of the maker's is opened over HTTPS, so that nobody on the way can put a page
  // (or an "uninstaller") of their own in its place.
  std::string address = "https://";
  address += host;
  switch (page) {
    case AboutPage::Acknowledgements:
      address += "/blog/credits-and-acknowledgements/";
      break;
    case AboutPage::HowToUninstall:
      address += "/blog/how-to-uninstall-brimlex-software/";
      break;
    case AboutPage::Home:
      address += "/";
      break;
  }
  return address;
}

bool StartsDrag(AboutPart part, MouseButton button) {
  if (button == MouseButton::Right) return false;
  switch (part) {
    case AboutPart::Window:
    case AboutPart::Card:
    case AboutPart::Icon:
    case AboutPart::Logo:
    case AboutPart::ProductLine:
      return true;
    case AboutPart::OkButton:
    case AboutPart::InfoButton:
    case AboutPart::Link:
      return false;
  }
  return false;
}

void AboutDrag::OnMouseDown(AboutPart part, MouseButton button, Point screen) {
  if (!StartsDrag(part, button)) return;
  dragging_ = true;
  lastX_ = screen.x;
  lastY_ = screen.y;
}

std::optional<Rect> AboutDrag::OnMouseMove(Point screen, const Rect& bounds) {
  if (!dragging_) return std::nullopt;
  const Rect moved =
      Rect::FromPosSize(bounds.left + screen.x - lastX_, bounds.top + screen.y - lastY_,
                        bounds.Width(), bounds.Height());
  lastX_ = screen.x;
  lastY_ = screen.y;
  return moved;
}

void AboutDrag::OnMouseUp() { dragging_ = false; }

bool PopupGuard::ShouldOpen(std::uintptr_t button, std::uintptr_t menu, std::uint32_t now) {
  // Unsigned difference: right across the tick count's wrap-around.
  if (stored_ && button == button_ && menu == menu_ && now - closedAt_ < kPopupReopenGuardMs) {
    stored_ = false;
    button_ = 0;
    menu_ = 0;
    return false;
  }
  return true;
}

void PopupGuard::Closed(std::uintptr_t button, std::uintptr_t menu, std::uint32_t now) {
  stored_ = true;
  button_ = button;
  menu_ = menu;
  closedAt_ = now;
}

AboutActions::AboutActions(IAboutShell& shell, const IFileSystem& files, std::string host,
                           std::string exeFolder)
    : shell_(shell), files_(files), host_(std::move(host)), exeFolder_(std::move(exeFolder)) {}

void AboutActions::OnAcknowledgements() {
  shell_.OpenAddress(AboutPageAddress(AboutPage::Acknowledgements, host_));
}

void AboutActions::OnHowToUninstall() {
  shell_.OpenAddress(AboutPageAddress(AboutPage::HowToUninstall, host_));
}

void AboutActions::OnHomeLinkClick() {
  shell_.OpenAddress(AboutPageAddress(AboutPage::Home, host_));
}

void AboutActions::OnLicense() {
  const std::string path = exeFolder_ + kLicenseFileName;
  if (files_.FileExists(path)) {
    shell_.OpenInNotepad(path);
  } else {
    shell_.ShowError(Translate("License"), Translate("File not found!"));
  }
}

}  // namespace lb
