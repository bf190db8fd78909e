#pragma once
// Message dialogs as task dialogs. A standard message box cannot rename its buttons, so the
// dialog is a task dialog (common controls 6) with one custom button per button of the
// description: its identifier is the button's result code, its text the given caption. Esc and
// the close box answer with the Esc button's code. The open-file dialog is the system's own.
#include <windows.h>

#include "platform/message_dialogs.h"

namespace lb {

class TaskMessageDialogs final : public IMessageDialogs {
 public:
  // `owner`: the window the dialogs belong to (null for none).
  explicit TaskMessageDialogs(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) noexcept { owner_ = owner; }

  int ShowModal(const MessageDialog& dialog) override;
  // MessageBoxW with OK, owned by the same window.
  void ShowReport(const std::string& text, const std::string& caption, MessageType type) override;
  // GetOpenFileNameW, owned by the same window.
  [[nodiscard]] std::optional<std::string> ShowOpenFile(const OpenFileDialog& dialog) override;

 private:
  HWND owner_;
};

}  // namespace lb
