#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "fakes/fake_check_platform.h"
#include "fakes/virtual_clock.h"
#include "online/update_check.h"

namespace lb {
namespace {

using test::CheckReply;
using test::FakeCheckPlatform;

constexpr const char* kAppVersion = "5.1";
// "https://x.test/" as every run of the program stores it.
constexpr const char* kScrambledExample = "DF2D527AD13BA9FC17C349F62079B3";

// One program start: a fresh set of results, one check on the same platform (the store and the
// server survive between starts, as the registry and the web server do).
struct Start {
  explicit Start(FakeCheckPlatform& platform) {
    UpdateCheck checker(platform, {"updates.example.test", "BRIMLEX - Lock Beacon", kAppVersion},
                        *results);
    checker.Execute();
    errors = checker.CheckErrors();
  }
  std::unique_ptr<UpdateCheckResults> results = std::make_unique<UpdateCheckResults>();
  bool errors = false;
};

class UpdateCheckTest : public ::testing::Test {
 protected:
  [[nodiscard]] std::string Stored(const char* key) const {
    const auto found = platform.store.values.find(key);
    return found == platform.store.values.end() ? "<missing>" : found->second;
  }
  FakeCheckPlatform platform;
};

TEST_F(UpdateCheckTest, FirstStartAsksOverHttpsAndStoresTheValidReply) {
  platform.replies["https"] = CheckReply("9.9", "https://www.example.test/download/");
  const Start start(platform);

  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].address, "https://updates.example.test/php/check2.php");
  EXPECT_EQ(platform.requests[0].timeoutMs, 10000);
  EXPECT_EQ(platform.requests[0].lines,
            (FormLines{"cmd=check", "appname=BRIMLEX - Lock Beacon", "version=5.1",
                       "os=Windows 10 (Version 10.0, Build 19045, 64-bit Edition)", "local=en-US",
                       "guid=3f2504e0-4f89-11d3-9a0c-0305e82c3301"}));

  EXPECT_EQ(Stored("LastUpdateCheck"), "14.03.2025");
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "1");
  EXPECT_EQ(Stored("CurrentVersion"), "9.9");
  EXPECT_EQ(UnscrambleText(Stored("CurrentURL")), "https://www.example.test/download/");
  EXPECT_NE(Stored("CurrentURL"), "https://www.example.test/download/");
  EXPECT_EQ(Stored("ShowUpdate"), "<missing>");  // written by the menu only

  const UpdateCheckResults& r = *start.results;
  EXPECT_TRUE(r.checkDone.load());
  EXPECT_TRUE(r.updatePending);
  EXPECT_EQ(r.showUpdateValue, 1);
  EXPECT_EQ(r.offeredVersion, "9.9");
  EXPECT_EQ(r.downloadUrl, "https://www.example.test/download/");
  EXPECT_FALSE(start.errors);
}

TEST_F(UpdateCheckTest, FiveValidRepliesADayThenNoRequestUntilTheNextDay) {
  platform.replies["https"] = CheckReply("9.9");
  for (int n = 1; n <= 5; ++n) {
    const Start start(platform);
    EXPECT_EQ(start.results->updatePending, n <= 4) << "start " << n;  // the fifth is silent
    EXPECT_EQ(Stored("LastUpdateCheckCount"), std::to_string(n));
  }
  EXPECT_EQ(platform.requests.size(), 5u);

  const Start sixth(platform);
  EXPECT_EQ(platform.requests.size(), 5u);
  EXPECT_TRUE(sixth.results->checkDone.load());
  EXPECT_FALSE(sixth.results->updatePending);
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "5");

  platform.today = "15.03.2025";
  const Start nextDay(platform);
  EXPECT_EQ(platform.requests.size(), 6u);
  EXPECT_TRUE(nextDay.results->updatePending);
  EXPECT_EQ(Stored("LastUpdateCheck"), "15.03.2025");
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "1");
}

