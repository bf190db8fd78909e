#pragma once
// The maker's web server: one host name for every request and every web page the program opens.
#include <string>

namespace lb {

// The host, fixed when the program is built (LOCKBEACON_SERVER_HOST). A build made for the
// tests (LOCKBEACON_SERVER_FROM_ENVIRONMENT) takes the environment variable
// LOCKBEACON_SERVER_HOST instead when it is set, so that the tests can point the program at a
// stand-in server on this machine; a release build never looks at the environment.
[[nodiscard]] std::string ServerHost();

// The maker's home page, opened where no better address is known.
[[nodiscard]] std::string HomePageAddress();

// The maker's download page, "https://", the host, "/download/": what the update notice opens
// when the reply's download address is not one of the maker's own secure addresses.
[[nodiscard]] std::string DownloadPageAddress();

}  // namespace lb
