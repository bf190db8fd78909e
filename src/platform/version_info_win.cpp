#include "platform/version_info_win.h"

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"

namespace lb {
namespace {

// The three functions of version.dll, which is no KnownDLL: taken from System32 at the first
// use, so that a version.dll put beside the exe is never loaded.
struct VersionFunctions {
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  SizeFn size = SystemProc<SizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
  InfoFn info = SystemProc<InfoFn>(L"version.dll", "GetFileVersionInfoW");
  QueryFn query = SystemProc<QueryFn>(L"version.dll", "VerQueryValueW");
};

const VersionFunctions& Version() {
  static const VersionFunctions functions;
  return functions;
}

BOOL QueryValue(const std::vector<std::byte>& block, const wchar_t* name, void** value,
                UINT* length) {
  if (!Version().query) return FALSE;
  return Version().query(block.data(), name, value, length);
}

// The raw version block of `path`; empty when the file has none, with the system's error code
// in `error`.
std::vector<std::byte> LoadVersionBlock(const std::wstring& path, DWORD& error) {
  if (!Version().size || !Version().info) {
    error = ERROR_PROC_NOT_FOUND;
    return {};
  }
  DWORD ignored = 0;
  const DWORD size = Version().size(path.c_str(), &ignored);
  if (size == 0) {
    error = ::GetLastError();
    return {};
  }
  std::vector<std::byte> block(size);
  if (!Version().info(path.c_str(), 0, size, block.data())) {
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
  if (!QueryValue(block, L"\\VarFileInfo\\Translation", &value, &length) ||
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
    if (QueryValue(block, query.c_str(), &text, &characters) && text) {
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
  if (!QueryValue(block, L"\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return fixed->dwFileVersionMS;
}

}  // namespace lb
