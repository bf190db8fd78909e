// The indicator window's Win32 side: what the app asks of its view, carried out on a real
// window (opacity, showing without activation, the top-most band, heights, frames, layout,
// snapping, the mouse, timers, the menu), and the keyboard and sound implementations.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fakes/recording_indicator_view.h"
#include "fakes/scripted_message_dialogs.h"
#include "indicator/sound_effects.h"
#include "platform/keyboard_win.h"
#include "platform/sound_player_win.h"
#include "platform/timer_host_win.h"
#include "ui/dpi.h"
#include "ui/geometry_win.h"
#include "ui/message_dialogs_win.h"
#include "win32/app_window_fixture.h"
#include "win32/host_paths.h"
#include "win32/pump.h"
#include "win32/temp_folder.h"
// SND_SYNC and SND_ASYNC need the types of windows.h first.
#include <mmsystem.h>

namespace lb {
namespace {

using namespace std::chrono_literals;

using test::PumpUntil;

// A visible top-level window of this process with the given class (other test programs may
// show menus and dialogs at the same time).
HWND FindOwnWindow(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    HWND found = nullptr;
  } search{className};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            std::wstring_view(name) == s.className) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD ExStyle(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)); }
DWORD Style(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)); }

RECT ClientOnScreen(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

class IndicatorWindowTest : public test::AppWindowTest {
 protected:
  // The design DPI, which the layout numbers below are given for.
  bool AtDesignDpi() { return Window().Dpi() == 96; }
  // Puts the window in the middle of the work area, away from every edge.
  void Centre() {
    const Rect area = screen_.PrimaryWorkArea();
    const Rect bounds = Window().Bounds();
    Window().SetBounds(Rect::FromPosSize(area.left + (area.Width() - bounds.Width()) / 2,
                                         area.top + (area.Height() - bounds.Height()) / 2,
                                         bounds.Width(), bounds.Height()));
  }
};

TEST_F(IndicatorWindowTest, OpacityReachesTheLayeredWindow) {
  for (const std::uint8_t alpha : {255, 245, 5, 150}) {
    Window().SetAlpha(alpha);
    BYTE actual = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(Hwnd(), nullptr, &actual, &flags));
    EXPECT_EQ(actual, alpha);
    EXPECT_EQ(Window().Alpha(), alpha);
  }
}

TEST_F(IndicatorWindowTest, ShowingLeavesTheFocusWhereItWasAndHidingHides) {
  UniqueWindow typing(::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 400,
                                        200, 100, nullptr, nullptr, nullptr, nullptr));
  ::SetForegroundWindow(typing.get());
  ::SetFocus(typing.get());
  ASSERT_EQ(::GetForegroundWindow(), typing.get());

  Window().SetVisible(true);
  EXPECT_TRUE(Window().Visible());
  EXPECT_TRUE(::IsWindowVisible(Hwnd()));
  EXPECT_EQ(::GetForegroundWindow(), typing.get());
  EXPECT_EQ(::GetFocus(), typing.get());

  // Out of the top-most band and back, as every show does.
  Window().SetTopMost(false);
  Window().SetTopMost(true);
  EXPECT_EQ(::GetForegroundWindow(), typing.get());

  Window().SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Hwnd()));
  EXPECT_FALSE(Window().Visible());
}

// Whether `upper` lies above `lower` in the z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

