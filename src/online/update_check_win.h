#pragma once
// The update check in the program: the check thread on the real platform, the timer that starts
// it and hands its result to the user interface, and the menu's switch of the notifications.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "online/update_check.h"
#include "online/update_notice_window_win.h"
#include "platform/timer.h"
#include "platform/timer_host_win.h"
#include "ui/window_base_win.h"

namespace lb {

// The check's platform: WinHTTP, the registry and the system's identity values.
class Win32CheckPlatform : public ICheckPlatform {
 public:
  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override;
  std::string MachineIdentifier() override;
  IUpdateStore& OpenUpdateStore() override;
  std::string OSDescription() override;
  std::string UserLocaleName() override;
  std::string TodayShortDate() override;
};

// The current date in the user's short date format ("14.03.2025", "3/14/2025").
std::string TodayShortDate();

// UpdateCheck as a thread: created running, it runs Execute on the real platform with `inputs`
// into CheckResults() and frees itself when done. Throws AppError when no thread can be made.
// With the check switched off (UpdateCheckSwitchedOff), which sends no request, it runs at once
// on the calling thread instead.
void StartUpdateCheckThread(CheckInputs inputs);

// The menu's "Update Notifications": ShowUpdate = 0 / 1 in this process's update store. A store
// that cannot be opened or written is ignored.
void ShowUpdateOff();
void ShowUpdateOn();

// Hosts updateCheckTimer (a hidden message-only window, so that the check runs whatever state the
// main window is in) and the notice it opens. Create it once, right after the main window.
class UpdateCheckWindow final : public WindowBase, public IUpdateCheckHost {
 public:
  struct Options {
    HWND owner = nullptr;       // the application's window, owner of the notice
    HWND mainWindow = nullptr;  // gets the focus back from the notice
    // Called once the check has finished: enable "Update Notifications", ticked or not.
    std::function<void(bool ticked)> enableUpdateNotifications;
    // Asked before the notice opens; false: it waits for ShowWaitingNotice (a full-screen
    // program is in front). None: it opens at once.
    std::function<bool()> noticeMayShow;
  };

  UpdateCheckWindow(HINSTANCE instance, Options options);
  ~UpdateCheckWindow() override;

  [[nodiscard]] UpdateNoticeWindow* Notice() const { return notice_.get(); }
  // Opens the notice that waited, if one did (and may show now).
  void ShowWaitingNotice();

  // IUpdateCheckHost
  void StartUpdateCheck() override;
  void EnableUpdateNotifications(bool ticked) override;
  void ShowNewVersionNotice() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  HINSTANCE instance_;
  Options options_;
  WindowTimerHost timers_;  // the window's timers; outlives timer_
  std::optional<UpdateCheckTimer> timer_;
  std::unique_ptr<UpdateNoticeWindow> notice_;
  bool noticeWaiting_ = false;
};

}  // namespace lb
