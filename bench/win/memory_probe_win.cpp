// The Windows side of tools/measure-memory.sh, one command per call:
//   memory_probe launch EXE             starts EXE in its own folder, waits until it shows a
//                                       window, prints "<pid> <milliseconds>" and leaves it running
//   memory_probe report PID DLL         loads the report DLL (memory_report_win.cpp) into the
//                                       running process PID and prints the report it wrote
//   memory_probe work PID PRESSES       a day's work in a minute for the running LockBeacon.exe
//                                       PID: PRESSES lock-key presses, then every window of the
//                                       program opened and closed, the tray menu included, and
//                                       the update notice closed if it shows
//   memory_probe trust-ca DER           trusts the stand-in server's test CA in this prefix
#include <windows.h>
// The certificate store needs the types of windows.h first.
#include <wincrypt.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "indicator/popup_menu.h"
#include "indicator/tray_icon_win.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->pid && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

HWND MainWindowOf(DWORD pid) {
  HWND found = nullptr;
  for (HWND window = FindWindowExW(nullptr, nullptr, L"LockBeaconIndicator", nullptr); window;
       window = FindWindowExW(nullptr, window, L"LockBeaconIndicator", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) found = window;
  }
  return found;
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    Sleep(2);
  }
  return true;
}

int Launch(const std::wstring& exe) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
  PROCESS_INFORMATION process{};
  const auto started = Clock::now();
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "memory_probe: %ls cannot be started (%lu)\n", exe.c_str(),
                 GetLastError());
    return 1;
  }
  const bool shown = WaitFor([&] { return !VisibleWindowsOf(process.dwProcessId).empty(); }, 60s);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!shown) {
    std::fprintf(stderr, "memory_probe: %ls showed no window\n", exe.c_str());
    return 1;
  }
  std::printf("%lu %.1f\n", process.dwProcessId, static_cast<double>(elapsed.count()) / 1000.0);
  return 0;
}

int Report(DWORD pid, const std::wstring& dll) {
  const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
  if (!process) {
    std::fprintf(stderr, "memory_probe: process %lu cannot be opened\n", pid);
    return 1;
  }
  wchar_t full[MAX_PATH] = L"";
  GetFullPathNameW(dll.c_str(), MAX_PATH, full, nullptr);
  const SIZE_T bytes = (wcslen(full) + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !WriteProcessMemory(process, remote, full, bytes, nullptr)) {
    std::fprintf(stderr, "memory_probe: no memory in process %lu\n", pid);
    return 1;
  }
  // kernel32 lies at the same address in every process of the session.
  const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  const HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
  if (!thread) {
    std::fprintf(stderr, "memory_probe: no thread in process %lu (%lu)\n", pid, GetLastError());
    return 1;
  }
  WaitForSingleObject(thread, 60000);
  CloseHandle(thread);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);

  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"memory-report-" + std::to_wstring(pid) + L".txt";
  std::ifstream report{std::filesystem::path(path)};
  if (!report) {
    std::fprintf(stderr, "memory_probe: process %lu wrote no report\n", pid);
    return 1;
  }
  std::cout << report.rdbuf();
  report.close();
  DeleteFileW(path.c_str());
  return 0;
}

void Key(WORD vk, bool down) {
  INPUT input{.type = INPUT_KEYBOARD};
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// Opens one window of the program by its menu command, waits until it shows, lets it run a
// moment and closes it as its close box would.
void OpenAndClose(HWND main, DWORD pid, lb::MenuCommand command, const char* name) {
  const std::vector<HWND> before = VisibleWindowsOf(pid);
  const std::set<HWND> known(before.begin(), before.end());
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(static_cast<int>(command), 0), 0);
  HWND opened = nullptr;
  const bool shown = WaitFor(
      [&] {
        for (HWND window : VisibleWindowsOf(pid)) {
          if (!known.contains(window)) opened = window;
        }
        return opened != nullptr;
      },
      15s);
  if (!shown) {
    std::fprintf(stderr, "memory_probe: the %s window did not open\n", name);
    return;
  }
  Sleep(500);  // painted, its timers run
  PostMessageW(opened, WM_CLOSE, 0, 0);
  if (!WaitFor([&] { return !IsWindow(opened) || !IsWindowVisible(opened); }, 15s)) {
    std::fprintf(stderr, "memory_probe: the %s window did not close\n", name);
  }
}

int Work(DWORD pid, int presses) {
  const HWND main = MainWindowOf(pid);
  if (!main) {
    std::fprintf(stderr, "memory_probe: process %lu has no main window\n", pid);
    return 1;
  }
  // The update notice of the check at the start, if it came.
  for (HWND window : VisibleWindowsOf(pid)) {
    if (ClassOf(window) == L"LockBeaconUpdateNotice") {
      PostMessageW(window, WM_CLOSE, 0, 0);
      WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 15s);
    }
  }
  // Each key twice in a row, so that every state ends where it began; held long enough for
  // the 10 ms poll.
  static const WORD kKeys[] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
  for (int i = 0; i < presses; ++i) {
    const WORD vk = kKeys[(i / 2) % 3];
    Key(vk, true);
    Sleep(60);
    Key(vk, false);
    Sleep(60);
  }
  Sleep(500);
  using lb::MenuCommand;
  OpenAndClose(main, pid, MenuCommand::Settings, "Settings");
  OpenAndClose(main, pid, MenuCommand::About, "About");
  OpenAndClose(main, pid, MenuCommand::Language, "language chooser");
  OpenAndClose(main, pid, MenuCommand::SendFeedback, "feedback");
  // The tray menu, as a right click on the icon opens it; WM_CANCELMODE ends its menu loop.
  PostMessageW(main, lb::TrayIcon::kCallbackMessage, 0, MAKELPARAM(WM_RBUTTONUP, 1));
  Sleep(500);
  PostMessageW(main, WM_CANCELMODE, 0, 0);
  Sleep(500);
  return 0;
}

int TrustCa(const std::wstring& derPath) {
  std::ifstream file{std::filesystem::path(derPath), std::ios::binary};
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string der = bytes.str();
  const HCERTSTORE store =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
  if (!store || der.empty()) return 1;
  const BOOL added = CertAddEncodedCertificateToStore(
      store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
      static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  CertCloseStore(store, 0);
  return added ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"launch" && argc == 3) return Launch(argv[2]);
  if (command == L"report" && argc == 4) return Report(std::wcstoul(argv[2], nullptr, 10), argv[3]);
  if (command == L"work" && argc == 4) {
    return Work(std::wcstoul(argv[2], nullptr, 10),
                static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  }
  if (command == L"trust-ca" && argc == 3) return TrustCa(argv[2]);
  std::fprintf(
      stderr,
      "usage: memory_probe launch EXE | report PID DLL | work PID PRESSES | trust-ca DER\n");
  return 2;
}
