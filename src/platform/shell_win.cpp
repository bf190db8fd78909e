#include "platform/shell_win.h"

#include <shellapi.h>

#include "platform/wide_text_win.h"

namespace lb {

void Win32Shell::OpenAddress(const std::string& address) {
  const std::wstring wide = ToWide(address);
  // The result is not looked at: a page that cannot be opened is not reported.
  static_cast<void>(
      ::ShellExecuteW(::GetDesktopWindow(), L"open", wide.c_str(), nullptr, nullptr, SW_HIDE));
}

void Win32Shell::StartProgram(const std::string& path) {
  const std::wstring wide = ToWide(path);
  static_cast<void>(
      ::ShellExecuteW(owner_, nullptr, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace lb
