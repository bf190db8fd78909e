#pragma once
// The user's start-up entry in memory: the command, the system's switch-off, and a failure to
// write on request.
#include <optional>
#include <string>

#include "platform/app_error.h"
#include "platform/startup_entry.h"

namespace lb::test {

class FakeStartupEntry : public IStartupEntry {
 public:
  std::optional<std::string> command;
  bool switchedOff = false;
  bool refuseWrites = false;  // Write and Remove throw as a key without access would
  int writes = 0;             // calls of Write and Remove that changed something

  std::optional<std::string> Command() const override { return command; }
  bool SwitchedOff() const override { return switchedOff; }
  void Write(const std::string& value) override {
    Refuse();
    command = value;
    switchedOff = false;
    ++writes;
  }
  void Remove() override {
    Refuse();
    command.reset();
    switchedOff = false;
    ++writes;
  }

 private:
  void Refuse() const {
    if (refuseWrites) {
      throw AppError(
          "Unable to write to the registry key HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
          "CurrentVersion\\Run: Access is denied.");
    }
  }
};

}  // namespace lb::test
