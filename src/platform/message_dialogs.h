#pragma once
// ShowMessageDialog: a modal message box whose caption and button captions are given already
// translated. The rules (which buttons, in which order, which is the default, which one Esc
// presses, which captions they carry) are decided here; the platform only shows the result.
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace lb {

// The kind of message, which chooses the icon.
enum class MessageType { Warning, Error, Information, Confirmation, Custom };

// The buttons, in the order in which the dialog creates them.
enum class MessageButton {
  Yes,
  No,
  OK,
  Cancel,
  Abort,
  Retry,
  Ignore,
  All,
  NoToAll,
  YesToAll,
  Help,
  Close
};

// The platform's result codes (Yes = 6, No = 7; the dialog IDs of the system where they exist).
inline constexpr int kResultOK = 1;
inline constexpr int kResultCancel = 2;
inline constexpr int kResultAbort = 3;
inline constexpr int kResultRetry = 4;
inline constexpr int kResultIgnore = 5;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
inline constexpr int kResultClose = 8;
inline constexpr int kResultHelp = 9;
inline constexpr int kResultAll = 12;
inline constexpr int kResultNoToAll = 13;
inline constexpr int kResultYesToAll = 14;

[[nodiscard]] int ResultCode(MessageButton button);
// The standard caption of a button ("Yes", "No to All").
[[nodiscard]] std::string StandardCaption(MessageButton button);

// A set of buttons.
class MessageButtons {
 public:
  MessageButtons(std::initializer_list<MessageButton> buttons);
  [[nodiscard]] bool Contains(MessageButton button) const { return (bits_ >> Bit(button)) & 1u; }

 private:
  static unsigned Bit(MessageButton button) { return static_cast<unsigned>(button); }
  unsigned bits_ = 0;
};

// Everything the platform needs to show the dialog.
struct MessageDialog {
  struct Button {
    MessageButton kind;
    int resultCode;
    std::string caption;
  };
  std::string caption;  // the window caption
  std::string message;
  MessageType type = MessageType::Custom;
  std::vector<Button> buttons;  // in creation order
  std::size_t defaultButton = 0;
  // The button that Esc (and the close box) presses; nothing when no button answers Esc.
  std::optional<std::size_t> escButton;
};

// Builds the dialog: the buttons of the set in creation order with their standard captions, then
// the given captions put on the buttons in that order (extra captions ignored, buttons beyond
// the list keep the standard one). Default: OK, else Yes, else Retry. Esc: Cancel, else No,
// else OK.
[[nodiscard]] MessageDialog BuildMessageDialog(const std::string& message, MessageType type,
                                               const MessageButtons& buttons,
                                               const std::string& caption,
                                               const std::vector<std::string>& buttonCaptions);

// The open-file dialog: one filter entry ("Sound Effect (*.wav)", "*.wav"), the extension a
// typed name without one gets, and a preset file name (empty for none).
struct OpenFileDialog {
  std::string filterDescription;
  std::string filterPattern;
  std::string defaultExtension;
  std::string presetFile;
  friend bool operator==(const OpenFileDialog&, const OpenFileDialog&) = default;
};

// Shows message dialogs, and the open-file dialog, modally.
class IMessageDialogs {
 public:
  virtual ~IMessageDialogs() = default;
  // Shows the dialog and returns the result code of the button that closed it (the Esc
  // button's code for Esc and the close box).
  virtual int ShowModal(const MessageDialog& dialog) = 0;
  // Shows the open-file dialog and returns the chosen full path, or nothing when the user
  // cancelled.
  [[nodiscard]] virtual std::optional<std::string> ShowOpenFile(const OpenFileDialog& dialog) = 0;
  // A report with the system's own OK box: `caption` as its title, the icon of `type`.
  virtual void ShowReport(const std::string& text, const std::string& caption,
                          MessageType type) = 0;
};

// Builds the dialog and shows it; returns the pressed button's result code.
int ShowMessageDialog(IMessageDialogs& dialogs, const std::string& message, MessageType type,
                      const MessageButtons& buttons, const std::string& caption,
                      const std::vector<std::string>& buttonCaptions);

}  // namespace lb
