// The Settings dialog's window driven through its controls' messages: the duration field's key
// filter, the arrow keys and the spin buttons, the clamping when the field is left, which check
// box shows and feeds which setting, and Esc.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/app_window_win.h"
#include "indicator/settings_window_win.h"
#include "platform/wide_text_win.h"
#include "ui/modeless_win.h"
#include "win32/app_window_fixture.h"
#include "win32/pump.h"

namespace lb {
namespace {

class SettingsWindowTest : public test::AppWindowTest {
 protected:
  void Start(const std::string& lines) {
    files_.files[test::kSettingsFile] = "[Settings]\r\n" + lines;
    Window().Logic().Create();
  }
  // A new dialog on the running settings, as the menu's "Settings..." opens it.
  HWND Open() {
    SettingsWindow* window = SettingsWindow::Open(::GetModuleHandleW(nullptr), owner_.get(),
                                                  Window().Logic().NewSettingsDialog());
    return window->Hwnd();
  }
  static HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
  static std::string FieldText(HWND dialog) {
    wchar_t text[64] = {};
    ::GetWindowTextW(Item(dialog, SettingsWindow::kDuration), text, 64);
    return ToUtf8(text);
  }
  // Types at the end of the field's text.
  static void Type(HWND dialog, const std::wstring& keys) {
    const HWND field = Item(dialog, SettingsWindow::kDuration);
    const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(field));
    ::SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
    for (const wchar_t key : keys) ::SendMessageW(field, WM_CHAR, key, 1);
  }
  static void SetField(HWND dialog, const wchar_t* text) {
    ::SetWindowTextW(Item(dialog, SettingsWindow::kDuration), text);
  }
  static bool Ticked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
  }
  // The box clicked as the user clicks it, until it shows `ticked`.
  static void SetBox(HWND dialog, int id, bool ticked) {
    if (Ticked(dialog, id) != ticked) ::SendMessageW(Item(dialog, id), BM_CLICK, 0, 0);
    ASSERT_EQ(Ticked(dialog, id), ticked) << id;
  }
  static void Save(HWND dialog) {
    ::SendMessageW(Item(dialog, SettingsWindow::kSave), BM_CLICK, 0, 0);
    test::PumpFor(std::chrono::milliseconds(20));
  }
};

TEST_F(SettingsWindowTest, DurationFieldTakesDigitsSignsAndTheSeparatorOnly) {
  Start("DisplayDuration=7\r\n");
  const HWND dialog = Open();
  ASSERT_EQ(FieldText(dialog), "7");
  Type(dialog, L"a5 x\r-+");
  EXPECT_EQ(FieldText(dialog), "75-+");
  Type(dialog, L"\b\b\b");  // Backspace is a control character: it goes through
  EXPECT_EQ(FieldText(dialog), "7");
  ::DestroyWindow(dialog);
}

