// The About box in this test program's own process: its texts, the rain in its margins, its
// closing, and the message for a missing licence file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "about/about_box_win.h"
#include "base/identity.h"
#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "i18n/translation.h"
#include "platform/wide_text_win.h"
#include "ui/dpi.h"
#include "win32/exe_resources.h"
#include "win32/pump.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

using namespace std::chrono_literals;

using test::PumpUntil;

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() : saved_(AppIdentity()) {
    MutableAppIdentity().productName = "Lock Beacon";
    MutableAppIdentity().appVersion = "1.0";
  }
  ~AboutBoxTest() override { MutableAppIdentity() = saved_; }

  std::unique_ptr<AboutBox> Open() {
    return std::make_unique<AboutBox>(
        ::GetModuleHandleW(nullptr), nullptr,
        AboutBoxOptions{.exeFolder = folder.Path() + "\\", .pictures = exe_.get()});
  }

  test::TempFolder folder;
  UniqueModule exe_ = test::LoadExeResources();

 private:
  Identity saved_;
};

TEST_F(AboutBoxTest, ShowsCaptionAndProductLineAndRainsAroundTheCard) {
  auto box = Open();
  EXPECT_EQ(ToUtf8(box->Caption()), AboutCaption(Translate("About %s"), "Lock Beacon"));
  EXPECT_EQ(box->ProductLineText(), "Lock Beacon 1.0");
  EXPECT_GT(box->Rain().DropCount(), 0);

  box->Show();
  // The rain runs: frames follow one another while the box is shown.
  EXPECT_TRUE(test::PumpUntil([&] { return box->Rain().FrameCounter() >= 10; }, 10s));

  const RECT client = e2e::ClientRectOnScreen(box->Hwnd());
  const RECT card = box->CardRectOnScreen();
  const e2e::ScreenImage screen;
  static_cast<void>(e2e::SaveScreenshot("about-box-rain"));
  EXPECT_GE(e2e::RainyMargins(screen, client, card), 3)
      << "the rain shows in the margins around the card";
  // The card covers the rain: nothing of it shows between the logo and the buttons.
  const RECT cardMiddleLeft{card.left + 2, card.top + 120, card.left + 10, card.top + 160};
  EXPECT_FALSE(screen.Any(cardMiddleLeft, e2e::IsRainGreen));
}

TEST_F(AboutBoxTest, LogoFillsItsPlaceAtEveryDpi) {
  auto box = Open();
  box->Show();
  ASSERT_TRUE(box->Logo());
  EXPECT_EQ(box->Logo().Width(), 344);
  EXPECT_EQ(box->Logo().Height(), 105);
  // The logo is drawn: its place on the card is no longer plain black.
  const RECT card = box->CardRectOnScreen();
  const RECT logo{card.left + 3, card.top + 3, card.left + 3 + 344, card.top + 3 + 105};
  const auto logoShows = [&] {
    return e2e::ScreenImage().Any(logo, [](const e2e::Rgb& p) { return p.r + p.g + p.b > 120; });
  };
  PumpUntil(logoShows);
  EXPECT_TRUE(logoShows());
  static_cast<void>(e2e::SaveScreenshot("about-box-logo"));

  // Moved to a monitor of 144 DPI: made again at that size.
  RECT suggested{0, 0, Scale(460, 144), Scale(400, 144)};
  ::SendMessageW(box->Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
  ASSERT_TRUE(box->Logo());
  EXPECT_EQ(box->Logo().Width(), Scale(344, 144));
  EXPECT_EQ(box->Logo().Height(), Scale(105, 144));
}

TEST_F(AboutBoxTest, OkAndEscCloseTheBox) {
  auto box = Open();
  box->Show();
  ::SendMessageW(box->OkButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->Hwnd(), nullptr);

  box = Open();
  box->Show();
  ::SendMessageW(box->Hwnd(), WM_COMMAND, IDCANCEL, 0);  // what the dialog keys make of Esc
  EXPECT_EQ(box->Hwnd(), nullptr);
}

// Enter presses the focused button: on "Info" it drops the menu down and the box stays, on "OK"
// it closes the box.
TEST_F(AboutBoxTest, EnterPressesTheFocusedButton) {
  auto box = Open();
  box->Show();
  ::SetFocus(box->InfoButton());
  std::atomic<bool> menuSeen{false};
  std::thread closer([&] {
    HWND menu = nullptr;
    if (e2e::WaitFor([&] { return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr; }, 5s)) {
      menuSeen = true;
      ::PostMessageW(box->Hwnd(), WM_CANCELMODE, 0, 0);
      ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  });
  MSG enter{.hwnd = box->InfoButton(), .message = WM_KEYDOWN, .wParam = VK_RETURN};
  ::IsDialogMessageW(box->Hwnd(), &enter);  // returns once the menu has closed
  ProcessPendingMessages();
  closer.join();
  EXPECT_TRUE(menuSeen);
  ASSERT_NE(box->Hwnd(), nullptr) << "the box stays open";

  ::SetFocus(box->OkButton());
  enter.hwnd = box->OkButton();
  ::IsDialogMessageW(box->Hwnd(), &enter);
  PumpUntil([&] { return box->Hwnd() == nullptr; });
  EXPECT_EQ(box->Hwnd(), nullptr);
}

TEST_F(AboutBoxTest, MissingLicenseShowsFileNotFound) {
  auto box = Open();
  box->Show();

  std::atomic<bool> seen{false};
  std::wstring text;
  std::thread watcher([&] {
    HWND message = nullptr;
    if (e2e::WaitFor(
            [&] {
              message = ::FindWindowW(L"#32770", ToWide(Translate("License")).c_str());
              return message != nullptr;
            },
            10s)) {
      text = e2e::MessageBoxText(message);
      seen = true;
      ::PostMessageW(message, WM_COMMAND, IDOK, 0);
    }
  });
  box->OnLicense();  // returns when the message box closes
  watcher.join();

  ASSERT_TRUE(seen);
  EXPECT_EQ(ToUtf8(text), Translate("File not found!"));
}

}  // namespace
}  // namespace lb
