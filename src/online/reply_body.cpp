#include "online/reply_body.h"

#include <zlib.h>

#include <memory>

namespace lb {

std::string ReadReplyBody(IReplyStream& stream, const AttemptDeadline& deadline,
                          const std::function<std::int64_t()>& nowMs, std::size_t limit) {
  std::string body;
  char buffer[16384];
  for (;;) {
    const int waitMs = deadline.NextWaitMs(nowMs());
    if (waitMs <= 0) {
      throw WebRequestError("Reading the response: the operation timed out", WebFailure::TimedOut);
    }
    // One byte beyond the limit is enough to know that the body is too long.
    const std::size_t room = limit - body.size() + 1;
    const std::size_t read =
        stream.Read(buffer, room < sizeof buffer ? room : sizeof buffer, waitMs);
    if (read == 0) return body;
    if (read > limit - body.size()) {
      throw WebRequestError(
          "Reading the response: the reply is longer than " + std::to_string(limit) + " bytes",
          WebFailure::TooLarge);
    }
    body.append(buffer, read);
  }
}

std::string GunzipBody(std::string_view packed, std::size_t limit) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    throw WebRequestError("Unpacking the response: out of memory");
  }
  const std::unique_ptr<z_stream, int (*)(z_streamp)> end(&stream, &inflateEnd);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  std::string unpacked;
  char buffer[16384];
  int result = Z_OK;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) break;
    const std::size_t produced = sizeof buffer - stream.avail_out;
    if (produced > limit - unpacked.size()) {
      throw WebRequestError(
          "Unpacking the response: the reply is longer than " + std::to_string(limit) + " bytes",
          WebFailure::TooLarge);
    }
    unpacked.append(buffer, produced);
  } while (result != Z_STREAM_END && (stream.avail_in > 0 || stream.avail_out == 0));
  if (result != Z_STREAM_END) throw WebRequestError("Unpacking the response: damaged data");
  return unpacked;
}

}  // namespace lb
