// A stand-in for the lock-key poll, for measuring what polling costs under a real message loop:
// a 10 ms timer that reads the keyboard either with 248 GetKeyState calls (codes 8 to 255, the
// literal poll) or with one GetKeyboardState call (what LockBeacon.exe does), for a number of
// seconds. tools/measure-idle-cpu.sh runs it beside the real program and compares their CPU time.
//   idle_poll_probe literal|state SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

bool literalPoll = true;
volatile unsigned sink = 0;  // keeps the reads from being optimised away

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (literalPoll) {
    for (int code = 8; code <= 255; ++code) {
      if (GetKeyState(code) < 0) sink = sink + static_cast<unsigned>(code);
    }
  } else {
    BYTE states[256];
    if (GetKeyboardState(states)) {
      for (int code = 8; code <= 255; ++code) {
        if (states[code] & 0x80) sink = sink + static_cast<unsigned>(code);
      }
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || (std::wcscmp(argv[1], L"literal") != 0 && std::wcscmp(argv[1], L"state") != 0)) {
    std::fputs("usage: idle_poll_probe literal|state SECONDS\n", stderr);
    return 2;
  }
  literalPoll = std::wcscmp(argv[1], L"literal") == 0;
  const ULONGLONG seconds = std::wcstoull(argv[2], nullptr, 10);

  // A thread needs a message queue of its own before it has a keyboard state to read.
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  SetTimer(nullptr, 0, 10, Tick);
  const ULONGLONG end = GetTickCount64() + seconds * 1000;
  while (GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return sink == 0xFFFFFFFFu ? 1 : 0;
}
