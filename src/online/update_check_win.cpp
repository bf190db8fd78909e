#include "online/update_check_win.h"

#include <exception>
#include <thread>

#include "base/client_identity_win.h"
#include "base/identity.h"
#include "base/server_host.h"
#include "online/update_store_win.h"
#include "online/web_client_win.h"
#include "platform/app_error.h"
#include "platform/wide_text_win.h"

namespace lb {

std::string Win32CheckPlatform::PostForm(const std::string& address, const FormLines& lines,
                                         int timeoutMs) {
  return lb::PostForm(address, lines, timeoutMs);
}
std::string Win32CheckPlatform::MachineIdentifier() {
  return lb::MachineIdentifier(AppIdentity().productName);
}
IUpdateStore& Win32CheckPlatform::OpenUpdateStore() { return ProcessUpdateStore(); }
std::string Win32CheckPlatform::OSDescription() { return lb::OSDescription(); }
std::string Win32CheckPlatform::UserLocaleName() { return lb::UserLocaleName(); }
std::string Win32CheckPlatform::TodayShortDate() { return lb::TodayShortDate(); }

std::string TodayShortDate() {
  wchar_t buffer[128];
  const int length =
      ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 128);
  if (length <= 1) throw AppError("The date cannot be formatted");
  return ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)));
}

namespace {

void RunUpdateCheck(const CheckInputs& inputs) noexcept {
  UpdateCheckResults& results = CheckResults();
  try {
    Win32CheckPlatform platform;
    UpdateCheck checker(platform, inputs, results);
    checker.Execute();
  } catch (...) {
    // Execute guards every step; should anything escape all the same, the user interface
    // still learns that the check is over.
    results.checkDone.store(true, std::memory_order_release);
  }
}

bool SwitchedOff() noexcept {
  try {
    return UpdateCheckSwitchedOff(ProcessUpdateStore());
  } catch (...) {
    return false;
  }
}

}  // namespace

void StartUpdateCheckThread(CheckInputs inputs) {
  // Switched off, the check only reads the update store and sends nothing: it runs here, without
  // a thread, whose stack Wine would keep after it ended (about 1 MB of private memory).
  if (SwitchedOff()) {
    RunUpdateCheck(inputs);
    return;
  }
  try {
    std::thread([inputs = std::move(inputs)]() noexcept { RunUpdateCheck(inputs); }).detach();
  } catch (const std::exception& error) {
    throw AppError(std::string("The update check cannot start: ") + error.what());
  }
}

void ShowUpdateOff() {
  try {
    lb::ShowUpdateOff(ProcessUpdateStore());
  } catch (...) {
  }
}

void ShowUpdateOn() {
  try {
    lb::ShowUpdateOn(ProcessUpdateStore());
  } catch (...) {
  }
}

UpdateCheckWindow::UpdateCheckWindow(HINSTANCE instance, Options options)
    : instance_(instance), options_(std::move(options)) {
  Create(
      instance, {.name = L"LockBeaconUpdateCheck"},
      {.title = L"", .style = 0, .x = 0, .y = 0, .width = 0, .height = 0, .owner = HWND_MESSAGE});
  timers_.Attach(Hwnd());
  timer_.emplace(timers_, *this, CheckResults());
}

UpdateCheckWindow::~UpdateCheckWindow() {
  notice_.reset();
  Destroy();
}

void UpdateCheckWindow::StartUpdateCheck() {
  const Identity& identity = AppIdentity();
  StartUpdateCheckThread({ServerHost(), identity.appName, identity.appVersion});
}

void UpdateCheckWindow::EnableUpdateNotifications(bool ticked) {
  if (options_.enableUpdateNotifications) options_.enableUpdateNotifications(ticked);
}

void UpdateCheckWindow::ShowNewVersionNotice() {
  if (notice_) return;  // at most one notice per process
  if (options_.noticeMayShow && !options_.noticeMayShow()) {
    noticeWaiting_ = true;
    return;
  }
  noticeWaiting_ = false;
  const UpdateCheckResults& results = CheckResults();
  notice_ = std::make_unique<UpdateNoticeWindow>(
      instance_, UpdateNoticeWindow::Options{.productName = AppIdentity().productName,
                                             .offeredVersion = results.offeredVersion,
                                             .downloadUrl = results.downloadUrl,
                                             .host = ServerHost(),
                                             .downloadPage = DownloadPageAddress(),
                                             .owner = options_.owner,
                                             .mainWindow = options_.mainWindow});
}

void UpdateCheckWindow::ShowWaitingNotice() {
  if (noticeWaiting_) ShowNewVersionNotice();
}

LRESULT UpdateCheckWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == static_cast<WPARAM>(kUpdateCheckTimerId) && timer_) {
    timer_->OnUpdateCheckTimer();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace lb