TEST_F(SettingsWindowTest, ArrowKeysAndSpinButtonsStepTheValueWithinItsBounds) {
  Start("DisplayDuration=1\r\n");
  const HWND dialog = Open();
  const HWND field = Item(dialog, SettingsWindow::kDuration);
  ::SendMessageW(field, WM_KEYDOWN, VK_DOWN, 1);  // not below 1
  EXPECT_EQ(FieldText(dialog), "1");
  ::SendMessageW(field, WM_KEYDOWN, VK_UP, 1);
  ::SendMessageW(field, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(FieldText(dialog), "3");

  // The spin buttons, pressed with the mouse: the upper half steps up, the lower half down.
  const HWND spin = Item(dialog, SettingsWindow::kSpin);
  RECT box{};
  ::GetClientRect(spin, &box);
  const auto press = [&](int y) {
    const LPARAM at = MAKELPARAM(box.right / 2, y);
    ::SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(spin, WM_LBUTTONUP, 0, at);
  };
  press(box.bottom / 4);
  EXPECT_EQ(FieldText(dialog), "4");
  press(box.bottom * 3 / 4);
  press(box.bottom * 3 / 4);
  EXPECT_EQ(FieldText(dialog), "2");

  SetField(dialog, L"999999999");
  ::SendMessageW(field, WM_KEYDOWN, VK_UP, 1);  // not above 999999999
  EXPECT_EQ(FieldText(dialog), "999999999");
  ::DestroyWindow(dialog);
}

TEST_F(SettingsWindowTest, LeavingTheFieldClampsAWholeNumberAndLeavesOtherText) {
  struct Case {
    const wchar_t* typed;
    const char* shown;
  };
  Start("");
  const HWND dialog = Open();
  for (const Case c : {Case{L"0", "1"}, Case{L"-5", "1"}, Case{L"1000000000", "999999999"},
                       Case{L"250", "250"}, Case{L"12a", "12a"}}) {
    SCOPED_TRACE(ToUtf8(c.typed));
    ::SetFocus(Item(dialog, SettingsWindow::kDuration));
    SetField(dialog, c.typed);
    ::SetFocus(Item(dialog, SettingsWindow::kFadeOut));
    EXPECT_EQ(FieldText(dialog), c.shown);
  }
  // Save from a key press while the field still has the focus reads what the field shows.
  ::SetFocus(Item(dialog, SettingsWindow::kDuration));
  SetField(dialog, L"1000000000");
  Save(dialog);
  EXPECT_EQ(Window().Logic().displayDuration, 999999999);
}

// Three rounds, each box's value different from its neighbour's in the first, and from every
// other box's in one of the rounds, as shown and as saved: a box shown or saved under another's
// setting fails.
TEST_F(SettingsWindowTest, EachCheckBoxShowsAndFeedsItsOwnSetting) {
  struct Round {
    bool alwaysOnTop, fadeOut, minimalMode, screenSnap, showOnActiveMonitor, hideInFullScreen;
  };
  // What the file says to begin with: the opposite of the first round.
  Start(
      "Always on top=OFF\r\nFadeoutAnimation=ON\r\nMinimal Mode=OFF\r\nScreenSnap=ON\r\n"
      "Show On Active Monitor=OFF\r\nHide In Full Screen=ON\r\n");
  Round shown{false, true, false, true, false, true};
  for (const Round round :
       {Round{true, false, true, false, true, false}, Round{false, false, true, true, false, true},
        Round{true, true, false, false, false, true}}) {
    const HWND dialog = Open();
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kAlwaysOnTop), shown.alwaysOnTop);
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kFadeOut), shown.fadeOut);
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kMinimalMode), shown.minimalMode);
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kScreenSnap), shown.screenSnap);
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kShowOnActiveMonitor), shown.showOnActiveMonitor);
    EXPECT_EQ(Ticked(dialog, SettingsWindow::kHideInFullScreen), shown.hideInFullScreen);

    SetBox(dialog, SettingsWindow::kAlwaysOnTop, round.alwaysOnTop);
    SetBox(dialog, SettingsWindow::kFadeOut, round.fadeOut);
    SetBox(dialog, SettingsWindow::kMinimalMode, round.minimalMode);
    SetBox(dialog, SettingsWindow::kScreenSnap, round.screenSnap);
    SetBox(dialog, SettingsWindow::kShowOnActiveMonitor, round.showOnActiveMonitor);
    SetBox(dialog, SettingsWindow::kHideInFullScreen, round.hideInFullScreen);
    Save(dialog);
    EXPECT_FALSE(::IsWindow(dialog));

    const App& app = Window().Logic();
    EXPECT_EQ(app.alwaysOnTop, round.alwaysOnTop);
    EXPECT_EQ(app.fadeOut, round.fadeOut);
    EXPECT_EQ(app.minimalMode, round.minimalMode);
    EXPECT_EQ(app.screenSnap, round.screenSnap);
    EXPECT_EQ(app.showOnActiveMonitor, round.showOnActiveMonitor);
    EXPECT_EQ(app.hideInFullScreen, round.hideInFullScreen);
    const auto stored = [&](const char* key, bool on) {
      return std::string(key) + "=" + (on ? "ON" : "OFF") + "\r\n";
    };
    EXPECT_NE(Settings().find(stored("Always on top", round.alwaysOnTop)), std::string::npos);
    EXPECT_NE(Settings().find(stored("FadeoutAnimation", round.fadeOut)), std::string::npos);
    EXPECT_NE(Settings().find(stored("Minimal Mode", round.minimalMode)), std::string::npos);
    EXPECT_NE(Settings().find(stored("ScreenSnap", round.screenSnap)), std::string::npos);
    EXPECT_NE(Settings().find(stored("Show On Active Monitor", round.showOnActiveMonitor)),
              std::string::npos);
    EXPECT_NE(Settings().find(stored("Hide In Full Screen", round.hideInFullScreen)),
              std::string::npos);
    shown = round;
  }
  EXPECT_TRUE(test::reports.empty());
}

