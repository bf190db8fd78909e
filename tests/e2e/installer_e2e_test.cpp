// The setup and its uninstaller, built around this build's LockBeacon.exe, installing into a
// folder of the test's own: what a silent installation puts where, that a sign-in (the Run
// entry's command) starts the program, that installing over a running copy closes and restarts
// it with its settings, that an uninstallation leaves nothing but the settings the user keeps,
// and every page of the interactive setup and uninstaller, with screenshots.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "e2e/harness_win.h"
#include "indicator/popup_menu.h"
#include "indicator/settings_window_win.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lock Beacon";
constexpr const wchar_t* kUpdateStoreKey = L"Software\\BRIMLEX\\Lock Beacon\\Settings";
constexpr const wchar_t* kEntryName = L"Lock Beacon";
// Task Manager's Startup page keeps its switch of the Run entry here.
constexpr const wchar_t* kApprovedKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

fs::path SetupExe() { return HostPath(LOCKBEACON_SETUP_PATH); }

std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* name) {
  wchar_t value[2048] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

std::optional<std::vector<BYTE>> RegistryBytes(const wchar_t* key, const wchar_t* name) {
  std::vector<BYTE> value(64);
  DWORD size = static_cast<DWORD>(value.size());
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_BINARY, nullptr, value.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(size);
  return value;
}

std::optional<DWORD> RegistryNumber(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool KeyExists(const wchar_t* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void SetRegistryText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

fs::path StartMenuShortcut() {
  wchar_t programs[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
  return fs::path(programs) / "Lock Beacon.lnk";
}

// A process started from a command line, as the shell or the system's sign-in starts one.
class Process {
 public:
  explicit Process(std::wstring commandLine) {
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      ADD_FAILURE() << "could not start " << fs::path(commandLine).string();
    }
  }
  ~Process() {
    if (info_.hProcess) CloseHandle(info_.hProcess);
    if (info_.hThread) CloseHandle(info_.hThread);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The exit code, or nothing when it is still running after `timeout`.
  std::optional<DWORD> Wait(DWORD timeoutMs = 60000) const {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

std::wstring ImageOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, path, &size)) path[0] = 0;
  CloseHandle(process);
  return path;
}

// The processes of the program started from `exe`, found by the program's application window.
std::vector<DWORD> CopiesRunningFrom(const fs::path& exe) {
  std::vector<DWORD> pids;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"LockBeaconApplication", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (lstrcmpiW(ImageOf(pid).c_str(), exe.c_str()) == 0) pids.push_back(pid);
  }
  return pids;
}

// The indicator window of process `pid` once it is on screen (the start display), or null.
HWND WaitForIndicatorOf(DWORD pid) {
  HWND found = nullptr;
  WaitFor([&] {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"LockBeaconIndicator", nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == pid && IsWindowVisible(window)) {
        found = window;
        return true;
      }
    }
    return false;
  });
  return found;
}

// Ends a copy as the installer does: WM_CLOSE to its application window, then waits.
void CloseCopiesRunningFrom(const fs::path& exe) {
  for (const DWORD pid : CopiesRunningFrom(exe)) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"LockBeaconApplication", nullptr)) !=
           nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == pid) PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (process) {
      WaitForSingleObject(process, 15000);
      CloseHandle(process);
    }
  }
}

// Every file under `folder`, as paths relative to it with "/" between the parts.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    if (entry.is_regular_file()) {
      files.insert(fs::relative(entry.path(), folder).generic_string());
    }
  }
  return files;
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(SetupExe())) << SetupExe();
    // Leftovers of an earlier run that ended half-way would make the checks meaningless.
    RemoveEntries();
  }
  void TearDown() override {
    CloseCopiesRunningFrom(Exe());
    RemoveEntries();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUpdateStoreKey, L"InstallerTestValue");
  }
  static void RemoveEntries() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kEntryName);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kEntryName);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    std::error_code ignored;
    fs::remove(StartMenuShortcut(), ignored);
  }

  [[nodiscard]] fs::path Exe() const { return target / "LockBeacon.exe"; }

  // A silent installation into `target`; true when the setup ended with success.
  [[nodiscard]] bool InstallSilently() const {
    Process setup(Quoted(SetupExe()) + L" /S /D=" + target.wstring());
    return setup.Wait() == DWORD{0};
  }
  // The silent uninstallation: the uninstaller copies itself away and returns at once, so the
  // files going tell when it is done.
  [[nodiscard]] bool UninstallSilently() const {
    const std::optional<std::wstring> quiet = RegistryText(kUninstallKey, L"QuietUninstallString");
    if (!quiet) return false;
    Process uninstaller(*quiet);
    if (!uninstaller.Wait()) return false;
    return WaitFor([&] { return !fs::exists(target / "Uninstall.exe"); }, 30s);
  }

  TempFolder folder{"installer"};
  fs::path target = folder / "Lock Beacon";
};

