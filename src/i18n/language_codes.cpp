#include "i18n/language_codes.h"

#include "i18n/language_file.h"
#include "platform/utf.h"

namespace lb {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string CutAtNul(std::string text) {
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

std::string DecodeLanguageCodes(std::string_view bytes, const ICodePage& codePage) {
  if (bytes.starts_with(kUtf8Bom)) {
    bytes.remove_prefix(kUtf8Bom.size());
    return CutAtNul(IsValidUtf8(bytes) ? std::string(bytes) : Utf16ToUtf8(Utf8ToUtf16(bytes)));
  }
  if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
    const bool bigEndian = bytes.starts_with(kUtf16BeBom);
    bytes.remove_prefix(2);
    return CutAtNul(Utf16ToUtf8(Utf16UnitsFromBytes(bytes, bigEndian)));
  }
  return CutAtNul(codePage.Decode(bytes));
}

std::optional<std::string> FindLanguageFileFor(std::string_view codesText,
                                               std::string_view identifier) {
  for (const std::string_view line : SplitTextLines(codesText)) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    if (TrimSpacesAndControls(line.substr(0, comma)) != identifier) continue;
    return std::string(TrimSpacesAndControls(line.substr(comma + 1)));
  }
  return std::nullopt;
}

}  // namespace lb
