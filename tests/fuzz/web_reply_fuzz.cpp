// The web server's replies from outside (anyone on the way can change a plain HTTP reply): the
// line splitting, the tag reading, the charset of a Content-Type header and the form body.
//
// Rules checked:
// - The reply's lines hold no line break and, joined with the breaks they lost, give the reply.
// - A value read from a tagged line puts the line together again with the lowered tag.
// - A charset is lowered and comes from the header's text.
// - A form body decodes back into the lines' names and values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "online/web_request.h"

namespace {

using lb::fuzz::Check;

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

// The reference splitting: breaks are CR LF, CR and LF; a last break adds no line.
std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The reference decoding of one encoded name or value.
std::string Decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      Check(i + 2 < text.size(), "a percent sign is followed by two digits");
      Check(HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0,
            "a percent sign is followed by two upper-case hexadecimal digits");
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string tag = input.ConsumeRandomLengthString(12);
  const std::string contentType = input.ConsumeRandomLengthString(80);
  const std::string reply = input.ConsumeRemainingBytesAsString();

  const std::vector<std::string> lines = lb::SplitReplyLines(reply);
  Check(lines == Split(reply), "the reply splits at CR LF, CR and LF");
  for (const std::string& line : lines) {
    Check(line.find_first_of("\r\n") == std::string::npos, "a line holds no break");
    for (const std::string& name : {tag, std::string("version"), std::string("URL")}) {
      const std::string value = lb::ExtractTagValue(line, name);
      if (value.empty()) continue;
      Check("<" + Lowered(name) + ">" + value + "</" + Lowered(name) + ">" == line,
            "a tagged value is the line between its marks");
    }
  }
  const std::string wrapped = "<" + Lowered(tag) + ">" + reply + "</" + Lowered(tag) + ">";
  if (!tag.empty()) {
    Check(lb::ExtractTagValue(wrapped, tag) == reply, "a wrapped value reads back");
  }

  const std::string charset = lb::CharsetOf(contentType);
  Check(charset == Lowered(charset), "a charset is lowered");
  Check(Lowered(contentType).find(charset) != std::string::npos, "a charset comes from the header");

  // The form body: every line's name and value come back from the encoded pairs.
  const lb::FormLines form = {tag + "=" + contentType, reply.substr(0, 200), "guid=" + tag};
  const std::string body = lb::EncodeFormBody(form);
  std::vector<std::string_view> pairs;
  std::size_t start = 0;
  for (;;) {
    const std::size_t amp = body.find('&', start);
    pairs.push_back(std::string_view(body).substr(start, amp - start));
    if (amp == std::string::npos) break;
    start = amp + 1;
  }
  Check(pairs.size() == form.size(), "one pair per line");
  for (std::size_t i = 0; i < form.size(); ++i) {
    const std::size_t equals = pairs[i].find('=');
    Check(equals != std::string_view::npos, "every pair has an equals sign");
    const std::size_t lineEquals = form[i].find('=');
    const std::string name = form[i].substr(0, lineEquals);
    const std::string value = lineEquals == std::string::npos ? "" : form[i].substr(lineEquals + 1);
    Check(Decoded(pairs[i].substr(0, equals)) == name, "a name decodes back");
    Check(Decoded(pairs[i].substr(equals + 1)) == value, "a value decodes back");
  }
  return 0;
}
