#pragma once
// The files of the program on Windows. A write goes to a temporary file beside the target that
// then replaces it, so that a failed write (a full disk, say) leaves the old file as it was.
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace lb {

class Win32FileSystem : public IFileSystem {
 public:
  [[nodiscard]] std::optional<std::string> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) const override;
  // Writes `<path>.<process id>.tmp` beside the target and moves it over the target
  // (MoveFileExW, replacing, write-through). Where the temporary file cannot be created or
  // cannot replace the target (a folder that allows changing the file but not creating one,
  // a target held open without delete sharing), the target is written in place, as the
  // profile functions do. No temporary file is left behind.
  [[nodiscard]] bool WriteFile(const std::string& path, const std::string& bytes) override;
  // True for files only, not for folders.
  [[nodiscard]] bool FileExists(const std::string& path) const override;
  [[nodiscard]] bool CanWrite(const std::string& path) const override;
  [[nodiscard]] bool RemoveFile(const std::string& path) override;
  [[nodiscard]] bool CreateFolder(const std::string& path) override;

  // The temporary file a write of `path` goes through.
  [[nodiscard]] static std::string TemporaryPathFor(const std::string& path);
};

}  // namespace lb
