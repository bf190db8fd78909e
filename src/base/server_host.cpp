#include "base/server_host.h"

#include "base/test_environment.h"

#ifndef LOCKBEACON_SERVER_HOST
#define LOCKBEACON_SERVER_HOST "www.brimlex.com"
#endif

namespace lb {

std::string ServerHost() {
  // Only in test builds; see the header.
  return TestEnvironmentVariable("LOCKBEACON_SERVER_HOST").value_or(LOCKBEACON_SERVER_HOST);
}

std::string HomePageAddress() { return "https://" + ServerHost() + "/"; }

std::string DownloadPageAddress() { return "https://" + ServerHost() + "/download/"; }

}  // namespace lb