// A negative count of today (edited by hand) counts as none: five more replies, then no request.
TEST_F(UpdateCheckTest, NegativeCountOfTodayCountsAsNone) {
  platform.store.values = {{"LastUpdateCheck", "14.03.2025"}, {"LastUpdateCheckCount", "-3"}};
  platform.replies["https"] = CheckReply("9.9");
  for (int n = 1; n <= 5; ++n) {
    const Start start(platform);
    EXPECT_EQ(Stored("LastUpdateCheckCount"), std::to_string(n));
  }
  const Start sixth(platform);
  EXPECT_EQ(platform.requests.size(), 5u);
}

TEST_F(UpdateCheckTest, AChangedDateFormatStartsTheCountAgain) {
  platform.store.values = {{"LastUpdateCheck", "14.03.2025"}, {"LastUpdateCheckCount", "5"}};
  platform.today = "3/14/2025";
  platform.replies["https"] = CheckReply("9.9");
  const Start start(platform);
  EXPECT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "1");
}

TEST_F(UpdateCheckTest, NotificationsOffSendNothing) {
  platform.store.values["ShowUpdate"] = "0";
  platform.replies["https"] = CheckReply("9.9");
  const Start start(platform);
  EXPECT_TRUE(platform.requests.empty());
  // Nor is the machine's identifier made: its digest would load the system's cryptography.
  EXPECT_EQ(platform.guidReads, 0);
  EXPECT_TRUE(start.results->checkDone.load());
  EXPECT_EQ(start.results->showUpdateValue, 0);
  EXPECT_FALSE(start.results->updatePending);
}

TEST_F(UpdateCheckTest, ShowUpdateTwoCountsButNeverNotifies) {
  platform.store.values["ShowUpdate"] = "2";
  platform.replies["https"] = CheckReply("9.9");
  const Start start(platform);
  EXPECT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "1");
  EXPECT_EQ(start.results->showUpdateValue, 2);
  EXPECT_FALSE(start.results->updatePending);
}

TEST_F(UpdateCheckTest, NoticeDependsOnTheOfferedVersion) {
  const struct {
    const char* offered;
    bool notify;
  } cases[] = {
      {"9.9", true},     {"5.1", false},         {"4.0", true},  // an older release is offered too
      {"5.10", true},    {"5.2b", false},        {"", false},
      {"5.1.0.0", true}, {"99999999999", false},  // beyond 32 bits
  };
  for (const auto& c : cases) {
    FakeCheckPlatform fresh;
    fresh.replies["https"] = CheckReply(c.offered);
    const Start start(fresh);
    EXPECT_EQ(start.results->updatePending, c.notify) << c.offered;
    // Counted and stored all the same.
    EXPECT_EQ(fresh.store.values["LastUpdateCheckCount"], "1") << c.offered;
    EXPECT_EQ(fresh.store.values["CurrentVersion"], c.offered);
  }
}

TEST_F(UpdateCheckTest, InvalidRepliesAreIgnoredEntirely) {
  const char* replies[] = {
      "ERROR: unknown command\r\n",
      "ERROR",
      "<version>9.9</version>\r\n<url>https://x.test/</url>\r\n\r\n<result>2</result>",
      "<version>9.9</version>\r\n<url>https://x.test/</url>\r\n\r\n",
      "<version>9.9</version>\r\n<url>https://x.test/</url>\r\n\r\n<result></result>",
      "<version>9.9</version>\r\n<url>https://x.test/</url>\r\n\r\n<Result>1</Result>",
      "<html><body>404 Not Found</body></html>",
      "",
  };
  for (const char* reply : replies) {
    FakeCheckPlatform fresh;
    fresh.store.values["CurrentURL"] = ScrambleText("https://old.example.test/");
    fresh.replies["https"] = reply;
    const Start start(fresh);
    EXPECT_EQ(fresh.requests.size(), 1u) << reply;  // an HTTPS reply is never retried
    EXPECT_EQ(fresh.store.values.size(), 1u) << reply;
    EXPECT_TRUE(start.errors) << reply;
    EXPECT_TRUE(start.results->checkDone.load());
    EXPECT_FALSE(start.results->updatePending);
    EXPECT_EQ(start.results->offeredVersion, "");
    EXPECT_EQ(start.results->downloadUrl, "https://old.example.test/");
  }
}

