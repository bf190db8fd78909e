#pragma once
// The files of the program on Windows. A write goes to a temporary file beside the target that
// then replaces it, so that a failed write (a full disk, say) leaves the old file as it was.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace lb {

class Win32FileSystem : public IFileSystem {
 public:
  // The source of the temporary files' names: 64 random bits per call.
  using RandomSource = std::uint64_t (*)();
  // Names from the system's random number generator.
  Win32FileSystem() noexcept;
  // How a write waits before it tries again to replace a target that another program holds.
  using Pause = void (*)(unsigned milliseconds);
  // Names from `random` (a test's, to know them in advance); waits through `pause`.
  explicit Win32FileSystem(RandomSource random, Pause pause = &SleepFor) noexcept
      : random_(random), pause_(pause) {}

  [[nodiscard]] std::optional<std::string> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) const override;
  // Writes a new file `<path>.<16 random hexadecimal digits>.tmp` beside the target, created
  // only where no entry of that name exists (another name is tried when one does), and moves
  // it over the target (MoveFileExW, replacing, write-through). Where no temporary file can be
  // created or it cannot replace the target (a folder that allows changing the file but not
  // creating one), the write fails and the target is left as it was. A target that another
  // program holds open without delete sharing (a virus scanner, an indexer, an editor reading
  // it) is tried again after 10, 20, 40, 80 and 160 ms, so that a passing look at the file
  // does not lose the change; held longer, the write fails the same way. The target it is never
  // written in place, which would follow a link put there. No temporary file is left behind.
  [[nodiscard]] bool WriteFile(const std::string& path, const std::string& bytes) override;
  // True for files only, not for folders.
  [[nodiscard]] bool FileExists(const std::string& path) const override;
  [[nodiscard]] bool CanWrite(const std::string& path) const override;
  [[nodiscard]] bool RemoveFile(const std::string& path) override;
  [[nodiscard]] bool CreateFolder(const std::string& path) override;
  // GetDriveTypeW of "X:\".
  [[nodiscard]] bool IsLocalDrive(char letter) const override;
  [[nodiscard]] std::optional<std::uint32_t> ReparseTag(const std::string& path) const override;

  // The temporary file a write of `path` goes through when the random source gives `random`.
  [[nodiscard]] static std::string TemporaryPathFor(const std::string& path, std::uint64_t random);
  // How many names a write tries before it gives up.
  static constexpr int kTemporaryNameAttempts = 8;
  // How many times a write tries to replace a target that is held open.
  static constexpr int kReplaceAttempts = 6;

  // Sleep.
  static void SleepFor(unsigned milliseconds) noexcept;

 private:
  RandomSource random_;
  Pause pause_ = &SleepFor;
};

}  // namespace lb
