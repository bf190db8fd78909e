#include "ui/modeless_win.h"

#include <algorithm>
#include <vector>

namespace lb {
namespace {

// User-interface thread only.
std::vector<HWND>& Dialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
}

}  // namespace

void RegisterModelessDialog(HWND dialog) { Dialogs().push_back(dialog); }

void UnregisterModelessDialog(HWND dialog) noexcept { std::erase(Dialogs(), dialog); }

bool IsModelessDialogMessage(MSG& message) noexcept {
  for (HWND dialog : Dialogs()) {
    if (message.hwnd == dialog || ::IsChild(dialog, message.hwnd)) {
      return ::IsDialogMessageW(dialog, &message) != FALSE;
    }
  }
  return false;
}

}  // namespace lb
