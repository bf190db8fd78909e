#pragma once
// What start-up needs from Windows: the executable's path and version block, the write probe,
// the per-user application-data folder.
#include "platform/startup_platform.h"

namespace lb {

class WinStartupPlatform final : public IStartupPlatform {
 public:
  [[nodiscard]] std::string ExePath() const override;
  [[nodiscard]] VersionBlock ReadVersionBlock(const std::string& path) const override;
  [[nodiscard]] std::optional<std::uint32_t> FileVersionMS(const std::string& path) const override;
  [[nodiscard]] bool IsFolderWritable(const std::string& folder) const override;
  [[nodiscard]] std::string AppDataFolder() const override;
  bool CreateFolder(const std::string& path) override;
};

}  // namespace lb
