// The About box in this test program's own process: its texts, the rain in its margins, its
// closing, and the message for a missing licence file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "about/about_box_win.h"
#include "app/identity.h"
#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "i18n/translation.h"
#include "ui/text_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

using namespace std::chrono_literals;

// Handles this thread's messages for `duration`.
void PumpFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    std::this_thread::sleep_for(5ms);
  }
}

// A pixel of the rain: green clearly above red and blue (the drops' colours keep red at 150/255
// and blue at 100/255 of the green).
bool IsRainGreen(const e2e::Rgb& pixel) {
  return pixel.g >= 60 && pixel.g * 10 >= pixel.r * 15 && pixel.g * 10 >= pixel.b * 20;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() : saved_(AppIdentity()) {
    MutableAppIdentity().ProductName = "Lock Beacon";
    MutableAppIdentity().AppVersion = "1.0";
  }
  ~AboutBoxTest() override { MutableAppIdentity() = saved_; }

  std::unique_ptr<TAboutBox> Open() {
    return std::make_unique<TAboutBox>(::GetModuleHandleW(nullptr), nullptr,
                                       AboutBoxOptions{.exeFolder = folder.Path() + "\\"});
  }

  test::TempFolder folder;

 private:
  Identity saved_;
};

TEST_F(AboutBoxTest, ShowsCaptionAndProductLineAndRainsAroundTheCard) {
  auto box = Open();
  EXPECT_EQ(ToUtf8(box->Caption()), AboutCaption(Translate("About %s"), "Lock Beacon"));
  EXPECT_EQ(box->ProductLineText(), "Lock Beacon 1.0");
  EXPECT_GT(box->Rain().DropCount(), 0);

  box->Show();
  PumpFor(1000ms);
  EXPECT_GE(box->Rain().FrameCounter(), 10);

  const RECT client = e2e::ClientRectOnScreen(box->Hwnd());
  const RECT card = box->CardRectOnScreen();
  const e2e::ScreenImage screen;
  static_cast<void>(e2e::SaveScreenshot("about-box-rain"));
  const RECT margins[] = {
      {client.left, client.top, client.right, card.top},        // above the card
      {client.left, card.bottom, client.right, client.bottom},  // below
      {client.left, card.top, card.left, card.bottom},          // left
      {card.right, card.top, client.right, card.bottom},        // right
  };
  int rainyMargins = 0;
  for (const RECT& margin : margins) {
    if (screen.Any(margin, IsRainGreen)) ++rainyMargins;
  }
  EXPECT_GE(rainyMargins, 3) << "the rain shows in the margins around the card";
  // The card covers the rain: nothing of it shows between the logo and the buttons.
  const RECT cardMiddleLeft{card.left + 2, card.top + 120, card.left + 10, card.top + 160};
  EXPECT_FALSE(screen.Any(cardMiddleLeft, IsRainGreen));
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
  box->LicensePrivacyPolicy1Click();  // returns when the message box closes
  watcher.join();

  ASSERT_TRUE(seen);
  EXPECT_EQ(ToUtf8(text), Translate("File not found!"));
}

}  // namespace
}  // namespace lb
