#pragma once
// The shell through ShellExecuteW, and CreateProcessW for a program started without a window.
#include <windows.h>

#include "platform/shell.h"

namespace lb {

class Win32Shell final : public IShell {
 public:
  // `owner` gives the parent window of the programs started (the main window), null for none.
  explicit Win32Shell(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) noexcept { owner_ = owner; }

  void OpenAddress(const std::string& address) override;
  void StartProgram(const std::string& path) override;
  void StartProgramWith(const std::string& program, const std::string& parameters) override;
  void StartHidden(const std::string& program, const std::string& commandLine,
                   const std::string& workingFolder) override;

 private:
  HWND owner_;
};

}  // namespace lb
