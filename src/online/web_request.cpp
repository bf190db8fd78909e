#include "online/web_request.h"

#include <cctype>

namespace lb {
namespace {

bool IsUnreserved(unsigned char c) {
  return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '*';
}

void AppendEncoded(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80 && IsUnreserved(c)) {
      out += ch;
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool IsSecureAddress(std::string_view address) { return address.starts_with("https://"); }

bool MayRetryInClear(const WebRequestError& error) noexcept {
  return error.Kind() == WebFailure::NoConnection;
}

std::string EncodeFormBody(const FormLines& lines) {
  std::string body;
  for (const std::string& line : lines) {
    if (!body.empty()) body += '&';
    const std::string_view view = line;
    const std::size_t equals = view.find('=');
    AppendEncoded(body, view.substr(0, equals));
    body += '=';
    if (equals != std::string_view::npos) AppendEncoded(body, view.substr(equals + 1));
  }
  return body;
}

std::vector<std::string> SplitReplyLines(std::string_view reply) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < reply.size()) {
    if (reply[i] == '\r' || reply[i] == '\n') {
      lines.emplace_back(reply.substr(start, i - start));
      if (reply[i] == '\r' && i + 1 < reply.size() && reply[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < reply.size()) lines.emplace_back(reply.substr(start));
  return lines;
}

std::string ExtractTagValue(std::string_view line, std::string_view tag) {
  if (line.empty() || tag.empty()) return {};
  std::string lowered;
  for (const char c : tag) lowered += LowerAscii(c);
  const std::string opening = "<" + lowered + ">";
  const std::string closing = "</" + lowered + ">";
  if (line.size() < opening.size() + closing.size()) return {};
  if (!line.starts_with(opening) || !line.ends_with(closing)) return {};
  return std::string(line.substr(opening.size(), line.size() - opening.size() - closing.size()));
}

std::string CharsetOf(std::string_view contentType) {
  std::string lowered;
  for (const char c : contentType) lowered += LowerAscii(c);
  std::string_view rest = lowered;
  for (;;) {
    const std::size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) return {};
    rest.remove_prefix(semicolon + 1);
    std::string_view parameter = rest.substr(0, rest.find(';'));
    const std::size_t equals = parameter.find('=');
    if (equals == std::string_view::npos) continue;
    if (Trim(parameter.substr(0, equals)) != "charset") continue;
    std::string_view value = Trim(parameter.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
}

}  // namespace lb
