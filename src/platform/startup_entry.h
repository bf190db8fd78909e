#pragma once
// The user's "start with Windows" entry: the value "Lock Beacon" of the per-user Run key, which
// the system runs at every sign-in, and the system's own switch for it (StartupApproved\Run,
// Windows 8 and later: the Task Manager's "Startup" page turns an entry off there without
// removing it). The installer writes the same value, so the program and the installer share one
// truth.
#include <optional>
#include <string>

namespace lb {

class IStartupEntry {
 public:
  virtual ~IStartupEntry() = default;

  // The command line of the entry, or nothing when there is none.
  [[nodiscard]] virtual std::optional<std::string> Command() const = 0;
  // Whether the system has switched the entry off.
  [[nodiscard]] virtual bool SwitchedOff() const = 0;
  // Sets the entry to `command` and takes away the system's switch-off, so that it runs at the
  // next sign-in. Throws AppError when the entry cannot be written.
  virtual void Write(const std::string& command) = 0;
  // Removes the entry and the system's switch for it. Throws AppError when it cannot.
  virtual void Remove() = 0;
};

}  // namespace lb
