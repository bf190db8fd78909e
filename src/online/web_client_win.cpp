#include "online/web_client_win.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "online/proxy_route.h"
#include "online/reply_body.h"
#include "platform/system_error_win.h"
#include "platform/utf.h"
#include "platform/wide_text_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

struct InternetTraits {
  using Type = HINTERNET;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::WinHttpCloseHandle(h); }
};
using UniqueInternet = UniqueHandle<InternetTraits>;

constexpr const wchar_t* kUserAgent = L"Lock Beacon";
constexpr DWORD kWsaTimedOut = 10060;  // WSAETIMEDOUT

// WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY (Windows 8.1 and later; older SDK headers lack it): the
// user's proxy, set-up script and automatic detection, as the system resolves them.
constexpr DWORD kAutomaticProxy = 4;

// WinHTTP's protocol flags; older SDK headers lack the one of TLS 1.3.
constexpr DWORD kTls12 = 0x00000800;  // WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2
constexpr DWORD kTls13 = 0x00002000;  // WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3

WebFailure FailureKindOf(DWORD error) {
  switch (error) {
    // No connection could be made at all. WinHTTP documents ERROR_WINHTTP_CANNOT_CONNECT for a
    // connection that failed (refused, unreachable) and ERROR_WINHTTP_CONNECTION_ERROR for one
    // reset or ended after it was made, which is a plain transport failure.
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      return WebFailure::NoConnection;
    // Wine reports an expired receive time-out as WSAETIMEDOUT rather than
    // ERROR_WINHTTP_TIMEOUT; both mean the same to the caller.
    case ERROR_WINHTTP_TIMEOUT:
    case kWsaTimedOut:
      return WebFailure::TimedOut;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    // Wine's answer to a certificate its root store does not lead to, and the secure channel
    // failing after the connection was made.
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return WebFailure::Certificate;
    default:
      return WebFailure::Transport;
  }
}

[[noreturn]] void Fail(const char* step, DWORD error) {
  const WebFailure kind = FailureKindOf(error);
  if (kind == WebFailure::TimedOut) {
    throw WebRequestError(std::string(step) + ": the operation timed out", kind);
  }
  std::string text;
  wchar_t* buffer = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                           FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       ::GetModuleHandleW(L"winhttp.dll"), error, 0,
                       reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length > 0 && buffer != nullptr) {
    std::wstring_view message(buffer, length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n')) {
      message.remove_suffix(1);
    }
    text = ToUtf8(message);
  }
  if (buffer != nullptr) ::LocalFree(buffer);
  if (text.empty()) text = SystemErrorMessage(error);
  throw WebRequestError(std::string(step) + ": " + text + " (" + std::to_string(error) + ")", kind);
}

[[noreturn]] void FailLast(const char* step) { Fail(step, ::GetLastError()); }

std::wstring QueryHeader(HINTERNET request, DWORD info) {
  DWORD size = 0;
  ::WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (!::WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  value.resize(size / sizeof(wchar_t));
  return value;
}

bool ContainsNoCase(std::string text, std::string_view word) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text.find(word) != std::string::npos;
}

UINT CodePageOf(const std::string& charset) {
  struct Known {
    const char* name;
    UINT codePage;
  };
  static constexpr Known kKnown[] = {
      {"us-ascii", 20127},    {"ascii", 20127},      {"iso-8859-1", 28591}, {"latin1", 28591},
      {"iso-8859-2", 28592},  {"iso-8859-5", 28595}, {"iso-8859-7", 28597}, {"iso-8859-9", 28599},
      {"iso-8859-15", 28605}, {"koi8-r", 20866},     {"koi8-u", 21866},     {"shift_jis", 932},
      {"gb2312", 936},        {"gbk", 936},          {"big5", 950},         {"euc-kr", 949},
      {"euc-jp", 20932},      {"gb18030", 54936},
  };
  for (const Known& known : kKnown) {
    if (charset == known.name) return known.codePage;
  }
  for (const std::string_view prefix : {"windows-", "cp"}) {
    if (charset.starts_with(prefix)) {
      const std::string digits = charset.substr(prefix.size());
      if (!digits.empty() && digits.size() <= 5 &&
          digits.find_first_not_of("0123456789") == std::string::npos) {
        return static_cast<UINT>(std::stoul(digits));
      }
    }
  }
  return CP_UTF8;
}

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The time-out of the next wait for the server. The receive time-out alone never fires under
// Wine; the time-out for the whole response does, here and on Windows, so both are set. False
// when no time is left.
bool SetReceiveTimeout(HINTERNET request, int timeoutMs) {
  if (timeoutMs <= 0) return false;
  DWORD value = static_cast<DWORD>(timeoutMs);
  ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
  ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &value, sizeof value);
  return true;
}

