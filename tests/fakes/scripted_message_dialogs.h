#pragma once
// Records every message dialog and answers it with a scripted result code; records every
// open-file dialog and answers it with a scripted path.
#include <optional>
#include <string>
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

  struct Report {
    std::string text;
    std::string caption;
    MessageType type;
    friend bool operator==(const Report&, const Report&) = default;
  };
  std::vector<Report> reports;
  void ShowReport(const std::string& text, const std::string& caption, MessageType type) override {
    reports.push_back({text, caption, type});
  }

  std::vector<OpenFileDialog> fileDialogs;
  std::optional<std::string> fileAnswer;  // nothing: the user cancels

  std::optional<std::string> ShowOpenFile(const OpenFileDialog& dialog) override {
    fileDialogs.push_back(dialog);
    return fileAnswer;
  }
};

}  // namespace lb::test
