#pragma once
// What start-up needs from the platform: the executable, its version block, the folders.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/version_block.h"

namespace lb {

class IStartupPlatform {
 public:
  virtual ~IStartupPlatform() = default;

  // Full path of the running executable.
  [[nodiscard]] virtual std::string ExePath() const = 0;
  // The version block's strings; throws AppError (with the system's message for its last
  // error) when the file has no version block or no translation entry.
  [[nodiscard]] virtual VersionBlock ReadVersionBlock(const std::string& path) const = 0;
  // The most significant double word of the fixed file version (major << 16 | minor), or
  // nothing when the block or its fixed part cannot be read.
  [[nodiscard]] virtual std::optional<std::uint32_t> FileVersionMS(
      const std::string& path) const = 0;
  // Whether a new file can be created in `folder` (probe "chk.tmp", created exclusively and
  // deleted on close).
  [[nodiscard]] virtual bool IsFolderWritable(const std::string& folder) const = 0;
  // The per-user roaming application-data folder, empty when it cannot be determined.
  [[nodiscard]] virtual std::string AppDataFolder() const = 0;
  // Creates one folder; the result is only informative (an existing folder is fine).
  virtual bool CreateFolder(const std::string& path) = 0;
};

}  // namespace lb