TEST_F(InstallerTest, SilentInstallPutsTheProgramInPlaceAndASignInStartsIt) {
  ASSERT_TRUE(InstallSilently());

  // The program, the files delivered beside it, byte for byte, and the uninstaller.
  const fs::path delivered = HostPath(LOCKBEACON_SOURCE_DIR "/resources/deliver");
  std::set<std::string> expected = FilesUnder(delivered);
  expected.insert({"LockBeacon.exe", "Uninstall.exe", "LockBeacon-files.txt"});
  EXPECT_EQ(FilesUnder(target), expected);
  // The setup's list of what it delivered, for the uninstaller.
  std::string list = "Lock Beacon setup: files delivered\r\nLockBeacon.exe\r\n";
  for (const std::string& file : FilesUnder(delivered)) {
    list += fs::path(file).make_preferred().string() + "\r\n";
  }
  EXPECT_EQ(ReadText(target / "LockBeacon-files.txt"), list);
  for (const std::string& file : FilesUnder(delivered)) {
    EXPECT_EQ(ReadText(target / file), ReadText(delivered / file)) << file;
  }
  EXPECT_TRUE(fs::exists(StartMenuShortcut()));

  // The uninstall entry that "Apps" and "Programs and Features" list.
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayName"), L"Lock Beacon");
  EXPECT_EQ(RegistryText(kUninstallKey, L"Publisher"), L"BRIMLEX");
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), L"1.0");
  EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayIcon"), Quoted(Exe()) + L",0");
  EXPECT_EQ(RegistryText(kUninstallKey, L"UninstallString"), Quoted(target / "Uninstall.exe"));
  EXPECT_EQ(RegistryText(kUninstallKey, L"QuietUninstallString"),
            Quoted(target / "Uninstall.exe") + L" /S");
  std::uintmax_t bytes = 0;
  for (const std::string& file : FilesUnder(target)) bytes += fs::file_size(target / file);
  const std::optional<DWORD> sizeKb = RegistryNumber(kUninstallKey, L"EstimatedSize");
  ASSERT_TRUE(sizeKb);
  EXPECT_NEAR(static_cast<double>(*sizeKb), static_cast<double>(bytes) / 1024, 64);

  // Signing in runs the Run entry's command: the program starts and shows its start display.
  const std::optional<std::wstring> command = RegistryText(kRunKey, kEntryName);
  ASSERT_EQ(command, Quoted(Exe()));
  Process signIn(*command);
  ASSERT_TRUE(WaitFor([&] { return CopiesRunningFrom(Exe()).size() == 1; }));
  EXPECT_NE(WaitForIndicatorOf(CopiesRunningFrom(Exe()).front()), nullptr);
  // Its settings live beside it: the folder is writable.
  EXPECT_TRUE(WaitFor([&] { return fs::exists(target / "settings.ini"); }));
}

// The user switched the sign-in start off in Task Manager's Startup page, which leaves the Run
// entry and marks it off beside it: a silent upgrade keeps both as they are, so the program
// still does not start at sign-in; an entry still on stays on.
TEST_F(InstallerTest, ASilentUpgradeKeepsTheStartAtSignInAsTheUserSwitchedIt) {
  ASSERT_TRUE(InstallSilently());
  ASSERT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  // 03: switched off, then the time it was (a FILETIME).
  const std::vector<BYTE> off = {3, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01};
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kEntryName, REG_BINARY, off.data(),
                            static_cast<DWORD>(off.size())),
            ERROR_SUCCESS);

  ASSERT_TRUE(InstallSilently());
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  EXPECT_EQ(RegistryBytes(kApprovedKey, kEntryName), off) << "the switch was changed";

  // Switched on again (02) in Task Manager: the upgrade keeps that too.
  const std::vector<BYTE> on = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  RegSetKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kEntryName, REG_BINARY, on.data(),
                  static_cast<DWORD>(on.size()));
  ASSERT_TRUE(InstallSilently());
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  EXPECT_EQ(RegistryBytes(kApprovedKey, kEntryName), on);
}

