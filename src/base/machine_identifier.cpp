#include "base/machine_identifier.h"

namespace lb {

std::string MachineDigestInput(std::string_view machineGuid, std::string_view productName) {
  std::string bytes(machineGuid);
  bytes += '\0';
  bytes += productName;
  return bytes;
}

std::string DigestAsGuidText(const Sha256Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(36);
  for (std::size_t i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 0x0F];
  }
  return text;
}

std::string MachineIdentifierFrom(
    std::string_view machineGuid, std::string_view productName,
    const std::function<Sha256Digest(std::string_view bytes)>& sha256) {
  if (machineGuid.empty()) return {};
  return DigestAsGuidText(sha256(MachineDigestInput(machineGuid, productName)));
}

}  // namespace lb
