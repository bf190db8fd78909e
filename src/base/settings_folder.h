#pragma once
#include <string>

#include "platform/startup_platform.h"

namespace lb {

// The folder of settings.ini, ending in a backslash: the executable's folder when a new file
// can be created there, otherwise <roaming application data>\<company>\<product>\ (created on
// the way, not probed: a folder that cannot be written shows up at the first write).
std::string ChooseSettingsFolder(IStartupPlatform& platform, const std::string& exePath,
                                 const std::string& companyName, const std::string& productName);

}  // namespace lb
