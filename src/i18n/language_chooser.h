#pragma once
// The language chooser's behaviour (LanguageChooserDialog): the sorted list of languages with
// "English" always in it, the flag picture of each language, the translators of the selected
// language, and "OK", which after the user's confirmation stores the new language, writes the
// restart script, starts it and ends the program. The Win32 window (language_chooser_win.h)
// shows the state kept here and hands the user's input to it.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/message_dialogs.h"

namespace lb {

// The built-in language, which needs no file, and the translators named for it.
inline constexpr const char* kEnglishLanguage = "English";
inline constexpr const char* kEnglishTranslators = "Brimlex";

// The flag pictures, by index: "xx" (a blank white flag, for every name not in the table),
// "flag" (English), then national flags named by their countries' two-letter codes.
inline constexpr int kFlagCount = 30;
extern const std::array<const char*, kFlagCount> kFlagPictureNames;
// The language names of the flag pictures 1 to 28, in the table's order: English first, then
// every language the program ships a file for.
inline constexpr int kFlagLanguageCount = kFlagCount - 2;
extern const std::array<const char*, kFlagLanguageCount> kFlagLanguageNames;
// The picture index of a language name: exact, case-sensitive match; 0 for any other name.
[[nodiscard]] int FlagIndex(std::string_view languageName);

// The list entry of a language file: the name up to its first ".lang.txt"; empty when the name
// does not contain it ("Germanlang.txt").
[[nodiscard]] std::string LanguageNameOf(std::string_view fileName);

// The order of the list: alphabetical without regard to the case of ASCII letters.
[[nodiscard]] bool LanguageListLess(std::string_view a, std::string_view b);

// The translators' lines: the text split at every comma, each piece without leading and
// trailing spaces and control characters; no lines for an empty text.
[[nodiscard]] std::vector<std::string> TranslatorLines(std::string_view translatorText);

// What the chooser reads of the loaded language (all fixed at start-up).
struct LanguageState {
  std::string languagesFolder;  // no trailing delimiter
  std::vector<std::string> languageFiles;
  std::string currentLanguage;
  std::string languageFilePath;  // empty when no language file is loaded
};

// What the chooser asks of the program around it.
class IChooserPlatform {
 public:
  virtual ~IChooserPlatform() = default;
  // App::SetLanguageFile: stores the language file to load from the next start on.
  virtual void SetLanguageFile(const std::string& fileName) = 0;
  // Lets pending window messages run.
  virtual void ProcessMessages() = 0;
  // The operating system's major version number.
  [[nodiscard]] virtual int OsMajorVersion() const = 0;
  // The system folder (System32), whose programs the restart script names by full path.
  [[nodiscard]] virtual std::string SystemFolder() const = 0;
  // The running executable's full path, as the restart script names it.
  [[nodiscard]] virtual std::string ProgramPath() const = 0;
  // Starts the restart script with a hidden window in `workingFolder`; the result is not
  // looked at.
  virtual void StartScriptHidden(const std::string& scriptPath,
                                 const std::string& workingFolder) = 0;
  // Ends the application as the tray menu's "Exit" does.
  virtual void Terminate() = 0;
  // Opens a web page in the browser; failures are dropped.
  virtual void OpenAddress(const std::string& address) = 0;
};

class LanguageChooser {
 public:
  struct Parts {
    LanguageState language;
    std::string settingsFolder;  // settingsFolder, normally ending in a backslash
    std::string host;            // the maker's web server
    IFileSystem& files;
    const ICodePage& codePage;
    IMessageDialogs& messages;
    IChooserPlatform& platform;
  };
  explicit LanguageChooser(Parts parts) : p_(std::move(parts)) {}

  // The captions, the list with its selection, the translators.
  void OnCreate();

  // What the dialog shows.
  std::string caption;
  std::string languageLabelCaption;     // "User Interface Language:"
  std::string translatorsLabelCaption;  // "Translated by:"
  std::string okButtonCaption;
  std::string cancelButtonCaption;
  std::string translationLinkCaption;          // the link
  std::string translationLinkHint;             // its address
  std::vector<std::string> languageListItems;  // sorted
  int selectedIndex = -1;
  std::vector<std::string> translatorsBoxLines;

  // The user selected another entry (an index into languageListItems).
  void Select(int index);
  // The selection changed: shows the translators of the selected language.
  void OnLanguageListChange();

  enum class OkResult {
    Close,     // the selection is unchanged: close the dialog, nothing written
    StayOpen,  // the restart was declined
    Restart,   // the new language is stored, the script started and the program ending
  };
  // "OK". Throws AppError when the restart script cannot be written (the language is stored
  // already and the program keeps running).
  OkResult OnOk();
  // The link: the maker's translation page.
  void OnTranslationLinkClick();

  [[nodiscard]] std::string SelectedText() const;
  [[nodiscard]] const std::string& SelectedAtOpening() const { return selectedAtOpening_; }
  // The translators of a language: "Brimlex" for English, the entry {INFO:Translated By} of
  // its file, the key itself when the file has no such entry, empty when it cannot be read.
  [[nodiscard]] std::string TranslatorText(const std::string& languageName) const;
  // The translation page's address.
  [[nodiscard]] std::string TranslationAddress() const;

 private:
  Parts p_;
  std::string selectedAtOpening_;
};

}  // namespace lb
