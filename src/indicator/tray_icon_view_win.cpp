#include "indicator/tray_icon_view_win.h"

namespace lb {

void TrayIconView::Add(HWND window, HICON programIcon, const std::string& tooltip) {
  programIcon_ = programIcon;
  trayIcon_.emplace(window, programIcon_, tooltip);
}

void TrayIconView::ShowTrayLook(const TrayLook& look, const std::string& tooltip) {
  if (!trayIcon_) return;
  if (look.lamps) {
    // Drawn for the size the shell shows, not squeezed from another one.
    trayIcon_->Show(DrawTrayPicture(look, look.size), tooltip);
  } else {
    trayIcon_->Show(programIcon_, tooltip);
  }
}

TrayMouse TrayIconView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return trayIcon_ ? trayIcon_->HandleMessage(message, wParam, lParam) : TrayMouse::None;
}

}  // namespace lb
