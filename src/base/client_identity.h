#pragma once
// The machine as the program describes it to the maker's web server: the Windows version as a
// line of text.
#include <string>

namespace lb {

// What the system reports about itself, for OSDescription.
struct OsVersion {
  std::string productName;  // "Windows 10"
  int major = 0;
  int minor = 0;
  int build = 0;
  int servicePackMajor = 0;
  bool native64Bit = false;  // the machine's processor architecture (not the process's) is x64
};

// "Windows 10 (Version 10.0, Build 19045, 64-bit Edition)", or with a service pack
// "Windows 7 Service Pack 1 (Version 6.1, Build 7601, 32-bit Edition)".
[[nodiscard]] std::string FormatOSDescription(const OsVersion& os);

// The marketing name of a Windows version: "Windows 11", "Windows 10", "Windows 8.1",
// "Windows 7", "Windows Server 2016" and so on; "Windows" for any version it does not know.
[[nodiscard]] std::string WindowsProductName(int major, int minor, int build, bool server,
                                             bool serverR2);

}  // namespace lb
