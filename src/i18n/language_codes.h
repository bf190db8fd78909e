#pragma once
// "LanguageCodes.csv": which language file serves which user-interface language. One line per
// language identifier: the decimal number of the platform's 16-bit language identifier, ",", the
// name of a language file in the same folder ("1031,German.lang.txt").
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace lb {

// The text of the file's bytes as UTF-8: a byte-order mark selects UTF-8, UTF-16 little-endian
// or UTF-16 big-endian; without one the bytes are in the system's ANSI code page. A NUL ends
// the text; malformed sequences become U+FFFD.
std::string DecodeLanguageCodes(std::string_view bytes, const ICodePage& codePage);

// The language file named by the first line whose identifier equals `identifier` (both parts
// of a line trimmed of spaces and control characters; a further "," belongs to the file name).
// Lines without "," are ignored. Nothing when no line matches.
std::optional<std::string> FindLanguageFileFor(std::string_view codesText,
                                               std::string_view identifier);

}  // namespace lb
