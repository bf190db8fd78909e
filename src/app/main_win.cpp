// The program entry: where DLLs may come from, the named mutex, DPI awareness, the common controls,
// the hidden application window, the main window with its creation sequence, and the message loop.
#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>
// The delay-load helper's hook types.
#include <delayimp.h>

#include <functional>
#include <string>

#include "app/app_window_win.h"
#include "app/single_copy_win.h"
#include "base/resource_ids.h"
#include "base/startup_entry_win.h"
#include "base/startup_platform_win.h"
#include "i18n/language_platform_win.h"
#include "indicator/full_screen_win.h"
#include "online/update_check_win.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "platform/keyboard_win.h"
#include "platform/restart_handover.h"
#include "platform/shell_win.h"
#include "platform/sound_player_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/app_title.h"
#include "ui/common_controls_win.h"
#include "ui/dpi_win.h"
#include "ui/error_report_win.h"
#include "ui/message_dialogs_win.h"
#include "ui/modeless_win.h"
#include "ui/window_base_win.h"

namespace lb {
namespace {

// The application's own top-level window: never shown, titled with the application title, and
// the owner of the main window. An owned window gets no taskbar button, so the program shows
// none while its indicator is on screen. Its class, "LockBeaconApplication", is how the
// installer finds a running copy, and how a second start of the same settings finds this one
// to ask it to show its indicator.
class ApplicationWindow final : public WindowBase {
 public:
  ApplicationWindow(HINSTANCE instance, const SettingsFolderClaim& claim) : claim_(claim) {
    const std::wstring title = ToWide(kAppTitle);
    Create(instance,
           {
               .name = SettingsFolderClaim::kApplicationWindowClass,
               .icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAINICON)),
           },
           {
               .title = title.c_str(),
               .style = WS_POPUP,
               .x = 0,
               .y = 0,
               .width = 0,
               .height = 0,
           });
  }

  // What a second start of the same settings asks for: the indicator as at the start.
  std::function<void()> showAsAtStart;

 private:
  // Posted to itself, so that the start that asked gets its answer at once and the indicator is
  // shown from the message loop, like every other show.
  static constexpr UINT kShowAsAtStart = WM_APP + 1;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (claim_.IsShowRequest(message, wParam)) {
      static_cast<void>(::PostMessageW(Hwnd(), kShowAsAtStart, 0, 0));
      return SettingsFolderClaim::kShownAnswer;
    }
    if (message == kShowAsAtStart) {
      if (showAsAtStart) showAsAtStart();
      return 0;
    }
    // The installer and the uninstaller ask the program to end with WM_CLOSE to this window:
    // it ends as Exit ends it, after the message being handled, never in the middle of a write.
    if (message == WM_CLOSE) {
      ::PostQuitMessage(0);
      return 0;
    }
    return DefaultHandling(message, wParam, lParam);
  }

  const SettingsFolderClaim& claim_;
};

// The update notice that waited over a full-screen program opens once the program is gone.
class NoticeAfterFullScreen final : public IFullScreenListener {
 public:
  NoticeAfterFullScreen(FullScreenWatch& watch, UpdateCheckWindow& updateCheck)
      : watch_(watch), updateCheck_(updateCheck) {
    watch_.Subscribe(*this);
  }
  ~NoticeAfterFullScreen() override { watch_.Unsubscribe(*this); }
  NoticeAfterFullScreen(const NoticeAfterFullScreen&) = delete;
  NoticeAfterFullScreen& operator=(const NoticeAfterFullScreen&) = delete;

  void OnQuietChanged(bool quiet) override {
    if (!quiet) updateCheck_.ShowWaitingNotice();
  }

 private:
  FullScreenWatch& watch_;
  UpdateCheckWindow& updateCheck_;
};

int RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (result == -1) return 1;
    if (IsModelessDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

int Run(HINSTANCE instance) {
  // Registered under a fixed name for the life of the process (the handle is never closed).
  // Whether another copy holds it already is not asked here: whether a second start runs is
  // decided by the name of its settings folder, below.
  static_cast<void>(::CreateMutexW(nullptr, FALSE, L"BRIMLEX_Lock_Beacon"));

  // One copy per settings file: a start that finds a running copy of the same settings asks it
  // to show its indicator and ends here, before it has read or written a setting or made a
  // window or a tray icon. The claim lives as long as the process.
  std::string settingsFolder;
  try {
    WinStartupPlatform startup;
    settingsFolder = SettingsFolderForStart(startup);
  } catch (...) {
    // A program that cannot tell where it is claims nothing; the creation sequence reports it.
  }
  SettingsFolderClaim claim(settingsFolder);
  if (claim.Check() == StartOutcome::End) return 0;

  // The manifest asks for per-monitor awareness already; this covers a copy whose manifest
  // was lost, and systems that do not read the manifest's newer entries.
  static_cast<void>(EnableProcessDpiAwareness());

  RegisterCommonControls();

  try {
    WinStartupPlatform platform;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32LanguagePlatform language;
    Win32Keyboard keyboard;
    Win32SoundPlayer sound;
    Win32Shell shell;
    TaskMessageDialogs messages;
    RegistryStartupEntry startupEntry;
    Win32FullScreenProbe fullScreen;

    ApplicationWindow application(instance, claim);
    AppWindow mainWindow(instance, application.Hwnd(),
                         AppPlatform{platform, files, codePage, language, keyboard, sound, shell,
                                     messages, startupEntry, &fullScreen});
    shell.SetOwner(mainWindow.Hwnd());
    messages.SetOwner(mainWindow.Hwnd());
    try {
      mainWindow.Logic().Create();
    } catch (...) {
      // The creation sequence stops at the failing step; the window lives on.
      ReportCurrentException();
    }
    mainWindow.ShowWithoutActivating();
    // Key presses as events from here on where the system offers them: no timer runs while
    // nobody touches a lock key.
    static_cast<void>(mainWindow.StartKeyEvents(ForcedKeySource()));
    // updateCheckTimer: the update check starts a second from now; when it is over it enables
    // "Update Notifications" and opens the update notice if a new version was offered.
    UpdateCheckWindow updateCheck(
        instance,
        {.owner = application.Hwnd(),
         .mainWindow = mainWindow.Hwnd(),
         .enableUpdateNotifications =
             [&mainWindow](bool ticked) { mainWindow.Logic().menu.UpdateCheckDone(ticked); },
         // Over a full-screen program the notice waits until it is gone.
         .noticeMayShow = [&mainWindow] { return !mainWindow.Logic().fullScreen.Check(); }});
    const NoticeAfterFullScreen noticeAfterFullScreen(mainWindow.Logic().fullScreen, updateCheck);
    // The start display's path, as the start display timer takes it.
    application.showAsAtStart = [&mainWindow] { mainWindow.Logic().OnTimer(kStartDisplayTimerId); };
    claim.ServeFrom(application.Hwnd());
    SetRestartHandover([&claim] { claim.HandOver(); });
    const int result = RunMessageLoop();
    SetRestartHandover({});
    return result;
  } catch (...) {
    // The windows themselves could not be made: nothing to run.
    ReportCurrentException();
    return 1;
  }
}

// winhttp.dll is delay-loaded: the helper asks this hook first and loads it from System32 by
// the hook's answer, so that where it comes from never depends on the search path. Every
// Windows from Vista on has it there, so the load cannot fail on a supported system (a failed
// delay load would raise an exception that no C++ handler catches).
FARPROC WINAPI LoadDelayedFromSystem32(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  std::wstring name;
  for (const char* c = info->szDll; *c; ++c) name += static_cast<wchar_t>(*c);
  return reinterpret_cast<FARPROC>(SystemModule(name.c_str()));
}

}  // namespace
}  // namespace lb

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = lb::LoadDelayedFromSystem32;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything else: every DLL loaded from here on by name (by this program or by a
  // system DLL on its behalf) comes from System32, never from the exe's folder or the current
  // folder, where a downloaded file could lie (a portable copy runs from Downloads).
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  return lb::Run(instance);
}
