// The floor of what a Windows program with a window costs: one visible window and a message
// loop, user32 only (no common controls, no tray icon, no fonts of its own).
// tools/measure-memory.sh starts it beside LockBeacon.exe and the least tray program and compares
// their private memory and launch-to-visible times.
//   bare_window_probe
#include <windows.h>

namespace {

LRESULT CALLBACK Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Handle;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"BareWindowProbe";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (!RegisterClassW(&windowClass)) return 1;
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", WS_POPUP, 100,
                                      100, 184, 125, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
