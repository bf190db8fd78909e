// The feedback dialog's rules: the e-mail check, the text that is sent, the success test, and
// the order in which "Send" checks, posts and reports.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "i18n/language_file.h"
#include "online/feedback.h"

namespace lb {
namespace {

// Every text comes from the catalogue by its English words; a text the catalogue lacks (or has
// empty) stays English.
TEST(FeedbackCaptions, ComeFromTheCatalogueWithEnglishFallbacks) {
  const LanguageTable catalogue(
      "{feedback}Rückmeldung\n{Send}Senden\n{I like it!}Es gefällt mir!\n"
      "{Include my e-mail:}\n{What did you like or dislike?}Was gefiel Ihnen?\n");
  const FeedbackCaptions captions = MakeFeedbackCaptions(
      "Lock Beacon", [&](std::string_view english) { return catalogue.Translate(english); });
  struct Case {
    const std::string& actual;
    const char* expected;
  };
  const Case cases[] = {
      {captions.title, "Lock Beacon Rückmeldung"},
      {captions.heading, "We would really appreciate your feedback."},
      {captions.question, "Was gefiel Ihnen?"},
      {captions.emailLabel, "Include my e-mail:"},
      {captions.send, "Senden"},
      {captions.like, "Es gefällt mir!"},
      {captions.dislike, "I dislike it!"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(IsValidEmail, AcceptsOrdinaryAddressesAndRefusesMalformedOnes) {
  struct Case {
    const char* email;
    bool valid;
  };
  const Case cases[] = {
      {"user@example.com", true},
      {"first.last@example.co.uk", true},
      {"user+tag@example.com", true},
      {"a_b-c@mail-server.org", true},
      {"x@y.z1", true},
      {"user@examplecom", false},     // no dot after "@"
      {"user@example.com-", false},   // domain ends in "-"
      {"user@example.com.", false},   // domain ends in "."
      {"user@ex_ample.com", false},   // "_" after "@"
      {"jürgen@example.com", false},  // a letter outside A to Z
      {"user@exämple.com", false},
      {"@example.com", false},  // empty local part
      {"user@@example.com", false},
      {"user@example.com\n", false},  // the whole text must match, "$" does not skip a break
      {"user@.example.com", false},
      {"user example@example.com", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidEmail(c.email), c.valid) << c.email;
  }
}

TEST(TrimText, RemovesSpacesAndControlCharactersAtBothEndsOnly) {
  EXPECT_EQ(TrimText(" \t\r\n word one \r\n\x01"), "word one");
  EXPECT_EQ(TrimText(" \r\n "), "");
  EXPECT_EQ(TrimText("größe"), "größe");  // bytes of non-ASCII letters are kept
}

TEST(ComposeFeedback, PutsTheEnglishWordsFirstAndOneCarriageReturnAfterTheChoice) {
  EXPECT_EQ(ComposeFeedback(FeedbackChoice::Like, kLikeCaption, kDislikeCaption, "Great"),
            "I like it!\rGreat");
  EXPECT_EQ(ComposeFeedback(FeedbackChoice::Dislike, kLikeCaption, kDislikeCaption, "Bad"),
            "I dislike it!\rBad");
  EXPECT_EQ(ComposeFeedback(FeedbackChoice::None, kLikeCaption, kDislikeCaption, "Word"), "Word");
  // A translation in force: the caption follows the English words in parentheses.
  EXPECT_EQ(ComposeFeedback(FeedbackChoice::Like, "Gefällt mir!", "Gefällt mir nicht!", "Gut"),
            "I like it! (Gefällt mir!)\rGut");
  EXPECT_EQ(ComposeFeedback(FeedbackChoice::Dislike, "Gefällt mir!", "Gefällt mir nicht!", "x"),
            "I dislike it! (Gefällt mir nicht!)\rx");
}

TEST(FeedbackRequest, SendsTheFieldsInOrderAndLeavesAnEmptyEmailOut) {
  EXPECT_EQ(FeedbackRequest("BRIMLEX - Lock Beacon", "1.0", "hi", "a@b.cc"),
            (FormLines{"cmd=feedback", "appname=BRIMLEX - Lock Beacon", "version=1.0",
                       "feedback=hi", "email=a@b.cc"}));
  EXPECT_EQ(FeedbackRequest("A", "2.3", "hi", ""),
            (FormLines{"cmd=feedback", "appname=A", "version=2.3", "feedback=hi"}));
}

TEST(IsFeedbackReceived, TakesOnlyATrimmedOk) {
  struct Case {
    const char* reply;
    bool received;
  };
  const Case cases[] = {
      {"OK", true},
      {"OK\r\n", true},
      {"OK\n", true},
      {" OK ", true},
      {"\r\nOK\r\n\r\n", true},
      {"ok", false},
      {"OK.", false},
      {"", false},
      {"OK\nOK", false},
      {"<html>OK</html>", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsFeedbackReceived(c.reply), c.received) << '"' << c.reply << '"';
  }
}

// A dialog that records what "Send" asks of it.
class RecordingFeedbackView : public IFeedbackView {
 public:
  FeedbackChoice choice = FeedbackChoice::None;
  std::string likeCaption = kLikeCaption;
  std::string dislikeCaption = kDislikeCaption;
  std::string memo;
  std::string email;
  std::vector<std::string> events;
  struct Box {
    std::string text;
    std::string caption;
    MessageType type;
  };
  std::vector<Box> boxes;

  FeedbackChoice Choice() const override { return choice; }
  std::string LikeCaption() const override { return likeCaption; }
  std::string DislikeCaption() const override { return dislikeCaption; }
  std::string MemoText() const override { return memo; }
  std::string EmailText() const override { return email; }
  void FocusMemo() override { events.emplace_back("focus memo"); }
  void FocusEmail() override { events.emplace_back("focus email"); }
  void Beep() override { events.emplace_back("beep"); }
  void SetBusyCursor(bool busy) override { events.emplace_back(busy ? "busy" : "normal cursor"); }
  void ShowReport(const std::string& text, const std::string& caption, MessageType type) override {
    events.emplace_back("box");
    boxes.push_back({text, caption, type});
  }
  void Close() override { events.emplace_back("close"); }
};

// Answers each address with a scripted reply, or fails when none is scripted: with the scripted
// kind of failure, or as a port that refuses the connection.
class ScriptedWebClient : public IWebClient {
 public:
  std::map<std::string, std::string> replies;
  std::map<std::string, WebFailure> failures;
  struct Post {
    std::string address;
    FormLines lines;
    int timeoutMs;
  };
  std::vector<Post> posts;

  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    posts.push_back({address, lines, timeoutMs});
    const auto found = replies.find(address);
    if (found == replies.end()) {
      const auto failure = failures.find(address);
      throw WebRequestError("failed",
                            failure == failures.end() ? WebFailure::NoConnection : failure->second);
    }
    return found->second;
  }
};

constexpr const char* kHttps = "https://server.test/php/feedback.php";
constexpr const char* kHttp = "http://server.test/php/feedback.php";

class SendFeedbackTest : public ::testing::Test {
 protected:
  SendOutcome Send() { return SendFeedback(view, web, inputs); }

  RecordingFeedbackView view;
  ScriptedWebClient web;
  FeedbackInputs inputs{
      .host = "server.test",
      .appName = "BRIMLEX - Lock Beacon",
      .appVersion = "1.0",
      .translate = [](std::string_view english) { return "[" + std::string(english) + "]"; }};
};

TEST_F(SendFeedbackTest, ABlankMessageBeepsAndSendsNothingWhateverTheChoice) {
  view.choice = FeedbackChoice::Like;
  view.memo = " \r\n\t ";
  view.email = "not an address";
  EXPECT_EQ(Send(), SendOutcome::EmptyBody);
  EXPECT_EQ(view.events, (std::vector<std::string>{"focus memo", "beep"}));
  EXPECT_TRUE(web.posts.empty());
}

TEST_F(SendFeedbackTest, AMalformedAddressIsReportedWithFocusOnTheField) {
  view.memo = "Hello";
  view.email = " user@examplecom ";
  EXPECT_EQ(Send(), SendOutcome::InvalidEmail);
  EXPECT_EQ(view.events, (std::vector<std::string>{"focus email", "box"}));
  EXPECT_EQ(view.boxes[0].text, "[Invalid e-mail address!]");
  EXPECT_EQ(view.boxes[0].caption, "[Failure]");
  EXPECT_EQ(view.boxes[0].type, MessageType::Error);
  EXPECT_TRUE(web.posts.empty());
}

TEST_F(SendFeedbackTest, ADeliveredMessageIsPostedOverHttpsThenThankedAndClosed) {
  web.replies[kHttps] = "OK\r\n";
  view.choice = FeedbackChoice::Like;
  view.memo = "  Nice tool\r\nthanks \r\n";
  view.email = " me@example.com ";
  EXPECT_EQ(Send(), SendOutcome::Delivered);
  ASSERT_EQ(web.posts.size(), 1u);
  EXPECT_EQ(web.posts[0].address, kHttps);
  EXPECT_EQ(web.posts[0].timeoutMs, 3000);
  EXPECT_EQ(web.posts[0].lines,
            (FormLines{"cmd=feedback", "appname=BRIMLEX - Lock Beacon", "version=1.0",
                       "feedback=I like it!\rNice tool\r\nthanks", "email=me@example.com"}));
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box", "close"}));
  EXPECT_EQ(view.boxes[0].text, "[Your feedback is received.]\r\r[Thank you!]");
  EXPECT_EQ(view.boxes[0].caption, "[Success]");
  EXPECT_EQ(view.boxes[0].type, MessageType::Information);
}

TEST_F(SendFeedbackTest, AnHttpsPortThatCannotBeReachedIsRetriedOverPlainHttp) {
  web.replies[kHttp] = " OK ";
  view.memo = "Hi";
  EXPECT_EQ(Send(), SendOutcome::Delivered);
  ASSERT_EQ(web.posts.size(), 2u);
  EXPECT_EQ(web.posts[0].address, kHttps);
  EXPECT_EQ(web.posts[1].address, kHttp);
  EXPECT_EQ(web.posts[1].lines, web.posts[0].lines);
  EXPECT_EQ(web.posts[1].timeoutMs, 3000);
}

TEST_F(SendFeedbackTest, AnHttpsReplyOtherThanOkIsAFailureAndIsNotRetried) {
  web.replies[kHttps] = "<html>500 Internal Server Error</html>";
  web.replies[kHttp] = "OK";
  view.memo = "Hi";
  EXPECT_EQ(Send(), SendOutcome::Failed);
  EXPECT_EQ(web.posts.size(), 1u);
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box"}));
  EXPECT_EQ(view.boxes[0].text,
            "[Something went wrong. Your feedback could not be delivered.]\r\r"
            "[Please try again later.]");
  EXPECT_EQ(view.boxes[0].caption, "[Failure]");
  EXPECT_EQ(view.boxes[0].type, MessageType::Error);
}

// Once a connection to the HTTPS port was made, the text may have arrived (a time-out after
// sending) or someone on the way broke the attempt to read the plain one: it is sent once, and
// the failure reported, with the dialog kept open.
TEST_F(SendFeedbackTest, AFailureAfterTheHttpsConnectionWasMadeIsNeverSentAgainInClear) {
  for (const WebFailure kind : {WebFailure::TimedOut, WebFailure::Certificate,
                                WebFailure::Transport, WebFailure::TooLarge}) {
    ScriptedWebClient server;
    RecordingFeedbackView dialog;
    server.failures[kHttps] = kind;
    server.replies[kHttp] = "OK";
    dialog.memo = "Hi";
    EXPECT_EQ(SendFeedback(dialog, server, inputs), SendOutcome::Failed) << static_cast<int>(kind);
    ASSERT_EQ(server.posts.size(), 1u) << static_cast<int>(kind);
    EXPECT_EQ(server.posts[0].address, kHttps);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"busy", "normal cursor", "box"}))
        << static_cast<int>(kind);
    EXPECT_EQ(dialog.boxes[0].caption, "[Failure]");
  }
}

TEST_F(SendFeedbackTest, BothTransportsFailingIsAFailureThatKeepsTheDialogOpen) {
  view.memo = "Hi";
  EXPECT_EQ(Send(), SendOutcome::Failed);
  EXPECT_EQ(web.posts.size(), 2u);
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box"}));
}

// "Send" with the request on another thread: the requests it hands over, and what it reports
// when the outcome comes back.
class FeedbackSenderTest : public SendFeedbackTest {
 protected:
  struct Started {
    std::string host;
    FormLines lines;
  };
  std::vector<Started> started;
  FeedbackSender sender{view, inputs, [this](const std::string& host, const FormLines& lines) {
                          started.push_back({host, lines});
                        }};
};

TEST_F(FeedbackSenderTest, HandsOverACopyOfTheRequestAndIgnoresSendUntilTheOutcomeIsBack) {
  view.choice = FeedbackChoice::Dislike;
  view.memo = "Too bright";
  EXPECT_EQ(sender.Send(), std::nullopt);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].host, "server.test");
  EXPECT_EQ(started[0].lines, (FormLines{"cmd=feedback", "appname=BRIMLEX - Lock Beacon",
                                         "version=1.0", "feedback=I dislike it!\rToo bright"}));
  EXPECT_TRUE(sender.Busy());
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy"}));

  // Pressed again while the request is out: nothing happens.
  view.memo = "";
  EXPECT_EQ(sender.Send(), std::nullopt);
  EXPECT_EQ(started.size(), 1u);
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy"}));

  EXPECT_EQ(sender.OnRequestDone(false), SendOutcome::Failed);
  EXPECT_FALSE(sender.Busy());
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box"}));
  EXPECT_EQ(view.boxes[0].caption, "[Failure]");
  EXPECT_EQ(view.boxes[0].type, MessageType::Error);

  // Free again: the next press checks the (now empty) message once more.
  EXPECT_EQ(sender.Send(), SendOutcome::EmptyBody);
  EXPECT_EQ(started.size(), 1u);
}

