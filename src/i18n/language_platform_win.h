#pragma once
// The language lookup's platform on Windows.
#include "i18n/language_platform.h"

namespace lb {

class Win32LanguagePlatform final : public ILanguagePlatform {
 public:
  [[nodiscard]] std::string ExeFolder() const override;
  [[nodiscard]] bool FolderExists(const std::string& path) const override;
  [[nodiscard]] std::vector<FolderEntry> ListFolder(const std::string& folder,
                                                    const std::string& pattern) const override;
  [[nodiscard]] std::uint16_t UserDefaultUILanguage() const override;
};

}  // namespace lb
