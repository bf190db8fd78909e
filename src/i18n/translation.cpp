#include "i18n/translation.h"

#include <optional>
#include <utility>

#include "base/settings_keys.h"
#include "i18n/language_codes.h"
#include "platform/local_file.h"

namespace lb {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal when ASCII letters "A" to "Z" are turned to lower case on both sides; every other
// character compares as it is.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// The pattern without its leading "*": what a listed name has to end with.
constexpr std::string_view kLanguageFileEnding = std::string_view(kLanguageFilePattern).substr(1);

}  // namespace

void Translator::FindLanguageFiles(const std::string& folder, const ILanguagePlatform& platform) {
  for (FolderEntry& entry : platform.ListFolder(folder, kLanguageFilePattern)) {
    // The platform's wildcard match may also consider other spellings of a name (such as
    // short 8.3 names); only names that really end in "lang.txt" are language files.
    if (entry.isFolder || !EndsWithIgnoringAsciiCase(entry.name, kLanguageFileEnding)) continue;
    languageFiles_.push_back(std::move(entry.name));
  }
}

std::optional<std::string> Translator::ListedFile(const std::string& name) const {
  if (!IsPlainFileName(name)) return std::nullopt;
  for (const std::string& listed : languageFiles_) {
    if (EqualsIgnoringAsciiCase(listed, name)) return listed;
  }
  return std::nullopt;
}

void Translator::LoadLanguage(const std::string& languageFile, const ILanguagePlatform& platform,
                              const IFileSystem& files, const ICodePage& codePage) {
  *this = Translator();
  languagesFolder_ = platform.ExeFolder() + kLanguagesFolderName;
  if (!platform.FolderExists(languagesFolder_)) return;
  FindLanguageFiles(languagesFolder_, platform);

  // The setting names a file of the folder's listing, by its plain name: anything with a
  // folder part, "..", a drive or a stream name (settings.ini is anyone's to write) names no
  // file, as does a name the listing lacks. The listing's spelling is used from here on, as
  // for the automatic choice.
  std::string choice = languageFile;
  if (!TrimSpacesAndControls(choice).empty()) {
    choice = ListedFile(choice).value_or(std::string());
    if (choice.empty()) return;
  }
  const std::string codesPath = languagesFolder_ + kPathDelimiter + kLanguageCodesFileName;
  if (TrimSpacesAndControls(choice).empty() && files.FileExists(codesPath)) {
    const std::string identifier = std::to_string(platform.UserDefaultUILanguage());
    const std::string codes =
        DecodeLanguageCodes(files.ReadFile(codesPath, kMaxTextFileBytes).value_or(""), codePage);
    if (const auto wanted = FindLanguageFileFor(codes, identifier)) {
      choice = ListedFile(*wanted).value_or(choice);
    }
  }
  // A blank name names no file (and would otherwise name the folder itself).
  if (TrimSpacesAndControls(choice).empty()) return;

  const std::string path = languagesFolder_ + kPathDelimiter + choice;
  if (!files.FileExists(path)) return;
  // A file that exists but cannot be read (held locked by another program, say), or one larger
  // than any real language file, counts as not loaded, so that the chooser shows the language
  // that is really in use: English.
  std::optional<std::string> bytes = files.ReadFile(path, kMaxTextFileBytes);
  if (!bytes) return;

  const auto suffix = choice.find(kLanguageFileSuffix);
  currentLanguage_ = suffix == std::string::npos ? std::string() : choice.substr(0, suffix);
  languageFilePath_ = path;
  table_ = LanguageTable(DecodeLanguageFileText(*bytes));
}

std::string Translator::Translate(std::string_view english) const {
  if (languageFilePath_.empty()) return std::string(english);
  return table_.Translate(english);
}

namespace {

Translator& ProcessLanguage() {
  static Translator language;
  return language;
}

}  // namespace

void LoadLanguage(const std::string& languageFile, const ILanguagePlatform& platform,
                  const IFileSystem& files, const ICodePage& codePage) {
  ProcessLanguage().LoadLanguage(languageFile, platform, files, codePage);
}

std::string Translate(std::string_view english) { return ProcessLanguage().Translate(english); }

const Translator& AppLanguage() { return ProcessLanguage(); }
const std::string& LanguagesFolder() { return ProcessLanguage().LanguagesFolder(); }
const std::vector<std::string>& LanguageFiles() { return ProcessLanguage().LanguageFiles(); }
const std::string& CurrentLanguage() { return ProcessLanguage().CurrentLanguage(); }
const std::string& LanguageFilePath() { return ProcessLanguage().LanguageFilePath(); }

void SetLanguageFile(SettingsStore& store, const std::string& Filename) {
  store.WriteString(keys::LanguageFile, Filename);
}

}  // namespace lb
