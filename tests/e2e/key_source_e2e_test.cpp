// The real program with each source of key presses, forced through LOCKBEACON_KEY_SOURCE (the
// test build reads it): raw input and the keyboard hook see even a press too short for any poll,
// the poll sees a press held as long as a user holds one; each shows the state the key has after
// the press. Caps Lock ends as it began.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"

namespace lb::e2e {
namespace {

// Down and up in one go: no 10 ms poll can see the key down.
void TapKey(WORD vk) { PressKey(vk); }

// Held for 150 ms, as a user's press.
void HoldKey(WORD vk) {
  INPUT input{.type = INPUT_KEYBOARD};
  input.ki.wVk = vk;
  SendInput(1, &input, sizeof(INPUT));
  Sleep(150);
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

bool Toggled(int vk) { return (GetKeyState(vk) & 1) != 0; }
bool IsLime(Rgb p) { return p.g > 200 && p.r < 90 && p.b < 90; }
bool IsGreyText(Rgb p) {
  return p.r > 90 && p.r < 170 && std::abs(p.r - p.g) < 12 && std::abs(p.g - p.b) < 12;
}

int ClientHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.bottom;
}

// The environment variable for the programs started while it lives.
class ScopedKeySource {
 public:
  explicit ScopedKeySource(const wchar_t* name) {
    ::SetEnvironmentVariableW(L"LOCKBEACON_KEY_SOURCE", name);
  }
  ~ScopedKeySource() { ::SetEnvironmentVariableW(L"LOCKBEACON_KEY_SOURCE", nullptr); }
  ScopedKeySource(const ScopedKeySource&) = delete;
  ScopedKeySource& operator=(const ScopedKeySource&) = delete;
};

// The window the user types into: the foreground window while it lives. (Wine hands raw input
// out only while there is one; on a desktop there always is.)
class TypedIntoWindow {
 public:
  TypedIntoWindow()
      : window_(::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 600, 200,
                                  80, nullptr, nullptr, nullptr, nullptr)) {
    ::SetForegroundWindow(window_);
  }
  ~TypedIntoWindow() { ::DestroyWindow(window_); }
  TypedIntoWindow(const TypedIntoWindow&) = delete;
  TypedIntoWindow& operator=(const TypedIntoWindow&) = delete;

 private:
  HWND window_;
};

struct SourceCase {
  const wchar_t* source;
  void (*press)(WORD vk);
  const char* name;
};

class KeySourceUse : public ::testing::TestWithParam<SourceCase> {};

TEST_P(KeySourceUse, APressShowsTheIndicatorWithItsStatusLine) {
  const ScopedKeySource source(GetParam().source);
  TempFolder folder(std::string("key-source-") + GetParam().name);
  WriteText(folder / "settings.ini",
            "[Settings]\r\nDisplayDuration=1500\r\nFadeoutAnimation=OFF\r\n");
  const TypedIntoWindow typedInto;
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  // The start display shows the LEDs only, then hides.
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }));
  const int ledsOnly = ClientHeight(window);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) == FALSE; }));

  for (int press = 0; press < 2; ++press) {
    GetParam().press(VK_CAPITAL);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 3s)) << press;
    EXPECT_GT(ClientHeight(window), ledsOnly) << "the status line shows";
    // "Caps Lock: ON" in lime or "Caps Lock: OFF" in grey, as the key now stands.
    const bool on = Toggled(VK_CAPITAL);
    const RECT client = ClientRectOnScreen(window);
    const RECT status{client.left, client.top + ledsOnly, client.right, client.bottom};
    EXPECT_TRUE(WaitFor([&] { return ScreenImage().Any(status, on ? IsLime : IsGreyText); }, 3s))
        << "press " << press << ", Caps Lock " << (on ? "on" : "off");
    EXPECT_FALSE(ScreenImage().Any(status, on ? IsGreyText : IsLime)) << press;
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(window) == FALSE; }, 5s)) << press;
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, KeySourceUse,
                         ::testing::Values(SourceCase{L"raw-input", &TapKey, "RawInput"},
                                           SourceCase{L"hook", &TapKey, "KeyboardHook"},
                                           SourceCase{L"poll", &HoldKey, "Polling"}),
                         [](const auto& source) { return std::string(source.param.name); });

}  // namespace
}  // namespace lb::e2e
