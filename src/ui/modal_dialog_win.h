#pragma once
// A dialog of the program that runs modally over its owner (About box, feedback dialog,
// language chooser): shown, run in a loop of its own until it closes, closed with its owner
// enabled again. It has the DPI handling of DpiWindow.
#include <windows.h>

#include "ui/common_controls_win.h"
#include "ui/dpi_window_win.h"
#include "ui/modal_loop_win.h"

namespace lb {

class ModalDialog : public DpiWindow {
 public:
  // Shows the dialog and runs its own message loop until it closes; the owner is disabled
  // meanwhile. A WM_QUIT that arrives meanwhile ends the loop and is posted again.
  void ShowModal();
  // Shows the dialog without a loop of its own (the caller pumps messages) and puts the focus
  // on its first control.
  void Show();
  // Closes the dialog: the owner is enabled again and the window destroyed.
  virtual void Close();

 protected:
  explicit ModalDialog(HWND owner) noexcept : owner_(owner) { RegisterCommonControls(); }

  // The control that has the focus when the dialog is shown.
  [[nodiscard]] virtual HWND FirstFocus() const = 0;
  // A key message before the control gets it; true when the dialog used it.
  virtual bool PreTranslate(const MSG& /*message*/) { return false; }
  // What the dialog ends before its owner is enabled again and its window goes.
  virtual void OnClosing() noexcept {}

 private:
  ModalOwner owner_;
};

}  // namespace lb
