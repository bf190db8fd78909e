#pragma once
// The machine identifier the update check sends (guid=): a digest of the machine's own
// identifier (MachineGuid on Windows) and the product name, so that the server can tell machines
// apart and count their checks while the identifier itself, which other software reads too and
// could link the user by, never leaves the machine.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lb {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The bytes the digest is taken of: the machine's identifier as text, one zero byte, the product
// name (both UTF-8).
[[nodiscard]] std::string MachineDigestInput(std::string_view machineGuid,
                                             std::string_view productName);

// The first 128 bits of `digest` in the form of a GUID: 32 lower-case hexadecimal digits in
// groups of 8-4-4-4-12, the bytes in their order ("8da46056-2936-e97a-86e1-e5fb76c1fe15").
[[nodiscard]] std::string DigestAsGuidText(const Sha256Digest& digest);

// The identifier sent for `machineGuid`: DigestAsGuidText of `sha256` over MachineDigestInput;
// empty when `machineGuid` is empty (a machine without one sends an empty field).
// Whatever `sha256` throws passes on.
[[nodiscard]] std::string MachineIdentifierFrom(
    std::string_view machineGuid, std::string_view productName,
    const std::function<Sha256Digest(std::string_view bytes)>& sha256);

}  // namespace lb