// The body of a WinHTTP request, each read with its own time-out.
class WinHttpReplyStream final : public IReplyStream {
 public:
  explicit WinHttpReplyStream(HINTERNET request) : request_(request) {}
  std::size_t Read(char* buffer, std::size_t size, int timeoutMs) override {
    SetReceiveTimeout(request_, timeoutMs);
    DWORD available = 0;
    if (!::WinHttpQueryDataAvailable(request_, &available)) FailLast("Reading the response");
    if (available == 0) return 0;
    DWORD read = 0;
    const DWORD wanted = available < size ? available : static_cast<DWORD>(size);
    if (!::WinHttpReadData(request_, buffer, wanted, &read)) FailLast("Reading the response");
    return read;
  }

 private:
  HINTERNET request_;
};

// A text that WinHTTP allocated for the caller, taken over and freed.
std::string TakeGlobalText(LPWSTR text) {
  if (text == nullptr) return {};
  std::string taken = ToUtf8(text);
  ::GlobalFree(text);
  return taken;
}

UserProxySettings ReadUserProxySettings() {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!::WinHttpGetIEProxyConfigForCurrentUser(&config)) return {};
  return UserProxySettings{.autoDetect = config.fAutoDetect != FALSE,
                           .autoConfigUrl = TakeGlobalText(config.lpszAutoConfigUrl),
                           .proxy = TakeGlobalText(config.lpszProxy),
                           .bypass = TakeGlobalText(config.lpszProxyBypass)};
}

// The proxy that automatic detection or the set-up script names for `url`; nothing when neither
// gives an answer (no script found, the script unreachable or broken).
std::optional<ProxyRoute> LookUpProxy(HINTERNET session, const std::wstring& url,
                                      const UserProxySettings& settings) {
  const std::wstring script = ToWide(settings.autoConfigUrl);
  WINHTTP_AUTOPROXY_OPTIONS options{.fAutoLogonIfChallenged = TRUE};
  if (settings.autoDetect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  if (!script.empty()) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = script.c_str();
  }
  WINHTTP_PROXY_INFO info{};
  if (!::WinHttpGetProxyForUrl(session, url.c_str(), &options, &info)) return std::nullopt;
  ProxyRoute route{.proxy = TakeGlobalText(info.lpszProxy),
                   .bypass = TakeGlobalText(info.lpszProxyBypass)};
  route.direct = info.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY || route.proxy.empty();
  if (route.direct) route = ProxyRoute{};
  return route;
}

// A WinHTTP session of the access type given. Throws WebRequestError when WinHTTP refuses,
// or, with `nullWhenRefused`, returns null when it refuses the access type itself.
HINTERNET OpenSession(DWORD access, const std::string& proxy, const std::string& bypass,
                      int timeoutMs, DWORD* secureProtocols, bool nullWhenRefused = false);

// The session of one request, through the user's proxy. Where the system resolves the user's
// proxy itself (Windows 8.1 and later), it is asked to; elsewhere, and when `lookUp` says so,
// the user's settings are read and looked up here. The look-up counts against the attempt: what
// is left of it bounds the session's own time-outs afterwards.
HINTERNET OpenRequestSession(const std::wstring& url, int timeoutMs,
                             const AttemptDeadline& deadline, ProxyLookUp lookUp) {
  if (lookUp == ProxyLookUp::BySystem) {
    // Systems before Windows 8.1 refuse the access type (ERROR_INVALID_PARAMETER).
    if (HINTERNET session = OpenSession(kAutomaticProxy, {}, {}, timeoutMs, nullptr, true)) {
      return session;
    }
  }
  const UserProxySettings settings = ReadUserProxySettings();
  std::optional<ProxyRoute> answer;
  if (NeedsProxyLookUp(settings)) {
    const UniqueInternet lookUpSession(
        OpenSession(WINHTTP_ACCESS_TYPE_NO_PROXY, {}, {}, deadline.NextWaitMs(NowMs()), nullptr));
    answer = LookUpProxy(lookUpSession.get(), url, settings);
    if (deadline.RemainingMs(NowMs()) == 0) {
      throw WebRequestError("Finding the proxy: the operation timed out", WebFailure::TimedOut);
    }
  }
  const ProxyRoute route = ChooseProxyRoute(settings, answer);
  const int left = deadline.NextWaitMs(NowMs());
  if (route.direct) {
    // No proxy of the user's: the machine's own setting (netsh winhttp).
    return OpenSession(WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, {}, {}, left, nullptr);
  }
  return OpenSession(WINHTTP_ACCESS_TYPE_NAMED_PROXY, route.proxy, route.bypass, left, nullptr);
}

