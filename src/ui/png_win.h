#pragma once
// PNG pictures kept as RCDATA resources, decoded with libpng into 32-bit premultiplied
// top-down DIB sections, ready for AlphaBlend.
#include <windows.h>

#include <cstdint>
#include <span>

#include "ui/handles_win.h"
#include "ui/pixels.h"

namespace lb {

// Decodes PNG data into premultiplied pixels; empty when the data is not a PNG picture.
[[nodiscard]] Pixels DecodePng(std::span<const std::uint8_t> data);

// The bytes of an RCDATA resource of `module`; empty when there is none.
[[nodiscard]] std::span<const std::uint8_t> RcDataResource(HMODULE module, int id) noexcept;

// Copies pixels into a new DIB section; empty when the picture is empty or the system refuses.
[[nodiscard]] DibSection ToDibSection(const Pixels& pixels);

// The PNG resource `id` of `module` as a DIB section; empty when it is missing or damaged.
[[nodiscard]] DibSection LoadPngResource(HMODULE module, int id);

// A square picture kept at several pixel sizes (`sizes` ascending, resource ids `firstId`,
// `firstId` + 1, ... in that order), drawn at `size` pixels: the kept picture of that size, or
// the one ChooseSourceSize picks resampled. Empty when the resource is missing or damaged.
[[nodiscard]] DibSection LoadSizedPngResource(HMODULE module, int firstId,
                                              std::span<const int> sizes, int size);
// The same picture as premultiplied pixels (empty when the resource is missing or damaged).
[[nodiscard]] Pixels LoadSizedPngPixels(HMODULE module, int firstId, std::span<const int> sizes,
                                        int size);

// Draws a premultiplied 32-bit picture over what `dc` already shows, its transparent pixels
// letting the background through: the whole picture stretched to `target`, at `opacity`
// (255 opaque). Draws nothing for a null bitmap.
void DrawPicture(HDC dc, HBITMAP picture, const RECT& target, BYTE opacity = 255) noexcept;

// The same for a DIB section drawn at its own size with its top left corner at (x, y).
void DrawPicture(HDC dc, const DibSection& picture, int x, int y) noexcept;

}  // namespace lb
