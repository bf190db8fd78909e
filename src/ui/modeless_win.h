#pragma once
// Modeless dialog windows: the message loop gives each of them the dialog keys (Tab, Esc, Enter,
// arrows between controls) through IsDialogMessageW.
#include <windows.h>

namespace lb {

void RegisterModelessDialog(HWND dialog);
void UnregisterModelessDialog(HWND dialog) noexcept;
// True when the message was a dialog key of one of the registered windows and has been handled.
[[nodiscard]] bool IsModelessDialogMessage(MSG& message) noexcept;

}  // namespace lb
