#include "platform/app_error.h"

namespace lb {

std::string FormatErrorReport(const std::string& message) {
  // Compared as unsigned bytes: every non-ASCII character (a UTF-8 byte of 0x80 or more) sorts
  // after "." as its UTF-16 code unit does.
  std::string report = message;
  if (!report.empty() && static_cast<unsigned char>(report.back()) > '.') report += '.';
  return report;
}

}  // namespace lb
