#include "ui/modal_dialog_win.h"

namespace lb {

void ModalDialog::Show() {
  ::ShowWindow(Hwnd(), SW_SHOW);
  ::SetFocus(FirstFocus());
}

void ModalDialog::ShowModal() {
  owner_.Disable();
  Show();
  RunModalLoop(
      *this, [this] { Close(); }, [this](const MSG& message) { return PreTranslate(message); });
  Close();
}

void ModalDialog::Close() {
  OnClosing();
  owner_.Release();
  Destroy();
}

}  // namespace lb
