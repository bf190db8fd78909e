#include "base/startup_platform_win.h"

#include <windows.h>
// The shell's folder functions need the types of windows.h first.
#include <shlobj.h>

#include <string>

#include "platform/app_error.h"
#include "platform/system_error_win.h"
#include "platform/version_info_win.h"
#include "platform/wide_text_win.h"
#include "ui/handles_win.h"

namespace lb {

std::string WinStartupPlatform::ExePath() const {
  // The path may be longer than MAX_PATH; a buffer that was filled to the brim may have cut it
  // (Windows XP does not even say so), so grow until the path fits with room to spare.
  constexpr DWORD kLongestPath = 32768;
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) throw AppError(SystemErrorMessage(::GetLastError()));
    if (length < buffer.size() || buffer.size() >= kLongestPath) {
      buffer.resize(length);
      return ToUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

VersionBlock WinStartupPlatform::ReadVersionBlock(const std::string& path) const {
  return lb::ReadVersionBlock(path);
}

std::optional<std::uint32_t> WinStartupPlatform::FileVersionMS(const std::string& path) const {
  return ReadFileVersionMS(path);
}

bool WinStartupPlatform::IsFolderWritable(const std::string& folder) const {
  std::string probe = folder;
  if (probe.empty() || probe.back() != '\\') probe += '\\';
  probe += "chk.tmp";
  // Created only if no such file exists, not shared, and gone as soon as the handle closes:
  // the probe never leaves a file behind and never touches one that was there.
  const UniqueFile file(
      ::CreateFileW(ToWide(probe).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.valid();
}

std::string WinStartupPlatform::AppDataFolder() const {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return {};
  }
  return ToUtf8(path);
}

bool WinStartupPlatform::CreateFolder(const std::string& path) {
  return ::CreateDirectoryW(ToWide(path).c_str(), nullptr) != FALSE;
}

}  // namespace lb
