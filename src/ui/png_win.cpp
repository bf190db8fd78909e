#include "ui/png_win.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

namespace lb {

Pixels DecodePng(std::span<const std::uint8_t> data) {
  // libpng's simplified reading interface: no longjmp reaches this code; a failure is reported
  // by the return value and png_image_free releases what was allocated.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return {};
  // Bytes B, G, R, A: a 32-bit pixel 0xAARRGGBB, the layout of a DIB section.
  image.format = PNG_FORMAT_BGRA;
  const auto width = static_cast<int>(image.width);
  const auto height = static_cast<int>(image.height);
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    png_image_free(&image);
    return {};
  }
  Pixels pixels{width, height,
                std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  if (!png_image_finish_read(&image, nullptr, pixels.data.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  Premultiply(pixels.data);
  return pixels;
}

std::span<const std::uint8_t> RcDataResource(HMODULE module, int id) noexcept {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (!resource) return {};
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return {};
  // Resources live as long as the module; nothing to release.
  return {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, resource)};
}

DibSection ToDibSection(const Pixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0) return {};
  DibSection dib(pixels.width, pixels.height);
  if (!dib) return {};
  std::copy(pixels.data.begin(), pixels.data.end(), dib.Pixels());
  return dib;
}

DibSection LoadPngResource(HMODULE module, int id) {
  return ToDibSection(DecodePng(RcDataResource(module, id)));
}

Pixels LoadSizedPngPixels(HMODULE module, int firstId, std::span<const int> sizes, int size) {
  const int source = ChooseSourceSize(size, sizes);
  const auto index = std::find(sizes.begin(), sizes.end(), source) - sizes.begin();
  Pixels pixels = DecodePng(RcDataResource(module, firstId + static_cast<int>(index)));
  if (pixels.width <= 0 || (pixels.width == size && pixels.height == size)) return pixels;
  return Resample(pixels, size, size);
}

DibSection LoadSizedPngResource(HMODULE module, int firstId, std::span<const int> sizes, int size) {
  return ToDibSection(LoadSizedPngPixels(module, firstId, sizes, size));
}

void DrawPicture(HDC dc, HBITMAP picture, const RECT& target, BYTE opacity) noexcept {
  BITMAP size{};
  if (!picture || ::GetObjectW(picture, sizeof(size), &size) != sizeof(size)) return;
  const MemoryDC source(dc);
  if (!source) return;
  const ScopedSelectObject selected(source.get(), picture);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  ::GdiAlphaBlend(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, source.get(), 0, 0, size.bmWidth,
                  std::abs(size.bmHeight), blend);
}

void DrawPicture(HDC dc, const DibSection& picture, int x, int y) noexcept {
  DrawPicture(dc, picture.get(), RECT{x, y, x + picture.Width(), y + picture.Height()});
}

}  // namespace lb
