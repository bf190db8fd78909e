#pragma once
// The files the program reads and writes, behind a small interface so that the logic is tested
// with an in-memory fake. Paths are UTF-8 and use the platform's own separators.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lb {

// The largest settings file, language file or LanguageCodes.csv the program reads: far above
// any real one (a few kilobytes), so that a stray huge file is refused as unreadable instead of
// taking the program's memory.
inline constexpr std::size_t kMaxTextFileBytes = 1024 * 1024;

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // The whole file as bytes, or nothing when it does not exist, cannot be read, or holds more
  // than `maxBytes` bytes (then it is not read at all).
  [[nodiscard]] virtual std::optional<std::string> ReadFile(const std::string& path,
                                                            std::size_t maxBytes) const = 0;
  // Replaces the file's content (creating the file); false when the platform refuses. Where the
  // platform allows it, the content is either fully written or the old file is left as it was.
  [[nodiscard]] virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
  [[nodiscard]] virtual bool FileExists(const std::string& path) const = 0;
  // Whether the existing file could be written now (opened for writing), without writing it.
  [[nodiscard]] virtual bool CanWrite(const std::string& path) const = 0;
  // False when there was no such file or it could not be deleted. (Not named DeleteFile:
  // <windows.h> defines that name as a macro, which would rename the member in Win32 code.)
  [[nodiscard]] virtual bool RemoveFile(const std::string& path) = 0;
  // Creates one folder (not its parents); false when it could not be created (or exists).
  [[nodiscard]] virtual bool CreateFolder(const std::string& path) = 0;

  // Whether the drive with this letter is one of this machine's own (a fixed or removable disk,
  // a CD, a RAM disk), not one mapped to another machine, missing, or of a kind not known.
  [[nodiscard]] virtual bool IsLocalDrive(char letter) const = 0;
  // The kind of reparse point (its tag) that `path` names, or nothing when it names none, or
  // nothing that exists. The entry is looked up in its folder: it is neither opened nor
  // followed (the folders on the way are, so the caller asks for each of them first).
  [[nodiscard]] virtual std::optional<std::uint32_t> ReparseTag(const std::string& path) const = 0;
};

}  // namespace lb
