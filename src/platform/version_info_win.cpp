#include "platform/version_info_win.h"

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "platform/wide_text_win.h"

namespace lb {
namespace {

// The raw version block of `path`; empty when the file has none, with the system's error code
// in `error`.
std::vector<std::byte> LoadVersionBlock(const std::wstring& path, DWORD& error) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) {
    error = ::GetLastError();
    return {};
  }
  std::vector<std::byte> block(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
    error = ::GetLastError();
    return {};
  }
  return block;
}

[[noreturn]] void ThrowSystemError(DWORD error) {
  // Some failures (a translation table of length 0) leave no error code behind; "The operation
  // completed successfully" would be a false report.
  if (error == ERROR_SUCCESS) error = ERROR_RESOURCE_TYPE_NOT_FOUND;
  throw AppError(SystemErrorMessage(error));
}

}  // namespace

VersionBlock ReadVersionBlock(const std::string& path) {
  // The block lives in a vector, so it is freed when this function ends on every path.
  DWORD error = ERROR_SUCCESS;
  const std::vector<std::byte> block = LoadVersionBlock(ToWide(path), error);
  if (block.empty()) ThrowSystemError(error);

  // The first translation entry: language identifier, then code page.
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
      length < 2 * sizeof(WORD) || !value) {
    ThrowSystemError(::GetLastError());
  }
  const auto* translation = static_cast<const WORD*>(value);
  const std::string prefix = VersionStringPrefix(translation[0], translation[1]);

  VersionBlock data;
  for (const VersionField& field : kVersionFields) {
    const std::wstring query = ToWide(prefix + field.name);
    void* text = nullptr;
    UINT characters = 0;
    if (::VerQueryValueW(block.data(), query.c_str(), &text, &characters) && text) {
      // `characters` counts the terminating zero when there is one; the text ends at the first
      // zero either way.
      const std::wstring_view found(static_cast<const wchar_t*>(text), characters);
      data.*field.member = ToUtf8(found.substr(0, found.find(L'\0')));
    }
  }
  return data;
}

std::optional<std::uint32_t> ReadFileVersionMS(const std::string& path) {
  DWORD error = ERROR_SUCCESS;
  const std::vector<std::byte> block = LoadVersionBlock(ToWide(path), error);
  if (block.empty()) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return fixed->dwFileVersionMS;
}

}  // namespace lb
