#include "i18n/language_chooser.h"

#include <algorithm>

#include "i18n/language_file.h"
#include "i18n/restart_script.h"
#include "i18n/translation.h"
#include "platform/app_error.h"
#include "platform/restart_handover.h"

namespace lb {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

// clang-format off
const std::array<const char*, kFlagLanguageCount> kFlagLanguageNames{
    "English", "German", "French", "Turkish", "Albanian", "Arabic", "Bulgarian",
    "ChineseSimplified", "ChineseTraditional", "Czech", "Dutch", "Finnish", "Greek", "Hebrew",
    "Hungarian", "Italian", "Japanese", "Korean", "Persian", "Polish", "PortugueseBrazil",
    "PortuguesePortugal", "Russian", "Slovenian", "Spanish", "Swedish", "Ukrainian",
    "Vietnamese"};
// clang-format on

const std::array<const char*, kFlagCount> kFlagPictureNames{
    "xx", "flag", "de", "fr", "tr", "al", "sa", "bg", "cn", "tw", "cz", "nl", "fi", "gr", "il",
    "hu", "it",   "jp", "kr", "ir", "pl", "br", "pt", "ru", "si", "es", "se", "ua", "vi", "us"};

int FlagIndex(std::string_view languageName) {
  for (std::size_t i = 0; i < kFlagLanguageNames.size(); ++i) {
    if (languageName == kFlagLanguageNames[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string LanguageNameOf(std::string_view fileName) {
  const std::size_t suffix = fileName.find(kLanguageFileSuffix);
  return suffix == std::string_view::npos ? std::string() : std::string(fileName.substr(0, suffix));
}

bool LanguageListLess(std::string_view a, std::string_view b) {
  const auto folded =
      std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                   [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  if (folded) return true;
  const bool reverse =
      std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                   [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  // Names equal but for letter case keep a fixed order: capitals first.
  return !reverse && a < b;
}

std::vector<std::string> TranslatorLines(std::string_view translatorText) {
  std::vector<std::string> lines;
  if (translatorText.empty()) return lines;
  for (;;) {
    const std::size_t comma = translatorText.find(',');
    lines.emplace_back(TrimSpacesAndControls(translatorText.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    translatorText.remove_prefix(comma + 1);
  }
  return lines;
}

void LanguageChooser::OnCreate() {
  caption = Translate("Language");
  languageLabelCaption = Translate("User Interface Language:");
  translatorsLabelCaption = Translate("Translated by:");
  okButtonCaption = Translate("OK");
  cancelButtonCaption = Translate("Cancel");
  translationLinkCaption = Translate("Contribute to Translation");
  translationLinkHint = TranslationAddress();

  languageListItems = {kEnglishLanguage};
  for (const std::string& file : p_.language.languageFiles) {
    languageListItems.push_back(LanguageNameOf(file));
  }
  std::stable_sort(
      languageListItems.begin(), languageListItems.end(),
      [](const std::string& a, const std::string& b) { return LanguageListLess(a, b); });

  selectedIndex = static_cast<int>(
      std::find(languageListItems.begin(), languageListItems.end(), std::string(kEnglishLanguage)) -
      languageListItems.begin());
  // With no language file in use, English stays selected, even when the list holds an empty
  // entry (a file named "...lang.txt" without the dot) that would match the empty name.
  if (!p_.language.languageFilePath.empty()) {
    const auto current =
        std::find(languageListItems.begin(), languageListItems.end(), p_.language.currentLanguage);
    if (current != languageListItems.end()) {
      selectedIndex = static_cast<int>(current - languageListItems.begin());
    }
  }
  OnLanguageListChange();
  selectedAtOpening_ = SelectedText();
}

void LanguageChooser::Select(int index) {
  if (index < 0 || index >= static_cast<int>(languageListItems.size())) return;
  selectedIndex = index;
  OnLanguageListChange();
}

std::string LanguageChooser::SelectedText() const {
  if (selectedIndex < 0 || selectedIndex >= static_cast<int>(languageListItems.size())) return {};
  return languageListItems[static_cast<std::size_t>(selectedIndex)];
}

std::string LanguageChooser::TranslatorText(const std::string& languageName) const {
  if (languageName == kEnglishLanguage) return kEnglishTranslators;
  const auto bytes = p_.files.ReadFile(
      p_.language.languagesFolder + kPathDelimiter + languageName + kLanguageFileSuffix,
      kMaxTextFileBytes);
  if (!bytes) return {};
  const LanguageTable table(DecodeLanguageFileText(*bytes));
  const auto entry = table.Find(kTranslatedByKey);
  return entry ? std::string(*entry) : std::string(kTranslatedByKey);
}

void LanguageChooser::OnLanguageListChange() {
  translatorsBoxLines = TranslatorLines(TranslatorText(SelectedText()));
}

LanguageChooser::OkResult LanguageChooser::OnOk() {
  const std::string selected = SelectedText();
  if (selected == selectedAtOpening_) return OkResult::Close;

  const int answer =
      ShowMessageDialog(p_.messages, Translate("Restart Application?"), MessageType::Confirmation,
                        {MessageButton::Yes, MessageButton::No}, Translate("Confirmation"),
                        {Translate("Yes"), Translate("No")});
  if (answer != kResultYes) return OkResult::StayOpen;

  p_.platform.SetLanguageFile(selected + kLanguageFileSuffix);
  p_.platform.ProcessMessages();

  const std::string scriptPath = RestartScriptPath(p_.settingsFolder);
  const std::string programPath = p_.platform.ProgramPath();
  const auto bytes = RestartScriptBytes(programPath, p_.platform.OsMajorVersion(),
                                        p_.platform.SystemFolder(), p_.codePage);
  // A path that the code page cannot spell would start something else, or nothing.
  if (!bytes) throw AppError("Unable to write the path " + programPath + " to " + scriptPath);
  if (!p_.files.WriteFile(scriptPath, *bytes)) throw AppError("Unable to write to " + scriptPath);
  p_.platform.ProcessMessages();

  // The copy that the script starts uses the same settings: it must not take this one for a
  // running copy.
  HandOverForRestart();
  p_.platform.StartScriptHidden(scriptPath, p_.settingsFolder);
  p_.platform.ProcessMessages();
  p_.platform.Terminate();
  return OkResult::Restart;
}

std::string LanguageChooser::TranslationAddress() const {
  return "https://" + p_.host + "/translation/";
}

void LanguageChooser::OnTranslationLinkClick() { p_.platform.OpenAddress(TranslationAddress()); }

}  // namespace lb
