#pragma once
// The application's error report: where an error that no handler catches ends up. It shows a
// message box with the application title as caption and an error icon; the program goes on.
#include <string>

namespace lb {

// Shows `message` (a final period added as FormatErrorReport says). Never throws.
void ShowErrorReport(const std::string& message) noexcept;

// Reports the exception being handled; call it only inside a catch block. The report shows the
// exception's own message (what()).
void ReportCurrentException() noexcept;

// Tests replace the message box with a recorder; null restores the message box. Returns the
// previous hook.
using ErrorReportHook = void (*)(const std::string& text);
ErrorReportHook SetErrorReportHook(ErrorReportHook hook) noexcept;

}  // namespace lb
