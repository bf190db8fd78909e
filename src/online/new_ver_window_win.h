#pragma once
// TNewVer, the update notice: a small borderless, top-most window in the top-right corner of the
// primary screen that names the offered version as a link to the download address, closes
// itself after eleven seconds and can be dragged by everything but its link and close button.
// The rules live in new_ver_notice.h; this is the window.
#include <windows.h>

#include <functional>
#include <string>

#include "online/new_ver_notice.h"
#include "ui/handles_win.h"
#include "ui/window_base_win.h"

namespace lb {

class NewVerWindow final : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"TNewVer";
  static constexpr int kTimerStartId = 1;
  static constexpr int kTimerCloseId = 2;
  static constexpr int kTimerLinkId = 3;
  static constexpr int kButton1Id = 100;

  // Opens an address in the browser: the shell's "open" by default.
  using OpenAddress = std::function<void(const std::string& address)>;

  struct Options {
    std::string productName;
    std::string offeredVersion;
    std::string downloadUrl;
    std::string homePage;
    HWND owner = nullptr;       // the application's window: the notice gets no taskbar button
    HWND mainWindow = nullptr;  // gets the keyboard focus back once the notice is shown
    OpenAddress open;           // null: the shell's "open"
  };

  // FormCreate: the window is made hidden, placed, with its texts; its timers start at once, so
  // that it animates into view about a millisecond later.
  NewVerWindow(HINSTANCE instance, Options options);
  ~NewVerWindow() override;

  // The handlers, public so that tests can drive them.
  void TimerStartTimer();
  void TimerCloseTimer();
  void TimerLinkTimer();
  void Label2Click();
  void Button1Click();
  void Close();

  [[nodiscard]] const std::string& Label1Text() const { return label1_; }
  [[nodiscard]] const std::string& Label2Text() const { return label2_; }
  // The link's and the close button's rectangles in client coordinates.
  [[nodiscard]] RECT Label2Rect() const;
  [[nodiscard]] HWND Button1() const { return button1_.get(); }
  [[nodiscard]] bool LinkHot() const { return linkHot_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  void DrawCloseButton(const DRAWITEMSTRUCT& item);
  [[nodiscard]] int S(int designValue) const;
  // Icon, fonts and the close button at dpi_, and everything drawn again.
  void ApplyDpi();
  [[nodiscard]] RECT DesignRect(int left, int top, int right, int bottom) const;
  // Whether a press at `client` drags: everywhere but the middle panel (its title excepted)
  // and the close button.
  [[nodiscard]] bool DragsAt(POINT client) const;

  Options options_;
  int dpi_ = 96;
  std::string label1_;
  std::string label2_;
  UniqueFont titleFont_;
  UniqueFont linkFont_;
  UniqueIcon icon_;
  UniqueWindow button1_;
  NoticeCountdown countdown_;
  NoticeDrag drag_;
  bool linkHot_ = false;
  bool linkPressed_ = false;
};

}  // namespace lb
