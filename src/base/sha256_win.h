#pragma once
// SHA-256 through Windows' own cryptography (BCrypt). bcrypt.dll is not a KnownDLL, so it is
// loaded from the system folder when first used, never imported by the exe.
#include <string_view>

#include "base/machine_identifier.h"

namespace lb {

// The SHA-256 digest of `bytes`. Throws AppError when the system's provider is missing or
// refuses.
[[nodiscard]] Sha256Digest Sha256(std::string_view bytes);

}  // namespace lb
