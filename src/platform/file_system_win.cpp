#include "platform/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/wide_text_win.h"

namespace lb {
namespace {

// Owns a file handle; closed when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    const bool closed = handle_ == INVALID_HANDLE_VALUE || CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// A read-only file is not to be changed. Windows refuses to replace or open it for writing
// anyway; Wine, run by a user the file system lets write, would let both through.
bool IsReadOnly(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Writes the target in place (truncating it), as the profile functions do.
bool WriteNewContent(const std::wstring& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool written = WriteAll(file.Get(), bytes);
  return file.Close() && written;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path,
                                                     std::size_t maxBytes) const {
  FileHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size)) {
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return std::nullopt;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    // A file that grows while it is read is refused all the same.
    if (read > maxBytes - std::min(maxBytes, content.size())) return std::nullopt;
    content.append(buffer, read);
  }
  return content;
}

std::string Win32FileSystem::TemporaryPathFor(const std::string& path) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%lx.tmp",
                static_cast<unsigned long>(GetCurrentProcessId()));
  return path + suffix;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = ToWide(path);
  const std::wstring temporary = ToWide(TemporaryPathFor(path));
  if (IsReadOnly(target)) return false;

  FileHandle temporaryFile(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!temporaryFile) return WriteNewContent(target, bytes);

  // The data reaches the disk before the rename, so that a crash leaves the old file or the
  // new one, never an empty one.
  const bool written =
      WriteAll(temporaryFile.Get(), bytes) && FlushFileBuffers(temporaryFile.Get());
  if (!temporaryFile.Close() || !written) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  if (MoveFileExW(temporary.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return WriteNewContent(target, bytes);
}

bool Win32FileSystem::FileExists(const std::string& path) const {
  const std::wstring wide = ToWide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // A symbolic link: what counts is the file it leads to, which opening reaches (a broken link
  // leads nowhere).
  const HANDLE target = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (target == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool read = GetFileInformationByHandle(target, &information) != 0;
  CloseHandle(target);
  return read && !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CanWrite(const std::string& path) const {
  const std::wstring wide = ToWide(path);
  if (IsReadOnly(wide)) return false;
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileW(ToWide(path).c_str()) != 0;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryW(ToWide(path).c_str(), nullptr) != 0;
}

}  // namespace lb
