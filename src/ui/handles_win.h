#pragma once
// One ownership scheme for every Win32 handle: a move-only owner whose traits say what an empty
// handle looks like and how the handle is given back. Copying is deleted, so no handle is
// released twice; release() hands the handle over where an API takes ownership of it (a region
// given to SetWindowRgn, for example, belongs to the system afterwards).
#include <windows.h>

#include <cstdint>
#include <utility>

namespace lb {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  [[nodiscard]] Type get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing the handle.
  [[nodiscard]] Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Closes the current handle (if any) and takes `handle`.
  void reset(Type handle = Traits::Invalid()) noexcept {
    const Type old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For APIs that return a handle through an out-parameter (RegOpenKeyExW and the like):
  // closes the current handle and exposes the empty slot.
  [[nodiscard]] Type* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Type handle_ = Traits::Invalid();
};

namespace handle_traits {

// Kernel objects whose "no handle" value is null (mutexes, events, threads, processes).
struct Kernel {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Files: CreateFileW reports failure with INVALID_HANDLE_VALUE, not null.
struct File {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct RegistryKey {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct Window {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyWindow(h); }
};

struct Menu {
  using Type = HMENU;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

struct Icon {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct Module {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

// Bitmaps, fonts, brushes, pens and regions: all given back with DeleteObject.
template <typename GdiType>
struct Gdi {
  using Type = GdiType;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};

}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueRegKey = UniqueHandle<handle_traits::RegistryKey>;
using UniqueWindow = UniqueHandle<handle_traits::Window>;
using UniqueMenu = UniqueHandle<handle_traits::Menu>;
using UniqueIcon = UniqueHandle<handle_traits::Icon>;
using UniqueModule = UniqueHandle<handle_traits::Module>;
using UniqueBitmap = UniqueHandle<handle_traits::Gdi<HBITMAP>>;
using UniqueFont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueBrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniquePen = UniqueHandle<handle_traits::Gdi<HPEN>>;
using UniqueRegion = UniqueHandle<handle_traits::Gdi<HRGN>>;

// A 32-bit top-down DIB section (pixels 0xAARRGGBB, rows without padding) and its pixels,
// which live as long as the bitmap. Empty when the system refused to make it.
class DibSection {
 public:
  DibSection() noexcept = default;
  DibSection(int width, int height) noexcept {
    BITMAPINFO info{};
    info.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                      .biWidth = width,
                      .biHeight = -height,  // negative: top-down rows
                      .biPlanes = 1,
                      .biBitCount = 32,
                      .biCompression = BI_RGB};
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap_) {
      width_ = width;
      height_ = height;
      pixels_ = static_cast<std::uint32_t*>(bits);
    }
  }
  DibSection(DibSection&& other) noexcept
      : bitmap_(std::move(other.bitmap_)),
        width_(std::exchange(other.width_, 0)),
        height_(std::exchange(other.height_, 0)),
        pixels_(std::exchange(other.pixels_, nullptr)) {}
  DibSection& operator=(DibSection&& other) noexcept {
    bitmap_ = std::move(other.bitmap_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::exchange(other.pixels_, nullptr);
    return *this;
  }

  [[nodiscard]] HBITMAP get() const noexcept { return bitmap_.get(); }
  explicit operator bool() const noexcept { return bitmap_.valid(); }
  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] std::uint32_t* Pixels() const noexcept { return pixels_; }

 private:
  UniqueBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
  std::uint32_t* pixels_ = nullptr;
};

// A memory device context from CreateCompatibleDC, given back with DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) noexcept : dc_(::CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) ::DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  [[nodiscard]] HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's device context from GetDC, given back with ReleaseDC (which needs the window too,
// so it does not fit the single-handle traits above).
class WindowDC {
 public:
  explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  [[nodiscard]] HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back on scope exit.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace lb
