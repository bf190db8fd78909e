// Language files from outside: any bytes as a language file, indexed and looked up directly
// and through the program's language loading.
//
// Rules checked:
// - The decoded text is well-formed UTF-8 without NUL.
// - Every lookup agrees with a plain line-by-line search for the first line that begins with
//   "{" + key + "}" (the indexed keys, keys holding "}", keys that are not there).
// - The loaded language translates as the table does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_code_page.h"
#include "fakes/fake_language_platform.h"
#include "fakes/memory_file_system.h"
#include "fuzz_check.h"
#include "i18n/language_file.h"
#include "i18n/translation.h"
#include "platform/utf.h"

namespace {

using lb::fuzz::Check;

// The reference: the value of the first line that begins with "{" + key + "}", read up to the
// line's first "}".
std::optional<std::string_view> SearchLines(std::string_view text, std::string_view key) {
  for (const std::string_view line : lb::SplitTextLines(text)) {
    if (!line.starts_with('{') || line.substr(1).substr(0, key.size()) != key) continue;
    if (line.size() < key.size() + 2 || line[key.size() + 1] != '}') continue;
    return line.substr(line.find('}') + 1);
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = lb::fuzz::AsText(data, size);
  const std::string text = lb::DecodeLanguageFileText(bytes);
  Check(lb::IsValidUtf8(text), "the decoded text is UTF-8");
  Check(text.find('\0') == std::string::npos, "the decoded text holds no NUL");

  const lb::LanguageTable table{text};
  // At most 24 of the indexed keys: the reference search reads every line for each probe.
  const auto& keys = table.Keys();
  std::vector<std::string> probes(keys.begin(), keys.begin() + std::min<std::ptrdiff_t>(
                                                                   24, std::ssize(keys)));
  probes.insert(probes.end(), {"", "Exit", "INFO:Translated By", "a}b", "}"});
  // Keys that hold "}" and keys cut short, from the text's own lines.
  for (const std::string_view line : lb::SplitTextLines(text)) {
    if (probes.size() > 48) break;
    if (!line.starts_with('{')) continue;
    const std::string_view rest = line.substr(1);
    probes.emplace_back(rest.substr(0, rest.rfind('}')));
    probes.emplace_back(rest.substr(0, rest.size() / 2));
  }
  for (const std::string& key : probes) {
    Check(table.Find(key) == SearchLines(text, key), "a lookup finds the first line of its key");
  }
  for (const std::string& key : table.RepeatedKeys()) {
    Check(table.Find(key).has_value(), "a repeated key is a key");
  }

  // The same file loaded as the program loads it.
  lb::test::FakeLanguagePlatform platform;
  const std::string folder = platform.exeFolder + lb::kLanguagesFolderName;
  platform.folders.insert(folder);
  platform.listings[folder] = {{"Fuzz.lang.txt", false}};
  lb::test::MemoryFileSystem files;
  files.files[folder + lb::kPathDelimiter + "Fuzz.lang.txt"] = std::string(bytes);
  const lb::test::FakeCodePage codePage;
  lb::Translator translator;
  translator.LoadLanguage("Fuzz.lang.txt", platform, files, codePage);
  Check(translator.CurrentLanguage() == "Fuzz", "the named file is loaded");
  for (std::size_t i = 0; i < probes.size() && i < 16; ++i) {
    Check(translator.Translate(probes[i]) == table.Translate(probes[i]),
          "the loaded language translates as its table");
  }
  return 0;
}
