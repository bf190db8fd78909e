// The bounds of a reply: one deadline for the whole attempt, at most 64 KiB of body, packed or
// unpacked.
#include <gtest/gtest.h>
#include <zlib.h>

#include <deque>
#include <string>
#include <vector>

#include "online/reply_body.h"

namespace lb {
namespace {

// A server's body in pieces, each arriving after a delay on a virtual clock. A read that waits
// longer than its time-out fails the way the transport does.
class ScriptedStream : public IReplyStream {
 public:
  struct Piece {
    int delayMs;
    std::string bytes;
  };
  std::deque<Piece> pieces;
  std::int64_t now = 0;
  std::vector<int> timeouts;  // each read's time-out, as asked

  std::size_t Read(char* buffer, std::size_t size, int timeoutMs) override {
    timeouts.push_back(timeoutMs);
    if (pieces.empty()) return 0;
    Piece& piece = pieces.front();
    if (piece.delayMs > timeoutMs) {
      now += timeoutMs;
      throw WebRequestError("timed out", WebFailure::TimedOut);
    }
    now += piece.delayMs;
    piece.delayMs = 0;
    const std::size_t n = std::min(size, piece.bytes.size());
    piece.bytes.copy(buffer, n);
    piece.bytes.erase(0, n);
    if (piece.bytes.empty()) pieces.pop_front();
    return n;
  }
};

WebFailure FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const WebRequestError& error) {
    return error.Kind();
  }
  ADD_FAILURE() << "no failure";
  return WebFailure::Transport;
}

std::string Gzip(const std::string& text) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string packed(deflateBound(&stream, text.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

TEST(AttemptDeadline, AllowsTheConnectionAndTheResponseTimeOutFromTheStart) {
  const AttemptDeadline deadline(1000, 3000);
  EXPECT_EQ(deadline.RemainingMs(1000), 6000);
  EXPECT_EQ(deadline.NextWaitMs(1000), 3000);  // one wait never longer than the response time-out
  EXPECT_EQ(deadline.NextWaitMs(5500), 1500);  // nor beyond the end of the attempt
  EXPECT_EQ(deadline.RemainingMs(7000), 0);
  EXPECT_EQ(deadline.RemainingMs(9000), 0);
}

TEST(ReadReplyBody, ReadsAPromptBodyWhole) {
  ScriptedStream stream;
  stream.pieces = {{10, "<version>9.9</version>\r\n"}, {5, "<result>1</result>\r\n"}};
  const AttemptDeadline deadline(0, 3000);
  EXPECT_EQ(ReadReplyBody(stream, deadline, [&] { return stream.now; }),
            "<version>9.9</version>\r\n<result>1</result>\r\n");
}

TEST(ReadReplyBody, ABodyThatTricklesEndsAtTheAttemptsDeadline) {
  // One byte every two seconds never trips a per-read time-out of three seconds.
  ScriptedStream stream;
  for (int i = 0; i < 100; ++i) stream.pieces.push_back({2000, "x"});
  stream.now = 500;  // the connection and the headers took half a second
  const AttemptDeadline deadline(0, 3000);
  EXPECT_EQ(FailureOf([&] { ReadReplyBody(stream, deadline, [&] { return stream.now; }); }),
            WebFailure::TimedOut);
  EXPECT_LE(stream.now, 6000);  // no read waited beyond the end of the attempt
  EXPECT_EQ(stream.timeouts.back(), 1500);
}

TEST(ReadReplyBody, ABodyLongerThanTheLimitFailsWithoutBeingHeld) {
  ScriptedStream stream;
  for (int i = 0; i < 1000; ++i) stream.pieces.push_back({0, std::string(16384, 'a')});
  const AttemptDeadline deadline(0, 10000);
  EXPECT_EQ(FailureOf([&] { ReadReplyBody(stream, deadline, [&] { return stream.now; }); }),
            WebFailure::TooLarge);
  EXPECT_LE(stream.pieces.size(), 1000u - 4u);
  EXPECT_GE(stream.pieces.size(), 1000u - 5u);  // stopped right after the limit

  ScriptedStream exact;
  exact.pieces = {{0, std::string(kMaxReplyBytes, 'a')}};
  EXPECT_EQ(ReadReplyBody(exact, deadline, [] { return 0; }).size(), kMaxReplyBytes);
}

TEST(GunzipBody, UnpacksUpToTheLimitAndRefusesABomb) {
  const std::string text = "<version>9.9</version>\r\n<result>1</result>\r\n";
  EXPECT_EQ(GunzipBody(Gzip(text)), text);
  EXPECT_EQ(GunzipBody(Gzip(std::string(kMaxReplyBytes, 'z'))).size(), kMaxReplyBytes);

  // Fifty megabytes of zeros pack into less than the limit; unpacked they are far beyond it.
  const std::string bomb = Gzip(std::string(50u << 20, '\0'));
  ASSERT_LT(bomb.size(), kMaxReplyBytes);
  EXPECT_EQ(FailureOf([&] { GunzipBody(bomb); }), WebFailure::TooLarge);
  EXPECT_EQ(FailureOf([&] { GunzipBody(Gzip(std::string(kMaxReplyBytes + 1, 'z'))); }),
            WebFailure::TooLarge);
}

TEST(GunzipBody, ADamagedOrCutStreamIsATransportFailure) {
  const std::string packed = Gzip("OK");
  EXPECT_EQ(FailureOf([&] { GunzipBody(packed.substr(0, packed.size() / 2)); }),
            WebFailure::Transport);
  EXPECT_EQ(FailureOf([] { GunzipBody("not gzip at all"); }), WebFailure::Transport);
  EXPECT_EQ(FailureOf([] { GunzipBody(""); }), WebFailure::Transport);
}

}  // namespace
}  // namespace lb
