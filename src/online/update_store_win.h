#pragma once
// The update check's own store: text values in the registry under HKEY_CURRENT_USER, apart from
// settings.ini, so that "Reset to Defaults" leaves it alone.
#include <windows.h>

#include <string>

#include "online/update_check.h"
#include "ui/handles_win.h"

namespace lb {

// Where the program keeps it: HKCU\Software\BRIMLEX\Lock Beacon\Settings.
inline constexpr const wchar_t* kUpdateStoreKey = L"Software\\BRIMLEX\\Lock Beacon";

class RegistryUpdateStore final : public IUpdateStore {
 public:
  // Opens HKCU\<keyPath>\Settings, creating it when missing; the key stays open for the life of
  // the object. Throws AppError when it can be neither opened nor created.
  explicit RegistryUpdateStore(const std::wstring& keyPath);

  std::optional<std::string> ReadString(std::string_view key) override;
  void WriteString(std::string_view key, std::string_view value) override;

 private:
  UniqueRegKey key_;
};

// The store of this process: opened at the first call (by the check thread) and never closed.
// Throws when it cannot be opened; the next call tries again.
IUpdateStore& ProcessUpdateStore();

}  // namespace lb
