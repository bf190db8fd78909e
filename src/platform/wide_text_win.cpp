#include "platform/wide_text_win.h"

#include "platform/utf.h"

namespace lb {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

std::wstring ToWide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string ToUtf8(std::wstring_view wide) {
  const std::u16string units(wide.begin(), wide.end());
  return Utf16ToUtf8(units);
}

}  // namespace lb
