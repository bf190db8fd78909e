#include "i18n/text_catalogue.h"

#include <algorithm>

namespace lb {

bool IsCatalogueText(std::string_view english) {
  return std::ranges::any_of(kTextCatalogue,
                             [&](const CatalogueText& text) { return text.english == english; });
}

}  // namespace lb
