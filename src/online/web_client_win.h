#pragma once
// PostForm over WinHTTP: a fresh session for each request, released on every path. Every
// attempt ends within its connection time-out plus its response time-out, and reads at most
// kMaxReplyBytes of body (online/reply_body.h).
#include <windows.h>
// WinHTTP needs the types of windows.h first.
#include <winhttp.h>

#include <string>

#include "online/web_request.h"

namespace lb {

// Posts `lines` as a UTF-8 HTML form to `address` with `timeoutMs` as connection and response
// time-out. "https://" (exactly) takes the secure transport, which hands back the body of an
// HTTP error page like any reply; anything else the plain transport, which throws on an HTTP
// error status. The body is unpacked when gzip-encoded and decoded by the charset the reply
// declares (UTF-8 when it declares none). Throws WebRequestError on any transport failure, with
// its kind: no connection made at all (refused, unreachable, the name not resolved), a time-out
// (also when the whole attempt ran past its bound), a body beyond kMaxReplyBytes, a refused
// certificate or secure channel, or anything else.
//
// The request goes through the user's proxy (the one Windows' proxy settings page and the
// browsers set), with its set-up script or automatic detection: `BySystem` lets WinHTTP resolve
// it where the system can (Windows 8.1 and later) and reads the user's settings here elsewhere;
// `FromUserSettings` always reads them here (Wine's WinHTTP takes the system's way as "no
// proxy", so tests drive this one).
enum class ProxyLookUp { BySystem, FromUserSettings };
std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs,
                     ProxyLookUp lookUp = ProxyLookUp::BySystem);

class WinHttpWebClient final : public IWebClient {
 public:
  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    return lb::PostForm(address, lines, timeoutMs);
  }
};

// The WinHTTP session of one request: `timeoutMs` for resolving, connecting, sending and
// receiving, and TLS 1.2 and 1.3 offered where the system has them; `secureProtocols` (when
// given) receives the WINHTTP_FLAG_SECURE_PROTOCOL_ flags the session took, 0 when it kept the
// system's own choice. The caller closes it. Throws WebRequestError when WinHTTP refuses.
HINTERNET OpenWebSession(int timeoutMs, DWORD* secureProtocols = nullptr);

// `body` as UTF-8, decoded from `charset` ("" and unknown charsets: taken as UTF-8).
std::string DecodeBody(const std::string& body, const std::string& charset);

}  // namespace lb
