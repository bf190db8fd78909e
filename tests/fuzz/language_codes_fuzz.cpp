// LanguageCodes.csv from outside: any bytes, read as a file without byte-order mark (the code
// page), and with each mark (UTF-8, UTF-16 LE, UTF-16 BE).
//
// Rules checked:
// - The decoded text is well-formed UTF-8 and holds no NUL.
// - A text decoded once reads back the same from each of the three Unicode encodings.
// - The lookup agrees with a plain reading of the lines.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fakes/fake_code_page.h"
#include "fuzz_check.h"
#include "i18n/language_codes.h"
#include "i18n/language_file.h"
#include "platform/utf.h"

namespace {

using lb::fuzz::Check;

// The reference: the file name of the first line "<identifier>,<file>", both parts trimmed.
std::optional<std::string> Lookup(std::string_view text, std::string_view identifier) {
  for (const std::string_view line : lb::SplitTextLines(text)) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    if (lb::TrimSpacesAndControls(line.substr(0, comma)) == identifier) {
      return std::string(lb::TrimSpacesAndControls(line.substr(comma + 1)));
    }
  }
  return std::nullopt;
}

void CheckText(const std::string& text) {
  Check(lb::IsValidUtf8(text), "the decoded text is UTF-8");
  Check(text.find('\0') == std::string::npos, "the decoded text holds no NUL");
  for (const char* identifier : {"1031", "1033", "", "0"}) {
    Check(lb::FindLanguageFileFor(text, identifier) == Lookup(text, identifier),
          "the lookup reads the first line of its identifier");
  }
  // The identifier of the text's first line with a comma, whatever it is.
  for (const std::string_view line : lb::SplitTextLines(text)) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    const std::string identifier(lb::TrimSpacesAndControls(line.substr(0, comma)));
    Check(lb::FindLanguageFileFor(text, identifier) == Lookup(text, identifier),
          "the lookup reads the first line of a listed identifier");
    break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = lb::fuzz::AsText(data, size);
  const lb::test::FakeCodePage codePage;
  const std::string plain = lb::DecodeLanguageCodes(bytes, codePage);
  CheckText(plain);
  for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
    CheckText(lb::DecodeLanguageCodes(std::string(mark) + std::string(bytes), codePage));
  }

  const std::u16string units = lb::Utf8ToUtf16(plain);
  Check(lb::DecodeLanguageCodes("\xEF\xBB\xBF" + plain, codePage) == plain,
        "UTF-8 with its mark reads back");
  Check(lb::DecodeLanguageCodes("\xFF\xFE" + lb::Utf16UnitsToBytes(units, false), codePage) ==
            plain,
        "UTF-16 LE with its mark reads back");
  Check(lb::DecodeLanguageCodes("\xFE\xFF" + lb::Utf16UnitsToBytes(units, true), codePage) == plain,
        "UTF-16 BE with its mark reads back");
  return 0;
}
