#pragma once
// Files held in memory, keyed by the exact path string. A test can make writes fail (as in a
// folder without write access) and files unreadable (present, but locked or denied).
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace lb::test {

class MemoryFileSystem : public IFileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unreadable;   // present, but ReadFile fails
  std::set<std::string> undeletable;  // present, but RemoveFile fails
  bool refuseWrites = false;

  mutable int reads = 0;  // ReadFile calls that returned content
  mutable std::map<std::string, int> readsOf;  // the same, per path
  int writes = 0;         // WriteFile calls that succeeded

  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    const auto found = files.find(path);
    if (found == files.end() || unreadable.contains(path)) return std::nullopt;
    if (found->second.size() > maxBytes) return std::nullopt;
    ++reads;
    ++readsOf[path];
    return found->second;
  }
  bool WriteFile(const std::string& path, const std::string& bytes) override {
    if (refuseWrites) return false;
    files[path] = bytes;
    ++writes;
    return true;
  }
  bool FileExists(const std::string& path) const override { return files.contains(path); }
  bool CanWrite(const std::string& path) const override {
    return !refuseWrites && files.contains(path);
  }
  bool RemoveFile(const std::string& path) override {
    return !undeletable.contains(path) && files.erase(path) > 0;
  }
  bool CreateFolder(const std::string& path) override {
    if (refuseWrites) return false;
    return folders.insert(path).second;
  }
};

}  // namespace lb::test
