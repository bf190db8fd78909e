// One copy per settings file in the real program: a second start of the same settings (the same
// folder, or two read-only folders that share the per-user one) shows the running copy's
// indicator and ends without writing anything; a copy that was killed, or one that hangs, keeps
// no start from running. (Copies with settings of their own run beside: startup_e2e_test.cpp.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "app/single_copy_win.h"
#include "e2e/harness_win.h"
#include "platform/wide_text_win.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;

fs::path PerUserSettingsFolder() { return RoamingAppData() / "BRIMLEX" / "Lock Beacon"; }

// The copies' names live as long as a process holds them: no test leaves one behind, and each
// starts without the per-user folder.
class SingleCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code ignored;
    fs::remove_all(RoamingAppData() / "BRIMLEX", ignored);
  }
  void TearDown() override { SetUp(); }
};

// Waits for the first copy's start display to be over, then hides its indicator, as its hide
// timer would.
HWND StartedAndHidden(const AppProcess& app, const fs::path& settings) {
  const HWND window = app.WaitForMainWindow();
  if (!window) return nullptr;
  if (!WaitFor([&] { return IniKeys(settings, L"Settings").size() == 4; })) return nullptr;
  // The start display shows the indicator opaque (and writes its new height first).
  if (!WaitFor([&] {
        BYTE alpha = 0;
        return GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr) && alpha == 255;
      })) {
    return nullptr;
  }
  ShowWindow(window, SW_HIDE);
  return WaitFor([&] { return !IsWindowVisible(window); }) ? window : nullptr;
}

TEST_F(SingleCopyTest, ASecondStartInTheSameFolderShowsTheFirstAndEnds) {
  TempFolder folder("same-folder");
  const fs::path exe = InstallApp(folder.Path());
  const fs::path settings = folder / "settings.ini";
  AppProcess first(exe);
  const HWND window = StartedAndHidden(first, settings);
  ASSERT_NE(window, nullptr);
  const std::string before = ReadText(settings);

  AppProcess second(exe);
  ASSERT_TRUE(WaitFor([&] { return !second.IsRunning(); })) << "the second copy runs on";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }))
      << "the first copy's indicator was not shown";
  SaveScreenshot("single-copy-second-start");
  EXPECT_TRUE(first.IsRunning());
  EXPECT_EQ(ReadText(settings), before) << "the second start wrote the settings";

  // And again: the first copy still answers.
  ShowWindow(window, SW_HIDE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
  AppProcess third(exe);
  ASSERT_TRUE(WaitFor([&] { return !third.IsRunning(); }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }));
}

// Two copies in folders they cannot write (a leftover probe file stands for that) share the
// per-user settings folder: the second one ends too.
TEST_F(SingleCopyTest, CopiesThatShareThePerUserSettingsAreOneCopy) {
  TempFolder folderA("shared-a");
  TempFolder folderB("shared-b");
  WriteText(folderA / "chk.tmp", "");
  WriteText(folderB / "chk.tmp", "");
  const fs::path settings = PerUserSettingsFolder() / "settings.ini";
  AppProcess first(InstallApp(folderA.Path()));
  const HWND window = StartedAndHidden(first, settings);
  ASSERT_NE(window, nullptr);

  AppProcess second(InstallApp(folderB.Path()));
  ASSERT_TRUE(WaitFor([&] { return !second.IsRunning(); })) << "the second copy runs on";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }));
  EXPECT_TRUE(first.IsRunning());
}

// Killed while another process still had its name open: the name is abandoned, not held.
TEST_F(SingleCopyTest, AKilledCopyKeepsNoStartFromRunning) {
  TempFolder folder("killed");
  const fs::path exe = InstallApp(folder.Path());
  const auto names = SettingsFolderClaim::NamesOf(ToUtf8(folder.Path().wstring()) + "\\");
  ASSERT_TRUE(names);
  AppProcess first(exe);
  ASSERT_NE(first.WaitForMainWindow(), nullptr);
  const HANDLE name = OpenMutexW(SYNCHRONIZE, FALSE, names->mutexName.c_str());
  ASSERT_NE(name, nullptr) << "the running copy holds no name " << ToUtf8(names->mutexName);
  first.Terminate();

  AppProcess next(exe);
  EXPECT_NE(next.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(next.IsRunning());
  // The new copy owns the name now: this thread cannot take it.
  EXPECT_EQ(WaitForSingleObject(name, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(name);

  // Killed with nobody else holding the name: it is gone, and the next start runs as well.
  next.Terminate();
  AppProcess last(exe);
  EXPECT_NE(last.WaitForMainWindow(), nullptr);
}

// A copy that holds the name but whose window does not answer (here: a thread of this test
// that owns the name and an application window with the folder's key, and never reads its
// messages): the start waits its few seconds for the answer and then runs.
TEST_F(SingleCopyTest, AHungCopyKeepsNoStartFromRunning) {
  TempFolder folder("hung");
  const fs::path exe = InstallApp(folder.Path());
  const auto names = SettingsFolderClaim::NamesOf(ToUtf8(folder.Path().wstring()) + "\\");
  ASSERT_TRUE(names);
  const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread hung([&] {
    const HANDLE name = CreateMutexW(nullptr, TRUE, names->mutexName.c_str());
    const WNDCLASSW windowClass{.lpfnWndProc = DefWindowProcW,
                                .hInstance = GetModuleHandleW(nullptr),
                                .lpszClassName = SettingsFolderClaim::kApplicationWindowClass};
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(0, SettingsFolderClaim::kApplicationWindowClass, L"Lock Beacon", WS_POPUP,
                        0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetPropW(window, SettingsFolderClaim::kFolderProperty,
             reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(names->windowKey)));
    SetEvent(ready);
    WaitForSingleObject(release, 60000);  // no message is read meanwhile
    DestroyWindow(window);
    UnregisterClassW(SettingsFolderClaim::kApplicationWindowClass, windowClass.hInstance);
    ReleaseMutex(name);
    CloseHandle(name);
  });
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

  AppProcess app(exe);
  EXPECT_NE(app.WaitForMainWindow(), nullptr) << "a hung copy kept the program from starting";
  EXPECT_TRUE(app.IsRunning());

  SetEvent(release);
  hung.join();
  CloseHandle(ready);
  CloseHandle(release);
}

}  // namespace
}  // namespace lb::e2e
