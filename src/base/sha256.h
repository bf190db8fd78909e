#pragma once
// SHA-256 (FIPS 180-4) of the program's own: the digests of the machine identifier and of the
// single copy's folder key need no system provider (under Wine, bcrypt's loads TLS libraries
// that cost about 430 kB of private memory at every start).
#include <string_view>

#include "base/machine_identifier.h"

namespace lb {

// The SHA-256 digest of `bytes`.
[[nodiscard]] Sha256Digest DigestSha256(std::string_view bytes) noexcept;

}  // namespace lb