TEST_F(FeedbackSenderTest, ADeliveredOutcomeThanksAndClosesLikeTheSynchronousSend) {
  view.memo = "Hi";
  EXPECT_EQ(sender.Send(), std::nullopt);
  EXPECT_EQ(sender.OnRequestDone(true), SendOutcome::Delivered);
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box", "close"}));
  EXPECT_EQ(view.boxes[0].text, "[Your feedback is received.]\r\r[Thank you!]");
  EXPECT_EQ(view.boxes[0].type, MessageType::Information);
}

TEST_F(FeedbackSenderTest, ChecksStopTheSendBeforeAnythingIsHandedOver) {
  view.memo = "Hi";
  view.email = "me@example";
  EXPECT_EQ(sender.Send(), SendOutcome::InvalidEmail);
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(sender.Busy());
}

TEST_F(SendFeedbackTest, ARequestThatCannotStartIsAFailure) {
  FeedbackSender sender(view, inputs, [](const std::string&, const FormLines&) {
    throw std::runtime_error("no thread");
  });
  view.memo = "Hi";
  EXPECT_EQ(sender.Send(), SendOutcome::Failed);
  EXPECT_FALSE(sender.Busy());
  EXPECT_EQ(view.events, (std::vector<std::string>{"busy", "normal cursor", "box"}));
}

TEST(PostFeedback, TriesPlainHttpOnlyWithoutAnHttpsConnectionAndNeverThrows) {
  struct Throwing : IWebClient {
    explicit Throwing(WebFailure failure) : kind(failure) {}
    WebFailure kind;
    std::vector<std::string> addresses;
    std::string PostForm(const std::string& address, const FormLines&, int timeoutMs) override {
      EXPECT_EQ(timeoutMs, kFeedbackTimeoutMs);
      addresses.push_back(address);
      throw WebRequestError("failed", kind);
    }
  };
  Throwing unreachable(WebFailure::NoConnection);
  EXPECT_FALSE(PostFeedback(unreachable, "h.test", {"cmd=feedback"}));
  EXPECT_EQ(unreachable.addresses, (std::vector<std::string>{"https://h.test/php/feedback.php",
                                                             "http://h.test/php/feedback.php"}));
  Throwing tooLarge(WebFailure::TooLarge);
  EXPECT_FALSE(PostFeedback(tooLarge, "h.test", {"cmd=feedback"}));
  EXPECT_EQ(tooLarge.addresses, (std::vector<std::string>{"https://h.test/php/feedback.php"}));
}

}  // namespace
}  // namespace lb