TEST_F(InstallerTest, InstallingOverTheRunningProgramRestartsItAndKeepsItsSettings) {
  // The chosen folder holds a portable copy with its settings.
  fs::create_directories(target);
  InstallApp(target);
  WriteText(target / "settings.ini", "[Settings]\r\nDisplayDuration=4321\r\nScreenSnap=OFF\r\n");
  SetRegistryText(kUpdateStoreKey, L"InstallerTestValue", L"kept");
  ASSERT_TRUE(InstallSilently());
  EXPECT_EQ(IniKeys(target / "settings.ini", L"Settings"),
            (std::vector<std::wstring>{L"DisplayDuration", L"ScreenSnap"}));

  Process first(Quoted(Exe()));
  ASSERT_TRUE(WaitFor([&] { return CopiesRunningFrom(Exe()).size() == 1; }));
  const DWORD before = CopiesRunningFrom(Exe()).front();
  ASSERT_NE(WaitForIndicatorOf(before), nullptr);

  ASSERT_TRUE(InstallSilently());
  // The old copy ended on its own (exit code 0, not killed), and a new one runs.
  EXPECT_EQ(first.Wait(15000), DWORD{0});
  ASSERT_TRUE(WaitFor([&] {
    const auto now = CopiesRunningFrom(Exe());
    return now.size() == 1 && now.front() != before;
  }));
  EXPECT_NE(WaitForIndicatorOf(CopiesRunningFrom(Exe()).front()), nullptr);
  const std::string settings = ReadText(target / "settings.ini");
  EXPECT_NE(settings.find("DisplayDuration=4321"), std::string::npos) << settings;
  EXPECT_NE(settings.find("ScreenSnap=OFF"), std::string::npos) << settings;
  EXPECT_EQ(RegistryText(kUpdateStoreKey, L"InstallerTestValue"), L"kept");
}

TEST_F(InstallerTest, SilentUninstallClosesTheProgramAndLeavesOnlyItsSettings) {
  ASSERT_TRUE(InstallSilently());
  SetRegistryText(kUpdateStoreKey, L"InstallerTestValue", L"kept");
  // A file of the user's own beside the program is not the uninstaller's to remove, not even
  // when the setup's list names it: only delivered files are.
  WriteText(target / "Languages" / "Klingon.lang.txt", "{Exit}Qut\r\n");
  WriteText(target / "LockBeacon-files.txt",
            ReadText(target / "LockBeacon-files.txt") +
                "Languages\\Klingon.lang.txt\r\n..\\outside.txt\r\nsettings.ini\r\n");
  WriteText(folder / "outside.txt", "not the uninstaller's");
  Process running(Quoted(Exe()));
  ASSERT_TRUE(WaitFor([&] { return CopiesRunningFrom(Exe()).size() == 1; }));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(target / "settings.ini"); }));

  ASSERT_TRUE(UninstallSilently());
  EXPECT_EQ(running.Wait(15000), DWORD{0});
  ASSERT_TRUE(WaitFor([&] { return FilesUnder(target).size() == 2; }));
  EXPECT_EQ(FilesUnder(target),
            (std::set<std::string>{"Languages/Klingon.lang.txt", "settings.ini"}));
  EXPECT_TRUE(fs::exists(folder / "outside.txt"));
  EXPECT_FALSE(RegistryText(kRunKey, kEntryName));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(fs::exists(StartMenuShortcut()));
  EXPECT_EQ(RegistryText(kUpdateStoreKey, L"InstallerTestValue"), L"kept");
}

fs::path Profile() {
  wchar_t profile[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile);
  return profile;
}

// Another user can write into a folder made directly under C:\ (or one on another machine) and
// replace the program the Run entry starts: a silent setup refuses every folder outside the
// user's profile with an exit code, and writes nothing anywhere.
TEST_F(InstallerTest, ASilentSetupRefusesAFolderOutsideTheProfile) {
  ASSERT_THAT(target.wstring(), ::testing::StartsWith(Profile().wstring() + L"\\"));
  const std::wstring unique = std::to_wstring(GetCurrentProcessId());
  const std::vector<std::wstring> outside = {
      L"C:\\Lock Beacon " + unique,
      Profile().wstring() + L"\\..\\Public\\Lock Beacon " + unique,
      Profile().wstring() + L"x\\Lock Beacon " + unique,  // a sibling sharing its first letters
      L"\\\\localhost\\share\\Lock Beacon " + unique,
  };
  for (const std::wstring& folderOutside : outside) {
    SCOPED_TRACE(fs::path(folderOutside).string());
    Process setup(Quoted(SetupExe()) + L" /S /D=" + folderOutside);
    const std::optional<DWORD> code = setup.Wait();
    ASSERT_TRUE(code);
    EXPECT_NE(*code, DWORD{0});
    std::error_code ignored;
    EXPECT_FALSE(fs::exists(folderOutside, ignored));
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(RegistryText(kRunKey, kEntryName));
  }
}

