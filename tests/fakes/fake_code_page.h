#pragma once
// An ANSI code page for tests: Latin-1, where byte n is U+00nn. It holds "ü" and "ä" but not
// "Ş", "ı" or "Ж", like a Western European Windows code page.
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/utf.h"

namespace lb::test {

class FakeCodePage : public ICodePage {
 public:
  std::string Decode(std::string_view ansi) const override {
    std::u16string units;
    for (const char c : ansi) units += static_cast<char16_t>(static_cast<unsigned char>(c));
    return Utf16ToUtf8(units);
  }
  std::optional<std::string> Encode(std::string_view utf8) const override {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    std::string ansi;
    for (const char16_t unit : Utf8ToUtf16(utf8)) {
      if (unit > 0xFF) return std::nullopt;
      ansi += static_cast<char>(unit);
    }
    return ansi;
  }
};

}  // namespace lb::test
