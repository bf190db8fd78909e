#pragma once
// A fresh folder under the user's temporary folder for one test, removed with everything in it
// when the test ends. Paths are UTF-8, joined with backslashes.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/wide_text_win.h"

namespace lb::test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    const std::wstring stem = std::wstring(base, length) + L"lockbeacon-test-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(std::random_device{}()) + L"-";
    for (;;) {
      path_ = stem + std::to_wstring(counter++);
      if (CreateDirectoryW(path_.c_str(), nullptr)) break;
      if (GetLastError() != ERROR_ALREADY_EXISTS) break;  // the test's own checks will fail
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { Remove(path_); }

  std::string Path() const { return ToUtf8(path_); }
  std::string Path(const std::string& name) const { return Path() + "\\" + name; }

  // Writes a file directly, without the code under test.
  void Put(const std::string& name, const std::string& bytes) const {
    const HANDLE file = CreateFileW(ToWide(Path(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  // Reads a file directly, without the code under test.
  std::optional<std::string> Get(const std::string& name) const {
    const HANDLE file =
        CreateFileW(ToWide(Path(name)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
      bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
  }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") names.push_back(ToUtf8(name));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(path);
        } else {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring path_;
};

}  // namespace lb::test