// A chosen folder that holds other files (the Desktop, Downloads) gets a folder of its own:
// nothing of what was there is overwritten, or later deleted by the uninstaller.
TEST_F(InstallerTest, AFolderHoldingOtherFilesGetsAFolderOfItsOwn) {
  fs::create_directories(target);
  WriteText(target / "license.txt", "the user's own licence");
  WriteText(target / "holiday.jpg", "JFIF");
  ASSERT_TRUE(InstallSilently());

  const fs::path own = target / "Lock Beacon";
  EXPECT_TRUE(fs::exists(own / "LockBeacon.exe"));
  EXPECT_TRUE(fs::exists(own / "LockBeacon-files.txt"));
  EXPECT_EQ(RegistryText(kUninstallKey, L"InstallLocation"), own.wstring());
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(own / "LockBeacon.exe"));
  EXPECT_EQ(ReadText(target / "license.txt"), "the user's own licence");
  EXPECT_FALSE(fs::exists(target / "LockBeacon.exe"));

  // Installing again into the same chosen folder finds no earlier Lock Beacon there either
  // and goes to the same folder of its own, not one level deeper.
  ASSERT_TRUE(InstallSilently());
  EXPECT_FALSE(fs::exists(own / "Lock Beacon"));
  EXPECT_EQ(RegistryText(kUninstallKey, L"InstallLocation"), own.wstring());
}

// Without the setup's list the uninstaller cannot tell its files from others of the same
// names: it deletes none of them.
TEST_F(InstallerTest, WithoutTheSetupsListTheUninstallerDeletesNoFileOfTheSameNames) {
  ASSERT_TRUE(InstallSilently());
  ASSERT_TRUE(fs::remove(target / "LockBeacon-files.txt"));
  WriteText(target / "license.txt", "someone else's licence");

  ASSERT_TRUE(UninstallSilently());
  EXPECT_EQ(ReadText(target / "license.txt"), "someone else's licence");
  EXPECT_TRUE(fs::exists(target / "LockBeacon.exe"));
  EXPECT_TRUE(fs::exists(target / "keypress-on.wav"));
  EXPECT_TRUE(fs::exists(target / "Languages" / "German.lang.txt"));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(RegistryText(kRunKey, kEntryName));
}

TEST_F(InstallerTest, AnEntryOfAnotherCopyIsNeitherTakenForThisOneNorRemoved) {
  const std::wstring portable = L"\"C:\\Portable\\LockBeacon.exe\"";
  ASSERT_TRUE(InstallSilently());
  SetRegistryText(kRunKey, kEntryName, portable);  // the user ticked it in a portable copy since
  ASSERT_TRUE(UninstallSilently());
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), portable);
}

