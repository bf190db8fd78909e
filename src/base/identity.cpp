#include "base/identity.h"

namespace lb {

std::string FormatAppVersion(std::uint32_t fileVersionMS) {
  return std::to_string(fileVersionMS >> 16) + "." + std::to_string(fileVersionMS & 0xFFFFu);
}

std::string ComposeAppName(const std::string& companyName, const std::string& productName) {
  return companyName + " - " + productName;
}

Identity& MutableAppIdentity() {
  static Identity identity;
  return identity;
}

const Identity& AppIdentity() { return MutableAppIdentity(); }

}  // namespace lb
