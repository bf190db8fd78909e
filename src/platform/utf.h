#pragma once
// UTF-8 inside the program, UTF-16 only at the edges (Win32 calls, UTF-16 files). This is the one
// pair of conversions; Win32 code reaches it through ToWide/ToUtf8 in platform/wide_text_win.h.
#include <string>
#include <string_view>

namespace lb {

// Invalid input never throws: a malformed UTF-8 sequence or a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-16 code units as the bytes of a file, little- or big-endian, and back. A final odd byte is
// no whole code unit and is dropped.
std::string Utf16UnitsToBytes(std::u16string_view units, bool bigEndian);
std::u16string Utf16UnitsFromBytes(std::string_view bytes, bool bigEndian);

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace lb
