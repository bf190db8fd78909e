#include "online/web_client_win.h"

#include <windows.h>
// WinHTTP needs the types of windows.h first.
#include <winhttp.h>
#include <zlib.h>

#include <cstdint>
#include <string_view>
#include <vector>

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

[[noreturn]] void Fail(const char* step, DWORD error) {
  // Wine reports an expired receive time-out as WSAETIMEDOUT rather than
  // ERROR_WINHTTP_TIMEOUT; both mean the same to the caller.
  if (error == ERROR_WINHTTP_TIMEOUT || error == kWsaTimedOut) {
    throw WebRequestError(std::string(step) + ": the operation timed out");
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
  throw WebRequestError(std::string(step) + ": " + text + " (" + std::to_string(error) + ")");
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

std::string PostOverWinHttp(const std::string& address, const FormLines& lines, int timeoutMs,
                            bool errorStatusFails) {
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

  // A session of its own for each request: nothing is shared between calls or threads.
  const UniqueInternet session(::WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) FailLast("Opening the web session");
  const int timeout = timeoutMs > 0 ? timeoutMs : 0;
  if (!::WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout)) {
    FailLast("Setting the time-outs");
  }
  const UniqueInternet connection(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) FailLast("Connecting");
  const UniqueInternet request(
      ::WinHttpOpenRequest(connection.get(), L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                           WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) FailLast("Opening the request");
  // The receive time-out of WinHttpSetTimeouts alone never fires under Wine; the time-out for
  // the whole response does, here and on Windows.
  DWORD responseTimeout = static_cast<DWORD>(timeout);
  ::WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                     sizeof responseTimeout);

  const std::wstring headers =
      L"Content-Type: application/x-www-form-urlencoded; charset=UTF-8\r\n"
      L"Connection: close\r\n"
      L"Accept-Encoding: gzip\r\n";
  std::string body = EncodeFormBody(lines);
  if (!::WinHttpSendRequest(request.get(), headers.c_str(), static_cast<DWORD>(-1L), body.data(),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0)) {
    FailLast("Sending the request");
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

  std::string reply;
  for (;;) {
    DWORD available = 0;
    if (!::WinHttpQueryDataAvailable(request.get(), &available)) FailLast("Reading the response");
    if (available == 0) break;
    const std::size_t offset = reply.size();
    reply.resize(offset + available);
    DWORD read = 0;
    if (!::WinHttpReadData(request.get(), reply.data() + offset, available, &read)) {
      FailLast("Reading the response");
    }
    reply.resize(offset + read);
    if (read == 0) break;
  }

  if (ContainsNoCase(encoding, "gzip")) reply = GunzipBody(reply);
  return DecodeBody(reply, CharsetOf(contentType));
}

}  // namespace

std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) {
  return PostOverWinHttp(address, lines, timeoutMs, !IsSecureAddress(address));
}

std::string GunzipBody(const std::string& packed) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
    throw WebRequestError("Unpacking the response: out of memory");
  }
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
    unpacked.append(buffer, sizeof buffer - stream.avail_out);
  } while (result != Z_STREAM_END && (stream.avail_in > 0 || stream.avail_out == 0));
  inflateEnd(&stream);
  if (result != Z_STREAM_END) throw WebRequestError("Unpacking the response: damaged data");
  return unpacked;
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
