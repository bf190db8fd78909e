#include "base/server_host.h"

#ifdef LOCKBEACON_SERVER_FROM_ENVIRONMENT
#include <cstdlib>
#endif

#ifndef LOCKBEACON_SERVER_HOST
#define LOCKBEACON_SERVER_HOST "www.brimlex.com"
#endif

namespace lb {

std::string ServerHost() {
#ifdef LOCKBEACON_SERVER_FROM_ENVIRONMENT
  // Only in test builds; see the header.
  if (const char* host = std::getenv("LOCKBEACON_SERVER_HOST"); host != nullptr && *host != 0) {
    return host;
  }
#endif
  return LOCKBEACON_SERVER_HOST;
}

std::string HomePageAddress() { return "https://" + ServerHost() + "/"; }

}  // namespace lb