TEST_F(IndicatorWindowTest, OutOfTheTopMostBandAndBackRaisesItAboveOtherTopMostWindows) {
  Window().SetVisible(true);
  UniqueWindow other(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0,
                                       0, 50, 50, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(Above(other.get(), Hwnd()));

  Window().SetTopMost(false);
  Window().SetTopMost(true);
  EXPECT_EQ(ExStyle(Hwnd()) & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_TRUE(Above(Hwnd(), other.get()));
  // (Wine keeps WS_EX_TOPMOST on an owned window that is asked to leave the band, so the
  // state between the two calls is not looked at.)
}

TEST_F(IndicatorWindowTest, ClientHeightChangesKeepTheWidthAndTheFrame) {
  const int dpi = Window().Dpi();
  EXPECT_EQ(Window().LedBandHeight(), Scale(80, dpi));
  const Rect before = Window().Bounds();

  for (const int height : {Window().LedBandHeight(), Scale(120, dpi), Scale(125, dpi)}) {
    Window().SetClientHeight(height);
    EXPECT_EQ(Window().ClientHeight(), height);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    EXPECT_EQ(client.bottom, height);
    EXPECT_EQ(client.right, Scale(184, dpi));
    EXPECT_EQ(Window().Bounds().left, before.left);
    EXPECT_EQ(Window().Bounds().top, before.top);
  }
  EXPECT_EQ(Window().Bounds(), before);  // back at the design height
}

TEST_F(IndicatorWindowTest, FrameStyleChangesKeepTheClientArea) {
  Centre();
  const RECT client = ClientOnScreen(Hwnd());
  struct Case {
    FrameStyle frame;
    DWORD present;
    DWORD absent;
  };
  const Case cases[] = {
      {FrameStyle::None, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_BORDER},
      {FrameStyle::Single, WS_POPUP | WS_CAPTION, WS_THICKFRAME},
      {FrameStyle::Sizeable, WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0},
      {FrameStyle::Single, WS_POPUP | WS_CAPTION, WS_THICKFRAME},
  };
  for (const Case& c : cases) {
    Window().SetFrameStyle(c.frame);
    EXPECT_EQ(Style(Hwnd()) & c.present, c.present) << static_cast<int>(c.frame);
    EXPECT_EQ(Style(Hwnd()) & c.absent, 0u) << static_cast<int>(c.frame);
    // Never any title-bar button.
    EXPECT_EQ(Style(Hwnd()) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(ToRect(ClientOnScreen(Hwnd())), ToRect(client)) << static_cast<int>(c.frame);
  }
  // Without a frame the window is its client area.
  Window().SetFrameStyle(FrameStyle::None);
  EXPECT_EQ(Window().Bounds(), ToRect(client));
}

TEST_F(IndicatorWindowTest, LayoutPassAtDesignSize) {
  // The harness's prefix runs at 96 DPI: any other DPI is a fault of the set-up, not a skip.
  ASSERT_TRUE(AtDesignDpi()) << "the test prefix runs at " << Window().Dpi();
  Window().Logic().Create();  // ends with the layout pass
  EXPECT_EQ(Window().PanelTextsClientWidth(), 184);
  EXPECT_EQ(Window().PanelLedsClientSize(), (Size{184, 45}));
  EXPECT_EQ(Window().LedImageSize(), (Size{32, 32}));
  EXPECT_EQ(Window().KeyLabelWidths(), (std::array<int, 3>{61, 62, 61}));
  EXPECT_EQ(Window().LedPosition(LedColumn::NumLock), (Point{14, 6}));
  EXPECT_EQ(Window().LedPosition(LedColumn::CapsLock), (Point{75, 6}));
  EXPECT_EQ(Window().LedPosition(LedColumn::ScrollLock), (Point{136, 6}));

  // The raised bevel of minimal mode takes a pixel on every side of the top band.
  Window().SetLedBandRaised(true);
  EXPECT_EQ(Window().PanelTextsClientWidth(), 182);
  EXPECT_EQ(Window().PanelLedsClientSize(), (Size{182, 43}));
}

TEST_F(IndicatorWindowTest, WorkAreaOfTheWindowsMonitor) {
  RECT primary{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0));
  EXPECT_EQ(screen_.WorkAreaFor(Window().Bounds()), ToRect(primary));
  // A rectangle off every screen belongs to the nearest monitor.
  EXPECT_EQ(screen_.WorkAreaFor(Rect::FromPosSize(-5000, -5000, 100, 100)), ToRect(primary));
}

TEST_F(IndicatorWindowTest, MovesThatKeepTheSizeSnapToTheWorkArea) {
  const Rect area = screen_.WorkAreaFor(Window().Bounds());
  const Rect bounds = Window().Bounds();
  const int top = area.top + 100;

  Window().SetBounds(Rect::FromPosSize(area.left + 2, top, bounds.Width(), bounds.Height()));
  EXPECT_EQ(Window().Bounds().left, area.left);

  Window().SetBounds(
      Rect::FromPosSize(area.right - bounds.Width() - 2, top, bounds.Width(), bounds.Height()));
  EXPECT_EQ(Window().Bounds().right, area.right);

  Window().Logic().screenSnap = false;
  Window().SetBounds(Rect::FromPosSize(area.left + 2, top, bounds.Width(), bounds.Height()));
  EXPECT_EQ(Window().Bounds().left, area.left + 2);
}

TEST_F(IndicatorWindowTest, LeftButtonDragMovesTheWindowWithTheMouseCaptured) {
  Window().Logic().Create();
  Centre();
  const Rect start = Window().Bounds();

  ::SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  EXPECT_EQ(::GetCapture(), Hwnd());
  // A press shows the window and clears the status line.
  EXPECT_TRUE(Window().Visible());
  EXPECT_EQ(Window().ClientHeight(), Window().LedBandHeight());

  // Client coordinates of the move are those of the window before it moved.
  ::SendMessageW(Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(45, 40));
  EXPECT_EQ(Window().Bounds().left, start.left + 25);
  EXPECT_EQ(Window().Bounds().top, start.top + 30);
  // Left of the client area while captured (negative client coordinates, in the moved
  // window): 25 back to the left, 30 further down.
  ::SendMessageW(Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 40));
  EXPECT_EQ(Window().Bounds().left, start.left);
  EXPECT_EQ(Window().Bounds().top, start.top + 60);

  ::SendMessageW(Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 40));
  EXPECT_EQ(::GetCapture(), nullptr);
  const Rect dropped = Window().Bounds();
  ::SendMessageW(Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  EXPECT_EQ(Window().Bounds(), dropped);

  // The position-saving flag is on by default: the drag wrote the position.
  EXPECT_NE(Settings().find("Left=" + std::to_string(dropped.left)), std::string::npos);
}

// Whether sending `message` to `window` opens a menu, which runs modally: it is closed from
// outside once it is on screen, or given up on after three seconds.
bool OpensAMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::atomic<bool> sent = false;
  std::atomic<bool> menuSeen = false;
  std::thread closer([&] {
    for (int i = 0; i < 300 && !menuSeen && !sent; ++i) {
      if (FindOwnWindow(L"#32768")) {
        menuSeen = true;
        ::PostMessageW(window, WM_CANCELMODE, 0, 0);
        ::EndMenu();
      }
      ::Sleep(10);
    }
  });
  ::SendMessageW(window, message, wParam, lParam);
  sent = true;
  closer.join();
  // A close request that arrived after the menu had gone would close the next one at once.
  MSG left;
  while (::PeekMessageW(&left, window, WM_CANCELMODE, WM_CANCELMODE, PM_REMOVE)) {
  }
  return menuSeen;
}

