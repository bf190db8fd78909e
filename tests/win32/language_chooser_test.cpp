// The language chooser in this test program's own process: its list with the flags drawn
// (screenshot kept), the flag pictures of the executable, and a restart for real: "OK", "Yes",
// and the restart script run by Wine's command interpreter from folders whose names hold "%",
// "&" and other characters it treats specially.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/resource_ids.h"
#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "fakes/scripted_message_dialogs.h"
#include "i18n/language_chooser_win.h"
#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"
#include "ui/png_win.h"
#include "win32/host_paths.h"
#include "win32/pump.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

using namespace std::chrono_literals;

using test::PumpUntil;

std::wstring WindowText(HWND window) {
  wchar_t text[512] = L"";
  ::GetWindowTextW(window, text, 512);
  return text;
}

class LanguageChooserWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    exe_.reset(::LoadLibraryExW(ToWide(test::HostPath(LOCKBEACON_EXE_PATH)).c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  }
  static void TearDownTestSuite() { exe_.reset(); }

  LanguageChooserWindow() {
    languages.Put("German.lang.txt", "{INFO:Translated By} Anna Schmidt , Jonas Weber\r\n");
    languages.Put("French.lang.txt", "{INFO:Translated By}Claire\r\n");
    languages.Put("Klingon.lang.txt", "{Exit}Exit\r\n");
  }

  std::unique_ptr<LanguageChooserDialog> Open(const std::string& programPath = "C:\\none.exe") {
    LanguageChooserOptions options{
        .host = {.setLanguageFile = [this](const std::string& name) { stored.push_back(name); },
                 .terminate = [this] { ++terminated; }},
        .language = {.languagesFolder = languages.Path(),
                     .languageFiles = {"German.lang.txt", "French.lang.txt", "Klingon.lang.txt"},
                     .currentLanguage = "German",
                     .languageFilePath = languages.Path("German.lang.txt")},
        .settingsFolder = settingsFolder + "\\",
        .programPath = programPath,
        .serverHost = "localhost:9",
        .flagModule = exe_.get(),
        .messages = &messages,
    };
    return std::make_unique<LanguageChooserDialog>(::GetModuleHandleW(nullptr), nullptr,
                                                   std::move(options));
  }

  static inline UniqueModule exe_;
  test::TempFolder languages;
  test::TempFolder settings;
  std::string settingsFolder = settings.Path();
  test::ScriptedMessageDialogs messages;
  std::vector<std::string> stored;
  int terminated = 0;
};

TEST_F(LanguageChooserWindow, FlagPicturesAre48PixelsWithTransparentBands) {
  ASSERT_TRUE(exe_) << LOCKBEACON_EXE_PATH;
  for (int i = 0; i < kFlagCount; ++i) {
    const Pixels flag = DecodePng(RcDataResource(exe_.get(), IDP_FLAG_BASE + i));
    ASSERT_EQ(flag.width, 48) << kFlagPictureNames[static_cast<std::size_t>(i)];
    ASSERT_EQ(flag.height, 48);
    EXPECT_EQ(flag.data[0] >> 24, 0u) << "transparent above the flag";
    EXPECT_EQ(flag.data[24 * 48 + 24] >> 24, 255u) << "opaque in the middle";
  }
}

// A pixel of the German flag's red or gold stripe.
bool IsFlagRed(const e2e::Rgb& p) { return p.r >= 200 && p.g <= 60 && p.b <= 60; }
bool IsFlagGold(const e2e::Rgb& p) { return p.r >= 200 && p.g >= 150 && p.b <= 80; }

