#include "base/client_identity.h"

namespace lb {

std::string FormatOSDescription(const OsVersion& os) {
  std::string text = os.productName;
  if (os.servicePackMajor != 0) text += " Service Pack " + std::to_string(os.servicePackMajor);
  text += " (Version " + std::to_string(os.major) + "." + std::to_string(os.minor) + ", Build " +
          std::to_string(os.build) + ", " + (os.native64Bit ? "64-bit Edition" : "32-bit Edition") +
          ")";
  return text;
}

std::string WindowsProductName(int major, int minor, int build, bool server, bool serverR2) {
  if (major == 10 && minor == 0) {
    if (!server) return build >= 22000 ? "Windows 11" : "Windows 10";
    if (build >= 26100) return "Windows Server 2025";
    if (build >= 20348) return "Windows Server 2022";
    if (build >= 17763) return "Windows Server 2019";
    return "Windows Server 2016";
  }
  if (major == 6) {
    switch (minor) {
      case 3:
        return server ? "Windows Server 2012 R2" : "Windows 8.1";
      case 2:
        return server ? "Windows Server 2012" : "Windows 8";
      case 1:
        return server ? "Windows Server 2008 R2" : "Windows 7";
      case 0:
        return server ? "Windows Server 2008" : "Windows Vista";
      default:
        break;
    }
  }
  if (major == 5 && minor == 2) {
    if (!server) return "Windows XP";
    return serverR2 ? "Windows Server 2003 R2" : "Windows Server 2003";
  }
  if (major == 5 && minor == 1) return "Windows XP";
  return "Windows";
}

}  // namespace lb
