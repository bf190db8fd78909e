#include "base/client_identity_win.h"

#include "base/client_identity.h"
#include "base/machine_identifier.h"
#include "base/sha256_win.h"
#include "platform/app_error.h"
#include "platform/wide_text_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

// The user-interface thread's locale when the program started: taken while the program's
// static values are made, on the main thread, before any other thread exists.
const LCID kStartupLocale = [] {
  const LCID locale = ::GetThreadLocale();
  return locale != 0 ? locale
                     : MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
}();

OsVersion ReadOsVersion() {
  OsVersion os;
  // RtlGetVersion reports the real version whatever the manifest declares (GetVersionExW stops
  // at the newest version the manifest names).
  RTL_OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion =
      ntdll == nullptr ? nullptr
                       : reinterpret_cast<RtlGetVersionFn>(
                             reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) {
    OSVERSIONINFOEXW fallback{};
    fallback.dwOSVersionInfoSize = sizeof fallback;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&fallback));
#pragma GCC diagnostic pop
    info.dwMajorVersion = fallback.dwMajorVersion;
    info.dwMinorVersion = fallback.dwMinorVersion;
    info.dwBuildNumber = fallback.dwBuildNumber;
    info.wServicePackMajor = fallback.wServicePackMajor;
    info.wProductType = fallback.wProductType;
  }
  os.major = static_cast<int>(info.dwMajorVersion);
  os.minor = static_cast<int>(info.dwMinorVersion);
  os.build = static_cast<int>(info.dwBuildNumber & 0xFFFF);
  os.servicePackMajor = info.wServicePackMajor;
  const bool server = info.wProductType != VER_NT_WORKSTATION;
  os.productName = WindowsProductName(os.major, os.minor, os.build, server,
                                      ::GetSystemMetrics(SM_SERVERR2) != 0);
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  os.native64Bit = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
  return os;
}

std::string LocaleInfo(LCID locale, LCTYPE type) {
  wchar_t buffer[16];
  const int length = ::GetLocaleInfoW(locale, type, buffer, 16);
  if (length <= 1) return {};
  return ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)));
}

// Gathered once, while the program's static values are made (before any other thread exists),
// and never destroyed: an update check still running while the program ends may read it.
const OsVersion& kStartupOsVersion = *new OsVersion(ReadOsVersion());

const OsVersion& CurrentOsVersion() { return kStartupOsVersion; }

}  // namespace

std::string OSDescription() { return FormatOSDescription(CurrentOsVersion()); }

int OsMajorVersion() { return CurrentOsVersion().major; }

std::string LocaleNameOf(LCID locale) {
  if (!::IsValidLocale(locale, LCID_INSTALLED)) return "xx";
  const std::string language = LocaleInfo(locale, LOCALE_SISO639LANGNAME);
  const std::string country = LocaleInfo(locale, LOCALE_SISO3166CTRYNAME);
  if (language.empty() || country.empty()) return "xx";
  return language + "-" + country;
}

std::string UserLocaleName() { return LocaleNameOf(kStartupLocale); }

std::string ReadMachineGuidAt(HKEY root, const wchar_t* subkey) {
  UniqueRegKey key;
  if (::RegOpenKeyExW(root, subkey, 0, KEY_READ | KEY_WOW64_64KEY, key.put()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD type = 0;
  DWORD size = 0;
  LONG result = ::RegQueryValueExW(key.get(), L"MachineGuid", nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return {};
  if (result != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw AppError("Invalid data type for 'MachineGuid'");
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  result = ::RegQueryValueExW(key.get(), L"MachineGuid", nullptr, &type,
                              reinterpret_cast<BYTE*>(value.data()), &size);
  if (result != ERROR_SUCCESS) return {};
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return ToUtf8(value);
}

std::string ReadMachineGuid() {
  return ReadMachineGuidAt(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography");
}

std::string MachineIdentifier(std::string_view productName) {
  return MachineIdentifierFrom(ReadMachineGuid(), productName, Sha256);
}

}  // namespace lb
