#pragma once
// The version block of an executable (VERSIONINFO resource): its twelve strings and where each
// is found.
#include <array>
#include <cstdint>
#include <string>

namespace lb {

// The twelve strings of the version block, in this order.
struct VersionBlock {
  std::string companyName;
  std::string fileDescription;
  std::string fileVersion;
  std::string internalName;
  std::string legalCopyright;
  std::string legalTrademarks;
  std::string originalFileName;
  std::string productName;
  std::string productVersion;
  std::string comments;
  std::string privateBuild;
  std::string specialBuild;
};

// Field name (as queried under \StringFileInfo\<translation>\) and member, in record order.
struct VersionField {
  const char* name;
  std::string VersionBlock::*member;
};
extern const std::array<VersionField, 12> kVersionFields;

// "\StringFileInfo\040904b0\" for language 0x0409 and code page 0x04B0.
std::string VersionStringPrefix(std::uint16_t language, std::uint16_t codePage);

}  // namespace lb
