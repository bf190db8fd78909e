#include "indicator/key_source.h"

#include "base/test_environment.h"

namespace lb {

const char* KeySourceName(KeySource source) {
  switch (source) {
    case KeySource::RawInput:
      return "raw-input";
    case KeySource::KeyboardHook:
      return "hook";
    case KeySource::Polling:
      break;
  }
  return "poll";
}

std::optional<KeySource> ParseKeySource(std::string_view name) {
  for (const KeySource source :
       {KeySource::RawInput, KeySource::KeyboardHook, KeySource::Polling}) {
    if (name == KeySourceName(source)) return source;
  }
  return std::nullopt;
}

std::optional<KeySource> ForcedKeySource() {
  // Only in test builds; see the header.
  if (const auto name = TestEnvironmentVariable("LOCKBEACON_KEY_SOURCE"))
    return ParseKeySource(*name);
  return std::nullopt;
}

KeySource StartKeySource(std::optional<KeySource> forced, const KeySourceStarters& starters) {
  const KeySource first = forced.value_or(KeySource::RawInput);
  if (first == KeySource::RawInput && starters.startRawInput && starters.startRawInput()) {
    return KeySource::RawInput;
  }
  if (first != KeySource::Polling && starters.startKeyboardHook && starters.startKeyboardHook()) {
    return KeySource::KeyboardHook;
  }
  return KeySource::Polling;
}

}  // namespace lb
