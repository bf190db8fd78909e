#pragma once
// SHA-256 for the Windows side: the program's own (base/sha256.h), which needs no system
// provider; kept as the name the Win32 callers use.
#include <string_view>

#include "base/machine_identifier.h"

namespace lb {

// The SHA-256 digest of `bytes`.
[[nodiscard]] Sha256Digest Sha256(std::string_view bytes);

}  // namespace lb
