#include "base/sha256_win.h"

#include "base/sha256.h"

namespace lb {

// The program's own digest (base/sha256.h): the single copy's folder key is digested at every
// start, and bcrypt would load, under Wine, TLS libraries worth about 430 kB of private memory.
Sha256Digest Sha256(std::string_view bytes) { return DigestSha256(bytes); }

}  // namespace lb