TEST_F(UpdateCheckTest, AVersionOrAddressLongerThanTheLimitMakesTheReplyInvalid) {
  const std::string longest(kMaxReplyValueBytes, '9');
  const std::string tooLong(kMaxReplyValueBytes + 1, '9');
  const struct {
    std::string version;
    std::string url;
    bool valid;
  } cases[] = {
      {longest, "https://x.test/" + std::string(kMaxReplyValueBytes - 15, 'a'), true},
      {tooLong, "https://x.test/", false},
      {"9.9", "https://x.test/" + std::string(kMaxReplyValueBytes - 14, 'a'), false},
  };
  for (const auto& c : cases) {
    FakeCheckPlatform fresh;
    fresh.store.values["CurrentURL"] = ScrambleText("https://old.example.test/");
    fresh.replies["https"] = CheckReply(c.version, c.url);
    const Start start(fresh);
    EXPECT_EQ(start.errors, !c.valid) << c.version.size() << " " << c.url.size();
    EXPECT_EQ(fresh.store.values.size(), c.valid ? 4u : 1u);
    EXPECT_EQ(start.results->offeredVersion, c.valid ? c.version : "");
    EXPECT_EQ(start.results->downloadUrl, c.valid ? c.url : "https://old.example.test/");
    EXPECT_FALSE(start.results->updatePending);  // "999...9" is no 32-bit number either
  }
}

TEST_F(UpdateCheckTest, StatusZeroIsValidToo) {
  platform.replies["https"] = CheckReply("9.9", "https://x.test/", "0");
  const Start start(platform);
  EXPECT_TRUE(start.results->updatePending);
}

TEST_F(UpdateCheckTest, HttpAnswersWhenTheHttpsPortCannotBeReached) {
  platform.replies["http"] = CheckReply("9.9", "http://www.example.test/download/");
  const Start start(platform);
  ASSERT_EQ(platform.requests.size(), 2u);
  EXPECT_EQ(platform.requests[1].address, "http://updates.example.test/php/check2.php");
  EXPECT_EQ(platform.requests[1].lines, platform.requests[0].lines);
  EXPECT_EQ(platform.requests[1].timeoutMs, 10000);
  EXPECT_FALSE(start.errors);
  EXPECT_TRUE(start.results->updatePending);
  EXPECT_EQ(Stored("LastUpdateCheckCount"), "1");
}

// A failure once the HTTPS connection was made (a certificate that is not the server's, a
// time-out, a reset, a body over the limit) may be someone on the way, who would answer the plain
// request with an offer of his own: no plain request, nothing stored, no notice.
TEST_F(UpdateCheckTest, AFailureAfterTheHttpsConnectionWasMadeEndsTheCheck) {
  for (const WebFailure kind : {WebFailure::Certificate, WebFailure::TimedOut,
                                WebFailure::Transport, WebFailure::TooLarge}) {
    FakeCheckPlatform fresh;
    fresh.store.values["CurrentURL"] = ScrambleText("https://www.example.test/old/");
    fresh.failures["https"] = kind;
    fresh.replies["http"] = CheckReply("9.9", "http://attacker.test/setup.exe");
    const Start start(fresh);
    ASSERT_EQ(fresh.requests.size(), 1u) << static_cast<int>(kind);
    EXPECT_EQ(fresh.requests[0].address, "https://updates.example.test/php/check2.php");
    EXPECT_TRUE(start.errors);
    EXPECT_TRUE(start.results->checkDone.load());
    EXPECT_FALSE(start.results->updatePending) << static_cast<int>(kind);
    EXPECT_EQ(start.results->offeredVersion, "");
    EXPECT_EQ(start.results->downloadUrl, "https://www.example.test/old/");
    EXPECT_EQ(fresh.store.values.size(), 1u) << static_cast<int>(kind);  // only the old address
  }
}

