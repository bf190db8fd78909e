#pragma once
// End-to-end harness: runs the real LockBeacon.exe in a folder of its own and looks at it from
// outside, the way a user would: its windows, its files, the screen.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lb::e2e {

using namespace std::chrono_literals;

// A path of the build machine ("/work/x") as this Wine process sees it ("Z:\work\x").
std::filesystem::path HostPath(const std::string& unixPath);

// The built program and the folder for screenshots and other evidence.
std::filesystem::path BuiltExe();
std::filesystem::path ArtifactsFolder();

// Polls `condition` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s);

// A fresh folder under the prefix's temporary folder, removed again at the end of the test.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A copy of LockBeacon.exe (and, if asked, the files delivered beside it) in `folder`.
std::filesystem::path InstallApp(const std::filesystem::path& folder,
                                 bool withDeliveredFiles = false);

// One running copy of the program. Ended (if still running) when the object goes.
class AppProcess {
 public:
  explicit AppProcess(const std::filesystem::path& exe);
  ~AppProcess();
  AppProcess(const AppProcess&) = delete;
  AppProcess& operator=(const AppProcess&) = delete;

  DWORD Pid() const { return info_.dwProcessId; }
  bool IsRunning() const;
  // Waits for the program's main window (caption "Lock Beacon", not a dialog); null on time-out.
  HWND WaitForMainWindow(std::chrono::milliseconds timeout = 15s) const;
  // Waits for a dialog box (class #32770) of this process with the given caption.
  HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds timeout = 15s) const;
  // The top-level windows of this process, visible or not.
  std::vector<HWND> Windows() const;
  void Terminate();

 private:
  PROCESS_INFORMATION info_{};
};

// Another running copy of the program at `exe` than the process `excludePid` (a copy that a
// restart started), found by its visible main window. Only a process started from that very
// file counts, since other tests' copies run beside this one; its process handle is opened as
// soon as it is found, so that ending it later can never reach a process that took over its id.
// Ended (if still running) when the object goes.
class OtherCopy {
 public:
  OtherCopy() = default;
  ~OtherCopy();
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;

  // Looks once; true when such a copy shows its main window (kept from then on).
  bool Find(const std::filesystem::path& exe, DWORD excludePid);
  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] DWORD Pid() const { return pid_; }
  void Terminate();

 private:
  HWND window_ = nullptr;
  DWORD pid_ = 0;
  HANDLE process_ = nullptr;
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The message text of a standard message box.
std::wstring MessageBoxText(HWND box);

// The names of the keys of `section` in an INI file, read by the system's profile functions.
std::vector<std::wstring> IniKeys(const std::filesystem::path& file, const std::wstring& section);
std::vector<std::wstring> IniSections(const std::filesystem::path& file);

// The per-user roaming application-data folder of this Wine prefix.
std::filesystem::path RoamingAppData();

// A file's whole content as bytes; empty when it cannot be read.
std::string ReadText(const std::filesystem::path& file);
// Writes `text` as the file's whole content.
void WriteText(const std::filesystem::path& file, const std::string& text);

// Saves a picture (rows top first, 0x??RRGGBB pixels; the top byte is not kept) as a PNG under
// ArtifactsFolder(); returns its path.
std::filesystem::path SavePicture(const std::string& name, const std::uint32_t* pixels, int width,
                                  int height);

// Saves the whole screen as a PNG under ArtifactsFolder(); returns its path.
std::filesystem::path SaveScreenshot(const std::string& name);

// The window's thread has finished what it was doing and takes messages again: a message sent
// to it is answered (false when it is not answered within `timeout`). Whatever the thread did
// in answer to earlier posted messages (a command, a button's click) has been done.
bool Responds(HWND window, std::chrono::milliseconds timeout = 10s);

// Waits until the program's start display has run: it makes the indicator opaque.
bool WaitForStartDisplay(HWND window, std::chrono::milliseconds timeout = 15s);

// Has `window` and its children paint themselves now, and waits until its thread has done so
// (for a screenshot of what the window shows).
void DrawNow(HWND window);

// Presses and releases a key through SendInput, as a user would.
void PressKey(WORD virtualKey);
// Holds a key down through SendInput long enough for the program's 10 ms poll to see it
// (150 ms), then releases it.
void HoldKey(WORD virtualKey);

}  // namespace lb::e2e
