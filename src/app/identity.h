#pragma once
// The program's identity, read from its own version block once during the main window's
// creation and read-only afterwards (also from the update-check thread).
#include <array>
#include <cstdint>
#include <string>

namespace lb {

// The twelve strings of the version block, in this order.
struct TEXEVersionData {
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTrademarks;
  std::string OriginalFileName;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string PrivateBuild;
  std::string SpecialBuild;
};

// Field name (as queried under \StringFileInfo\<translation>\) and member, in record order.
struct VersionField {
  const char* name;
  std::string TEXEVersionData::*member;
};
extern const std::array<VersionField, 12> kVersionFields;

// "\StringFileInfo\040904b0\" for language 0x0409 and code page 0x04B0.
std::string VersionStringPrefix(std::uint16_t language, std::uint16_t codePage);
// "%d.%d" of the high and low words; 65535.65535 when the version is unknown.
std::string FormatAppVersion(std::uint32_t fileVersionMS);
// "BRIMLEX - Lock Beacon".
std::string ComposeAppName(const std::string& companyName, const std::string& productName);

// Process-wide identity values.
struct Identity {
  std::string CompanyName;
  std::string ProductName;
  std::string AppVersion;
  std::string AppName;
  std::string SettingsFolder;  // always ends in a backslash
};

// Written only by the main window's creation sequence, before any other thread starts.
Identity& MutableAppIdentity();
const Identity& AppIdentity();

}  // namespace lb
