#pragma once
// The restart script "start.bat": written into the settings folder after the user picked a new
// language, started hidden, it waits about a second (so that this process has ended) and starts
// the program again.
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace lb {

inline constexpr const char* kRestartScriptName = "start.bat";

// The script's full path: the settings folder, a backslash unless the folder ends in one, and
// "start.bat".
[[nodiscard]] std::string RestartScriptPath(std::string_view settingsFolder);

// A program path as a command of a batch file that starts exactly that program: in double
// quotes, which make "&", "^", "|", "<", ">", parentheses and spaces plain characters, and with
// every "%" doubled, since percent signs are expanded even inside quotes ("%%" is one "%"). A
// "!" is plain as long as delayed expansion is off, which is how the script is started. File
// names cannot contain double quotes.
[[nodiscard]] std::string BatchProgramCommand(std::string_view programPath);

// The script's five lines, each ended by CR LF: "@ECHO OFF", two remarks, the wait (timeout.exe
// for one second from Windows 6 on, one unanswered ping with a 1000 ms wait before), and the
// program. The waiting program is named by its full path in `systemFolder`: the script runs in
// the settings folder, which for a portable copy is the exe's folder, and the interpreter would
// run a "timeout.exe" or "timeout.bat" found there first.
[[nodiscard]] std::string RestartScriptText(std::string_view programPath, int osMajorVersion,
                                            std::string_view systemFolder);

// How the command interpreter is asked to run the script: its command line, and whether it
// works in the given working folder (the script's) or, for a network folder, which it cannot
// work in, in a folder of its own.
struct ScriptLaunch {
  std::string commandLine;
  bool inWorkingFolder = true;
};
// The script is named relative to the working folder, so that no character of the folder's
// name reaches the command line, where "%" and "&" would mean something; ".\" in front, since
// "start" is a command of the interpreter itself, which would take "start.bat" for it. In a
// network folder (\\server\share) the script's full path is given, in quotes (doubled: the
// interpreter takes off the outer pair). /d: no AutoRun commands; /v:off: "!" stays a plain
// character.
[[nodiscard]] ScriptLaunch RestartScriptLaunch(std::string_view scriptPath,
                                               std::string_view workingFolder);

// The script's bytes in `codePage`, the one the command interpreter reads batch files in,
// without byte-order mark; nothing when a path has a character that the code page lacks.
[[nodiscard]] std::optional<std::string> RestartScriptBytes(std::string_view programPath,
                                                            int osMajorVersion,
                                                            std::string_view systemFolder,
                                                            const ICodePage& codePage);

}  // namespace lb
