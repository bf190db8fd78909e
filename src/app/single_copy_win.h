#pragma once
// The Win32 side of one copy per settings file (the rules are in single_copy.h): the mutex named
// after the settings folder, which the copy owns for its life; the running copy's application
// window, found by its class and by the folder key it carries as a window property; the
// registered message that asks it to show its indicator; and the hand-over before a restart.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/single_copy.h"

namespace lb {

class SettingsFolderClaim final : private ISingleCopyPlatform {
 public:
  // The class of the application window that serves the request (the setup finds running
  // copies by it too).
  static constexpr const wchar_t* kApplicationWindowClass = L"LockBeaconApplication";
  // The property of the application window that names its settings folder (FolderWindowKey).
  static constexpr const wchar_t* kFolderProperty = L"LockBeaconSettingsFolder";
  // What the running copy answers to the request: it will show its indicator.
  static constexpr LRESULT kShownAnswer = 0x4C42;
  // How long a start waits for the running copy's answer.
  static constexpr UINT kAnswerTimeoutMs = 3000;

  // Makes the folder's name and takes the restart note this process was started with (and
  // removes it from the environment, so that nothing this copy starts inherits it). An empty
  // folder, or one whose name cannot be made, gives no name: the check then lets the program
  // run.
  explicit SettingsFolderClaim(const std::string& settingsFolder);
  ~SettingsFolderClaim() override;
  SettingsFolderClaim(const SettingsFolderClaim&) = delete;
  SettingsFolderClaim& operator=(const SettingsFolderClaim&) = delete;

  // The start-up check (CheckSingleCopy). After RunAsTheCopy this thread owns the name until
  // HandOver or the end of the process.
  [[nodiscard]] StartOutcome Check();

  // From now on `applicationWindow` answers for this folder: it carries the folder key and lets
  // the request through from programs of lower integrity (a copy started as administrator is
  // asked by one started normally).
  void ServeFrom(HWND applicationWindow);
  // Whether a message to the application window is the request for this folder.
  [[nodiscard]] bool IsShowRequest(UINT message, WPARAM wParam) const noexcept;

  // Before this copy starts its successor: lets go of the name, takes the key off the window and
  // puts this process's id into the environment that the successor inherits.
  void HandOver();

  // The registered message of the request.
  [[nodiscard]] static UINT ShowRequestMessage();
  // The mutex name and window key of a settings folder (a full path with long names, upper
  // case, FolderKey, SHA-256); nothing when the system cannot make them.
  struct FolderNames {
    std::wstring mutexName;
    std::uint64_t windowKey = 0;
  };
  [[nodiscard]] static std::optional<FolderNames> NamesOf(const std::string& settingsFolder);

 private:
  // ISingleCopyPlatform
  FolderName TryTakeName(int waitMs) override;
  RunningCopyAnswer AskRunningCopyToShow() override;
  [[nodiscard]] bool PredecessorRunning() const override;
  [[nodiscard]] std::int64_t NowMs() const override;

  HANDLE mutex_ = nullptr;
  bool owned_ = false;
  std::uint64_t windowKey_ = 0;
  HANDLE predecessor_ = nullptr;  // SYNCHRONIZE on the copy this one follows, if any
  HWND servingWindow_ = nullptr;
};

}  // namespace lb
