#pragma once
// The translation of the user interface. Every caption and message is an English text in the
// program and passes through Translate on its way to the screen. Once, while the main window is
// created, LoadLanguage picks a language file from the folder "Languages" beside the executable:
// the one named by the setting LanguageFile, or, when that setting is blank, the one that
// "LanguageCodes.csv" assigns to the user's interface language. The choice holds for the life
// of the process; nothing is reported, and wherever nothing can be loaded the texts stay
// English.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings_store.h"
#include "i18n/language_file.h"
#include "i18n/language_platform.h"
#include "platform/code_page.h"
#include "platform/file_system.h"

namespace lb {

inline constexpr char kPathDelimiter = '\\';
inline constexpr const char* kLanguagesFolderName = "Languages";
inline constexpr const char* kLanguageCodesFileName = "LanguageCodes.csv";
inline constexpr const char* kLanguageFileSuffix = ".lang.txt";
// The folder listing's pattern. It lacks the dot, so "Germanlang.txt" is listed too.
inline constexpr const char* kLanguageFilePattern = "*lang.txt";
// The entry that names a language file's translators, separated by ",".
inline constexpr const char* kTranslatedByKey = "INFO:Translated By";

// The language state: filled once by LoadLanguage, only read afterwards.
class Translator {
 public:
  // Decides which language file to use for `languageFile` (the value of the setting
  // LanguageFile) and loads it. Replaces whatever was loaded before. A named file is loaded only
  // when it is a plain name that the folder's listing holds (ignoring ASCII letter case).
  void LoadLanguage(const std::string& languageFile, const ILanguagePlatform& platform,
                    const IFileSystem& files, const ICodePage& codePage);

  // Appends to LanguageFiles the names of the files in `folder` whose names end in "lang.txt"
  // (letter case ignored), in the order of the folder listing; folders are skipped.
  void FindLanguageFiles(const std::string& folder, const ILanguagePlatform& platform);

  // The loaded language's text for an English text, or the English text itself.
  [[nodiscard]] std::string Translate(std::string_view english) const;

  // The executable's folder followed by "Languages", without a trailing delimiter.
  [[nodiscard]] const std::string& LanguagesFolder() const { return languagesFolder_; }
  // The language files found in LanguagesFolder (names without folder), in listing order.
  [[nodiscard]] const std::vector<std::string>& LanguageFiles() const { return languageFiles_; }
  // The loaded file's name up to its first ".lang.txt"; empty when nothing is loaded.
  [[nodiscard]] const std::string& CurrentLanguage() const { return currentLanguage_; }
  // The loaded file's full path; empty when nothing is loaded.
  [[nodiscard]] const std::string& LanguageFilePath() const { return languageFilePath_; }

 private:
  // The entry of LanguageFiles that equals `name` ignoring ASCII letter case, spelled as the
  // listing spells it; nothing for a name with a folder part, a drive or a stream.
  [[nodiscard]] std::optional<std::string> ListedFile(const std::string& name) const;

  std::string languagesFolder_;
  std::vector<std::string> languageFiles_;
  std::string currentLanguage_;
  std::string languageFilePath_;
  LanguageTable table_;
};

// The process-wide language, used by every window. LoadLanguage is called once, on the
// user-interface thread, during the main window's creation, before the first caption is set;
// afterwards the state never changes, so Translate needs no lock.
void LoadLanguage(const std::string& languageFile, const ILanguagePlatform& platform,
                  const IFileSystem& files, const ICodePage& codePage);
// Before LoadLanguage has run, Translate returns its input.
[[nodiscard]] std::string Translate(std::string_view english);
// Read access for the language chooser.
[[nodiscard]] const Translator& AppLanguage();
[[nodiscard]] const std::string& LanguagesFolder();
[[nodiscard]] const std::vector<std::string>& LanguageFiles();
[[nodiscard]] const std::string& CurrentLanguage();
[[nodiscard]] const std::string& LanguageFilePath();

// Stores the language chosen in the language chooser ("German.lang.txt") in the setting
// LanguageFile. Nothing else changes: the new language is used from the next start on.
// Throws AppError as SettingsStore::WriteString does when the write is refused.
void SetLanguageFile(SettingsStore& store, const std::string& Filename);

}  // namespace lb
