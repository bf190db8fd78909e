// The indicator window of the real program as a user sees it: the start display, a Caps Lock
// press with its status line, the LEDs in the colours of the keys' states, at 96 and at 192
// DPI. Screenshots of both go to the artifacts folder.
#include <gtest/gtest.h>

#include <optional>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"

namespace lb::e2e {
namespace {

namespace fs = std::filesystem;

bool Toggled(int vk) { return (GetKeyState(vk) & 1) != 0; }

bool IsLime(Rgb p) { return p.g > 200 && p.r < 90 && p.b < 90; }
bool IsGreyText(Rgb p) {
  return p.r > 90 && p.r < 170 && std::abs(p.r - p.g) < 12 && std::abs(p.g - p.b) < 12;
}
bool IsLitLed(Rgb p) { return p.g > 150 && p.g > p.r + 50 && p.g > p.b + 50; }
bool IsDarkLed(Rgb p) {
  return p.r > 50 && p.r < 140 && std::abs(p.r - p.g) < 16 && std::abs(p.g - p.b) < 16;
}
bool IsWhite(Rgb p) { return p.r > 230 && p.g > 230 && p.b > 230; }

// The indicator's design sizes at a DPI, as the user sees them: the window's width, the LED band
// (LEDs and key labels), the client with the status line under it, and where the LEDs end.
struct DesignSizes {
  int dpi;
  int width;
  int ledBandHeight;
  int statusLineHeight;
  int ledsHeight;
};

void ShowCapsLockAt(const DesignSizes& sizes) {
  const int dpi = sizes.dpi;
  const std::string name = "indicator-" + std::to_string(dpi) + "dpi";
  const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
  TempFolder folder(name);
  // A long display, without fading, so that the window stands still while it is looked at.
  WriteText(folder / "settings.ini",
            "[Settings]\r\nDisplayDuration=60000\r\nFadeoutAnimation=OFF\r\n");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  const int ledBandHeight = sizes.ledBandHeight;
  const auto clientSize = [&] {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
  };
  // The start display: LEDs and key labels only.
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) && clientSize().cy == ledBandHeight; }))
      << clientSize().cy;
  EXPECT_EQ(clientSize().cx, sizes.width);

  HoldKey(VK_CAPITAL);
  ASSERT_TRUE(WaitFor([&] { return clientSize().cy == sizes.statusLineHeight; }))
      << clientSize().cy;
  // The start tick sets the height before the opacity: the test may look in between.
  BYTE alpha = 0;
  WaitFor(
      [&] { return GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr) && alpha == 255; },
      2s);
  EXPECT_EQ(alpha, 255);

  const RECT client = ClientRectOnScreen(window);
  const int ledsBottom = client.top + sizes.ledsHeight;
  const int column = (client.right - client.left) / 3;
  const auto ledArea = [&](int i) {
    return RECT{client.left + i * column, client.top, client.left + (i + 1) * column, ledsBottom};
  };
  const RECT labels{client.left, ledsBottom, client.right, client.top + ledBandHeight};
  const RECT status{client.left, client.top + ledBandHeight, client.right, client.bottom};
  // A fresh process learns a lock key's toggle state only once the key changes (Wine), so
  // the state is asked after the press; one more press when it turned Caps Lock off.
  if (!Toggled(VK_CAPITAL)) {
    HoldKey(VK_CAPITAL);
    ASSERT_TRUE(WaitFor([] { return Toggled(VK_CAPITAL); }, 2s));
  }

  // Let the window paint, then look at it: "Caps Lock: ON" in lime.
  ASSERT_TRUE(WaitFor([&] { return ScreenImage().Any(status, IsLime); }, 5s));
  const ScreenImage screen;
  SaveScreenshot(name);
  const int vks[] = {VK_NUMLOCK, VK_CAPITAL, VK_SCROLL};
  for (int i = 0; i < 3; ++i) {
    const bool lit = Toggled(vks[i]);
    EXPECT_EQ(screen.Any(ledArea(i), IsLitLed), lit) << "column " << i;
    EXPECT_EQ(screen.Any(ledArea(i), IsDarkLed), !lit) << "column " << i;
  }
  EXPECT_TRUE(screen.Any(labels, IsWhite));
  EXPECT_FALSE(screen.Any(labels, IsLitLed));

  EXPECT_FALSE(screen.Any(status, IsGreyText));

  // Caps Lock off again for the tests that follow.
  HoldKey(VK_CAPITAL);
  WaitFor([] { return !Toggled(VK_CAPITAL); }, 2s);
}

