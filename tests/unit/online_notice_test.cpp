#include <gtest/gtest.h>

#include "online/update_notice.h"

namespace lb {
namespace {

TEST(UpdateNotice, SitsFivePixelsFromTheTopRightCornerOfTheScreen) {
  EXPECT_EQ(NoticePosition(1920, kNoticeClientWidth), (Point{1595, 5}));
  EXPECT_EQ(NoticePosition(1280, 480), (Point{795, 5}));  // 320 at 144 dots per inch
}

TEST(UpdateNotice, TextsNameTheProductAndTheOfferedVersion) {
  EXPECT_EQ(NoticeTitleText(), "UPDATE AVAILABLE");
  EXPECT_EQ(NoticeLinkText("Lock Beacon", "5.2"), "Click to download Lock Beacon 5.2");
}

TEST(UpdateNotice, LinkOpensOnlyWebAddresses) {
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

TEST(UpdateNotice, CountdownEndsOnTheEleventhTickOnly) {
  NoticeCountdown countdown;
  for (int tick = 1; tick <= 10; ++tick) EXPECT_FALSE(countdown.Tick()) << tick;
  EXPECT_TRUE(countdown.Tick());
  EXPECT_FALSE(countdown.Tick());  // the hidden window's timer may tick on
}

TEST(UpdateNotice, DragFollowsThePointerAndIgnoresTheRightButton) {
  NoticeDrag drag;
  drag.OnMouseDown(MouseButton::Right, {100, 100});
  EXPECT_EQ(drag.OnMouseMove({150, 120}, {1595, 5}), std::nullopt);

  drag.OnMouseDown(MouseButton::Left, {1600, 10});
  EXPECT_EQ(drag.OnMouseMove({1590, 30}, {1595, 5}), (Point{1585, 25}));
  EXPECT_EQ(drag.OnMouseMove({1580, 40}, {1585, 25}), (Point{1575, 35}));
  drag.OnMouseUp();
  EXPECT_EQ(drag.OnMouseMove({1000, 500}, {1575, 35}), std::nullopt);
}

}  // namespace
}  // namespace lb
