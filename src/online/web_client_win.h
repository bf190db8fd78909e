#pragma once
// PostForm over WinHTTP: a fresh session for each request, released on every path.
#include <string>

#include "online/web_request.h"

namespace lb {

// Posts `lines` as a UTF-8 HTML form to `address` with `timeoutMs` as connection and response
// time-out. "https://" (exactly) takes the secure transport, which hands back the body of an
// HTTP error page like any reply; anything else the plain transport, which throws on an HTTP
// error status. The body is unpacked when gzip-encoded and decoded by the charset the reply
// declares (UTF-8 when it declares none). Throws WebRequestError on any transport failure.
std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs);

class WinHttpWebClient final : public IWebClient {
 public:
  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    return lb::PostForm(address, lines, timeoutMs);
  }
};

// The body of a gzip stream, unpacked. Throws WebRequestError when it is damaged.
std::string GunzipBody(const std::string& packed);
// `body` as UTF-8, decoded from `charset` ("" and unknown charsets: taken as UTF-8).
std::string DecodeBody(const std::string& body, const std::string& charset);

}  // namespace lb
