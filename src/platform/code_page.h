#pragma once
// The system's ANSI code page, in which the Windows profile functions keep INI files that carry
// no byte-order mark.
#include <optional>
#include <string>
#include <string_view>

namespace lb {

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  // ANSI bytes to UTF-8, as the platform decodes them.
  [[nodiscard]] virtual std::string Decode(std::string_view ansi) const = 0;
  // UTF-8 to ANSI bytes; nothing when a character has no exact form in the code page
  // (no best-fit replacement: "ä" never silently becomes "a").
  [[nodiscard]] virtual std::optional<std::string> Encode(std::string_view utf8) const = 0;
};

}  // namespace lb
