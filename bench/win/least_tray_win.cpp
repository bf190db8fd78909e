// The least a tray program costs: the common controls 6 initialised (through the same manifest
// as LockBeacon.exe), one notification-area icon and one layered, top-most window shown without
// activation. tools/measure-memory.sh starts it beside LockBeacon.exe: the program's own share
// of private memory is what it uses beyond this.
//   least_tray_probe
#include <windows.h>
// The common controls and the shell need the types of windows.h first.
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&controls)) return 1;

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Handle;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"LeastTrayProbe";
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  if (!RegisterClassW(&windowClass)) return 1;
  const HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, windowClass.lpszClassName,
                                      L"Least tray", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 100,
                                      100, 200, 164, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetLayeredWindowAttributes(window, 0, 150, LWA_ALPHA);

  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof(NOTIFYICONDATAW);
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kTrayMessage;
  icon.hIcon = windowClass.hIcon;
  lstrcpynW(icon.szTip, L"Least tray", ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);

  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
