#pragma once
// The About box's behaviour apart from the rain: its texts, the "Info" menu's guard against
// reopening, dragging by the content, and what the menu items and the link open. The Win32
// window (about_box_win.h) carries it out.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/geometry.h"
#include "platform/view_types.h"

namespace lb {

// The licence agreement, beside the executable.
inline constexpr const char* kLicenseFileName = "license.txt";
// A click on "Info" within this time after its menu closed only closes the menu.
inline constexpr std::uint32_t kPopupReopenGuardMs = 100;

// "About %s" (already translated) with the product name in place of the first "%s". A
// translation without "%s" is used as it is.
[[nodiscard]] std::string AboutCaption(std::string_view translatedFormat,
                                       std::string_view productName);
// The texts the About box shows, already translated.
struct AboutCaptions {
  std::string title;  // "About Lock Beacon"
  std::string ok;
  std::string info;
  std::string acknowledgements;
  std::string uninstall;
  std::string license;
};
// The About box's texts through `translate` (an English text to its translation, or the English
// text itself when the language has none).
[[nodiscard]] AboutCaptions MakeAboutCaptions(
    std::string_view productName, const std::function<std::string(std::string_view)>& translate);

// The product line: "Lock Beacon 1.0".
[[nodiscard]] std::string ProductLine(std::string_view productName, std::string_view appVersion);

// The pages that the About box opens on the maker's web server.
enum class AboutPage { Acknowledgements, HowToUninstall, Home };
[[nodiscard]] std::string AboutPageAddress(AboutPage page, std::string_view host);

// What is under the mouse when a button goes down.
enum class AboutPart { Window, Card, Icon, Logo, ProductLine, OkButton, InfoButton, Link };
// A press of the left or middle button on the window, the card, the icon, the logo or the
// product line starts a drag; the right button never does, nor any button on a control.
[[nodiscard]] bool StartsDrag(AboutPart part, MouseButton button);

// Dragging the window by its content, at screen positions.
class AboutDrag {
 public:
  void OnMouseDown(AboutPart part, MouseButton button, Point screen);
  // The window's new bounds while a drag is on (moved by the cursor's travel since the last
  // step, size kept); nothing otherwise.
  [[nodiscard]] std::optional<Rect> OnMouseMove(Point screen, const Rect& bounds);
  void OnMouseUp();
  [[nodiscard]] bool Dragging() const { return dragging_; }

 private:
  bool dragging_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
};

// The guard of a menu that opens below its button: a click on the button while its menu is open
// first closes the menu (the system does that) and then arrives as a click; it must not open the
// menu again. Buttons and menus are told apart by any identifying number (their handles).
class PopupGuard {
 public:
  // Whether a click on `button` should open `menu` at tick count `now` (milliseconds, wrapping
  // round after 49.7 days). A refused click forgets the last menu, so the next click opens it.
  [[nodiscard]] bool ShouldOpen(std::uintptr_t button, std::uintptr_t menu, std::uint32_t now);
  // The menu that `button` opened has closed at tick count `now`.
  void Closed(std::uintptr_t button, std::uintptr_t menu, std::uint32_t now);

 private:
  std::uintptr_t button_ = 0;
  std::uintptr_t menu_ = 0;
  std::uint32_t closedAt_ = 0;
  bool stored_ = false;
};

// What the About box's menu items and link ask of the system.
class IAboutShell {
 public:
  virtual ~IAboutShell() = default;
  // The shell's "open" of a web address (desktop as owner, hidden); failures are dropped.
  virtual void OpenAddress(const std::string& address) = 0;
  // Starts Notepad (by its full path in the Windows folder, never by a bare name) on `path`
  // (unquoted parameter, normal window, the About box as owner).
  virtual void OpenInNotepad(const std::string& path) = 0;
  // A modal message box with an error icon and an OK button.
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};

// The handlers of the menu items and the link.
class AboutActions {
 public:
  // `exeFolder` ends in a backslash.
  AboutActions(IAboutShell& shell, const IFileSystem& files, std::string host,
               std::string exeFolder);

  void OnAcknowledgements();
  void OnHowToUninstall();
  void OnHomeLinkClick();
  // Notepad with "license.txt" when it is there, else "File not found!" titled "License".
  void OnLicense();

 private:
  IAboutShell& shell_;
  const IFileSystem& files_;
  std::string host_;
  std::string exeFolder_;
};

}  // namespace lb