TEST_F(IndicatorWindowTest, RightButtonOpensTheMenuWithoutADrag) {
  Window().Logic().Create();
  Centre();
  const Rect start = Window().Bounds();
  EXPECT_TRUE(OpensAMenu(Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10)));
  EXPECT_EQ(::GetCapture(), nullptr);
  ::SendMessageW(Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  // Not moved (the press has shrunk it to the LEDs).
  EXPECT_EQ(Window().Bounds().left, start.left);
  EXPECT_EQ(Window().Bounds().top, start.top);
}

// The same menu from the keyboard (menu key, Shift+F10) and from the caption; a context-menu
// request from the client area is the right click's, which has opened the menu already.
TEST_F(IndicatorWindowTest, ContextMenuFromTheKeyboardAndTheCaption) {
  Window().Logic().Create();
  Window().SetFrameStyle(FrameStyle::Sizeable);
  Centre();
  // Points taken just before use: the timers that run while a menu is open may move the window.
  const auto caption = [&] {
    const Rect bounds = Window().Bounds();
    const RECT client = ClientOnScreen(Hwnd());
    return MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + client.top) / 2);
  };
  const auto inside = [&] {
    const RECT client = ClientOnScreen(Hwnd());
    return MAKELPARAM((client.left + client.right) / 2, (client.top + client.bottom) / 2);
  };
  ASSERT_LT(Window().Bounds().top, ClientOnScreen(Hwnd()).top) << "the window has a caption";
  const auto from = reinterpret_cast<WPARAM>(Hwnd());

  EXPECT_TRUE(OpensAMenu(Hwnd(), WM_CONTEXTMENU, from, caption()));
  EXPECT_TRUE(OpensAMenu(Hwnd(), WM_CONTEXTMENU, from, -1));
  EXPECT_FALSE(OpensAMenu(Hwnd(), WM_CONTEXTMENU, from, inside()));
}