// The installed program's own "Start with Windows": the Settings dialog shows the entry the
// setup wrote, and Save removes it and writes it again.
TEST_F(InstallerTest, TheSettingsDialogSwitchesTheEntryTheSetupWrote) {
  ASSERT_TRUE(InstallSilently());
  Process running(Quoted(Exe()));
  ASSERT_TRUE(WaitFor([&] { return CopiesRunningFrom(Exe()).size() == 1; }));
  const DWORD pid = CopiesRunningFrom(Exe()).front();
  const HWND indicator = WaitForIndicatorOf(pid);
  ASSERT_NE(indicator, nullptr);

  const auto openSettings = [&] {
    PostMessageW(indicator, WM_COMMAND, static_cast<WPARAM>(MenuCommand::Settings), 0);
    HWND dialog = nullptr;
    WaitFor([&] {
      dialog = FindWindowExW(nullptr, nullptr, SettingsWindow::kClassName, nullptr);
      return dialog != nullptr && IsWindowVisible(dialog);
    });
    return dialog;
  };
  const auto box = [](HWND dialog) {
    return GetDlgItem(dialog, SettingsWindow::kStartWithWindows);
  };
  const auto save = [](HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(SettingsWindow::kSave, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, SettingsWindow::kSave)));
    return WaitFor([&] { return !IsWindow(dialog); });
  };

  HWND dialog = openSettings();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageW(box(dialog), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box(dialog), BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(save(dialog));
  EXPECT_FALSE(RegistryText(kRunKey, kEntryName));

  dialog = openSettings();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageW(box(dialog), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(box(dialog), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(save(dialog));
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  EXPECT_EQ(ReadText(target / "settings.ini").find("Windows"), std::string::npos);
}

// ---- The interactive setup and uninstaller, page by page -------------------------------------

// Whether a window's caption is `caption`, give or take the space NSIS's uninstaller ends its
// caption with.
bool CaptionIs(HWND window, const std::wstring& caption) {
  std::wstring text = WindowText(window);
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text == caption;
}

// The visible top-level dialogs (#32770) with this caption.
std::vector<HWND> VisibleDialogs(const wchar_t* caption) {
  std::vector<HWND> found;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
    if (IsWindowVisible(window) && CaptionIs(window, caption)) found.push_back(window);
  }
  return found;
}

HWND VisibleDialog(const wchar_t* caption) {
  const std::vector<HWND> found = VisibleDialogs(caption);
  return found.empty() ? nullptr : found.front();
}

// The visible control (anywhere inside `dialog`) whose text is `text`, or null.
HWND ControlWithText(HWND dialog, const std::wstring& text) {
  struct Search {
    const std::wstring& text;
    HWND found;
  } search{text, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(child) && WindowText(child) == s->text) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForControl(HWND dialog, const std::wstring& text) {
  HWND control = nullptr;
  WaitFor([&] { return (control = ControlWithText(dialog, text)) != nullptr; }, 20s);
  return control;
}

// The text of an edit control of another process (GetWindowTextW gives only its creation text).
std::wstring FieldText(HWND field) {
  wchar_t text[MAX_PATH * 2] = {};
  SendMessageW(field, WM_GETTEXT, MAX_PATH * 2, reinterpret_cast<LPARAM>(text));
  return text;
}

// Presses the wizard's "Next" (or "Install", "Finish", "Uninstall", "Close": always button 1).
void PressNext(HWND wizard) {
  HWND next = GetDlgItem(wizard, IDOK);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(next) != FALSE; }, 30s));
  PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
}

void Screenshot(const std::string& name) {
  // Evidence only, asserted nowhere: the wizard's page (another process's dialog, whose
  // children NSIS creates as it goes) is given a moment to draw.
  Sleep(300);
  SaveScreenshot("installer-" + name);
}

