#include "platform/version_block.h"

#include <cstdio>

namespace lb {

const std::array<VersionField, 12> kVersionFields = {{
    {"CompanyName", &VersionBlock::companyName},
    {"FileDescription", &VersionBlock::fileDescription},
    {"FileVersion", &VersionBlock::fileVersion},
    {"InternalName", &VersionBlock::internalName},
    {"LegalCopyright", &VersionBlock::legalCopyright},
    {"LegalTrademarks", &VersionBlock::legalTrademarks},
    {"OriginalFileName", &VersionBlock::originalFileName},
    {"ProductName", &VersionBlock::productName},
    {"ProductVersion", &VersionBlock::productVersion},
    {"Comments", &VersionBlock::comments},
    {"PrivateBuild", &VersionBlock::privateBuild},
    {"SpecialBuild", &VersionBlock::specialBuild},
}};

std::string VersionStringPrefix(std::uint16_t language, std::uint16_t codePage) {
  // Four lower-case hexadecimal digits each, language first: 0409 and 04b0 give 040904b0.
  char translation[9];
  std::snprintf(translation, sizeof translation, "%.4x%.4x", static_cast<unsigned>(language),
                static_cast<unsigned>(codePage));
  return std::string("\\StringFileInfo\\") + translation + "\\";
}

}  // namespace lb
