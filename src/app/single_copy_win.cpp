#include "app/single_copy_win.h"

#include <exception>
#include <string>

#include "base/sha256_win.h"
#include "platform/wide_text_win.h"

namespace lb {
namespace {

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return path;
  full.resize(written);
  return full;
}

// "C:\PROGRA~1\..." as "C:\Program Files\...": the same folder under its 8.3 name must give the
// same name. Only for a folder that exists; otherwise the path as it is.
std::wstring LongPath(const std::wstring& path) {
  const DWORD size = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring longPath(size, L'\0');
  const DWORD written = ::GetLongPathNameW(path.c_str(), longPath.data(), size);
  if (written == 0 || written >= size) return path;
  longPath.resize(written);
  return longPath;
}

// Folder names compare without case on Windows: one spelling, upper case by the invariant
// culture's simple mapping (the file system's own comparison is close to it).
std::wstring UpperCase(const std::wstring& text) {
  if (text.empty()) return text;
  std::wstring upper(text.size(), L'\0');
  const int written = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(),
                                      static_cast<int>(text.size()), upper.data(),
                                      static_cast<int>(upper.size()), nullptr, nullptr, 0);
  if (written <= 0) {
    upper = text;
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
  }
  upper.resize(static_cast<std::size_t>(written));
  return upper;
}

}  // namespace

UINT SettingsFolderClaim::ShowRequestMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"LockBeaconShowIndicator");
  return message;
}

std::optional<SettingsFolderClaim::FolderNames> SettingsFolderClaim::NamesOf(
    const std::string& settingsFolder) {
  if (settingsFolder.empty()) return std::nullopt;
  const std::string key = FolderKey(ToUtf8(UpperCase(LongPath(FullPath(ToWide(settingsFolder))))));
  try {
    const Sha256Digest digest = Sha256(key);
    return FolderNames{.mutexName = ToWide(FolderMutexName(digest)),
                       .windowKey = FolderWindowKey(digest)};
  } catch (const std::exception&) {
    // No digest, no name: the program runs as before.
    return std::nullopt;
  }
}

SettingsFolderClaim::SettingsFolderClaim(const std::string& settingsFolder) {
  // The note of a restart, taken once and removed at once.
  const std::wstring variable = ToWide(kRestartOfVariable);
  wchar_t value[16]{};
  const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), value, 16);
  if (length > 0 && length < 16) {
    if (const auto pid = ParseRestartOf(ToUtf8(value)); pid && *pid != ::GetCurrentProcessId()) {
      predecessor_ = ::OpenProcess(SYNCHRONIZE, FALSE, *pid);
    }
  }
  if (length > 0) static_cast<void>(::SetEnvironmentVariableW(variable.c_str(), nullptr));

  if (const auto names = NamesOf(settingsFolder)) {
    windowKey_ = names->windowKey;
    // Not owned at creation: ownership is taken by the wait, which also tells a name whose
    // owner ended without letting go (abandoned) from one that a running copy holds.
    mutex_ = ::CreateMutexW(nullptr, FALSE, names->mutexName.c_str());
  }
}

SettingsFolderClaim::~SettingsFolderClaim() {
  if (owned_) static_cast<void>(::ReleaseMutex(mutex_));
  if (mutex_) ::CloseHandle(mutex_);
  if (predecessor_) ::CloseHandle(predecessor_);
}

StartOutcome SettingsFolderClaim::Check() { return CheckSingleCopy(*this); }

FolderName SettingsFolderClaim::TryTakeName(int waitMs) {
  if (!mutex_) return FolderName::Unavailable;
  if (owned_) return FolderName::Taken;
  switch (::WaitForSingleObject(mutex_, static_cast<DWORD>(waitMs))) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      // Abandoned: the copy that owned it ended without letting go (it crashed, or was
      // killed) while another process still had the name open. Ours now all the same.
      owned_ = true;
      return FolderName::Taken;
    case WAIT_TIMEOUT:
      return FolderName::Held;
    default:
      return FolderName::Unavailable;
  }
}

RunningCopyAnswer SettingsFolderClaim::AskRunningCopyToShow() {
  // Every application window of every copy, and among them the one that carries this folder's
  // key: copies with settings of their own run beside it. GetPropW does not wait for the
  // window's thread, so a hung copy of another folder delays nothing.
  for (HWND window = ::FindWindowExW(nullptr, nullptr, kApplicationWindowClass, nullptr); window;
       window = ::FindWindowExW(nullptr, window, kApplicationWindowClass, nullptr)) {
    if (reinterpret_cast<std::uintptr_t>(::GetPropW(window, kFolderProperty)) !=
        static_cast<std::uintptr_t>(windowKey_)) {
      continue;
    }
    DWORD_PTR answer = 0;
    const LRESULT sent =
        ::SendMessageTimeoutW(window, ShowRequestMessage(), static_cast<WPARAM>(windowKey_), 0,
                              SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &answer);
    return sent != 0 && static_cast<LRESULT>(answer) == kShownAnswer ? RunningCopyAnswer::Shown
                                                                     : RunningCopyAnswer::Silent;
  }
  return RunningCopyAnswer::NoWindow;
}

bool SettingsFolderClaim::PredecessorRunning() const {
  return predecessor_ && ::WaitForSingleObject(predecessor_, 0) == WAIT_TIMEOUT;
}

std::int64_t SettingsFolderClaim::NowMs() const {
  return static_cast<std::int64_t>(::GetTickCount64());
}

void SettingsFolderClaim::ServeFrom(HWND applicationWindow) {
  if (!mutex_ || !owned_ || !applicationWindow) return;
  servingWindow_ = applicationWindow;
  static_cast<void>(::SetPropW(applicationWindow, kFolderProperty,
                               reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(windowKey_))));
  // User Interface Privilege Isolation drops messages from a process of lower integrity; this
  // one is harmless (it only shows the indicator), so let it through to this window.
  static_cast<void>(::ChangeWindowMessageFilterEx(applicationWindow, ShowRequestMessage(),
                                                  MSGFLT_ALLOW, nullptr));
}

bool SettingsFolderClaim::IsShowRequest(UINT message, WPARAM wParam) const noexcept {
  return servingWindow_ && message == ShowRequestMessage() &&
         wParam == static_cast<WPARAM>(windowKey_);
}

void SettingsFolderClaim::HandOver() {
  if (servingWindow_) {
    static_cast<void>(::RemovePropW(servingWindow_, kFolderProperty));
    servingWindow_ = nullptr;
  }
  if (owned_) {
    static_cast<void>(::ReleaseMutex(mutex_));
    owned_ = false;
  }
  if (mutex_) {
    ::CloseHandle(mutex_);
    mutex_ = nullptr;
  }
  const std::wstring variable = ToWide(kRestartOfVariable);
  static_cast<void>(::SetEnvironmentVariableW(variable.c_str(),
                                              std::to_wstring(::GetCurrentProcessId()).c_str()));
}

}  // namespace lb
