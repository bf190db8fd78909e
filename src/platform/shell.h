#pragma once
// What the program asks of the shell: open a web page in the browser, start a program.
#include <string>

namespace lb {

class IShell {
 public:
  virtual ~IShell() = default;
  // Opens a web address: the "open" verb, the desktop window as owner, no parameters, show
  // command 0. Failures are dropped.
  virtual void OpenAddress(const std::string& address) = 0;
  // Starts a program with its default action, no parameters, no working folder, a normal
  // window; the result is not looked at and nothing waits for the new process.
  virtual void StartProgram(const std::string& path) = 0;
  // Starts the program at the full path `program` with `parameters` (passed as they are), a
  // normal window; as StartProgram otherwise.
  virtual void StartProgramWith(const std::string& program, const std::string& parameters) = 0;
  // Starts the program at the full path `program` with the whole `commandLine` (its name
  // first), without a window, in `workingFolder` (empty: this process's current folder);
  // nothing waits for the new process and a failure is not reported.
  virtual void StartHidden(const std::string& program, const std::string& commandLine,
                           const std::string& workingFolder) = 0;
};

}  // namespace lb
