#pragma once
// Environment variables that only a build made for the tests reads: the server host
// (LOCKBEACON_SERVER_HOST) and the source of key presses (LOCKBEACON_KEY_SOURCE), so that the
// tests can point the program at a stand-in server and try each key source on its own. The build
// option LOCKBEACON_SERVER_FROM_ENVIRONMENT makes such a build; a release build never looks at
// the environment.
#include <optional>
#include <string>

namespace lb {

// The value of the environment variable `name` when it is set and not empty, in a build made
// for the tests; always nothing in a release build.
[[nodiscard]] std::optional<std::string> TestEnvironmentVariable(const char* name);

}  // namespace lb