TEST_F(InstallerTest, InteractiveSetupAndUninstallerWalkEveryPage) {
  Process setup(Quoted(SetupExe()));
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wizard = VisibleDialog(L"Lock Beacon Setup")) != nullptr; }));

  ASSERT_NE(WaitForControl(wizard, L"Welcome to Lock Beacon Setup"), nullptr);
  Screenshot("1-welcome");
  PressNext(wizard);

  // The folder page offers the user's local programs folder; the test takes its own.
  constexpr int kFolderFieldId = 1019;  // NSIS's folder page
  HWND folderField = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    folderField = GetDlgItem(FindWindowExW(wizard, nullptr, L"#32770", nullptr), kFolderFieldId);
    return folderField != nullptr && IsWindowVisible(folderField) &&
           !FieldText(folderField).empty();
  }));
  EXPECT_THAT(FieldText(folderField),
              ::testing::EndsWith(std::wstring(L"\\Programs\\Lock Beacon")));
  Screenshot("2-folder");
  // A folder outside the profile is refused with a message, and the page stays.
  // (SetWindowTextW does not reach a control of another process; the message does.)
  const std::wstring outside = L"C:\\Lock Beacon " + std::to_wstring(GetCurrentProcessId());
  SendMessageW(folderField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(outside.c_str()));
  PressNext(wizard);
  HWND refusal = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND box : VisibleDialogs(L"Lock Beacon Setup")) {
      if (box != wizard && GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL)) refusal = box;
    }
    return refusal != nullptr;
  }));
  EXPECT_THAT(
      MessageBoxText(refusal),
      ::testing::HasSubstr(std::wstring(L"can only be installed inside your own user folder")));
  Screenshot("2b-folder-refused");
  PostMessageW(refusal, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(refusal, IDOK)));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(refusal) || !IsWindowVisible(refusal); }));
  EXPECT_TRUE(IsWindowVisible(folderField));
  EXPECT_FALSE(fs::exists(outside));
  SendMessageW(folderField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  ASSERT_EQ(FieldText(folderField), target.wstring());
  PressNext(wizard);

  HWND signInBox = WaitForControl(wizard, L"Start Lock Beacon when I sign in");
  ASSERT_NE(signInBox, nullptr);
  EXPECT_EQ(SendMessageW(signInBox, BM_GETCHECK, 0, 0), BST_CHECKED);
  Screenshot("3-start-at-sign-in");
  PressNext(wizard);

  ASSERT_NE(WaitForControl(wizard, L"Completed"), nullptr);
  Screenshot("4-progress");
  PressNext(wizard);

  HWND runBox = WaitForControl(wizard, L"Run Lock Beacon now");
  ASSERT_NE(runBox, nullptr);
  EXPECT_EQ(SendMessageW(runBox, BM_GETCHECK, 0, 0), BST_CHECKED);
  Screenshot("5-finish");
  PressNext(wizard);
  EXPECT_EQ(setup.Wait(), DWORD{0});
  ASSERT_TRUE(WaitFor([&] { return CopiesRunningFrom(Exe()).size() == 1; }));
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(target / "settings.ini"); }));
  SetRegistryText(kUpdateStoreKey, L"InstallerTestValue", L"to be removed");

  // The uninstaller, started as "Apps" starts it; the user removes the settings too.
  Process uninstaller(*RegistryText(kUninstallKey, L"UninstallString"));
  HWND unwizard = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (unwizard = VisibleDialog(L"Lock Beacon Uninstall")) != nullptr; }, 60s));
  ASSERT_NE(WaitForControl(unwizard, L"&Uninstall"), nullptr);
  Screenshot("6-uninstall-confirm");
  PressNext(unwizard);

  HWND question = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND box : VisibleDialogs(L"Lock Beacon Uninstall")) {
          if (GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO)) {
            question = box;
            return true;
          }
        }
        return false;
      },
      30s));
  EXPECT_THAT(MessageBoxText(question),
              ::testing::HasSubstr(std::wstring(L"remove your Lock Beacon settings")));
  // By then the running copy has been closed.
  EXPECT_TRUE(CopiesRunningFrom(Exe()).empty());
  Screenshot("7-uninstall-settings-question");
  PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(question, IDYES)));

  ASSERT_TRUE(WaitFor([&] { return !fs::exists(target); }, 30s)) << FilesUnder(target).size();
  Screenshot("8-uninstall-done");
  if (HWND done = VisibleDialog(L"Lock Beacon Uninstall")) PressNext(done);
  EXPECT_TRUE(WaitFor([] { return VisibleDialog(L"Lock Beacon Uninstall") == nullptr; }));
  EXPECT_FALSE(RegistryText(kUpdateStoreKey, L"InstallerTestValue"));
  EXPECT_FALSE(RegistryText(kRunKey, kEntryName));
  EXPECT_FALSE(KeyExists(kUninstallKey));
}

// An upgrade through the pages shows the sign-in box as the program's Settings dialog would:
// unticked for an entry switched off in Task Manager; left as it is, the entry stays so.
TEST_F(InstallerTest, AnUpgradeShowsAnEntrySwitchedOffAsUnticked) {
  ASSERT_TRUE(InstallSilently());
  const std::vector<BYTE> off = {3, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01};
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kApprovedKey, kEntryName, REG_BINARY, off.data(),
                            static_cast<DWORD>(off.size())),
            ERROR_SUCCESS);

  Process setup(Quoted(SetupExe()));
  HWND wizard = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wizard = VisibleDialog(L"Lock Beacon Setup")) != nullptr; }));
  ASSERT_NE(WaitForControl(wizard, L"Welcome to Lock Beacon Setup"), nullptr);
  PressNext(wizard);
  PressNext(wizard);  // the folder page offers the installation's own folder
  HWND signInBox = WaitForControl(wizard, L"Start Lock Beacon when I sign in");
  ASSERT_NE(signInBox, nullptr);
  EXPECT_EQ(SendMessageW(signInBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  PressNext(wizard);
  ASSERT_NE(WaitForControl(wizard, L"Completed"), nullptr);
  PressNext(wizard);
  HWND runBox = WaitForControl(wizard, L"Run Lock Beacon now");
  ASSERT_NE(runBox, nullptr);
  SendMessageW(runBox, BM_SETCHECK, BST_UNCHECKED, 0);
  PressNext(wizard);
  EXPECT_EQ(setup.Wait(), DWORD{0});
  EXPECT_EQ(RegistryText(kRunKey, kEntryName), Quoted(Exe()));
  EXPECT_EQ(RegistryBytes(kApprovedKey, kEntryName), off);
}

}  // namespace
}  // namespace lb::e2e
