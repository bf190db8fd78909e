// How long a Caps Lock press takes to show the indicator: presses Caps Lock through SendInput
// (down, held until the indicator is visible, then up), as a user would, a number of times, each
// from an idle program whose indicator has hidden again, and prints the median and the worst
// time from the key going down to the window being visible. A user types into some window: the
// probe shows one and makes it the foreground window (Wine hands raw input out only while there
// is a foreground window, which on a desktop there always is). Run beside LockBeacon.exe (with a
// short display duration and no fade) by tools/measure-idle-cpu.sh. An even number of presses
// leaves Caps Lock as it was.
//   key_latency_probe PRESSES
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void SendCapsLock(bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_CAPITAL;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Waits, looking every millisecond, until `visible` is what the window shows; false after
// `timeoutMs`.
bool WaitForVisible(HWND window, bool visible, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while ((IsWindowVisible(window) != FALSE) != visible) {
    if (GetTickCount64() > end) return false;
    Sleep(1);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  HWND window = nullptr;
  for (int i = 0; i < 300 && window == nullptr; ++i) {
    window = FindWindowW(L"LockBeaconIndicator", nullptr);
    if (window == nullptr) Sleep(100);
  }
  if (window == nullptr) {
    std::puts("latency: no indicator window");
    return 1;
  }
  HWND typedInto = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 300,
                                   120, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(typedInto);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  int missed = 0;
  for (int i = 0; i < presses; ++i) {
    if (!WaitForVisible(window, false, 15000)) {
      std::puts("latency: the indicator does not hide");
      return 1;
    }
    Sleep(300);  // idle again: with key events the poll has stopped by now
    LARGE_INTEGER down;
    LARGE_INTEGER shown;
    QueryPerformanceCounter(&down);
    SendCapsLock(true);
    const bool appeared = WaitForVisible(window, true, 2000);
    QueryPerformanceCounter(&shown);
    SendCapsLock(false);
    if (appeared) {
      times.push_back(Milliseconds(down, shown, frequency));
    } else {
      ++missed;
    }
  }
  if (times.empty()) {
    std::printf("latency: none of %d presses showed the indicator\n", presses);
    return 1;
  }
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  std::printf("median %6.1f ms   worst %6.1f ms   (%zu presses", median, times.back(), n);
  if (missed) std::printf(", %d not shown within 2 s", missed);
  std::puts(")");
  return 0;
}
