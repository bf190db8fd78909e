// GunzipBody on a reply body from outside: a server (or anyone on the way over plain HTTP) can
// send any bytes as a gzip stream, a small one that unpacks to gigabytes among them.
//
// Rules checked:
// - Any bytes either unpack to at most the limit or fail as too large or as a broken stream;
//   nothing else escapes.
// - The input itself, packed as gzip, unpacks back to itself when it fits the limit, and fails
//   as too large when it does not.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "online/reply_body.h"
#include "online/web_request.h"

namespace {

using lb::fuzz::Check;

// A small limit, so that the fuzzer reaches it often.
constexpr std::size_t kLimit = 4096;

std::string Gzip(std::string_view text) {
  z_stream stream{};
  Check(deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK,
        "deflate starts");
  std::string packed(deflateBound(&stream, static_cast<uLong>(text.size())) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  Check(deflate(&stream, Z_FINISH) == Z_STREAM_END, "deflate ends in one call");
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

// The outcome of GunzipBody: the text, or the kind of failure.
struct Outcome {
  bool failed = false;
  lb::WebFailure kind = lb::WebFailure::Transport;
  std::string text;
};

Outcome Unpack(std::string_view packed) {
  Outcome outcome;
  try {
    outcome.text = lb::GunzipBody(packed, kLimit);
  } catch (const lb::WebRequestError& error) {
    outcome.failed = true;
    outcome.kind = error.Kind();
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = lb::fuzz::AsText(data, size);

  const Outcome any = Unpack(input);
  if (any.failed) {
    Check(any.kind == lb::WebFailure::TooLarge || any.kind == lb::WebFailure::Transport,
          "a bad stream fails as too large or broken");
  } else {
    Check(any.text.size() <= kLimit, "never more than the limit");
  }

  const Outcome back = Unpack(Gzip(input));
  if (input.size() <= kLimit) {
    Check(!back.failed && back.text == input, "a packed text unpacks to itself");
  } else {
    Check(back.failed && back.kind == lb::WebFailure::TooLarge,
          "a text over the limit is too large");
  }
  return 0;
}
