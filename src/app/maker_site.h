#pragma once
// The maker's web server: the one host name of every address the program opens or posts to.
// A build may name another one (a test build, a stand-in server) with LOCKBEACON_MAKER_HOST.

namespace lb {

#ifdef LOCKBEACON_MAKER_HOST
inline constexpr const char* kMakerHost = LOCKBEACON_MAKER_HOST;
#else
inline constexpr const char* kMakerHost = "www.brimlex.com";
#endif

}  // namespace lb
