// Process DPI awareness and the DPI of a window, on whatever the system offers.
#include "ui/dpi.h"

#include <gtest/gtest.h>

#include "platform/system_library_win.h"
#include "ui/dpi_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

TEST(DpiAwareness, FallsBackToTheBestAwarenessTheSystemHas) {
  // Wine 8 refuses the per-monitor v2 context; the process must still end up per-monitor
  // aware rather than unaware.
  const DpiAwareness enabled = EnableProcessDpiAwareness();
  EXPECT_NE(enabled, DpiAwareness::Unaware);
  if (SystemProc<void (*)()>(L"ntdll.dll", "wine_get_version")) {
    EXPECT_TRUE(enabled == DpiAwareness::PerMonitor || enabled == DpiAwareness::PerMonitorV2);
  }
  EXPECT_EQ(CurrentDpiAwareness(), enabled);
  // Asking again changes nothing and reports the same.
  EXPECT_EQ(EnableProcessDpiAwareness(), enabled);
}

TEST(DpiAwareness, WindowDpiMatchesTheScreensAndScalesTheFrame) {
  UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"dpi", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  const int dpi = DpiForWindow(window.get());
  const WindowDC screen(nullptr);
  EXPECT_EQ(dpi, ::GetDeviceCaps(screen.get(), LOGPIXELSX));

  const DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  RECT outer{0, 0, Scale(184, dpi), Scale(125, dpi)};
  ASSERT_TRUE(AdjustWindowRectForDpi(outer, style, 0, dpi));
  // The frame and caption lie around the client area.
  EXPECT_LT(outer.left, 0);
  EXPECT_LT(outer.top, 0);
  EXPECT_GT(outer.right, Scale(184, dpi));
  EXPECT_GT(outer.bottom, Scale(125, dpi));
}

}  // namespace
}  // namespace lb
