#include "platform/message_dialogs.h"

#include <array>

namespace lb {
namespace {

struct ButtonInfo {
  MsgDlgBtn kind;
  int resultCode;
  const char* caption;
};

// Creation order.
constexpr std::array<ButtonInfo, 12> kButtons{{
    {MsgDlgBtn::Yes, kResultYes, "Yes"},
    {MsgDlgBtn::No, kResultNo, "No"},
    {MsgDlgBtn::OK, kResultOK, "OK"},
    {MsgDlgBtn::Cancel, kResultCancel, "Cancel"},
    {MsgDlgBtn::Abort, kResultAbort, "Abort"},
    {MsgDlgBtn::Retry, kResultRetry, "Retry"},
    {MsgDlgBtn::Ignore, kResultIgnore, "Ignore"},
    {MsgDlgBtn::All, kResultAll, "All"},
    {MsgDlgBtn::NoToAll, kResultNoToAll, "No to All"},
    {MsgDlgBtn::YesToAll, kResultYesToAll, "Yes to All"},
    {MsgDlgBtn::Help, kResultHelp, "Help"},
    {MsgDlgBtn::Close, kResultClose, "Close"},
}};

const ButtonInfo& Info(MsgDlgBtn button) {
  for (const ButtonInfo& info : kButtons) {
    if (info.kind == button) return info;
  }
  return kButtons[0];
}

std::optional<std::size_t> IndexOf(const MessageDialog& dialog, MsgDlgBtn kind) {
  for (std::size_t i = 0; i < dialog.buttons.size(); ++i) {
    if (dialog.buttons[i].kind == kind) return i;
  }
  return std::nullopt;
}

}  // namespace

int ResultCode(MsgDlgBtn button) { return Info(button).resultCode; }
std::string StandardCaption(MsgDlgBtn button) { return Info(button).caption; }

MsgDlgButtons::MsgDlgButtons(std::initializer_list<MsgDlgBtn> buttons) {
  for (const MsgDlgBtn button : buttons) bits_ |= 1u << Bit(button);
}

MessageDialog BuildMessageDialog(const std::string& Msg, MsgDlgType DlgType,
                                 const MsgDlgButtons& Buttons, const std::string& Caption,
                                 const std::vector<std::string>& Captions) {
  MessageDialog dialog;
  dialog.message = Msg;
  dialog.type = DlgType;
  for (const ButtonInfo& info : kButtons) {
    if (Buttons.Contains(info.kind))
      dialog.buttons.push_back({info.kind, info.resultCode, info.caption});
  }
  if (const auto ok = IndexOf(dialog, MsgDlgBtn::OK)) {
    dialog.defaultButton = *ok;
  } else if (const auto yes = IndexOf(dialog, MsgDlgBtn::Yes)) {
    dialog.defaultButton = *yes;
  } else if (const auto retry = IndexOf(dialog, MsgDlgBtn::Retry)) {
    dialog.defaultButton = *retry;
  }
  if (const auto cancel = IndexOf(dialog, MsgDlgBtn::Cancel)) {
    dialog.escButton = cancel;
  } else if (const auto no = IndexOf(dialog, MsgDlgBtn::No)) {
    dialog.escButton = no;
  } else {
    dialog.escButton = IndexOf(dialog, MsgDlgBtn::OK);
  }

  dialog.caption = Caption;
  for (std::size_t i = 0; i < dialog.buttons.size() && i < Captions.size(); ++i) {
    dialog.buttons[i].caption = Captions[i];
  }
  return dialog;
}

int TranslatedMessageDlg(IMessageDialogs& dialogs, const std::string& Msg, MsgDlgType DlgType,
                         const MsgDlgButtons& Buttons, const std::string& Caption,
                         const std::vector<std::string>& Captions) {
  return dialogs.ShowModal(BuildMessageDialog(Msg, DlgType, Buttons, Caption, Captions));
}

}  // namespace lb
