#pragma once
// The start-up entry in the registry: the value "Lock Beacon" of
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, and the value of the same name
// under ...\Explorer\StartupApproved\Run, where the system keeps an entry switched off (12 bytes,
// the lowest bit of the first one set) without removing it.
#include <windows.h>

#include <string>

#include "platform/startup_entry.h"

namespace lb {

inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kStartupApprovedKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr const wchar_t* kStartupValueName = L"Lock Beacon";

class RegistryStartupEntry final : public IStartupEntry {
 public:
  // Both keys under HKEY_CURRENT_USER; tests name keys of their own.
  explicit RegistryStartupEntry(std::wstring runKey = kRunKey,
                                std::wstring approvedKey = kStartupApprovedKey,
                                std::wstring valueName = kStartupValueName)
      : runKey_(std::move(runKey)),
        approvedKey_(std::move(approvedKey)),
        valueName_(std::move(valueName)) {}

  [[nodiscard]] std::optional<std::string> Command() const override;
  [[nodiscard]] bool SwitchedOff() const override;
  void Write(const std::string& command) override;
  void Remove() override;

 private:
  std::wstring runKey_;
  std::wstring approvedKey_;
  std::wstring valueName_;
};

}  // namespace lb