TEST_F(UpdateCheckTest, BothTransportsDeadStoresNothing) {
  const Start start(platform);
  EXPECT_EQ(platform.requests.size(), 2u);
  EXPECT_TRUE(start.errors);
  EXPECT_TRUE(start.results->checkDone.load());
  EXPECT_FALSE(start.results->updatePending);
  EXPECT_TRUE(platform.store.values.empty());
}

TEST_F(UpdateCheckTest, HttpAnsweringClearsEarlierFailures) {
  platform.guidFails = true;
  platform.localeFails = true;
  platform.replies["http"] = CheckReply("9.9");
  const Start start(platform);
  ASSERT_EQ(platform.requests.size(), 2u);
  // The identifier is sent empty and the locale line is left out.
  EXPECT_EQ(platform.requests[0].lines,
            (FormLines{"cmd=check", "appname=BRIMLEX - Lock Beacon", "version=5.1",
                       "os=Windows 10 (Version 10.0, Build 19045, 64-bit Edition)", "guid="}));
  EXPECT_TRUE(start.results->updatePending);
}

TEST_F(UpdateCheckTest, AnUnusableStoreGivesDefaultsAndTheNoticeStillOpens) {
  platform.store.failReads = true;
  platform.store.failWrites = true;
  platform.replies["https"] = CheckReply("9.9", "https://x.test/");
  for (int n = 1; n <= 6; ++n) {
    const Start start(platform);
    EXPECT_TRUE(start.results->updatePending) << n;
    EXPECT_EQ(start.results->downloadUrl, "https://x.test/");
  }
  EXPECT_EQ(platform.requests.size(), 6u);  // nothing counted: a check at every start
}

TEST_F(UpdateCheckTest, AStoreThatCannotBeOpenedStillChecks) {
  platform.storeOpens = false;
  platform.replies["http"] = CheckReply("9.9");
  const Start start(platform);
  EXPECT_TRUE(start.results->updatePending);
  EXPECT_EQ(start.results->showUpdateValue, 1);
}

TEST_F(UpdateCheckTest, TheStoredAddressIsKnownBeforeAnyReply) {
  platform.store.values["CurrentURL"] = ScrambleText("https://www.example.test/old/");
  platform.store.values["ShowUpdate"] = "0";
  const Start start(platform);
  EXPECT_EQ(start.results->downloadUrl, "https://www.example.test/old/");
}

TEST_F(UpdateCheckTest, MenuSwitchesTheStoredValue) {
  ShowUpdateOff(platform.store);
  EXPECT_EQ(Stored("ShowUpdate"), "0");
  ShowUpdateOn(platform.store);
  EXPECT_EQ(Stored("ShowUpdate"), "1");
  platform.store.failWrites = true;
  ShowUpdateOff(platform.store);  // dropped
  EXPECT_EQ(Stored("ShowUpdate"), "1");
}