// Esc reaches the dialog through the message loop's dialog keys, as in the program's own loop:
// it closes the dialog, and nothing is written or applied.
TEST_F(SettingsWindowTest, EscClosesWithoutSavingAnything) {
  Start("DisplayDuration=5000\r\n");
  const HWND dialog = Open();
  SetBox(dialog, SettingsWindow::kAlwaysOnTop, true);
  SetField(dialog, L"1234");
  const HWND field = Item(dialog, SettingsWindow::kDuration);
  ::SetFocus(field);
  ::PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageW(field, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsModelessDialogMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  EXPECT_FALSE(::IsWindow(dialog));
  // (The start display meanwhile has written the window's new height.)
  EXPECT_NE(Settings().find("DisplayDuration=5000\r\n"), std::string::npos) << Settings();
  EXPECT_EQ(Settings().find("Always on top"), std::string::npos) << Settings();
  EXPECT_FALSE(Window().Logic().alwaysOnTop);
  EXPECT_EQ(Window().Logic().displayDuration, 5000);
}

// "Start with Windows" shows the user's start-up entry and writes it on Save, never to the
// settings file; an entry that cannot be written is reported and the dialog stays open with
// nothing else saved.
TEST_F(SettingsWindowTest, StartWithWindowsBoxWritesAndRemovesTheEntry) {
  Start("DisplayDuration=5000\r\n");
  const std::string command = "\"" + platform_.exePath + "\"";
  HWND dialog = Open();
  EXPECT_FALSE(Ticked(dialog, SettingsWindow::kStartWithWindows));
  wchar_t caption[64] = {};
  ::GetWindowTextW(Item(dialog, SettingsWindow::kStartWithWindows), caption, 64);
  EXPECT_STREQ(caption, L"Start with Windows");
  SetBox(dialog, SettingsWindow::kStartWithWindows, true);
  Save(dialog);
  EXPECT_EQ(startupEntry_.command, command);
  EXPECT_EQ(Settings().find("Windows"), std::string::npos) << Settings();

  dialog = Open();
  EXPECT_TRUE(Ticked(dialog, SettingsWindow::kStartWithWindows));
  SetBox(dialog, SettingsWindow::kStartWithWindows, false);
  startupEntry_.refuseWrites = true;
  SetField(dialog, L"777");
  Save(dialog);
  EXPECT_TRUE(::IsWindow(dialog));
  ASSERT_EQ(test::reports.size(), 1u);
  EXPECT_NE(test::reports[0].find("Run"), std::string::npos) << test::reports[0];
  EXPECT_EQ(startupEntry_.command, command);
  EXPECT_EQ(Window().Logic().displayDuration, 5000);

  startupEntry_.refuseWrites = false;
  Save(dialog);
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_FALSE(startupEntry_.command.has_value());
  EXPECT_EQ(Window().Logic().displayDuration, 777);
}

}  // namespace
}  // namespace lb
