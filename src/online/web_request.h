#pragma once
// Form requests to the maker's web server and the shape of its replies. Every exchange with the
// server goes through PostForm: an ordered list of "name=value" lines, posted as an HTML form
// over HTTPS or plain HTTP; the reply is text whose lines carry values between lower-case tags
// ("<version>5.2</version>").
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lb {

// The lines of a request, each "name=value" (not escaped: the transport encodes them), in the
// order they go on the wire.
using FormLines = std::vector<std::string>;

// Paths on the maker's web server.
inline constexpr const char* kCheckPath = "/php/check2.php";
inline constexpr const char* kFeedbackPath = "/php/feedback.php";

// Time-outs (connection and response, each) of the update check and of the feedback request.
inline constexpr int kCheckTimeoutMs = 10000;
inline constexpr int kFeedbackTimeoutMs = 3000;

// What kind of failure ended a request.
enum class WebFailure {
  NoConnection,  // no connection to the server could be made at all: refused, unreachable,
                 // the name not resolved
  Transport,     // a reset or closed connection, a broken reply, (plain HTTP only) an HTTP
                 // error status, or anything else
  TimedOut,      // the connection, the response or the whole attempt took too long
  TooLarge,      // the body, or the body unpacked, is longer than kMaxReplyBytes
  Certificate,   // the server's certificate or the secure channel was refused
};

// A transport failure. The message says what failed, the kind which sort of failure it was.
class WebRequestError : public std::runtime_error {
 public:
  explicit WebRequestError(const std::string& message, WebFailure kind = WebFailure::Transport)
      : std::runtime_error(message), kind_(kind) {}
  [[nodiscard]] WebFailure Kind() const noexcept { return kind_; }

 private:
  WebFailure kind_;
};

// Whether a failed HTTPS attempt may be followed by the same request over plain HTTP: only when
// no connection to the server could be made at all (a network that blocks the HTTPS port). Once
// a connection was made, whatever went wrong (a certificate that is not the server's, a
// time-out, a reset, a body over the limit) may be the work of someone on the way who waits to
// answer the plain request; and the request may have reached the server already.
[[nodiscard]] bool MayRetryInClear(const WebRequestError& error) noexcept;

// The form request of both transports.
class IWebClient {
 public:
  virtual ~IWebClient() = default;
  // Posts `lines` to `address` and returns the reply body as UTF-8 text. An address beginning
  // with "https://" (exactly so) goes over the secure transport, which returns an error page's
  // body like any reply; anything else over the plain transport, which throws on an HTTP error
  // status. Throws WebRequestError when the transport fails; nothing is retried.
  virtual std::string PostForm(const std::string& address, const FormLines& lines,
                               int timeoutMs) = 0;
};

// Whether PostForm takes the secure transport for `address` (case-sensitive: "HTTPS://" does
// not).
[[nodiscard]] bool IsSecureAddress(std::string_view address);

// The body of an application/x-www-form-urlencoded POST: each line split at its first "=" into
// name and value, both percent-encoded from their UTF-8 bytes (a space as "+"), the pairs
// joined with "&" in list order. A line without "=" is a name with an empty value.
[[nodiscard]] std::string EncodeFormBody(const FormLines& lines);

// The reply's lines: breaks at CR LF, at a lone CR and at a lone LF; a break at the very end
// adds no empty line, and an empty reply has no lines.
[[nodiscard]] std::vector<std::string> SplitReplyLines(std::string_view reply);

// The value of a tagged line "<tag>value</tag>": the tag is lowered, the line compared exactly
// (nothing before the opening or after the closing mark); the value may be empty and may hold
// angle brackets. Empty when the line does not have that shape, or the line or tag is empty.
[[nodiscard]] std::string ExtractTagValue(std::string_view line, std::string_view tag);

// The charset a Content-Type header declares ("text/html; charset=ISO-8859-1" gives
// "iso-8859-1", lowered, quotes removed); empty when it declares none.
[[nodiscard]] std::string CharsetOf(std::string_view contentType);

}  // namespace lb
