#include "base/test_environment.h"

#ifdef LOCKBEACON_READS_TEST_ENVIRONMENT
#include <cstdlib>
#endif

namespace lb {

std::optional<std::string> TestEnvironmentVariable([[maybe_unused]] const char* name) {
#ifdef LOCKBEACON_READS_TEST_ENVIRONMENT
  if (const char* value = std::getenv(name); value != nullptr && *value != 0) return value;
#endif
  return std::nullopt;
}

}  // namespace lb
