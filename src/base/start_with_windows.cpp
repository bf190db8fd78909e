#include "base/start_with_windows.h"

#include <algorithm>

#include "platform/app_error.h"

namespace lb {
namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePath(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(x) == FoldCase(y);
         });
}

// The program a command line starts: its first argument, without the quotes around it.
std::string_view ProgramOf(std::string_view command) {
  const auto start = command.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  command.remove_prefix(start);
  if (command.front() == '"') {
    command.remove_prefix(1);
    return command.substr(0, command.find('"'));
  }
  return command.substr(0, command.find_first_of(" \t"));
}

}  // namespace

std::string StartupCommandFor(std::string_view exePath) {
  return "\"" + std::string(exePath) + "\"";
}

bool CommandStarts(std::string_view command, std::string_view exePath) {
  return !exePath.empty() && SamePath(ProgramOf(command), exePath);
}

bool StartWithWindows::IsOn() const {
  const auto command = entry_.Command();
  return command && CommandStarts(*command, exePath_) && !entry_.SwitchedOff();
}

void StartWithWindows::Set(bool on) {
  if (on == IsOn()) return;
  if (on) {
    if (exePath_.empty()) throw AppError("The program's own path is unknown");
    entry_.Write(StartupCommandFor(exePath_));
  } else {
    entry_.Remove();
  }
}

}  // namespace lb