TEST(ScrambleText, RoundTripsAnyUtf8Text) {
  const std::string texts[] = {"", "a", "https://www.example.test/download/lock-beacon-9.9.exe",
                               "G\xC3\xBCnter \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x94\x92",
                               std::string("\0\xFF", 2)};
  for (const std::string& text : texts) {
    const std::string scrambled = ScrambleText(text);
    EXPECT_EQ(scrambled.size(), text.size() * 2);
    EXPECT_EQ(scrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(UnscrambleText(scrambled), text);
  }
  EXPECT_EQ(ScrambleText(""), "");
}

TEST(ScrambleText, KeyRunsOnSoRepeatedBytesLookDifferent) {
  const std::string scrambled = ScrambleText("aaaa");
  EXPECT_NE(scrambled.substr(0, 2), scrambled.substr(2, 2));
}

TEST(ScrambleText, StoredValuesOfEarlierRunsStayReadable) {
  // Fixed seed and constants: a value stored by any earlier run reads back the same.
  EXPECT_EQ(UnscrambleText(kScrambledExample), "https://x.test/");
}

TEST(UnscrambleText, ToleratesOddLengthAndLowerCaseAndRejectsNonHex) {
  const std::string scrambled = ScrambleText("https://x.test/");
  EXPECT_EQ(UnscrambleText(scrambled + "F"), "https://x.test/");
  std::string lower = scrambled;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(UnscrambleText(lower), "https://x.test/");
  EXPECT_EQ(UnscrambleText(scrambled.substr(0, 4) + "G1" + scrambled.substr(6)), "");
  EXPECT_EQ(UnscrambleText("-1"), "");
  EXPECT_EQ(UnscrambleText("A"), "");
}

// ---- updateCheckTimer
// ----------------------------------------------------------------------------

struct RecordingCheckHost : IUpdateCheckHost {
  int starts = 0;
  std::vector<bool> enabled;  // the tick state each time the item was enabled
  int notices = 0;
  void StartUpdateCheck() override { ++starts; }
  void EnableUpdateNotifications(bool ticked) override { enabled.push_back(ticked); }
  void ShowNewVersionNotice() override { ++notices; }
};

class UpdateCheckTimerTest : public ::testing::Test {
 protected:
  UpdateCheckTimerTest() {
    clock.onTick = [this](int id) {
      if (id == kUpdateCheckTimerId) timer.OnUpdateCheckTimer();
    };
  }
  test::VirtualClock clock;
  RecordingCheckHost host;
  UpdateCheckResults results;
  UpdateCheckTimer timer{clock, host, results};
};

TEST_F(UpdateCheckTimerTest, StartsTheCheckOnTheFirstTickAndHandsOverOnce) {
  EXPECT_TRUE(clock.IsRunning(kUpdateCheckTimerId));
  clock.Advance(999);
  EXPECT_EQ(host.starts, 0);
  clock.Advance(1);
  EXPECT_EQ(host.starts, 1);
  clock.Advance(5000);  // the check is still running: nothing happens
  EXPECT_EQ(host.starts, 1);
  EXPECT_TRUE(host.enabled.empty());

  results.updatePending = true;
  results.checkDone.store(true);
  clock.Advance(1000);
  EXPECT_EQ(host.enabled, std::vector<bool>{true});
  EXPECT_EQ(host.notices, 1);
  EXPECT_FALSE(clock.IsRunning(kUpdateCheckTimerId));
  clock.Advance(10000);
  EXPECT_EQ(host.notices, 1);
  EXPECT_EQ(host.starts, 1);
}

TEST_F(UpdateCheckTimerTest, NotificationsOffEnableTheItemWithoutTick) {
  clock.Advance(1000);
  results.showUpdateValue = 0;
  results.checkDone.store(true);
  clock.Advance(1000);
  EXPECT_EQ(host.enabled, std::vector<bool>{false});
  EXPECT_EQ(host.notices, 0);
}

TEST_F(UpdateCheckTimerTest, ShowUpdateTwoKeepsTheTick) {
  clock.Advance(1000);
  results.showUpdateValue = 2;
  results.checkDone.store(true);
  clock.Advance(1000);
  EXPECT_EQ(host.enabled, std::vector<bool>{true});
}

// The check is off exactly when Execute would read ShowUpdate as 0 and send nothing: the Win32
// side then runs it without a thread.
TEST(UpdateCheckSwitchedOffTest, OffExactlyWhenExecuteSendsNothing) {
  const struct {
    std::optional<std::string> stored;
    bool failReads;
  } cases[] = {{std::nullopt, false}, {"0", false}, {"1", false}, {"2", false},
               {" 0", false},         {"x", false}, {"0", true}};
  for (const auto& c : cases) {
    FakeCheckPlatform platform;
    if (c.stored) platform.store.values["ShowUpdate"] = *c.stored;
    platform.store.failReads = c.failReads;
    const bool off = UpdateCheckSwitchedOff(platform.store);
    platform.replies["https"] = CheckReply("9.9");
    const Start start(platform);
    EXPECT_EQ(off, platform.requests.empty()) << c.stored.value_or("<missing>") << c.failReads;
  }
}

}  // namespace
}  // namespace lb
