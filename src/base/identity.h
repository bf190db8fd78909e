#pragma once
// The program's identity, read from its own version block once during the main window's
// creation and read-only afterwards (also from the update-check thread).
#include <cstdint>
#include <string>

namespace lb {

// "%d.%d" of the high and low words; 65535.65535 when the version is unknown.
std::string FormatAppVersion(std::uint32_t fileVersionMS);
// "BRIMLEX - Lock Beacon".
std::string ComposeAppName(const std::string& companyName, const std::string& productName);

// Process-wide identity values.
struct Identity {
  std::string companyName;
  std::string productName;
  std::string appVersion;
  std::string appName;
  std::string settingsFolder;  // always ends in a backslash
};

// Written only by the main window's creation sequence, before any other thread starts.
Identity& MutableAppIdentity();
const Identity& AppIdentity();

}  // namespace lb
