#pragma once
// The language chooser on Win32 (LanguageChooserDialog): a fixed dialog with the owner-drawn list
// of languages and their flags, the translators' box, the link to the translation page, "OK" and
// "Cancel". The rules live in language_chooser.h; this file shows their state and turns the
// user's input into calls of them.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "i18n/language_chooser.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "ui/handles_win.h"
#include "ui/message_dialogs_win.h"
#include "ui/modal_dialog_win.h"

namespace lb {

// What the chooser needs of the program that opens it.
struct LanguageChooserHost {
  // App::SetLanguageFile.
  std::function<void(const std::string&)> setLanguageFile;
  // Ends the application as "Exit" does.
  std::function<void()> terminate;
};

// Opens a new language chooser over `owner` (which is disabled meanwhile) and returns when it
// has closed. The "Language..." menu command calls this.
void ShowLanguageChooser(HWND owner, const LanguageChooserHost& host);

struct LanguageChooserOptions {
  LanguageChooserHost host;
  LanguageState language;        // what LoadLanguage found at start-up
  std::string settingsFolder;    // where "start.bat" goes
  std::string programPath;       // the program that the restart script starts
  std::string serverHost;        // the maker's web server
  HMODULE flagModule = nullptr;  // the module whose resources hold the flag pictures
  // The restart question; null: task dialogs owned by the chooser.
  IMessageDialogs* messages = nullptr;
};

// The options for the running program: its language, settings folder, path and resources.
[[nodiscard]] LanguageChooserOptions ProgramChooserOptions(const LanguageChooserHost& host);

// Starts `scriptPath` through the command interpreter without a window, in `workingFolder`,
// with delayed expansion off whatever the user's defaults say. The result is not looked at.
void StartBatchHidden(const std::string& scriptPath, const std::string& workingFolder);

class LanguageChooserDialog final : public ModalDialog, private IChooserPlatform {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconLanguageChooser";
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  static constexpr int kClientWidth = 622;
  static constexpr int kClientHeight = 227;
  static constexpr int kItemHeight = 18;
  static constexpr int kFlagSize = 16;

  enum : int {
    kOk = IDOK,          // okButton, the default button
    kCancel = IDCANCEL,  // cancelButton, pressed by Esc
    kLanguageList = 1001,
    kTranslatorsBox = 1002,
    kLanguageLabel = 1003,
    kTranslatorsLabel = 1004,
    kTranslationLink = 1005,
    kBevel = 1006,
  };

  // Creates the dialog, hidden, centred on the screen, with its captions, list and
  // translators filled in. Throws AppError when the window cannot be created.
  LanguageChooserDialog(HINSTANCE instance, HWND owner, LanguageChooserOptions options);
  ~LanguageChooserDialog() override;

  // ShowModal, Show and Close (the owner enabled again, the window destroyed) come from
  // ModalDialog; Dpi() from DpiWindow.

  [[nodiscard]] LanguageChooser& Chooser() noexcept { return chooser_; }
  [[nodiscard]] HWND Item(int id) const noexcept { return ::GetDlgItem(Hwnd(), id); }
  // The flag picture drawn for picture index `index`, at the present DPI.
  [[nodiscard]] const DibSection& Flag(int index) const {
    return flags_.at(static_cast<std::size_t>(index));
  }

  void OnLanguageListChange();
  void OnOk();
  void OnCancel() { Close(); }
  void OnTranslationLinkClick() { chooser_.OnTranslationLinkClick(); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CreateControls(HINSTANCE instance);
  void LayOut(int dpi) override;
  [[nodiscard]] HWND FirstFocus() const override { return Item(kLanguageList); }
  void LoadFlags();
  void DrawLanguageListItem(const DRAWITEMSTRUCT& item) const;
  void ShowTranslators();

  // IChooserPlatform
  void SetLanguageFile(const std::string& fileName) override;
  void ProcessMessages() override;
  [[nodiscard]] int OsMajorVersion() const override;
  [[nodiscard]] std::string SystemFolder() const override;
  [[nodiscard]] std::string ProgramPath() const override { return programPath_; }
  void StartScriptHidden(const std::string& scriptPath, const std::string& workingFolder) override;
  void Terminate() override;
  void OpenAddress(const std::string& address) override;

  LanguageChooserHost host_;
  std::string programPath_;
  HMODULE flagModule_;
  Win32FileSystem files_;
  // The restart script's: the command interpreter reads a batch file in its console's code
  // page, the OEM one, not in the ANSI one (the "é" of "Café" in ANSI is another letter there).
  Win32CodePage codePage_{CP_OEMCP};
  TaskMessageDialogs ownMessages_;
  LanguageChooser chooser_;
  UniqueFont labelFont_;  // Tahoma 12 pt: labels, translators, buttons
  UniqueFont listFont_;   // Tahoma 10 pt
  UniqueFont linkFont_;   // Tahoma 12 pt, underlined
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  HWND tooltip_ = nullptr;
  std::wstring tipText_;
  std::array<DibSection, kFlagCount> flags_;
};

}  // namespace lb
