#pragma once
// The bounds of one request to the maker's web server, whatever the server does: the whole
// attempt ends within its connection time-out plus its response time-out, and a reply body
// (unpacked, when it comes gzip-encoded) is at most kMaxReplyBytes long. Both replies the
// program reads are a few lines, so anything longer is a failure rather than a reply.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "online/web_request.h"

namespace lb {

// The longest reply body that is read, packed or unpacked.
inline constexpr std::size_t kMaxReplyBytes = 64 * 1024;

// The time one attempt may take: from its start, the connection time-out plus the response
// time-out (both `timeoutMs`).
class AttemptDeadline {
 public:
  AttemptDeadline(std::int64_t startMs, int timeoutMs)
      : timeoutMs_(timeoutMs > 0 ? timeoutMs : 0), endMs_(startMs + 2LL * timeoutMs_) {}

  // What is left of the attempt at `nowMs`, 0 once it has passed.
  [[nodiscard]] int RemainingMs(std::int64_t nowMs) const {
    return nowMs >= endMs_ ? 0 : static_cast<int>(endMs_ - nowMs);
  }
  // The time-out of the next wait for the server: the response time-out, or what is left of
  // the attempt when that is less.
  [[nodiscard]] int NextWaitMs(std::int64_t nowMs) const {
    const int remaining = RemainingMs(nowMs);
    return remaining < timeoutMs_ ? remaining : timeoutMs_;
  }

 private:
  int timeoutMs_;
  std::int64_t endMs_;
};

// The body of a reply as the transport hands it over, piece by piece.
class IReplyStream {
 public:
  virtual ~IReplyStream() = default;
  // Copies the next piece of the body (at most `size` bytes) into `buffer` and returns its
  // length, waiting at most `timeoutMs` for it; 0 at the end of the body. Throws
  // WebRequestError (WebFailure::TimedOut when the wait expired).
  virtual std::size_t Read(char* buffer, std::size_t size, int timeoutMs) = 0;
};

// Reads the whole body against `deadline`: before each read the time left is checked and
// becomes that read's time-out. Throws WebRequestError with WebFailure::TimedOut once the
// attempt's time has run out, WebFailure::TooLarge as soon as the body is longer than `limit`;
// never holds more than `limit` bytes and one read's buffer.
std::string ReadReplyBody(IReplyStream& stream, const AttemptDeadline& deadline,
                          const std::function<std::int64_t()>& nowMs,
                          std::size_t limit = kMaxReplyBytes);

// The body of a gzip stream, unpacked. Throws WebRequestError: WebFailure::TooLarge as soon as
// the unpacked text would be longer than `limit` (a small stream may unpack to gigabytes),
// WebFailure::Transport when the stream is damaged or cut short.
std::string GunzipBody(std::string_view packed, std::size_t limit = kMaxReplyBytes);

}  // namespace lb
