#pragma once
// The program's UTF-8 text as the UTF-16 that Win32 calls take, and back. wchar_t is a UTF-16
// code unit on Windows. Malformed input never throws: it becomes U+FFFD (see platform/utf.h).
#include <string>
#include <string_view>

namespace lb {

std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

}  // namespace lb
