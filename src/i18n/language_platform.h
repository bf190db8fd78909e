#pragma once
// What the language lookup needs from the platform beyond reading files: where the program
// lives, the folder listing of the languages folder and the user's interface language.
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace lb {

struct FolderEntry {
  std::string name;  // without folder
  bool isFolder = false;
  friend auto operator<=>(const FolderEntry&, const FolderEntry&) = default;
};

class ILanguagePlatform {
 public:
  virtual ~ILanguagePlatform() = default;

  // The folder of the running executable, with its trailing path delimiter.
  [[nodiscard]] virtual std::string ExeFolder() const = 0;
  // Whether `path` names an existing folder (symbolic links followed).
  [[nodiscard]] virtual bool FolderExists(const std::string& path) const = 0;
  // The entries of `folder` whose names match the wildcard `pattern` (letter case ignored),
  // hidden and system entries included, in the order of the platform's listing. Empty when the
  // folder cannot be listed.
  [[nodiscard]] virtual std::vector<FolderEntry> ListFolder(const std::string& folder,
                                                            const std::string& pattern) const = 0;
  // The user's user-interface language as a 16-bit language identifier (1031 for German as
  // used in Germany).
  [[nodiscard]] virtual std::uint16_t UserDefaultUILanguage() const = 0;
};

}  // namespace lb