TEST_F(IndicatorWindowTest, TimersRunOnTheWindowAndTheStartTickShowsTheLeds) {
  keyboard_.SetToggled(VkNumLock, true);
  Window().Logic().Create();
  // Started while the app was constructed, before the window existed.
  const auto& running = Window().Timers().Running();
  EXPECT_EQ(running.count(kKeyPollTimerId), 1u);
  EXPECT_EQ(running.count(kStartDisplayTimerId), 1u);
  EXPECT_EQ(running.count(kHideTimerId), 0u);

  ASSERT_TRUE(PumpUntil([&] { return Window().Visible(); }));
  EXPECT_EQ(running.count(kStartDisplayTimerId), 0u);  // once only
  EXPECT_EQ(running.at(kHideTimerId), Window().Logic().displayDuration);
  EXPECT_EQ(Window().Alpha(), 255);
  EXPECT_EQ(Window().ClientHeight(), Window().LedBandHeight());
  EXPECT_EQ(Window().Led(LedColumn::NumLock), true);
  EXPECT_EQ(Window().Led(LedColumn::CapsLock), false);

  // A Caps Lock press seen by the 10 ms poll: the status line with its colour.
  keyboard_.Press(VkCapital);
  ASSERT_TRUE(PumpUntil([&] { return Window().StatusText() == "Caps Lock: ON"; }));
  keyboard_.Release(VkCapital);
  EXPECT_EQ(Window().StatusColor(), ColorLime);
  EXPECT_EQ(Window().Led(LedColumn::CapsLock), true);
  EXPECT_EQ(Window().ClientHeight(), 3 * Window().LedBandHeight() / 2);
}

// Drives the open-file dialog from another thread, as a user would: waits for it, lets `act`
// fill it in and press a button.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND dialog)> act)
      : thread_([this, act = std::move(act)] {
          for (int i = 0; i < 500; ++i) {
            if (HWND dialog = FindOwnWindow(L"#32770")) {
              // Filled in before it shows: once visible, it has finished its setting up.
              for (int j = 0; j < 500 && !::IsWindowVisible(dialog); ++j) ::Sleep(10);
              wchar_t name[1024] = {};
              ::GetDlgItemTextW(dialog, kFileNameBox, name, 1024);
              shownName = ToUtf8(name);
              act(dialog);
              return;
            }
            ::Sleep(10);
          }
        }) {}
  ~DialogDriver() { thread_.join(); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // The file-name box of the explorer-style dialog (cmb13).
  static constexpr int kFileNameBox = 0x47c;
  std::string shownName;  // what the file-name box held when the dialog came up

 private:
  std::thread thread_;
};

