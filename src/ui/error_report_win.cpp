#include "ui/error_report_win.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <new>
#include <string_view>

#include "platform/app_error.h"
#include "platform/wide_text_win.h"
#include "ui/app_title.h"

namespace lb {
namespace {

std::atomic<ErrorReportHook> reportHook{nullptr};

// True while an error box is open. The box's own message loop goes on running the program's
// timers and window messages; an error they raise meanwhile (the same refused write, as a rule)
// is not stacked on top of the open box, which the user could then never close.
std::atomic<bool> boxOpen{false};

void Show(std::string_view message) noexcept {
  if (boxOpen.exchange(true)) return;
  struct Closed {
    ~Closed() { boxOpen.store(false); }
  } closed;
  try {
    const std::string text = FormatErrorReport(std::string(message));
    if (const ErrorReportHook hook = reportHook.load()) {
      hook(text);
      return;
    }
    // Task-modal without an owner: every window of the program waits for the box, whichever
    // window (if any) is active at the time.
    ::MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(kAppTitle).c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    // No memory left to build the text: still tell the user that something went wrong.
    ::MessageBoxW(nullptr, L"Out of memory.", L"Lock Beacon", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  }
}

}  // namespace

void ShowErrorReport(const std::string& message) noexcept { Show(message); }

void ReportCurrentException() noexcept {
  const char* message = "Unexpected error";
  try {
    throw;
  } catch (const std::bad_alloc&) {
    message = "Out of memory";
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
  }
  // what() stays valid: the exception lives until the caller's catch block ends.
  Show(message);
}

ErrorReportHook SetErrorReportHook(ErrorReportHook hook) noexcept {
  return reportHook.exchange(hook);
}

}  // namespace lb
