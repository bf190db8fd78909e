#pragma once
// The language lookup's platform for tests: an executable folder, the folders that exist, each
// folder's listing in a fixed order, and the user's interface language. The wildcard match is
// the platform's, so the fake lists every entry of a folder and leaves the filtering to the
// code under test, which has to cope with a platform that matches loosely.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "i18n/language_platform.h"

namespace lb::test {

class FakeLanguagePlatform : public ILanguagePlatform {
 public:
  std::string exeFolder = "C:\\Program Files\\Lock Beacon\\";
  std::set<std::string> folders;
  std::map<std::string, std::vector<FolderEntry>> listings;
  std::uint16_t uiLanguage = 1033;

  mutable std::vector<std::string> listedPatterns;

  std::string ExeFolder() const override { return exeFolder; }
  bool FolderExists(const std::string& path) const override { return folders.contains(path); }
  std::vector<FolderEntry> ListFolder(const std::string& folder,
                                      const std::string& pattern) const override {
    listedPatterns.push_back(pattern);
    const auto found = listings.find(folder);
    return found == listings.end() ? std::vector<FolderEntry>{} : found->second;
  }
  std::uint16_t UserDefaultUILanguage() const override { return uiLanguage; }
};

}  // namespace lb::test
