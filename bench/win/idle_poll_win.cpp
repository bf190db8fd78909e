// Stand-ins for measuring what waiting costs under a real message loop, beside the real program:
//   bare     a hidden window and a message loop, nothing else (the floor)
//   literal  a 10 ms timer that reads the keyboard with 248 GetKeyState calls (codes 8 to 255)
//   state    a 10 ms timer that reads it with one GetKeyboardState call
// each for a number of seconds. tools/measure-idle-cpu.sh runs them and compares their context
// switches and CPU time with those of LockBeacon.exe.
//   idle_poll_probe bare|literal|state SECONDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

enum class Mode { Bare, Literal, State };
Mode mode = Mode::Bare;
volatile unsigned sink = 0;  // keeps the reads from being optimised away

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  if (mode == Mode::Literal) {
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

void CALLBACK End(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: idle_poll_probe bare|literal|state SECONDS\n", stderr);
    return 2;
  }
  if (std::wcscmp(argv[1], L"bare") == 0) {
    mode = Mode::Bare;
  } else if (std::wcscmp(argv[1], L"literal") == 0) {
    mode = Mode::Literal;
  } else if (std::wcscmp(argv[1], L"state") == 0) {
    mode = Mode::State;
  } else {
    std::fputs("usage: idle_poll_probe bare|literal|state SECONDS\n", stderr);
    return 2;
  }
  const unsigned seconds = static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10));

  // A hidden top-level window, as the program has, and the thread's message queue with it.
  CreateWindowExW(0, L"STATIC", L"idle probe", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                  nullptr);
  if (mode != Mode::Bare) SetTimer(nullptr, 0, 10, Poll);
  SetTimer(nullptr, 0, seconds * 1000, End);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return sink == 0xFFFFFFFFu ? 1 : 0;
}
