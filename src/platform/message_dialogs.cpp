#include "platform/message_dialogs.h"

#include <array>

namespace lb {
namespace {

struct ButtonInfo {
  MessageButton kind;
  int resultCode;
  const char* caption;
};

// Creation order.
constexpr std::array<ButtonInfo, 12> kButtons{{
    {MessageButton::Yes, kResultYes, "Yes"},
    {MessageButton::No, kResultNo, "No"},
    {MessageButton::OK, kResultOK, "OK"},
    {MessageButton::Cancel, kResultCancel, "Cancel"},
    {MessageButton::Abort, kResultAbort, "Abort"},
    {MessageButton::Retry, kResultRetry, "Retry"},
    {MessageButton::Ignore, kResultIgnore, "Ignore"},
    {MessageButton::All, kResultAll, "All"},
    {MessageButton::NoToAll, kResultNoToAll, "No to All"},
    {MessageButton::YesToAll, kResultYesToAll, "Yes to All"},
    {MessageButton::Help, kResultHelp, "Help"},
    {MessageButton::Close, kResultClose, "Close"},
}};

const ButtonInfo& Info(MessageButton button) {
  for (const ButtonInfo& info : kButtons) {
    if (info.kind == button) return info;
  }
  return kButtons[0];
}

std::optional<std::size_t> IndexOf(const MessageDialog& dialog, MessageButton kind) {
  for (std::size_t i = 0; i < dialog.buttons.size(); ++i) {
    if (dialog.buttons[i].kind == kind) return i;
  }
  return std::nullopt;
}

}  // namespace

int ResultCode(MessageButton button) { return Info(button).resultCode; }
std::string StandardCaption(MessageButton button) { return Info(button).caption; }

MessageButtons::MessageButtons(std::initializer_list<MessageButton> buttons) {
  for (const MessageButton button : buttons) bits_ |= 1u << Bit(button);
}

MessageDialog BuildMessageDialog(const std::string& message, MessageType type,
                                 const MessageButtons& buttons, const std::string& caption,
                                 const std::vector<std::string>& buttonCaptions) {
  MessageDialog dialog;
  dialog.message = message;
  dialog.type = type;
  for (const ButtonInfo& info : kButtons) {
    if (buttons.Contains(info.kind))
      dialog.buttons.push_back({info.kind, info.resultCode, info.caption});
  }
  if (const auto ok = IndexOf(dialog, MessageButton::OK)) {
    dialog.defaultButton = *ok;
  } else if (const auto yes = IndexOf(dialog, MessageButton::Yes)) {
    dialog.defaultButton = *yes;
  } else if (const auto retry = IndexOf(dialog, MessageButton::Retry)) {
    dialog.defaultButton = *retry;
  }
  if (const auto cancel = IndexOf(dialog, MessageButton::Cancel)) {
    dialog.escButton = cancel;
  } else if (const auto no = IndexOf(dialog, MessageButton::No)) {
    dialog.escButton = no;
  } else {
    dialog.escButton = IndexOf(dialog, MessageButton::OK);
  }

  dialog.caption = caption;
  for (std::size_t i = 0; i < dialog.buttons.size() && i < buttonCaptions.size(); ++i) {
    dialog.buttons[i].caption = buttonCaptions[i];
  }
  return dialog;
}

int ShowMessageDialog(IMessageDialogs& dialogs, const std::string& message, MessageType type,
                      const MessageButtons& buttons, const std::string& caption,
                      const std::vector<std::string>& buttonCaptions) {
  return dialogs.ShowModal(BuildMessageDialog(message, type, buttons, caption, buttonCaptions));
}

}  // namespace lb
