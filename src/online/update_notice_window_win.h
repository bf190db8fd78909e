#pragma once
// The update notice (window class LockBeaconUpdateNotice): a small borderless, top-most window in
// the top-right corner of the primary screen that names the offered version as a link to the
// download address, closes itself after eleven seconds and can be dragged by everything but its
// link and close button. The rules live in update_notice.h; this is the window.
#include <windows.h>

#include <functional>
#include <string>

#include "online/update_notice.h"
#include "ui/dpi_window_win.h"
#include "ui/focus_win.h"
#include "ui/handles_win.h"

namespace lb {

class UpdateNoticeWindow final : public DpiWindow {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconUpdateNotice";
  static constexpr int kShowTimerId = 1;
  static constexpr int kCountdownTimerId = 2;
  static constexpr int kLinkHoverTimerId = 3;
  static constexpr int kCloseButtonId = 100;

  // Opens an address in the browser: the shell's "open" by default.
  using OpenAddress = std::function<void(const std::string& address)>;

  struct Options {
    std::string productName;
    std::string offeredVersion;
    std::string downloadUrl;
    std::string host;           // the maker's server: the only host the link opens as offered
    std::string downloadPage;   // opened instead of any other address
    HWND owner = nullptr;       // the application's window: the notice gets no taskbar button
    HWND mainWindow = nullptr;  // gets the keyboard focus back once the notice is shown
    OpenAddress open;           // null: the shell's "open"
    FocusCalls focus;           // the system's, unless a test records them
  };

  // Creation: the window is made hidden, placed, with its texts; its timers start at once, so
  // that it animates into view about a millisecond later.
  UpdateNoticeWindow(HINSTANCE instance, Options options);
  ~UpdateNoticeWindow() override;

  // The handlers, public so that tests can drive them.
  void OnShowTimer();
  void OnCountdownTimer();
  void OnLinkHoverTimer();
  void OnLinkClick();
  void OnCloseButtonClick();
  void Close();

  [[nodiscard]] const std::string& TitleText() const { return titleText_; }
  [[nodiscard]] const std::string& LinkText() const { return linkText_; }
  // The link's and the close button's rectangles in client coordinates.
  [[nodiscard]] RECT LinkRect() const;
  [[nodiscard]] HWND CloseButton() const { return closeButton_.get(); }
  [[nodiscard]] bool LinkHot() const { return linkHot_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  void DrawCloseButton(const DRAWITEMSTRUCT& item);
  // Icon, fonts and the close button at the window's DPI, and everything drawn again (also
  // when it is dragged onto a monitor with another DPI).
  void LayOut(int dpi) override;
  [[nodiscard]] RECT DesignRect(int left, int top, int right, int bottom) const;
  // Whether a press at `client` drags: everywhere but the middle panel (its title excepted)
  // and the close button.
  [[nodiscard]] bool DragsAt(POINT client) const;

  Options options_;
  std::string titleText_;
  std::string linkText_;
  UniqueFont titleFont_;
  UniqueFont linkFont_;
  UniqueIcon icon_;
  UniqueWindow closeButton_;
  NoticeCountdown countdown_;
  NoticeDrag drag_;
  bool linkHot_ = false;
  bool linkPressed_ = false;
};

}  // namespace lb
