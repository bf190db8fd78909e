#include "base/startup_entry_win.h"

#include <algorithm>
#include <vector>

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "platform/wide_text_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

UniqueRegKey OpenKey(const std::wstring& path, REGSAM access) {
  UniqueRegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
    key.reset();
  }
  return key;
}

// A value's bytes, or nothing when the key or the value is not there.
std::optional<std::vector<BYTE>> ReadValue(const std::wstring& keyPath, const std::wstring& name,
                                           DWORD& type) {
  const UniqueRegKey key = OpenKey(keyPath, KEY_QUERY_VALUE);
  if (!key) return std::nullopt;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<BYTE> data(size);
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return data;
}

[[noreturn]] void Fail(const std::wstring& keyPath, LONG result) {
  throw AppError("Unable to write to the registry key HKEY_CURRENT_USER\\" + ToUtf8(keyPath) +
                 ": " + SystemErrorMessage(static_cast<DWORD>(result)));
}

// Deletes one value; a key or value that is not there is no failure.
void DeleteValue(const std::wstring& keyPath, const std::wstring& name) {
  UniqueRegKey key;
  LONG result = ::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, key.put());
  if (result == ERROR_FILE_NOT_FOUND) return;
  if (result == ERROR_SUCCESS) result = ::RegDeleteValueW(key.get(), name.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) Fail(keyPath, result);
}

}  // namespace

std::optional<std::string> RegistryStartupEntry::Command() const {
  DWORD type = 0;
  const auto data = ReadValue(runKey_, valueName_, type);
  if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring text(data->size() / sizeof(wchar_t), L'\0');
  std::copy_n(data->data(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return ToUtf8(text);
}

bool RegistryStartupEntry::SwitchedOff() const {
  DWORD type = 0;
  const auto data = ReadValue(approvedKey_, valueName_, type);
  // 02 (or 06) in the first byte: on; 03 (or 07): switched off, with the time it was.
  return data && !data->empty() && ((*data)[0] & 1) != 0;
}

void RegistryStartupEntry::Write(const std::string& command) {
  UniqueRegKey key;
  LONG result = ::RegCreateKeyExW(HKEY_CURRENT_USER, runKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, key.put(), nullptr);
  if (result != ERROR_SUCCESS) Fail(runKey_, result);
  const std::wstring text = ToWide(command);
  result = ::RegSetValueExW(key.get(), valueName_.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (result != ERROR_SUCCESS) Fail(runKey_, result);
  // Without a switch the system runs the entry.
  DeleteValue(approvedKey_, valueName_);
}

void RegistryStartupEntry::Remove() {
  DeleteValue(runKey_, valueName_);
  DeleteValue(approvedKey_, valueName_);
}

}  // namespace lb
