#include <gtest/gtest.h>

#include "online/new_ver_notice.h"

namespace lb {
namespace {

TEST(NewVerNotice, SitsFivePixelsFromTheTopRightCornerOfTheScreen) {
  EXPECT_EQ(NoticePosition(1920, kNoticeClientWidth), (Point{1595, 5}));
  EXPECT_EQ(NoticePosition(1280, 480), (Point{795, 5}));  // 320 at 144 dots per inch
}

TEST(NewVerNotice, TextsNameTheProductAndTheOfferedVersion) {
  EXPECT_EQ(NoticeTitleText(), "UPDATE AVAILABLE");
  EXPECT_EQ(NoticeLinkText("Lock Beacon", "5.2"), "Click to download Lock Beacon 5.2");
}

TEST(NewVerNotice, LinkOpensOnlyWebAddresses) {
  const std::string home = "https://www.example.test/";
  const struct {
    const char* url;
    const char* opened;
  } cases[] = {
      {"https://www.example.test/download/", "https://www.example.test/download/"},
      {"http://www.example.test/lb.exe", "http://www.example.test/lb.exe"},
      {"HTTPS://www.example.test/", "HTTPS://www.example.test/"},
      {"", "https://www.example.test/"},
      {"C:\\Windows\\System32\\calc.exe", "https://www.example.test/"},
      {"calc.exe", "https://www.example.test/"},
      {"file:///C:/Windows/System32/calc.exe", "https://www.example.test/"},
      {"\\\\server\\share\\setup.exe", "https://www.example.test/"},
      {" https://www.example.test/", "https://www.example.test/"},
      {"https:calc.exe", "https://www.example.test/"},
  };
  for (const auto& c : cases) EXPECT_EQ(NoticeAddressToOpen(c.url, home), c.opened) << c.url;
}

TEST(NewVerNotice, CountdownEndsOnTheEleventhTickOnly) {
  NoticeCountdown countdown;
  for (int tick = 1; tick <= 10; ++tick) EXPECT_FALSE(countdown.Tick()) << tick;
  EXPECT_TRUE(countdown.Tick());
  EXPECT_FALSE(countdown.Tick());  // the hidden window's timer may tick on
}

TEST(NewVerNotice, DragFollowsThePointerAndIgnoresTheRightButton) {
  NoticeDrag drag;
  drag.FormMouseDown(MouseButton::Right, {100, 100});
  EXPECT_EQ(drag.FormMouseMove({150, 120}, {1595, 5}), std::nullopt);

  drag.FormMouseDown(MouseButton::Left, {1600, 10});
  EXPECT_EQ(drag.FormMouseMove({1590, 30}, {1595, 5}), (Point{1585, 25}));
  EXPECT_EQ(drag.FormMouseMove({1580, 40}, {1585, 25}), (Point{1575, 35}));
  drag.FormMouseUp();
  EXPECT_EQ(drag.FormMouseMove({1000, 500}, {1575, 35}), std::nullopt);
}

}  // namespace
}  // namespace lb
