#include "ui/message_dialogs_win.h"

// The common controls need the types of windows.h first.
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"

namespace lb {
namespace {

// What Esc and the close box return when the task dialog allows them (no button has that code
// unless Cancel is among the buttons).
constexpr int kDialogCancelled = IDCANCEL;

}  // namespace

int TaskMessageDialogs::ShowModal(const MessageDialog& dialog) {
  std::vector<std::wstring> captions;
  captions.reserve(dialog.buttons.size());
  for (const auto& button : dialog.buttons) captions.push_back(ToWide(button.caption));
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (std::size_t i = 0; i < dialog.buttons.size(); ++i) {
    buttons.push_back({dialog.buttons[i].resultCode, captions[i].c_str()});
  }
  const std::wstring caption = ToWide(dialog.caption);
  const std::wstring message = ToWide(dialog.message);

  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner_;
  config.hInstance = ::GetModuleHandleW(nullptr);
  config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
  if (dialog.escButton) config.dwFlags |= TDF_ALLOW_DIALOG_CANCELLATION;
  config.pszWindowTitle = caption.c_str();
  config.pszContent = message.c_str();
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  if (!dialog.buttons.empty())
    config.nDefaultButton = dialog.buttons[dialog.defaultButton].resultCode;
  switch (dialog.type) {
    case MessageType::Warning:
      config.pszMainIcon = TD_WARNING_ICON;
      break;
    case MessageType::Error:
      config.pszMainIcon = TD_ERROR_ICON;
      break;
    case MessageType::Information:
      config.pszMainIcon = TD_INFORMATION_ICON;
      break;
    case MessageType::Confirmation:
      // Task dialogs have no question mark of their own: the system's icon.
      config.dwFlags |= TDF_USE_HICON_MAIN;
      config.hMainIcon = ::LoadIconW(nullptr, IDI_QUESTION);
      break;
    case MessageType::Custom:
      break;
  }

  int pressed = 0;
  if (FAILED(::TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return 0;
  if (dialog.escButton) {
    const int escCode = dialog.buttons[*dialog.escButton].resultCode;
    // Esc and the close box come back as IDCANCEL; with a Cancel button that is its own code.
    if (pressed == kDialogCancelled) return escCode;
  }
  return pressed;
}

void TaskMessageDialogs::ShowReport(const std::string& text, const std::string& caption,
                                    MessageType type) {
  UINT icon = 0;
  switch (type) {
    case MessageType::Error:
      icon = MB_ICONERROR;
      break;
    case MessageType::Warning:
      icon = MB_ICONWARNING;
      break;
    case MessageType::Information:
      icon = MB_ICONINFORMATION;
      break;
    case MessageType::Confirmation:
      icon = MB_ICONQUESTION;
      break;
    case MessageType::Custom:
      break;
  }
  ::MessageBoxW(owner_, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK | icon);
}

std::optional<std::string> TaskMessageDialogs::ShowOpenFile(const OpenFileDialog& request) {
  // One filter entry: description, pattern, and the empty entry that ends the list.
  std::wstring filter = ToWide(request.filterDescription);
  filter += L'\0';
  filter += ToWide(request.filterPattern);
  filter += L'\0';
  filter += L'\0';
  const std::wstring extension = ToWide(request.defaultExtension);
  // Room for the longest path the file system allows.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring preset = ToWide(request.presetFile);
  if (preset.size() < file.size()) std::copy(preset.begin(), preset.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(OPENFILENAMEW);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // A typed name is taken as it is (the file is not tested: a missing one plays the built-in
  // sound); the program's current folder stays where it was.
  dialog.Flags =
      OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_EXPLORER;
  dialog.lpstrDefExt = extension.c_str();
  // comdlg32 (a KnownDLL) is loaded at the first file dialog, not at every start: it pulls in the
  // printer spooler and its libraries.
  using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto getOpenFileName = SystemProc<GetOpenFileNameFn>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!getOpenFileName || !getOpenFileName(&dialog)) return std::nullopt;  // cancelled (or refused)
  return ToUtf8(file.data());
}

}  // namespace lb
