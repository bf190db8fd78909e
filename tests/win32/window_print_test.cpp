// The system asks for a window's picture with WM_PRINTCLIENT as well as with WM_PAINT:
// AnimateWindow draws the growing update notice that way on Windows, thumbnails and magnifiers
// too. (Wine's AnimateWindow only shows the window, so this never showed here by itself.) Each
// window printed into a memory bitmap must look exactly as it does on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "about/about_box_win.h"
#include "base/identity.h"
#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "online/update_notice_window_win.h"
#include "win32/app_window_fixture.h"
#include "win32/exe_resources.h"
#include "win32/pump.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

using namespace std::chrono_literals;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// What WM_PRINTCLIENT draws of `window` into a 32-bit memory bitmap, with each visible child
// printed the same way into a bitmap of its own and laid over it at its place, as the window's
// children cover it on screen. (Each window gets a DC whose origin is its own client origin, as
// a paint DC has: controls clip to their client rectangle in device units.)
Picture Printed(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  Picture picture{client.right, client.bottom, {}};
  BITMAPINFO info{};
  info.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                    .biWidth = picture.width,
                    .biHeight = -picture.height,
                    .biPlanes = 1,
                    .biBitCount = 32,
                    .biCompression = BI_RGB};
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  const HGDIOBJ old = ::SelectObject(dc, bitmap);
  // Magenta where nothing was drawn, so that an empty print cannot pass for a black window.
  const HBRUSH magenta = ::CreateSolidBrush(RGB(255, 0, 255));
  ::FillRect(dc, &client, magenta);
  ::DeleteObject(magenta);
  ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(picture.width) * picture.height);
  for (auto& pixel : picture.pixels) pixel &= 0xFFFFFF;
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);

  // Children from the bottom of the z-order up, so that the topmost ends up on top.
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) children.push_back(child);
  }
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    const HWND child = *it;
    POINT origin{};
    ::ClientToScreen(child, &origin);
    ::ScreenToClient(window, &origin);
    const Picture part = Printed(child);
    for (int y = 0; y < part.height; ++y) {
      for (int x = 0; x < part.width; ++x) {
        const int px = origin.x + x;
        const int py = origin.y + y;
        if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
        picture.pixels[static_cast<std::size_t>(py) * picture.width + px] =
            part.pixels[static_cast<std::size_t>(y) * part.width + x];
      }
    }
  }
  return picture;
}

Picture OnScreen(HWND window) {
  const RECT client = e2e::ClientRectOnScreen(window);
  const e2e::ScreenImage screen;
  Picture picture{client.right - client.left, client.bottom - client.top, {}};
  for (int y = client.top; y < client.bottom; ++y) {
    const std::uint32_t* row = screen.Row(y);
    for (int x = client.left; x < client.right; ++x) picture.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return picture;
}

// Compares the two pictures of `window`; on a difference both are saved as evidence.
void ExpectPrintMatchesScreen(HWND window, const std::string& name) {
  test::DrawNow(window);
  const Picture screen = OnScreen(window);
  const Picture printed = Printed(window);
  ASSERT_EQ(printed.width, screen.width);
  ASSERT_EQ(printed.height, screen.height);
  ASSERT_GT(printed.width * printed.height, 0);
  int differing = 0;
  int firstX = -1;
  int firstY = -1;
  for (int y = 0; y < printed.height; ++y) {
    for (int x = 0; x < printed.width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * printed.width + x;
      if (printed.pixels[at] != screen.pixels[at]) {
        if (differing++ == 0) {
          firstX = x;
          firstY = y;
        }
      }
    }
  }
  if (differing > 0) {
    e2e::SavePicture(name + "-printed", printed.pixels.data(), printed.width, printed.height);
    e2e::SavePicture(name + "-screen", screen.pixels.data(), screen.width, screen.height);
  }
  EXPECT_EQ(differing, 0) << name << ": " << differing << " of " << printed.width * printed.height
                          << " pixels differ, the first at (" << firstX << ", " << firstY << ")";
}

class WindowPrintTest : public test::AppWindowTest {};

TEST_F(WindowPrintTest, TheIndicatorPrintsAsItShows) {
  Window().Logic().Create();
  ASSERT_TRUE(test::PumpUntil([&] { return Window().Visible() && Window().Alpha() == 255; }));
  ExpectPrintMatchesScreen(Hwnd(), "print-indicator");
}

TEST_F(WindowPrintTest, TheUpdateNoticePrintsAsItShows) {
  UpdateNoticeWindow notice(
      ::GetModuleHandleW(nullptr),
      UpdateNoticeWindow::Options{.productName = "Lock Beacon",
                                  .offeredVersion = "5.2",
                                  .downloadUrl = "https://www.example.test/",
                                  .host = "www.example.test",
                                  .downloadPage = "https://www.example.test/download/",
                                  .open = [](const std::string&) {}});
  notice.OnShowTimer();
  ASSERT_TRUE(::IsWindowVisible(notice.Hwnd()));
  ExpectPrintMatchesScreen(notice.Hwnd(), "print-notice");
}

TEST_F(WindowPrintTest, TheAboutCardPrintsAsItShows) {
  const Identity saved = AppIdentity();
  MutableAppIdentity().productName = "Lock Beacon";
  MutableAppIdentity().appVersion = "1.0";
  test::TempFolder folder;
  const UniqueModule exe = test::LoadExeResources();
  {
    AboutBox box(::GetModuleHandleW(nullptr), nullptr,
                 AboutBoxOptions{.exeFolder = folder.Path() + "\\", .pictures = exe.get()});
    box.Show();
    // The card, with its logo, texts and buttons; the rain around it changes from frame to
    // frame, so the box's own margins are printed but not compared.
    ExpectPrintMatchesScreen(box.CardWindow(), "print-about-card");
    box.Close();
  }
  MutableAppIdentity() = saved;
}

}  // namespace
}  // namespace lb
