// A portable copy runs from wherever it was unpacked, often a Downloads folder, where a web page
// can drop files of any name. Windows looks for a DLL that is not a KnownDLL in the exe's folder
// first; Wine prefers its own DLLs unless told otherwise (WINEDLLOVERRIDES "name=n,b" switches a
// name to Windows' order). With DLLs of the system's names beside the exe and Windows' order for
// them, the program starts, runs its update check and plays a sound, and loads none of them: it
// takes each from System32. (Wine's own user32 loads version.dll and zlib1.dll itself, so those
// two names cannot be tried here; the PE audit covers them.)
#include <windows.h>
// The module list of another process needs the types of windows.h first.
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/harness_win.h"
#include "online/update_store_win.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"
#include "win32/host_paths.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;

const char* const kPlanted[] = {"winhttp.dll", "winmm.dll", "wtsapi32.dll"};

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

// The full paths of the modules that process `pid` has loaded, in lower case.
std::vector<std::wstring> LoadedModules(DWORD pid) {
  std::vector<std::wstring> paths;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return paths;
  HMODULE modules[512];
  DWORD needed = 0;
  if (EnumProcessModules(process, modules, sizeof modules, &needed)) {
    const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), 512);
    for (DWORD i = 0; i < count; ++i) {
      wchar_t path[MAX_PATH] = L"";
      if (GetModuleFileNameExW(process, modules[i], path, MAX_PATH)) {
        paths.push_back(Lower(path));
      }
    }
  }
  CloseHandle(process);
  return paths;
}

bool HasModule(const std::vector<std::wstring>& modules, const std::wstring& name) {
  return std::any_of(modules.begin(), modules.end(), [&](const std::wstring& path) {
    return path.size() >= name.size() + 1 && path.ends_with(L"\\" + name);
  });
}

// Sets an environment variable for the programs this test starts, and puts it back at the end.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[4096] = L"";
    const DWORD length = GetEnvironmentVariableW(name, old, 4096);
    had_ = length > 0 && length < 4096;
    if (had_) old_ = old;
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const wchar_t* name_;
  bool had_ = false;
  std::wstring old_;
};

TEST(DllPlanting, DllsOfSystemNamesBesideTheExeAreNeverLoaded) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kUpdateStoreKey);
  const test::StandinServer server({"--offer", "9.9"});
  const ScopedEnvironment host(L"LOCKBEACON_SERVER_HOST", ToWide(server.Host()));
  TempFolder folder("dll-planting");
  const fs::path exe = InstallApp(folder.Path(), true);
  for (const char* name : kPlanted) {
    fs::copy_file(test::FixturePath(std::string("planted\\") + name), folder / name);
  }
  wchar_t overrides[4096] = L"";
  GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 4096);
  const std::wstring windowsOrder = L"winhttp,winmm,wtsapi32=n,b";
  const ScopedEnvironment order(
      L"WINEDLLOVERRIDES",
      overrides[0] ? std::wstring(overrides) + L";" + windowsOrder : windowsOrder);

  AppProcess app(exe);
  ASSERT_NE(app.WaitForMainWindow(), nullptr) << "the program did not start";
  // The update check went out (through winhttp) and came back with its offer.
  ASSERT_TRUE(WaitFor([&] { return !server.LogWith({"[\"cmd\", \"check\"]"}).empty(); }, 20s));
  // A lock-key change plays its sound (through winmm), whether or not a sound device is there.
  HoldKey(VK_CAPITAL);
  HoldKey(VK_CAPITAL);

  std::vector<std::wstring> modules;
  ASSERT_TRUE(WaitFor(
      [&] {
        modules = LoadedModules(app.Pid());
        return HasModule(modules, L"winhttp.dll") && HasModule(modules, L"winmm.dll") &&
               HasModule(modules, L"wtsapi32.dll");
      },
      10s))
      << "winhttp, winmm and wtsapi32 were not all loaded, so the test proves nothing";
  for (const char* name : kPlanted) {
    EXPECT_FALSE(fs::exists(folder / (std::string(name) + ".loaded")))
        << name << " beside the exe was loaded";
  }
  const std::wstring own = Lower(folder.Path().wstring());
  for (const std::wstring& path : modules) {
    EXPECT_FALSE(path.starts_with(own + L"\\") && !path.ends_with(L"\\lockbeacon.exe"))
        << ToUtf8(path) << " was loaded from the exe's folder";
  }
  EXPECT_TRUE(app.IsRunning());
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kUpdateStoreKey);
}

}  // namespace
}  // namespace lb::e2e
