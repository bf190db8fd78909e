#pragma once
// The one window base of the program: it registers the window class, creates the window, finds
// the object again from the window (its pointer travels in CreateWindowExW's parameter and is
// kept in GWLP_USERDATA from WM_NCCREATE on) and hands every message to HandleMessage.
//
// No exception leaves the window procedure: one that escapes HandleMessage goes to the
// application's error report and the message counts as handled (result 0).
#include <windows.h>

#include <optional>
#include <utility>

#include "ui/handles_win.h"

namespace lb {

struct WindowClassSpec {
  const wchar_t* name = nullptr;
  UINT style = 0;
  HBRUSH background = nullptr;  // a stock object, or one that lives as long as the class
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;  // null: the arrow
};

struct WindowSpec {
  const wchar_t* title = L"";
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND owner = nullptr;  // the owner of a top-level window (or the parent of a child)
};

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  // Destroys the window if it still exists. The derived part is gone by then, so the last
  // messages (WM_DESTROY, WM_NCDESTROY) go to the default handling only; a derived class whose
  // WM_DESTROY matters calls Destroy() in its own destructor.
  virtual ~WindowBase();

  // Null before Create and after the window has been destroyed (by Destroy, by its owner or by
  // the system).
  [[nodiscard]] HWND Hwnd() const noexcept { return window_.get(); }

  // Destroys the window now (its derived handlers still run).
  void Destroy() noexcept;

 protected:
  WindowBase() = default;

  // Registers the class (once per process) and creates the window. Throws AppError with the
  // system's message when either fails.
  void Create(HINSTANCE instance, const WindowClassSpec& windowClass, const WindowSpec& window);

  // Every message of the window. The default passes it to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // DefWindowProcW for this window.
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // Called after WM_NCDESTROY, when the window is gone; the object may delete itself here.
  virtual void OnFinalMessage() noexcept {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  void Detach() noexcept;

  UniqueWindow window_;
};

// WM_PAINT and WM_PRINTCLIENT through one paint routine, `paint(dc)`: the system asks for a
// window's picture with WM_PRINTCLIENT as well (AnimateWindow draws a window that way while it
// grows, and so do thumbnails and magnifiers), and a window that paints only on WM_PAINT then
// shows as an empty box. Returns true when `message` was one of the two.
template <typename Paint>
bool PaintOrPrint(HWND window, UINT message, WPARAM wParam, Paint&& paint) {
  if (message == WM_PRINTCLIENT) {
    if (const auto dc = reinterpret_cast<HDC>(wParam)) paint(dc);
    return true;
  }
  if (message != WM_PAINT) return false;
  PAINTSTRUCT painting{};
  if (const HDC dc = ::BeginPaint(window, &painting)) paint(dc);
  ::EndPaint(window, &painting);
  return true;
}

// For a window whose paint routine covers its whole client area: WM_ERASEBKGND (nothing to
// erase, so nothing flickers), WM_PAINT and WM_PRINTCLIENT through `paint(dc)`. The message's
// result when it was one of the three, nothing otherwise.
template <typename Paint>
std::optional<LRESULT> PaintWholeClient(HWND window, UINT message, WPARAM wParam, Paint&& paint) {
  if (message == WM_ERASEBKGND) return 1;
  if (PaintOrPrint(window, message, wParam, std::forward<Paint>(paint))) return 0;
  return std::nullopt;
}

// WM_DRAWITEM's item when it is the owner-drawn control `id`, null otherwise.
[[nodiscard]] inline const DRAWITEMSTRUCT* OwnerDrawItem(LPARAM lParam, UINT id) noexcept {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  return item != nullptr && item->CtlID == id ? item : nullptr;
}

}  // namespace lb
