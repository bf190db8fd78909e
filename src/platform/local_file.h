#pragma once
// Which paths name a file on this machine. A sound path comes from settings.ini, which anyone
// who can drop a file beside the program can write: a path to another machine makes Windows
// connect to it and offer the user's credentials, so such a path must never be opened, not even
// to test that the file exists. The rules on the path's text are portable; what only the file
// system knows (the kind of a drive, links) is asked through IFileSystem.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace lb {

// One name in a folder, with no folder part: not empty, not "." or "..", none of \ / : (a
// drive or a stream) or * ? < > " | (wildcards and characters no file name has), no control
// character, and not a name Windows keeps for a device (CON, PRN, AUX, NUL, COM0-COM9,
// LPT0-LPT9, CONIN$, CONOUT$, with any extension).
[[nodiscard]] bool IsPlainFileName(std::string_view name);

// A full path on a drive of this machine as text: "X:\" (or "X:/") followed by plain names
// separated by \ or /. Nothing else is: another machine (\\host\share, //host), a device or
// namespace path (\\.\, \\?\, \??\), a URL, a relative path ("sounds\on.wav", "\on.wav",
// "C:on.wav"), an empty name ("C:\a\\b", a trailing separator), "." and "..", a stream name.
struct DrivePath {
  char drive;                         // the letter, in capitals
  std::vector<std::string> prefixes;  // "X:\a", "X:\a\b", ... up to the whole path
};
[[nodiscard]] std::optional<DrivePath> ParseDrivePath(std::string_view path);

// Whether a reparse point of this kind leads somewhere else (a symbolic link, a junction, a
// mount point, a DFS link, or any kind this program does not know). The kinds Windows uses to
// keep a file's own data differently (compressed system files, deduplicated files, files kept
// by a cloud-storage client such as OneDrive) do not: they hold the file where it is.
[[nodiscard]] bool ReparseTagLeadsElsewhere(std::uint32_t tag);

// Whether `path` names a file that is certainly on this machine, found without opening
// anything that could lead to another one: its text is a drive path (above), its drive is a
// local one, and no folder on the way nor the file itself is a link. It does not say that the
// file exists. Everything asked of the file system stops at the first link.
[[nodiscard]] bool IsLocalPath(const IFileSystem& files, std::string_view path);

}  // namespace lb
