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

void Win32Shell::StartProgramWith(const std::string& program, const std::string& parameters) {
  const std::wstring wide = ToWide(program);
  const std::wstring wideParameters = ToWide(parameters);
  static_cast<void>(::ShellExecuteW(owner_, nullptr, wide.c_str(), wideParameters.c_str(), nullptr,
                                    SW_SHOWNORMAL));
}

void Win32Shell::StartHidden(const std::string& program, const std::string& commandLine,
                             const std::string& workingFolder) {
  const std::wstring path = ToWide(program);
  std::wstring line = ToWide(commandLine);
  const std::wstring folder = ToWide(workingFolder);
  STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                       nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

}  // namespace lb
