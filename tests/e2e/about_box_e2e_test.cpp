// "About..." in the real program: the box opens over the running indicator with its caption
// and product line, the rain falls around the card, and OK closes it again.
#include <gtest/gtest.h>

#include <thread>

#include "about/about_box.h"
#include "about/about_box_win.h"
#include "base/identity.h"
#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "indicator/popup_menu.h"
#include "platform/version_info_win.h"
#include "platform/wide_text_win.h"

namespace lb::e2e {
namespace {

HWND FindAboutBox(const AppProcess& app) {
  for (const HWND window : app.Windows()) {
    if (ClassName(window) == AboutBox::kClassName && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// The card: the box's child window that carries the product line.
HWND FindCard(HWND box) { return ::FindWindowExW(box, nullptr, L"LockBeaconAboutCard", nullptr); }

TEST(AboutBoxE2eTest, AboutCommandOpensTheBoxWithItsRain) {
  TempFolder folder("about-box");
  const std::filesystem::path exe = InstallApp(folder.Path());
  const std::optional<std::uint32_t> version = ReadFileVersionMS(ToUtf8(exe.wstring()));
  ASSERT_TRUE(version.has_value());
  AppProcess app(exe);
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::About), 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindAboutBox(app)) != nullptr; }));
  EXPECT_EQ(WindowText(box), L"About Lock Beacon");
  const HWND card = FindCard(box);
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(ToUtf8(WindowText(card)), ProductLine("Lock Beacon", FormatAppVersion(*version)));
  // The box is modal: the indicator is disabled while it is open.
  EXPECT_FALSE(::IsWindowEnabled(window));

  RECT cardRect{};
  ::GetWindowRect(card, &cardRect);
  int rainyMargins = 0;
  WaitFor(
      [&] {
        return (rainyMargins = RainyMargins(ScreenImage(), ClientRectOnScreen(box), cardRect)) >= 3;
      },
      10s);
  EXPECT_GE(rainyMargins, 3) << "the rain shows in the margins around the card";
  SaveScreenshot("about-box");

  const HWND ok = ::GetDlgItem(card, IDOK);
  ASSERT_NE(ok, nullptr);
  ::PostMessageW(ok, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(window) != FALSE; }));
}

}  // namespace
}  // namespace lb::e2e
