#pragma once
#include <string>

#include "platform/startup_platform.h"

namespace lb {

// The company and product names that name the per-user settings folder.
struct ProgramNames {
  std::string company;
  std::string product;
};

// The names of the version block of the executable at `exePath`; where it cannot be read, what
// the program calls itself (the shipped executable always carries one; a damaged copy still
// finds its settings in the usual folder).
[[nodiscard]] ProgramNames ReadProgramNames(const IStartupPlatform& platform,
                                            const std::string& exePath);

// The folder of settings.ini, ending in a backslash: the executable's folder when a new file
// can be created there, otherwise <roaming application data>\<company>\<product>\ (created on
// the way, not probed: a folder that cannot be written shows up at the first write).
std::string ChooseSettingsFolder(IStartupPlatform& platform, const std::string& exePath,
                                 const std::string& companyName, const std::string& productName);

}  // namespace lb
