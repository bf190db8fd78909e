#include "platform/code_page_win.h"

#include <windows.h>

#include <climits>

#include "platform/utf.h"
#include "platform/wide_text_win.h"

namespace lb {
namespace {

std::wstring AnsiToWide(UINT codePage, std::string_view ansi) {
  if (ansi.empty() || ansi.size() > INT_MAX) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(codePage, 0, ansi.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, ansi.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::string Win32CodePage::Decode(std::string_view ansi) const {
  return ToUtf8(AnsiToWide(codePage_, ansi));
}

std::optional<std::string> Win32CodePage::Encode(std::string_view utf8) const {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  if (utf8.empty()) return std::string();
  // With "Unicode UTF-8 for worldwide language support" the code pages are UTF-8 itself, which
  // holds everything (and takes neither of the flags below).
  const UINT number = codePage_ == CP_ACP     ? GetACP()
                      : codePage_ == CP_OEMCP ? GetOEMCP()
                                              : codePage_;
  if (number == CP_UTF8) return std::string(utf8);

  const std::wstring wide = ToWide(utf8);
  if (wide.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                         nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                      nullptr, &usedDefault);
  // Some code pages map a character to bytes that decode to another one without using the
  // default character; only an exact round trip counts.
  if (usedDefault || AnsiToWide(codePage_, ansi) != wide) return std::nullopt;
  return ansi;
}

}  // namespace lb
