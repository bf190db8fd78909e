#include "platform/file_system_win.h"

#include <windows.h>
// RtlGenRandom needs the types of windows.h first.
#include <ntsecapi.h>

#include <algorithm>
#include <climits>
#include <cstdint>
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

// 64 bits from the system's random number generator (RtlGenRandom of advapi32, which the
// program imports anyway; BCryptGenRandom would load bcrypt, and under Wine its TLS libraries,
// at the first settings write of every start). Where it fails, a mix of the clock, the process
// and a counter: the name is then only hard to guess, and CREATE_NEW still refuses any name that
// already exists.
std::uint64_t SystemRandom() {
  std::uint64_t value = 0;
  if (RtlGenRandom(&value, sizeof value)) return value;
  static std::uint64_t counter = 0;
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  value = static_cast<std::uint64_t>(now.QuadPart) ^
          (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^ GetTickCount64() ^
          (++counter * 0x9E3779B97F4A7C15ull);
  // splitmix64's finaliser spreads every input bit over the whole value.
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
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

Win32FileSystem::Win32FileSystem() noexcept : random_(&SystemRandom) {}

void Win32FileSystem::SleepFor(unsigned milliseconds) noexcept { Sleep(milliseconds); }

std::string Win32FileSystem::TemporaryPathFor(const std::string& path, std::uint64_t random) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random));
  return path + suffix;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = ToWide(path);
  if (IsReadOnly(target)) return false;

  // A new file of an unpredictable name, created only if no entry of that name exists (a link
  // put there is not followed: FILE_FLAG_OPEN_REPARSE_POINT makes the name itself count). A
  // name taken already is tried again with another; any other refusal ends the write.
  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && created == INVALID_HANDLE_VALUE;
       ++attempt) {
    temporary = ToWide(TemporaryPathFor(path, random_()));
    created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
          error != ERROR_ACCESS_DENIED) {
        return false;
      }
    }
  }
  FileHandle temporaryFile(created);
  if (!temporaryFile) return false;

  // The data reaches the disk before the rename, so that a crash leaves the old file or the
  // new one, never an empty one.
  const bool written =
      WriteAll(temporaryFile.Get(), bytes) && FlushFileBuffers(temporaryFile.Get());
  if (!temporaryFile.Close() || !written) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  // The rename replaces the target's own entry: a link standing there is replaced, never
  // written through.
  // A target held open without delete sharing refuses the rename (a sharing violation, or
  // access denied on Windows): such a hold is usually brief, so the rename is tried again.
  unsigned pause = 10;
  for (int attempt = 1;; ++attempt, pause *= 2) {
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                      error == ERROR_ACCESS_DENIED;
    if (!held || attempt == kReplaceAttempts) break;
    pause_(pause);
  }
  DeleteFileW(temporary.c_str());
  return false;
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

bool Win32FileSystem::IsLocalDrive(char letter) const {
  const wchar_t root[] = {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', L'\\',
                          L'\0'};
  // The kind comes from the drive letter's definition; a mapped drive is not contacted.
  switch (GetDriveTypeW(root)) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
      return true;
    default:  // DRIVE_REMOTE, DRIVE_UNKNOWN, DRIVE_NO_ROOT_DIR
      return false;
  }
}

std::optional<std::uint32_t> Win32FileSystem::ReparseTag(const std::string& path) const {
  // FindFirstFileW reads the entry from its folder's listing, with the tag in dwReserved0,
  // without opening the entry. The caller's path has no wildcard characters.
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(ToWide(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return std::nullopt;
  return static_cast<std::uint32_t>(found.dwReserved0);
}

}  // namespace lb
