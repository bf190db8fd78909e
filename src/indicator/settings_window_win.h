#pragma once
// The Settings dialog's window: a modeless dialog that shows a SettingsDialog and hands it the
// user's input. Every "Settings..." command opens a new one; each one deletes itself when it
// closes ("Save", "Cancel", Esc or the close box).
#include <windows.h>

#include <memory>

#include "indicator/settings_dialog.h"
#include "ui/dpi_window_win.h"
#include "ui/handles_win.h"

namespace lb {

class SettingsWindow final : public DpiWindow {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconSettings";
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

  // Control identifiers.
  enum : int {
    kSave = 1001,
    kCancel = IDCANCEL,  // Esc presses it
    kDuration = 1003,
    kSpin = 1004,
    kAlwaysOnTop = 1005,
    kFadeOut = 1006,
    kMinimalMode = 1007,
    kScreenSnap = 1008,
    kDurationLabel = 1009,
    kMillisecondsLabel = 1010,
    kGreySeparator = 1011,
    kWhiteSeparator = 1012,
    kShowOnActiveMonitor = 1013,
    kHideInFullScreen = 1014,
    kStartWithWindows = 1020,
  };

  // Creates the window for `dialog` (its Populate has run), owned by `owner`, centred on the
  // screen, and shows it. The window deletes itself when it is destroyed. Throws AppError when
  // it cannot be created.
  static SettingsWindow* Open(HINSTANCE instance, HWND owner,
                              std::unique_ptr<SettingsDialog> dialog);

  [[nodiscard]] SettingsDialog& Dialog() noexcept { return *dialog_; }

 private:
  explicit SettingsWindow(std::unique_ptr<SettingsDialog> dialog);
  ~SettingsWindow() override;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage() noexcept override;

  void CreateControls(HINSTANCE instance);
  void LayOut(int dpi) override;
  void Command(int id, int code);
  void Save();
  void Close();
  void ShowDuration();
  [[nodiscard]] HWND Item(int id) const noexcept { return ::GetDlgItem(Hwnd(), id); }

  static LRESULT CALLBACK DurationProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self) noexcept;

  std::unique_ptr<SettingsDialog> dialog_;
  UniqueFont font_;                    // Tahoma 8 pt
  UniqueFont buttonFont_;              // Tahoma 10 pt
  bool saving_ = false;                // inside Save
  bool destroyedWhileSaving_ = false;  // the window went while Save ran
};

}  // namespace lb
