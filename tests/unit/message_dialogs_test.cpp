// ShowMessageDialog: which buttons, in which order, the default and the Esc button, the
// captions given in, and the result codes.
#include "platform/message_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/scripted_message_dialogs.h"

namespace lb {
namespace {

using B = MessageButton;

std::vector<MessageButton> Kinds(const MessageDialog& dialog) {
  std::vector<MessageButton> kinds;
  for (const auto& button : dialog.buttons) kinds.push_back(button.kind);
  return kinds;
}

std::optional<MessageButton> EscKind(const MessageDialog& dialog) {
  if (!dialog.escButton) return std::nullopt;
  return dialog.buttons[*dialog.escButton].kind;
}

TEST(ShowMessageDialog, ButtonsInCreationOrderWithDefaultAndEsc) {
  const struct {
    MessageButtons set;
    std::vector<MessageButton> order;
    MessageButton defaultButton;
    std::optional<MessageButton> esc;
  } cases[] = {
      {{B::No, B::Yes}, {B::Yes, B::No}, B::Yes, B::No},
      {{B::Cancel, B::OK}, {B::OK, B::Cancel}, B::OK, B::Cancel},
      {{B::Cancel, B::No, B::Yes}, {B::Yes, B::No, B::Cancel}, B::Yes, B::Cancel},
      {{B::OK, B::Yes, B::No}, {B::Yes, B::No, B::OK}, B::OK, B::No},
      {{B::Ignore, B::Retry, B::Abort}, {B::Abort, B::Retry, B::Ignore}, B::Retry, std::nullopt},
      {{B::OK}, {B::OK}, B::OK, B::OK},
      {{B::Close, B::Help, B::YesToAll, B::NoToAll, B::All, B::Yes},
       {B::Yes, B::All, B::NoToAll, B::YesToAll, B::Help, B::Close},
       B::Yes,
       std::nullopt},
  };
  for (const auto& c : cases) {
    const MessageDialog dialog = BuildMessageDialog("m", MessageType::Warning, c.set, "c", {});
    EXPECT_EQ(Kinds(dialog), c.order);
    EXPECT_EQ(dialog.buttons[dialog.defaultButton].kind, c.defaultButton);
    EXPECT_EQ(EscKind(dialog), c.esc);
  }
}

TEST(ShowMessageDialog, CaptionsGoOnTheButtonsInCreationOrder) {
  // More buttons than captions: the rest keep their standard captions.
  MessageDialog dialog = BuildMessageDialog("Text", MessageType::Confirmation,
                                            {B::Cancel, B::No, B::Yes}, "Frage", {"Ja", "Nein"});
  EXPECT_EQ(dialog.caption, "Frage");
  EXPECT_EQ(dialog.message, "Text");
  EXPECT_EQ(dialog.type, MessageType::Confirmation);
  EXPECT_EQ(dialog.buttons[0].caption, "Ja");
  EXPECT_EQ(dialog.buttons[1].caption, "Nein");
  EXPECT_EQ(dialog.buttons[2].caption, "Cancel");

  // More captions than buttons: the extra ones are ignored.
  dialog = BuildMessageDialog("", MessageType::Error, {B::OK}, "", {"Gut", "Schlecht"});
  ASSERT_EQ(dialog.buttons.size(), 1u);
  EXPECT_EQ(dialog.buttons[0].caption, "Gut");
}

TEST(ShowMessageDialog, ResultCodesAreThePlatformsAndTheAnswerIsPassedBack) {
  const MessageDialog dialog = BuildMessageDialog(
      "", MessageType::Custom,
      {B::Yes, B::No, B::OK, B::Cancel, B::Abort, B::Retry, B::Ignore, B::Close, B::Help}, "", {});
  std::vector<int> codes;
  for (const auto& button : dialog.buttons) codes.push_back(button.resultCode);
  EXPECT_EQ(codes, (std::vector<int>{6, 7, 1, 2, 3, 4, 5, 9, 8}));

  test::ScriptedMessageDialogs dialogs;
  dialogs.answer = kResultYes;
  EXPECT_EQ(ShowMessageDialog(dialogs, "Restart?", MessageType::Confirmation, {B::Yes, B::No},
                              "Confirmation", {"Yes", "No"}),
            6);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].message, "Restart?");
}

}  // namespace
}  // namespace lb
