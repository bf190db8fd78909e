#include "ui/common_controls_win.h"

#include <windows.h>

// The common controls need the types of windows.h first.
#include <commctrl.h>

namespace lb {

void RegisterCommonControls() noexcept {
  static const bool registered = [] {
    const INITCOMMONCONTROLSEX controls{.dwSize = sizeof(INITCOMMONCONTROLSEX),
                                        .dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    return ::InitCommonControlsEx(&controls) != FALSE;
  }();
  static_cast<void>(registered);
}

}  // namespace lb
