#include "e2e/screen_win.h"

#include <thread>

namespace lb::e2e {
namespace {

constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x;
  input.mi.dy = y;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(INPUT));
  // Spaced as a hand moves: the system merges mouse moves that wait in a queue into one, and a
  // drag is to arrive as a path, not as its end point.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

// SendInput's absolute coordinates run from 0 to 65535 over the primary screen.
void MoveTo(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
            static_cast<LONG>((point.x * 65535 + width / 2) / (width - 1)),
            static_cast<LONG>((point.y * 65535 + height / 2) / (height - 1)));
}

}  // namespace

bool IsRainGreen(const Rgb& pixel) {
  return pixel.g >= 60 && pixel.g * 10 >= pixel.r * 15 && pixel.g * 10 >= pixel.b * 20;
}

int RainyMargins(const ScreenImage& screen, const RECT& client, const RECT& card) {
  const RECT margins[] = {
      {client.left, client.top, client.right, card.top},        // above the card
      {client.left, card.bottom, client.right, client.bottom},  // below
      {client.left, card.top, card.left, card.bottom},          // left
      {card.right, card.top, client.right, card.bottom},        // right
  };
  int rainy = 0;
  for (const RECT& margin : margins) {
    if (screen.Any(margin, IsRainGreen)) ++rainy;
  }
  return rainy;
}

ScreenImage::ScreenImage() {
  width_ = GetSystemMetrics(SM_CXSCREEN);
  height_ = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                    .biWidth = width_,
                    .biHeight = -height_,
                    .biPlanes = 1,
                    .biBitCount = 32,
                    .biCompression = BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  pixels_.assign(first, first + static_cast<std::size_t>(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

Rgb ScreenImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint32_t value = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return {static_cast<int>(value >> 16 & 0xFF), static_cast<int>(value >> 8 & 0xFF),
          static_cast<int>(value & 0xFF)};
}

void DragWithLeftButton(POINT from, int dx, int dy, int steps) {
  MoveTo(from);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= steps; ++i) {
    MoveTo({from.x + dx * i / steps, from.y + dy * i / steps});
  }
  SendMouse(MOUSEEVENTF_LEFTUP);
}

RECT ClientRectOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

ScopedLogPixels::ScopedLogPixels(DWORD dpi) {
  DWORD size = sizeof(oldValue_);
  hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                           &oldValue_, &size) == ERROR_SUCCESS;
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
}

ScopedLogPixels::~ScopedLogPixels() {
  if (hadValue_) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &oldValue_,
                    sizeof(oldValue_));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
  }
}

}  // namespace lb::e2e