std::string PostOverWinHttp(const std::string& address, const FormLines& lines, int timeoutMs,
                            bool errorStatusFails, ProxyLookUp lookUp) {
  const std::wstring url = ToWide(address);
  URL_COMPONENTS parts{.dwStructSize = sizeof(URL_COMPONENTS),
                       .dwSchemeLength = static_cast<DWORD>(-1),
                       .dwHostNameLength = static_cast<DWORD>(-1),
                       .dwUrlPathLength = static_cast<DWORD>(-1),
                       .dwExtraInfoLength = static_cast<DWORD>(-1)};
  if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
    FailLast("Invalid address");
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo != nullptr) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

  const AttemptDeadline deadline(NowMs(), timeoutMs);
  // A session of its own for each request: nothing is shared between calls or threads.
  const UniqueInternet session(OpenRequestSession(url, timeoutMs, deadline, lookUp));
  const UniqueInternet connection(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) FailLast("Connecting");
  const UniqueInternet request(
      ::WinHttpOpenRequest(connection.get(), L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                           WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) FailLast("Opening the request");
  // Wine takes the response time-out when the request is sent: it is set before sending and
  // again, with what is left by then, before the response is awaited.
  SetReceiveTimeout(request.get(), deadline.NextWaitMs(NowMs()));

  const std::wstring headers =
      L"Content-Type: application/x-www-form-urlencoded; charset=UTF-8\r\n"
      L"Connection: close\r\n"
      L"Accept-Encoding: gzip\r\n";
  std::string body = EncodeFormBody(lines);
  if (!::WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(-1L), body.data(),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0)) {
    FailLast("Sending the request");
  }
  if (!SetReceiveTimeout(request.get(), deadline.NextWaitMs(NowMs()))) {
    throw WebRequestError("Receiving the response: the operation timed out", WebFailure::TimedOut);
  }
  if (!::WinHttpReceiveResponse(request.get(), nullptr)) FailLast("Receiving the response");

  DWORD status = 0;
  DWORD statusSize = sizeof status;
  if (!::WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                             WINHTTP_NO_HEADER_INDEX)) {
    FailLast("Reading the status");
  }
  if (errorStatusFails && status >= 400) {
    const std::string reason = ToUtf8(QueryHeader(request.get(), WINHTTP_QUERY_STATUS_TEXT));
    throw WebRequestError("HTTP/1.1 " + std::to_string(status) +
                          (reason.empty() ? "" : " " + reason));
  }
  const std::string contentType = ToUtf8(QueryHeader(request.get(), WINHTTP_QUERY_CONTENT_TYPE));
  const std::string encoding = ToUtf8(QueryHeader(request.get(), WINHTTP_QUERY_CONTENT_ENCODING));
  WinHttpReplyStream stream(request.get());
  std::string reply = ReadReplyBody(stream, deadline, NowMs);

  if (ContainsNoCase(encoding, "gzip")) reply = GunzipBody(reply);
  return DecodeBody(reply, CharsetOf(contentType));
}

}  // namespace

namespace {

HINTERNET OpenSession(DWORD access, const std::string& proxy, const std::string& bypass,
                      int timeoutMs, DWORD* secureProtocols, bool nullWhenRefused) {
  const std::wstring proxyName = ToWide(proxy);
  const std::wstring proxyBypass = ToWide(bypass);
  HINTERNET session = ::WinHttpOpen(
      kUserAgent, access, proxyName.empty() ? WINHTTP_NO_PROXY_NAME : proxyName.c_str(),
      proxyBypass.empty() ? WINHTTP_NO_PROXY_BYPASS : proxyBypass.c_str(), 0);
  if (session == nullptr) {
    if (nullWhenRefused && ::GetLastError() == ERROR_INVALID_PARAMETER) return nullptr;
    FailLast("Opening the web session");
  }
  UniqueInternet owned(session);
  const int timeout = timeoutMs > 0 ? timeoutMs : 0;
  if (!::WinHttpSetTimeouts(session, timeout, timeout, timeout, timeout)) {
    FailLast("Setting the time-outs");
  }
  // TLS 1.2 and 1.3 where the system has them: Windows 7 and 8 offer neither by default, and a
  // system without TLS 1.3 refuses the pair, so 1.2 alone is offered then. A system that takes
  // neither keeps its own choice.
  if (secureProtocols != nullptr) *secureProtocols = 0;
  for (DWORD protocols : {kTls12 | kTls13, kTls12}) {
    if (::WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                           sizeof protocols)) {
      if (secureProtocols != nullptr) *secureProtocols = protocols;
      break;
    }
  }
  return owned.release();
}

}  // namespace

HINTERNET OpenWebSession(int timeoutMs, DWORD* secureProtocols) {
  return OpenSession(WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, {}, {}, timeoutMs, secureProtocols);
}

std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs,
                     ProxyLookUp lookUp) {
  return PostOverWinHttp(address, lines, timeoutMs, !IsSecureAddress(address), lookUp);
}

std::string DecodeBody(const std::string& body, const std::string& charset) {
  if (charset == "utf-16" || charset == "utf-16le") {
    return Utf16ToUtf8(Utf16UnitsFromBytes(body, false));
  }
  if (charset == "utf-16be") return Utf16ToUtf8(Utf16UnitsFromBytes(body, true));
  const UINT codePage = CodePageOf(charset);
  if (codePage == CP_UTF8 || body.empty()) return body;
  const int length =
      ::MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
  if (length <= 0) return body;  // a code page the system lacks: taken as UTF-8
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), wide.data(),
                        length);
  return ToUtf8(wide);
}

}  // namespace lb