TEST(IndicatorWindow, CapsLockPressShowsTheStatusLineAndTheLedsAt96Dpi) {
  ShowCapsLockAt(
      {.dpi = 96, .width = 184, .ledBandHeight = 80, .statusLineHeight = 120, .ledsHeight = 45});
}

TEST(IndicatorWindow, CapsLockPressShowsTheStatusLineAndTheLedsAt192Dpi) {
  ShowCapsLockAt(
      {.dpi = 192, .width = 368, .ledBandHeight = 160, .statusLineHeight = 240, .ledsHeight = 90});
}

// The program at 96 DPI in a folder of its own, with the given settings.
class IndicatorUse : public ::testing::Test {
 protected:
  HWND Start(const std::string& settings) {
    WriteText(folder.Path() / "settings.ini", "[Settings]\r\n" + settings);
    app.emplace(InstallApp(folder.Path(), true));
    return app->WaitForMainWindow();
  }
  static int ClientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
  }
  // Caps Lock pressed until it is off, for the tests that follow.
  static void CapsLockOff() {
    for (int attempt = 0; attempt < 2 && Toggled(VK_CAPITAL); ++attempt) {
      HoldKey(VK_CAPITAL);
      WaitFor([] { return !Toggled(VK_CAPITAL); }, 2s);
    }
  }

  TempFolder folder{"indicator-use"};
  std::optional<AppProcess> app;
};

TEST_F(IndicatorUse, StartDisplayShowsTheLedRowOpaqueAndHidesAfterTheDuration) {
  const HWND window = Start("DisplayDuration=1500\r\nFadeoutAnimation=OFF\r\n");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return ClientHeight(window) == 80; }, 5s)) << ClientHeight(window);
  // The start tick sets the height before the opacity: the test may look in between.
  BYTE alpha = 0;
  WaitFor(
      [&] { return GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr) && alpha == 255; },
      2s);
  EXPECT_EQ(alpha, 255);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }, 10s));
}

TEST_F(IndicatorUse, ShowingTheIndicatorLeavesTheKeyboardFocusWhereTheUserTypes) {
  const HWND window = Start("DisplayDuration=60000\r\nFadeoutAnimation=OFF\r\n");
  ASSERT_NE(window, nullptr);
  // The window the user types in: one of this test's, in the foreground.
  const HWND editor = CreateWindowExW(0, L"EDIT", L"typing here", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(editor, nullptr);
  SetForegroundWindow(editor);
  SetFocus(editor);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == editor; }, 5s));

  HoldKey(VK_CAPITAL);
  ASSERT_TRUE(WaitFor([&] { return ClientHeight(window) == 120; }, 5s)) << ClientHeight(window);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_EQ(GetForegroundWindow(), editor);
  DestroyWindow(editor);
  CapsLockOff();
}

TEST_F(IndicatorUse, DraggingMovesTheWindowByTheCursorAndSavesLeftAndTop) {
  const HWND window = Start("DisplayDuration=60000\r\nLeft=400\r\nTop=300\r\n");
  ASSERT_NE(window, nullptr);
  RECT before{};
  ASSERT_TRUE(WaitFor(
      [&] {
        GetWindowRect(window, &before);
        return before.left == 400 && before.top == 300 && ClientHeight(window) == 80;
      },
      5s));

  const RECT client = ClientRectOnScreen(window);
  DragWithLeftButton({(client.left + client.right) / 2, client.top + 40}, -120, -70);

  RECT after{};
  ASSERT_TRUE(WaitFor(
      [&] {
        GetWindowRect(window, &after);
        return after.left == 280 && after.top == 230;
      },
      5s))
      << after.left << "," << after.top;
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  const fs::path settings = folder / "settings.ini";
  EXPECT_TRUE(WaitFor(
      [&] {
        return GetPrivateProfileIntW(L"Settings", L"Left", -1, settings.c_str()) == 280 &&
               GetPrivateProfileIntW(L"Settings", L"Top", -1, settings.c_str()) == 230;
      },
      5s));
}

}  // namespace
}  // namespace lb::e2e
