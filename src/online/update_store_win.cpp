#include "online/update_store_win.h"

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "platform/wide_text_win.h"

namespace lb {

RegistryUpdateStore::RegistryUpdateStore(const std::wstring& keyPath) {
  const std::wstring path = keyPath + L"\\Settings";
  const LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                        KEY_READ | KEY_WRITE, nullptr, key_.put(), nullptr);
  if (result != ERROR_SUCCESS) {
    throw AppError("Unable to open the registry key HKEY_CURRENT_USER\\" + ToUtf8(path) + ": " +
                   SystemErrorMessage(static_cast<DWORD>(result)));
  }
}

std::optional<std::string> RegistryUpdateStore::ReadString(std::string_view key) {
  const std::wstring name = ToWide(key);
  DWORD type = 0;
  DWORD size = 0;
  LONG result = ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (result != ERROR_SUCCESS) throw AppError("Unable to read " + std::string(key));
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw AppError("Invalid data type for '" + std::string(key) + "'");
  }
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  result = ::RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(value.data()), &size);
  if (result != ERROR_SUCCESS) throw AppError("Unable to read " + std::string(key));
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return ToUtf8(value);
}

void RegistryUpdateStore::WriteString(std::string_view key, std::string_view value) {
  const std::wstring name = ToWide(key);
  const std::wstring text = ToWide(value);
  const LONG result = ::RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (result != ERROR_SUCCESS) {
    throw AppError("Unable to write " + std::string(key) + ": " +
                   SystemErrorMessage(static_cast<DWORD>(result)));
  }
}

IUpdateStore& ProcessUpdateStore() {
  // Never destroyed: the check thread may still use it while the process ends.
  static RegistryUpdateStore* const store = new RegistryUpdateStore(kUpdateStoreKey);
  return *store;
}

}  // namespace lb
