#pragma once
// Functions that only newer Windows versions export (the per-monitor DPI functions of Windows
// 8.1 and 10, for example) are looked up at run time, so that the program still starts where
// they are missing (Windows 7, Wine) and can fall back to an older way.
#include <windows.h>

#include <string>

namespace lb {

// A system DLL by name ("user32.dll"), loaded from the system folder on first use and kept for
// the life of the process, so that function pointers taken from it never dangle. Null when the
// system has no such DLL.
inline HMODULE SystemModule(const wchar_t* name) noexcept {
  if (HMODULE loaded = ::GetModuleHandleW(name)) return loaded;
  return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The exported function `name` of the system DLL `module` as a pointer of type `Fn`, or null
// when the DLL or the function is missing.
template <typename Fn>
Fn SystemProc(const wchar_t* module, const char* name) noexcept {
  HMODULE handle = SystemModule(module);
  if (!handle) return nullptr;
  // GetProcAddress returns a generic function pointer; going through void(*)() keeps the
  // conversion to the real signature explicit (and free of -Wcast-function-type warnings).
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name)));
}

// The system folder (System32), where Windows' own programs and DLLs are, without a trailing
// backslash. Programs are started by their full path there, never by a bare name, which the
// current folder (for a portable copy, the exe's folder) could answer.
inline std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"C:\\Windows\\System32";
  return std::wstring(folder, length);
}

// The Windows folder (where notepad.exe is), without a trailing backslash.
inline std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"C:\\Windows";
  return std::wstring(folder, length);
}

}  // namespace lb
