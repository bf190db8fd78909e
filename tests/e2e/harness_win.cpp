#include "e2e/harness_win.h"

#include <png.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <thread>

#include "e2e/screen_win.h"

namespace lb::e2e {
namespace fs = std::filesystem;

fs::path HostPath(const std::string& unixPath) {
  std::string windowsPath = "Z:" + unixPath;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  return fs::path(windowsPath);
}

fs::path BuiltExe() { return HostPath(LOCKBEACON_EXE_PATH); }

fs::path ArtifactsFolder() {
  const fs::path folder = HostPath(LOCKBEACON_ARTIFACTS_DIR);
  fs::create_directories(folder);
  return folder;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

TempFolder::TempFolder(const std::string& name) {
  const fs::path base = fs::temp_directory_path() / "lock-beacon-e2e";
  for (int attempt = 0;; ++attempt) {
    path_ =
        base / (name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt));
    std::error_code error;
    fs::create_directories(base, error);
    if (fs::create_directory(path_, error)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

fs::path InstallApp(const fs::path& folder, bool withDeliveredFiles) {
  const fs::path source = BuiltExe();
  const fs::path exe = folder / source.filename();
  fs::copy_file(source, exe, fs::copy_options::overwrite_existing);
  if (withDeliveredFiles) {
    const fs::path delivered = HostPath(LOCKBEACON_SOURCE_DIR "/resources/deliver");
    if (fs::exists(delivered)) {
      fs::copy(delivered, folder,
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
  }
  return exe;
}

AppProcess::AppProcess(const fs::path& exe) {
  STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  const std::wstring folder = exe.parent_path().wstring();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info_)) {
    throw std::runtime_error("could not start " + exe.string() + ", error " +
                             std::to_string(GetLastError()));
  }
}

AppProcess::~AppProcess() {
  Terminate();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool AppProcess::IsRunning() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void AppProcess::Terminate() {
  if (IsRunning()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

OtherCopy::~OtherCopy() {
  Terminate();
  if (process_ != nullptr) CloseHandle(process_);
}

bool OtherCopy::Find(const std::filesystem::path& exe, DWORD excludePid) {
  if (process_ != nullptr) return true;
  struct Search {
    const std::filesystem::path* exe;
    DWORD excludePid;
    OtherCopy* copy;
  } search{&exe, excludePid, this};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->excludePid || !IsWindowVisible(window) ||
            ClassName(window) != L"LockBeaconIndicator") {
          return TRUE;
        }
        const HANDLE process = OpenProcess(
            PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, owner);
        if (process == nullptr) return TRUE;
        wchar_t image[MAX_PATH * 4]{};
        DWORD length = static_cast<DWORD>(std::size(image));
        std::error_code error;
        if (QueryFullProcessImageNameW(process, 0, image, &length) &&
            std::filesystem::equivalent(image, *s->exe, error)) {
          s->copy->window_ = window;
          s->copy->pid_ = owner;
          s->copy->process_ = process;
          return FALSE;
        }
        CloseHandle(process);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return process_ != nullptr;
}

void OtherCopy::Terminate() {
  if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
  }
}

std::vector<HWND> AppProcess::Windows() const {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{Pid(), {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == s->pid) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND AppProcess::WaitForMainWindow(std::chrono::milliseconds timeout) const {
  HWND main = nullptr;
  WaitFor(
      [&] {
        for (HWND window : Windows()) {
          if (IsWindowVisible(window) && WindowText(window) == L"Lock Beacon" &&
              ClassName(window) != L"#32770") {
            main = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return main;
}

HWND AppProcess::WaitForDialog(const std::wstring& caption,
                               std::chrono::milliseconds timeout) const {
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        for (HWND window : Windows()) {
          if (IsWindowVisible(window) && ClassName(window) == L"#32770" &&
              WindowText(window) == caption) {
            dialog = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return dialog;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

std::wstring MessageBoxText(HWND box) {
  // The message is the box's static text control with the id 0xFFFF.
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
  return text;
}

namespace {

// A double-NUL-terminated list, as the profile functions return them.
std::vector<std::wstring> SplitList(const std::vector<wchar_t>& buffer, DWORD length) {
  std::vector<std::wstring> items;
  for (DWORD i = 0; i < length;) {
    std::wstring item(&buffer[i]);
    if (item.empty()) break;
    i += static_cast<DWORD>(item.size()) + 1;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

std::vector<std::wstring> IniKeys(const fs::path& file, const std::wstring& section) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetPrivateProfileSectionW(section.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), file.c_str());
  std::vector<std::wstring> keys;
  for (std::wstring& line : SplitList(buffer, length)) {
    keys.push_back(line.substr(0, line.find(L'=')));
  }
  return keys;
}

std::vector<std::wstring> IniSections(const fs::path& file) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetPrivateProfileSectionNamesW(
      buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
  return SplitList(buffer, length);
}

fs::path RoamingAppData() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  return fs::path(path);
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

fs::path SavePicture(const std::string& name, const std::uint32_t* pixels, int width, int height) {
  const fs::path file = ArtifactsFolder() / (name + ".png");
  std::unique_ptr<FILE, decltype(&std::fclose)> out(_wfopen(file.c_str(), L"wb"), &std::fclose);
  if (out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pngInfo = png_create_info_struct(png);
    if (!setjmp(png_jmpbuf(png))) {
      png_init_io(png, out.get());
      png_set_IHDR(png, pngInfo, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                   8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                   PNG_FILTER_TYPE_DEFAULT);
      png_write_info(png, pngInfo);
      png_set_filler(png, 0, PNG_FILLER_AFTER);  // rows are BGRX
      png_set_bgr(png);
      for (int y = 0; y < height; ++y) {
        // Pixels are 0x??RRGGBB words: B, G, R, X in memory.
        png_write_row(
            png, reinterpret_cast<png_const_bytep>(pixels + static_cast<std::size_t>(y) *
                                                                static_cast<std::size_t>(width)));
      }
      png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &pngInfo);
  }
  return file;
}

fs::path SaveScreenshot(const std::string& name) {
  const ScreenImage image;
  return SavePicture(name, image.Row(0), image.Width(), image.Height());
}

bool Responds(HWND window, std::chrono::milliseconds timeout) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(timeout.count()), &result) != 0;
}

bool WaitForStartDisplay(HWND window, std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        BYTE alpha = 0;
        return GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr) && alpha == 255;
      },
      timeout);
}

void DrawNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
  Responds(window);
}

void HoldKey(WORD virtualKey) {
  INPUT input{.type = INPUT_KEYBOARD};
  input.ki.wVk = virtualKey;
  SendInput(1, &input, sizeof(INPUT));
  // A user's press lasts a while: without key events the program sees a key only while it is
  // down at one of its 10 ms polls, and no event tells this process that a poll has seen it.
  Sleep(150);
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = virtualKey;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace lb::e2e
