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

// The download address may have come over plain HTTP from whoever sits on the way: the link
// opens it only when it is a secure address on the maker's own host that nothing in it can end
// early or extend; anything else gives the maker's download page.
TEST(UpdateNotice, LinkOpensOnlyTheMakersOwnSecureAddresses) {
  const std::string host = "www.example.test";
  const std::string page = "https://www.example.test/download/";
  const struct {
    const char* url;
    bool opened;  // as it stands; otherwise the download page
  } cases[] = {
      {"https://www.example.test/download/LockBeacon-9.9-setup.exe", true},
      {"https://www.example.test/", true},
      {"https://www.example.test", true},
      {"https://www.example.test?v=9.9", true},
      {"https://www.example.test/download/caf%C3%A9%2Fsetup.exe", true},
      {"HTTPS://WWW.Example.Test/download/", true},
      // Not secure, not a web address, or another host.
      {"http://www.example.test/LockBeacon-9.9-setup.exe", false},
      {"", false},
      {"C:\\Windows\\System32\\calc.exe", false},
      {"calc.exe", false},
      {"file:///C:/Windows/System32/calc.exe", false},
      {"\\\\server\\share\\setup.exe", false},
      {"https:calc.exe", false},
      {"https:/www.example.test/", false},
      {"https://attacker.test/LockBeacon-9.9-setup.exe", false},
      {"https://www.example.test.attacker.test/", false},
      {"https://www.example.test@attacker.test/", false},
      {"https://attacker.test/?https://www.example.test/", false},
      {"https://attacker.test#https://www.example.test/", false},
      {"https://www.example.test:8443/", false},
      {"https://www.example.test./", false},
      {"https://www.example.test\\@attacker.test/", false},
      {"https:///www.example.test/", false},
      // Characters that end the address or add arguments where the shell hands it on, as they
      // stand and %-encoded.
      {" https://www.example.test/", false},
      {"https://www.example.test/ setup.exe", false},
      {"https://www.example.test/\" --new-window file:///C:/", false},
      {"https://www.example.test/'x'", false},
      {"https://www.example.test/\tx", false},
      {"https://www.example.test/\r\nx", false},
      {"https://www.example.test/x\x7F", false},
      {"https://www.example.test/%20setup.exe", false},
      {"https://www.example.test/%22%20--new-window", false},
      {"https://www.example.test/%27", false},
      {"https://www.example.test/%0d%0a", false},
      {"https://www.example.test/%00", false},
      {"https://www.example.test/%7f", false},
      {"https://www.example.test/%", false},
      {"https://www.example.test/%2", false},
      {"https://www.example.test/%zz", false},
      // Beyond ASCII: a no-break space, a right-to-left override.
      {"https://www.example.test/\xC2\xA0setup.exe", false},
      {"https://www.example.test/\xE2\x80\xAE" "exe.txt", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsMakersSecureAddress(c.url, host), c.opened) << c.url;
    EXPECT_EQ(NoticeAddressToOpen(c.url, host, page), c.opened ? c.url : page) << c.url;
  }
}

TEST(UpdateNotice, TheHostIsComparedWholeWithItsPort) {
  // A test build talks to a server on this machine: the port is part of the host.
  EXPECT_TRUE(IsMakersSecureAddress("https://localhost:8443/download/", "localhost:8443"));
  EXPECT_FALSE(IsMakersSecureAddress("https://localhost:8444/download/", "localhost:8443"));
  EXPECT_FALSE(IsMakersSecureAddress("https://localhost/download/", "localhost:8443"));
  EXPECT_FALSE(IsMakersSecureAddress("https://anything/", ""));
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
