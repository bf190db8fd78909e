#pragma once
// Records every message dialog and answers it with a scripted result code.
#include <vector>

#include "platform/message_dialogs.h"

namespace lb::test {

class ScriptedMessageDialogs : public IMessageDialogs {
 public:
  std::vector<MessageDialog> shown;
  int answer = kResultNo;

  int ShowModal(const MessageDialog& dialog) override {
    shown.push_back(dialog);
    return answer;
  }
};

}  // namespace lb::test
