#include "i18n/language_platform_win.h"

#include <windows.h>

#include <memory>
#include <string>

#include "platform/wide_text_win.h"

namespace lb {

namespace {

struct FindCloser {
  void operator()(HANDLE find) const { ::FindClose(find); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer may mean a cut path: try again with a larger one.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string Win32LanguagePlatform::ExeFolder() const {
  const std::wstring path = ModulePath();
  const auto delimiter = path.find_last_of(L"\\/");
  if (delimiter == std::wstring::npos) return {};
  return ToUtf8(path.substr(0, delimiter + 1));
}

bool Win32LanguagePlatform::FolderExists(const std::string& path) const {
  const std::wstring widePath = ToWide(path);
  const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  // A symbolic link or junction: ask about what it points to. Opening a folder needs
  // FILE_FLAG_BACKUP_SEMANTICS; no access rights are needed for its attributes.
  const HANDLE opened =
      ::CreateFileW(widePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  const UniqueHandle target(opened);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(target.get(), &information)) return false;
  return (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<FolderEntry> Win32LanguagePlatform::ListFolder(const std::string& folder,
                                                           const std::string& pattern) const {
  std::vector<FolderEntry> entries;
  std::wstring query = ToWide(folder);
  if (!query.empty() && query.back() != L'\\' && query.back() != L'/') query += L'\\';
  query += ToWide(pattern);

  WIN32_FIND_DATAW data{};
  // FindFirstFileExW lists hidden and system entries as well; the basic information level
  // skips the short names that the program never uses.
  const HANDLE first =
      ::FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (first == INVALID_HANDLE_VALUE) return entries;
  const UniqueFind find(first);
  do {
    entries.push_back(
        {ToUtf8(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(find.get(), &data));
  return entries;
}

std::uint16_t Win32LanguagePlatform::UserDefaultUILanguage() const {
  return ::GetUserDefaultUILanguage();
}

}  // namespace lb
