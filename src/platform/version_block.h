#pragma once
// The version block of an executable (VERSIONINFO resource): its twelve strings and where each
// is found.
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

}  // namespace lb
