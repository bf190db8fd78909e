#pragma once
// A scripted platform for the start-up logic: an executable path, a version block, a folder
// probe answer and the per-user folder, recording the folders it was asked to create.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app_error.h"
#include "platform/startup_platform.h"

namespace lb::test {

class FakeStartupPlatform : public IStartupPlatform {
 public:
  std::string exePath = "C:\\Apps\\Lock Beacon\\LockBeacon.exe";
  std::optional<VersionBlock> versionBlock =
      VersionBlock{.companyName = "BRIMLEX", .productName = "Lock Beacon"};
  std::optional<std::uint32_t> fileVersionMS = 0x00010000u;  // 1.0
  bool exeFolderWritable = true;
  std::string appData = "C:\\Users\\Ann\\AppData\\Roaming";
  // How many of the next ExePath calls fail (the system could not say where the program is).
  mutable int exePathFailures = 0;

  mutable std::vector<std::string> probedFolders;
  std::vector<std::string> createdFolders;

  std::string ExePath() const override {
    if (exePathFailures > 0) {
      --exePathFailures;
      throw AppError("The system cannot find the path specified");
    }
    return exePath;
  }
  VersionBlock ReadVersionBlock(const std::string&) const override {
    if (!versionBlock)
      throw AppError("The specified resource type cannot be found in the image file");
    return *versionBlock;
  }
  std::optional<std::uint32_t> FileVersionMS(const std::string&) const override {
    return fileVersionMS;
  }
  bool IsFolderWritable(const std::string& folder) const override {
    probedFolders.push_back(folder);
    return exeFolderWritable;
  }
  std::string AppDataFolder() const override { return appData; }
  bool CreateFolder(const std::string& path) override {
    createdFolders.push_back(path);
    return true;
  }
};

}  // namespace lb::test