TEST_F(LanguageChooserWindow, ShowsTheSortedListWithFlagsAndTheTranslators) {
  ASSERT_TRUE(exe_);
  auto form = Open();
  EXPECT_EQ(ToUtf8(WindowText(form->Hwnd())), "Language");
  HWND combo = form->Item(LanguageChooserDialog::kLanguageList);
  std::vector<std::string> items;
  const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[64] = L"";
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(ToUtf8(text));
  }
  EXPECT_EQ(items, (std::vector<std::string>{"English", "French", "German", "Klingon"}));
  EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(WindowText(form->Item(LanguageChooserDialog::kTranslatorsBox)),
            L"Anna Schmidt\r\nJonas Weber");

  form->Show();
  ::SetForegroundWindow(form->Hwnd());
  ::SetFocus(combo);
  ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{.cbSize = sizeof(COMBOBOXINFO)};
  ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
  PumpUntil([&] { return ::IsWindowVisible(info.hwndList) != FALSE; });
  ASSERT_TRUE(::IsWindowVisible(info.hwndList)) << "the list is dropped down";
  test::DrawNow(info.hwndList);
  static_cast<void>(e2e::SaveScreenshot("language-chooser-list"));

  // The dropped list's entries as the list draws them: each entry's flag at its left, 16
  // pixels at 96 DPI. German's red and gold stripes; Klingon's blank flag has neither.
  EXPECT_EQ(::SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0), 18);
  RECT client{};
  ::GetClientRect(info.hwndList, &client);
  const DibSection canvas(client.right, client.bottom);
  ASSERT_TRUE(canvas);
  {
    MemoryDC dc(nullptr);
    ScopedSelectObject select(dc.get(), canvas.get());
    ::SendMessageW(info.hwndList, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                   PRF_CLIENT | PRF_ERASEBKGND);
  }
  // Wine's screen captures leave the dropped list out: the list as it draws itself instead.
  static_cast<void>(e2e::SavePicture("language-chooser-open-list", canvas.Pixels(), canvas.Width(),
                                     canvas.Height()));
  const auto flagHas = [&](int index, auto test) {
    RECT item{};
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
    for (int y = item.top; y < item.top + 16 && y < canvas.Height(); ++y) {
      for (int x = item.left; x < item.left + 16 && x < canvas.Width(); ++x) {
        const std::uint32_t p = canvas.Pixels()[static_cast<std::size_t>(y) * canvas.Width() + x];
        if (test(e2e::Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                          static_cast<int>(p & 0xFF)})) {
          return true;
        }
      }
    }
    return false;
  };
  EXPECT_TRUE(flagHas(2, IsFlagRed));
  EXPECT_TRUE(flagHas(2, IsFlagGold));
  EXPECT_FALSE(flagHas(3, IsFlagRed));
  EXPECT_FALSE(flagHas(3, IsFlagGold));

  ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  // Another language shows its translators; OK then asks, and "No" keeps the dialog open.
  ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
  ::SendMessageW(form->Hwnd(), WM_COMMAND,
                 MAKEWPARAM(LanguageChooserDialog::kLanguageList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(WindowText(form->Item(LanguageChooserDialog::kTranslatorsBox)), L"Claire");
  messages.answer = kResultNo;
  ::SendMessageW(form->Item(LanguageChooserDialog::kOk), BM_CLICK, 0, 0);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(form->Hwnd(), nullptr);
  EXPECT_TRUE(stored.empty());

  // Esc (Cancel) closes it without writing anything.
  ::SendMessageW(form->Hwnd(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(form->Hwnd(), nullptr);
  EXPECT_EQ(settings.Names(), std::vector<std::string>{});
}

// Tab goes round the list, the translators' box, OK and Cancel, also out of the box, a
// multi-line edit control, which hands Tab on to the window.
TEST_F(LanguageChooserWindow, TabGoesRoundAndLeavesTheTranslatorsBox) {
  auto form = Open();
  form->Show();
  const HWND order[] = {form->Item(LanguageChooserDialog::kLanguageList),
                        form->Item(LanguageChooserDialog::kTranslatorsBox),
                        form->Item(LanguageChooserDialog::kOk),
                        form->Item(LanguageChooserDialog::kCancel)};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    EXPECT_EQ(::GetNextDlgTabItem(form->Hwnd(), order[i], FALSE), order[(i + 1) % std::size(order)])
        << i;
  }
  ::SetFocus(order[1]);
  ASSERT_EQ(::GetFocus(), order[1]);
  MSG tab{.hwnd = order[1], .message = WM_KEYDOWN, .wParam = VK_TAB};
  EXPECT_TRUE(::IsDialogMessageW(form->Hwnd(), &tab));
  EXPECT_EQ(::GetFocus(), order[2]);
}

TEST_F(LanguageChooserWindow, OkWithTheSelectionUnchangedClosesAndRestartsNothing) {
  auto form = Open();
  form->Show();
  ::SendMessageW(form->Item(LanguageChooserDialog::kOk), BM_CLICK, 0, 0);
  EXPECT_EQ(form->Hwnd(), nullptr);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(stored.empty());
  EXPECT_EQ(terminated, 0);
  EXPECT_EQ(settings.Names(), std::vector<std::string>{});
}

// Copies the marker program into `folder` (created) and returns its path there.
std::string PlaceMarkerProgram(const std::string& folder) {
  ::CreateDirectoryW(ToWide(folder).c_str(), nullptr);
  const std::string program = folder + "\\LockBeacon.exe";
  ::CopyFileW(ToWide(test::FixturePath("write_marker.exe")).c_str(), ToWide(program).c_str(),
              FALSE);
  return program;
}

TEST_F(LanguageChooserWindow, YesRestartsThroughTheScriptFromAFolderWithSpecialCharacters) {
  test::TempFolder root;
  // The program in a folder whose name the command interpreter would otherwise take apart, and
  // a decoy where a wrongly expanded or cut-off path would lead.
  const std::string program = PlaceMarkerProgram(root.Path("100% & (more) ^!x Caf\xC3\xA9"));
  PlaceMarkerProgram(root.Path("100"));
  // The settings folder, where the script is written and run, with the same kind of name.
  settingsFolder = root.Path("set%PATH%tings & co");
  ::CreateDirectoryW(ToWide(settingsFolder).c_str(), nullptr);

  auto form = Open(program);
  form->Show();
  HWND combo = form->Item(LanguageChooserDialog::kLanguageList);
  ::SendMessageW(combo, CB_SETCURSEL, 1, 0);  // French
  ::SendMessageW(form->Hwnd(), WM_COMMAND,
                 MAKEWPARAM(LanguageChooserDialog::kLanguageList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  messages.answer = kResultYes;
  ::SendMessageW(form->Item(LanguageChooserDialog::kOk), BM_CLICK, 0, 0);

  EXPECT_EQ(stored, std::vector<std::string>{"French.lang.txt"});
  EXPECT_EQ(terminated, 1);
  EXPECT_EQ(form->Hwnd(), nullptr);
  const std::string script = settingsFolder + "\\start.bat";
  const auto bytes = [&]() -> std::string {
    const HANDLE file = ::CreateFileW(ToWide(script).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, read);
  }();
  // The path in the OEM code page, which the command interpreter reads.
  const std::wstring wide = ToWide(program);
  std::string ansi(wide.size() * 2, '\0');
  ansi.resize(static_cast<std::size_t>(
      ::WideCharToMultiByte(CP_OEMCP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr)));
  std::string expectedPath;
  for (const char c : ansi) expectedPath += c == '%' ? std::string("%%") : std::string(1, c);
  EXPECT_EQ(bytes,
            "@ECHO OFF\r\n"
            "ECHO This file was created automatically to restart the program.\r\n"
            "ECHO It is safe to delete this file.\r\n"
            "\"" +
                ToUtf8(SystemFolder()) + "\\timeout.exe\" 1\r\n\"" + expectedPath + "\"\r\n");

  // The script started the program in that folder, and nothing else.
  const std::string marker = root.Path("100% & (more) ^!x Caf\xC3\xA9\\marker.txt");
  EXPECT_TRUE(e2e::WaitFor(
      [&] { return ::GetFileAttributesW(ToWide(marker).c_str()) != INVALID_FILE_ATTRIBUTES; }, 20s))
      << marker;
  EXPECT_EQ(::GetFileAttributesW(ToWide(root.Path("100\\marker.txt")).c_str()),
            INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace lb
