#pragma once
// StartWithWindows: whether this copy of the program starts when the user signs in, read from
// and written to the user's start-up entry (never to settings.ini). The entry is this copy's
// only when its command names this executable; an entry of another copy (an installed one
// beside a portable one) is neither shown as this copy's nor removed by it.
#include <string>
#include <string_view>
#include <utility>

#include "platform/startup_entry.h"

namespace lb {

// The entry's command for the executable at `exePath`: the path in double quotes, so that a
// folder with spaces starts this program and nothing else.
[[nodiscard]] std::string StartupCommandFor(std::string_view exePath);

// Whether `command` starts the executable at `exePath`: its first argument (quoted, or up to
// the first space) is that path, with letters compared without case as Windows compares paths.
[[nodiscard]] bool CommandStarts(std::string_view command, std::string_view exePath);

class StartWithWindows {
 public:
  StartWithWindows(IStartupEntry& entry, std::string exePath)
      : entry_(entry), exePath_(std::move(exePath)) {}

  // On when the entry names this executable and the system has not switched it off.
  [[nodiscard]] bool IsOn() const;
  // Switches it on (the entry set to this executable, the system's switch-off taken away) or
  // off (the entry removed). When it already is as asked, nothing is written: an entry of
  // another copy stays, and so does one of this copy that the system switched off.
  // Throws AppError when the entry cannot be written.
  void Set(bool on);

 private:
  IStartupEntry& entry_;
  std::string exePath_;
};

}  // namespace lb
