#pragma once
// One copy per settings file. A start of the program that would use the same settings.ini as a
// copy that runs already (the same folder, or two copies in read-only folders that share the
// per-user folder) asks that copy to show its indicator, as at its own start, and ends before
// it writes a setting or makes a window; a copy with settings of its own runs beside it.
//
// Each copy claims a name made from its settings folder (a mutex, owned by the copy for its
// whole life). This file holds the rules: what a start does with what it found, the order of
// the steps with its bounded wait, and how the name is made. single_copy_win.h does the Win32
// part: the mutex, finding the running copy's application window, the message.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/machine_identifier.h"
#include "platform/startup_platform.h"

namespace lb {

// What trying to take the settings folder's name gave.
enum class FolderName {
  Taken,        // ours now: nobody had it, or its owner ended without letting go (a crash)
  Held,         // a copy that still runs has it
  Unavailable,  // the name could not be made or opened at all
};

// How the running copy answered the request to show its indicator.
enum class RunningCopyAnswer {
  NotAsked,
  NoWindow,  // no application window of that folder (yet): the copy may still be starting
  Shown,     // it answered: it shows its indicator
  Silent,    // its window did not answer in time (hung, or busy with something long)
};

struct StartFacts {
  FolderName name = FolderName::Unavailable;
  RunningCopyAnswer answer = RunningCopyAnswer::NotAsked;
  // This start is a restart (Reset to Defaults, a new language) whose old copy still runs.
  bool predecessorRunning = false;
  // The bounded wait for the name is over.
  bool waitIsOver = false;
};

enum class StartStep {
  RunAsTheCopy,    // run, holding the name
  AskRunningCopy,  // ask the copy that holds the name to show its indicator
  End,             // end at once: the running copy is shown
  WaitForName,     // wait a moment for the name (or the running copy's window), then again
  RunBeside,       // run without the name: never let a name keep the program from starting
};

// The decision at one point of the start-up check.
[[nodiscard]] StartStep DecideStart(const StartFacts& facts);

// What the check needs of the system.
class ISingleCopyPlatform {
 public:
  virtual ~ISingleCopyPlatform() = default;
  // Tries to take the name, waiting at most `waitMs` for it (0: only asks).
  virtual FolderName TryTakeName(int waitMs) = 0;
  // Asks the application window of the copy that uses this settings folder to show its
  // indicator; waits a short, bounded time for the answer.
  virtual RunningCopyAnswer AskRunningCopyToShow() = 0;
  // Whether this start follows a copy that handed over to it and has not ended yet.
  [[nodiscard]] virtual bool PredecessorRunning() const = 0;
  // A steady clock in milliseconds.
  [[nodiscard]] virtual std::int64_t NowMs() const = 0;
};

// How long a start waits, at most, for a running copy's window to appear or for its old copy
// to end, and the step of that wait.
inline constexpr int kNameWaitLimitMs = 5000;
inline constexpr int kNameWaitStepMs = 100;

enum class StartOutcome { RunAsTheCopy, RunBeside, End };

// The start-up check: takes the name, or asks the running copy to show itself, or waits a
// bounded time, as DecideStart says.
[[nodiscard]] StartOutcome CheckSingleCopy(ISingleCopyPlatform& platform);

// The settings folder that this start will use, chosen as the main window's creation sequence
// chooses it (the same names from the version block, the same fallbacks), before any setting
// is read or written.
[[nodiscard]] std::string SettingsFolderForStart(IStartupPlatform& platform);

// The settings folder as one spelling of it: every "/" a backslash, without a "\\?\" prefix
// ("\\?\UNC\server" is "\\server"), without doubled or trailing separators. The Win32 side
// first makes it a full path with long names in upper case, since Windows' folder names are
// not case-sensitive.
[[nodiscard]] std::string FolderKey(std::string_view folder);

// The name of the mutex of a settings folder, from the SHA-256 of its FolderKey (as UTF-8):
// in the session's own namespace ("Local\"), a fixed prefix and 32 hexadecimal digits (a
// mutex name may not hold a backslash, and a path may be longer than a name may be).
[[nodiscard]] std::string FolderMutexName(const Sha256Digest& digest);
// The value the running copy's application window carries to say which folder it uses (the
// digest's first eight bytes; never 0, which means "none").
[[nodiscard]] std::uint64_t FolderWindowKey(const Sha256Digest& digest);

// The environment variable in which a copy that hands over for a restart names its process
// id, and its reading: a decimal number above 0, nothing else.
inline constexpr const char* kRestartOfVariable = "LOCKBEACON_RESTART_OF";
[[nodiscard]] std::optional<std::uint32_t> ParseRestartOf(std::string_view value);

}  // namespace lb
