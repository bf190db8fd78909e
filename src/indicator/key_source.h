#pragma once
// Where the lock-key monitor learns of key presses. Chosen once at start, in this order: raw
// keyboard input that the system delivers to one of the program's windows even while it is in
// the background; a low-level keyboard hook on a thread of its own; the 10 ms poll, which needs
// nothing from the system but wakes the processor a hundred times a second.
#include <functional>
#include <optional>
#include <string_view>

namespace lb {

enum class KeySource { RawInput, KeyboardHook, Polling };

// "raw-input", "hook", "poll": the names the test build's environment variable takes.
[[nodiscard]] const char* KeySourceName(KeySource source);
[[nodiscard]] std::optional<KeySource> ParseKeySource(std::string_view name);

// The source that the environment variable LOCKBEACON_KEY_SOURCE names, in a build made for the
// tests (so that each source can be tried and measured on its own). A build for release never
// reads the environment and always answers nothing.
[[nodiscard]] std::optional<KeySource> ForcedKeySource();

// The ways of starting the two event sources; each answers whether its source runs.
struct KeySourceStarters {
  std::function<bool()> startRawInput;
  std::function<bool()> startKeyboardHook;
};

// Starts the first source that runs, in the order raw input, keyboard hook, polling (which
// always runs). A forced source starts the chain at that source: forcing the hook never tries
// raw input, forcing polling tries nothing.
[[nodiscard]] KeySource StartKeySource(std::optional<KeySource> forced,
                                       const KeySourceStarters& starters);

}  // namespace lb
