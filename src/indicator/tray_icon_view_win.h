#pragma once
// The tray lamps' view: the notification-area icon of the main window, showing the program's
// icon or a picture of the lamps that TrayLamps decided on. The icon reports to the window
// that holds it; that window hands its messages to HandleMessage.
#include <windows.h>

#include <optional>
#include <string>

#include "indicator/tray_icon_win.h"
#include "indicator/tray_lamps.h"

namespace lb {

class TrayIconView final : public ITrayIconView {
 public:
  // Adds the icon to `window`'s notification-area entry with the program's icon (not owned; it
  // must outlive the object) and `tooltip`. Until then looks are shown nowhere.
  void Add(HWND window, HICON programIcon, const std::string& tooltip);

  // ITrayIconView
  void ShowTrayLook(const TrayLook& look, const std::string& tooltip) override;

  // One message of the holding window (see TrayIcon::HandleMessage); None before Add.
  TrayMouse HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] Point MenuAnchor() const noexcept { return trayIcon_->MenuAnchor(); }
  // The icon, for tests (there from Add on).
  [[nodiscard]] const TrayIcon& Tray() const { return trayIcon_.value(); }

 private:
  HICON programIcon_ = nullptr;  // the icon without the lamps
  std::optional<TrayIcon> trayIcon_;
};

}  // namespace lb
