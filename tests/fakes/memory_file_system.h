#pragma once
// Files held in memory, keyed by the exact path string. A test can make writes fail (as in a
// folder without write access) and files unreadable (present, but locked or denied), make
// drives another machine's and entries links, and see every path the code asked about.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace lb::test {

class MemoryFileSystem : public IFileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unreadable;   // present, but ReadFile fails
  std::set<std::string> undeletable;  // present, but RemoveFile fails
  bool refuseWrites = false;
  std::set<char> remoteDrives;                       // letters in capitals; the others are local
  std::map<std::string, std::uint32_t> reparseTags;  // entries that are reparse points
  static constexpr std::uint32_t kSymbolicLink = 0xA000000C;  // IO_REPARSE_TAG_SYMLINK
  static constexpr std::uint32_t kJunction = 0xA0000003;      // IO_REPARSE_TAG_MOUNT_POINT

  // While `recordTouched` is set, every path passed to any of the calls below (writes
  // included), in order; drives as "X:". Off by default, so that benchmarks stay lean.
  bool recordTouched = false;
  mutable std::vector<std::string> touched;

  mutable int reads = 0;                       // ReadFile calls that returned content
  mutable std::map<std::string, int> readsOf;  // the same, per path
  int writes = 0;                              // WriteFile calls that succeeded

  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    Touch(path);
    const auto found = files.find(path);
    if (found == files.end() || unreadable.contains(path)) return std::nullopt;
    if (found->second.size() > maxBytes) return std::nullopt;
    ++reads;
    ++readsOf[path];
    return found->second;
  }
  bool WriteFile(const std::string& path, const std::string& bytes) override {
    Touch(path);
    if (refuseWrites) return false;
    files[path] = bytes;
    ++writes;
    return true;
  }
  bool FileExists(const std::string& path) const override {
    Touch(path);
    return files.contains(path);
  }
  bool CanWrite(const std::string& path) const override {
    Touch(path);
    return !refuseWrites && files.contains(path);
  }
  bool RemoveFile(const std::string& path) override {
    Touch(path);
    return !undeletable.contains(path) && files.erase(path) > 0;
  }
  bool CreateFolder(const std::string& path) override {
    Touch(path);
    if (refuseWrites) return false;
    return folders.insert(path).second;
  }
  bool IsLocalDrive(char letter) const override {
    Touch(std::string(1, letter) + ":");
    return !remoteDrives.contains(letter);
  }
  std::optional<std::uint32_t> ReparseTag(const std::string& path) const override {
    Touch(path);
    const auto found = reparseTags.find(path);
    if (found == reparseTags.end()) return std::nullopt;
    return found->second;
  }

 private:
  void Touch(const std::string& path) const {
    if (recordTouched) touched.push_back(path);
  }
};

}  // namespace lb::test
