#pragma once
// Errors that no handler catches. They reach the application's error report: a message box with
// the application title as caption and an error icon.
#include <stdexcept>
#include <string>

namespace lb {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text the error report shows: the message with a final period added when its last
// character sorts after "." (so "Unable to write to C:\x\settings.ini" gets one, "Done." and
// "Failed!" do not).
std::string FormatErrorReport(const std::string& message);

}  // namespace lb
