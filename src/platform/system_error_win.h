#pragma once
#include <windows.h>

#include <string>

namespace lb {

// The system's text for a Win32 error code ("Access is denied."), without the line break
// FormatMessageW ends it with; "System error <code>" when the system has no text for it.
[[nodiscard]] std::string SystemErrorMessage(DWORD error);

}  // namespace lb