// (Wine 8's dialog does not add the default extension to a typed name of an existing file
// before it checks that the file exists, so the name is typed whole.)
TEST_F(IndicatorWindowTest, OpenFileDialogReturnsTheChosenFullPath) {
  test::TempFolder folder;
  folder.Put("chosen.wav", "RIFF");
  std::optional<std::string> answer;
  {
    DialogDriver driver([&](HWND dialog) {
      ::SetDlgItemTextW(dialog, DialogDriver::kFileNameBox,
                        ToWide(folder.Path("chosen.wav")).c_str());
      ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    answer = TaskMessageDialogs(Hwnd()).ShowOpenFile({"Sound Effect (*.wav)", "*.wav", "wav", ""});
  }
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(*answer, folder.Path("chosen.wav"));
}

TEST_F(IndicatorWindowTest, OpenFileDialogShowsThePresetAndCancelsWithNothing) {
  test::TempFolder folder;
  folder.Put("before.wav", "RIFF");
  std::optional<std::string> answer = "not asked";
  std::string shown;
  {
    DialogDriver driver([&](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    answer = TaskMessageDialogs(Hwnd()).ShowOpenFile(
        {"Sound Effect (*.wav)", "*.wav", "wav", folder.Path("before.wav")});
    shown = driver.shownName;
  }
  EXPECT_FALSE(answer.has_value());
  EXPECT_NE(shown.find("before.wav"), std::string::npos) << shown;
}

TEST(WindowTimerHost, StartsWaitingTimersOnAttachAndStopsThem) {
  UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, nullptr));
  WindowTimerHost host;
  host.StartTimer(7, 15);
  host.StartTimer(8, 0);  // an interval of 0 never fires
  EXPECT_EQ(host.Running().size(), 1u);
  host.Attach(window.get());

  int ticks = 0;
  ASSERT_TRUE(PumpUntil([&] {
    MSG message;
    while (::PeekMessageW(&message, window.get(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
      EXPECT_EQ(message.wParam, 7u);
      ++ticks;
    }
    return ticks >= 2;
  }));

  host.StopTimer(7);
  EXPECT_TRUE(host.Running().empty());
  // Longer than the timer's interval: a timer still running would have posted by now.
  ::Sleep(60);
  MSG message;
  EXPECT_FALSE(::PeekMessageW(&message, window.get(), WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST(Win32Keyboard, OneReadEqualsGetKeyStateForEveryCode) {
  // No window of this thread has the focus, as with the indicator. (Under Wine a focused X
  // window would have its lock keys synchronised with the X server's, which knows nothing of
  // the injected press.)
  const Win32Keyboard keyboard;

  const auto send = [](bool down) {
    INPUT input{.type = INPUT_KEYBOARD};
    input.ki.wVk = VK_CAPITAL;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(1, &input, sizeof(INPUT)), 1u);
  };
  // The keyboard is read before anything else of this thread asks for a key state.
  const auto expectSameAsGetKeyState = [&](const char* when, bool down) {
    KeyStates states{};
    keyboard.ReadKeyStates(states);
    EXPECT_EQ((states[VK_CAPITAL] & 0x80) != 0, down) << when;
    for (int vk = 0; vk < 256; ++vk) {
      const SHORT state = ::GetKeyState(vk);
      const int expected = ((state & 0x8000) ? 0x80 : 0) | (state & 0x01);
      ASSERT_EQ(states[static_cast<std::size_t>(vk)], expected) << when << ", code " << vk;
    }
  };
  const auto asyncDown = [] { return (::GetAsyncKeyState(VK_CAPITAL) & 0x8000) != 0; };

  send(true);
  ASSERT_TRUE(PumpUntil(asyncDown));
  expectSameAsGetKeyState("held", true);
  const bool toggledWhileHeld = keyboard.IsToggled(VkCapital);

  send(false);
  ASSERT_TRUE(PumpUntil([&] { return !asyncDown(); }));
  expectSameAsGetKeyState("released", false);
  EXPECT_EQ(keyboard.IsToggled(VkCapital), toggledWhileHeld);  // toggled at key-down only

  // Put Caps Lock back as it was.
  send(true);
  send(false);
  PumpUntil([&] { return keyboard.IsToggled(VkCapital) != toggledWhileHeld; });
}

TEST(Win32SoundPlayer, SyncAndAsyncReturnAndAMissingFileIsNoError) {
  const std::string wav =
      test::HostPath(LOCKBEACON_SOURCE_DIR) + "\\resources\\deliver\\keypress-on.wav";
  Win32SoundPlayer player;
  EXPECT_NO_THROW(player.Play(wav, false));
  EXPECT_NO_THROW(player.Play(wav, true));
  EXPECT_NO_THROW(player.Play("C:\\nowhere\\missing.wav", false));
  EXPECT_NO_THROW(player.Play("C:\\nowhere\\missing.wav", true));
}

// What reached PlaySoundW: a recording stand-in for the system function.
struct PlaySoundCall {
  std::wstring name;
  HMODULE module;
  DWORD flags;
  friend bool operator==(const PlaySoundCall&, const PlaySoundCall&) = default;
};
std::vector<PlaySoundCall> playSoundCalls;
BOOL WINAPI RecordPlaySound(LPCWSTR name, HMODULE module, DWORD flags) {
  playSoundCalls.push_back({name ? name : L"", module, flags});
  return TRUE;
}

// SND_SYNC is 0 and SND_ASYNC 1, so no test that only calls the system could tell the two
// apart: the player's call is recorded at the edge. The play mode chosen in the menu reaches
// the flags, always with SND_FILENAME (never a registry alias) and SND_NODEFAULT (no default
// beep for a file that cannot be played), and nothing else is added to them.
TEST(Win32SoundPlayer, ThePlayModeReachesThePlaySoundFlags) {
  playSoundCalls.clear();
  test::MemoryFileSystem files;
  test::FakeCodePage codePage;
  test::FakeStartupPlatform startup;
  test::RecordingIndicatorView view;
  files.files["C:\\Apps\\Lock Beacon\\keypress-on.wav"] = "RIFF";
  files.files["C:\\Apps\\Lock Beacon\\keypress-off.wav"] = "RIFF";
  const auto store =
      std::make_unique<SettingsStore>("C:\\Apps\\Lock Beacon\\settings.ini", files, codePage);
  RunningSettings settings;
  Win32SoundPlayer player(&RecordPlaySound);
  test::ScriptedMessageDialogs messages;
  SoundEffects sounds(settings, view, player, files, startup, messages, store);

  sounds.OnPlayAsync();
  sounds.PlayToggleSound(true);
  sounds.OnPlaySync();
  sounds.PlayToggleSound(false);

  const std::vector<PlaySoundCall> expected = {
      {L"C:\\Apps\\Lock Beacon\\keypress-on.wav", nullptr,
       SND_ASYNC | SND_FILENAME | SND_NODEFAULT},
      {L"C:\\Apps\\Lock Beacon\\keypress-off.wav", nullptr,
       SND_SYNC | SND_FILENAME | SND_NODEFAULT},
  };
  EXPECT_EQ(playSoundCalls, expected);
}

}  // namespace
}  // namespace lb
