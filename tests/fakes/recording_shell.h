#pragma once
// Records the web pages opened and the programs started; can be told to fail.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace lb::test {

class RecordingShell : public IShell {
 public:
  std::vector<std::string> opened;
  std::vector<std::string> started;
  std::vector<std::string> startedWith;    // program and parameters, a space between
  std::vector<std::string> startedHidden;  // the command lines
  bool failOpen = false;
  // Runs when a program is started (the new process reads the settings folder then).
  std::function<void()> onStart;

  void OpenAddress(const std::string& address) override {
    opened.push_back(address);
    if (failOpen) throw std::runtime_error("no browser");
  }
  void StartProgram(const std::string& path) override {
    started.push_back(path);
    if (onStart) onStart();
  }
  void StartProgramWith(const std::string& program, const std::string& parameters) override {
    startedWith.push_back(program + " " + parameters);
    if (onStart) onStart();
  }
  void StartHidden(const std::string&, const std::string& commandLine,
                   const std::string&) override {
    startedHidden.push_back(commandLine);
  }
};

}  // namespace lb::test
