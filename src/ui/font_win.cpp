#include "ui/font_win.h"

#include <cwchar>

namespace lb {

UniqueFont MakeFont(const FontSpec& spec) noexcept {
  LOGFONTW font{};
  font.lfHeight = -spec.pixelHeight;
  font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = spec.underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = spec.quality;
  font.lfPitchAndFamily = spec.pitchAndFamily;
  ::wcsncpy_s(font.lfFaceName, spec.face, _TRUNCATE);
  return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace lb
