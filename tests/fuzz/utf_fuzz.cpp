// The UTF conversions on any bytes (every file and reply passes through them).
//
// Rules checked:
// - IsValidUtf8 agrees with a plain reference decoder (shortest forms, no surrogates, nothing
//   above U+10FFFF).
// - Well-formed UTF-8 goes to UTF-16 and back unchanged, and its units are those of the
//   reference; anything else comes out well-formed.
// - UTF-16 without lone surrogates goes to UTF-8 and back unchanged; any units come out as
//   well-formed UTF-8.
// - Units go to bytes and back unchanged in both byte orders.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/utf.h"

namespace {

using lb::fuzz::Check;

// The reference: the UTF-16 units of well-formed UTF-8, or nothing.
std::optional<std::u16string> ReferenceUnits(std::string_view text) {
  std::u16string units;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if (b >> 6 != 0x2) return std::nullopt;
      cp = cp << 6 | (b & 0x3F);
    }
    const char32_t shortest = length == 1 ? 0 : length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (cp < shortest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(cp);
    }
    i += length;
  }
  return units;
}

bool HasLoneSurrogate(std::u16string_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = lb::fuzz::AsText(data, size);

  const auto reference = ReferenceUnits(text);
  Check(lb::IsValidUtf8(text) == reference.has_value(), "validity agrees with the reference");
  const std::u16string units = lb::Utf8ToUtf16(text);
  Check(!HasLoneSurrogate(units), "decoded units hold no lone surrogate");
  const std::string again = lb::Utf16ToUtf8(units);
  Check(lb::IsValidUtf8(again), "any text comes out well-formed");
  if (reference) {
    Check(units == *reference, "well-formed text decodes as the reference");
    Check(again == text, "well-formed text goes to UTF-16 and back");
  }

  // The same bytes as UTF-16 units in both byte orders.
  for (const bool bigEndian : {false, true}) {
    const std::u16string raw = lb::Utf16UnitsFromBytes(text, bigEndian);
    Check(raw.size() == text.size() / 2, "two bytes per unit, a last odd byte dropped");
    Check(lb::Utf16UnitsToBytes(raw, bigEndian) == text.substr(0, raw.size() * 2),
          "units go to bytes and back");
    const std::string utf8 = lb::Utf16ToUtf8(raw);
    Check(lb::IsValidUtf8(utf8), "any units come out as well-formed UTF-8");
    if (!HasLoneSurrogate(raw)) {
      Check(lb::Utf8ToUtf16(utf8) == raw, "units without lone surrogates go to UTF-8 and back");
    }
  }
  return 0;
}
