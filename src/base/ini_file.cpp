#include "base/ini_file.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "platform/utf.h"

namespace lb {
namespace {

constexpr std::string_view kBomUtf8 = "\xEF\xBB\xBF";
constexpr std::string_view kBomUtf16Le = "\xFF\xFE";
constexpr std::string_view kBomUtf16Be = "\xFE\xFF";
constexpr std::string_view kNewLineEnding = "\r\n";

// The profile functions keep names and values as NUL-terminated strings: whatever follows a NUL
// that a file holds is never seen.
std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool NamesMatch(std::string_view inFile, std::string_view wanted) {
  inFile = CutAtNul(inFile);
  return inFile.size() == wanted.size() &&
         std::equal(inFile.begin(), inFile.end(), wanted.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  return text;
}

struct LineParts {
  enum Kind { kBlank, kSection, kKey } kind = kBlank;
  std::string_view name;
  std::optional<std::string_view> value;
};

LineParts Classify(std::string_view text) {
  const std::string_view line = TrimProfileBlanks(text);
  if (line.empty()) return {};
  if (line.front() == '[') {
    const std::size_t close = line.rfind(']');
    if (close != std::string_view::npos) {
      return {LineParts::kSection, TrimProfileBlanks(line.substr(1, close - 1)), std::nullopt};
    }
    // "[" without "]" is no header: the line is read as a key like any other.
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {LineParts::kKey, line, std::nullopt};
  return {LineParts::kKey, TrimProfileBlanks(line.substr(0, equals)),
          TrimLeft(line.substr(equals + 1))};
}

// ---- encodings -------------------------------------------------------------------------------

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text += part;
  return text;
}

bool IsUtf16(IniEncoding encoding) {
  return encoding == IniEncoding::kUtf16Le || encoding == IniEncoding::kUtf16Be;
}

std::string Decode(std::string_view raw, IniEncoding encoding, const ICodePage& codePage) {
  switch (encoding) {
    case IniEncoding::kAnsi:
      return codePage.Decode(raw);
    case IniEncoding::kUtf8:
      return IsValidUtf8(raw) ? std::string(raw) : Utf16ToUtf8(Utf8ToUtf16(raw));
    case IniEncoding::kUtf16Le:
    case IniEncoding::kUtf16Be:
      return Utf16ToUtf8(Utf16UnitsFromBytes(raw, encoding == IniEncoding::kUtf16Be));
  }
  return {};
}

std::optional<std::string> Encode(std::string_view text, IniEncoding encoding,
                                  const ICodePage& codePage) {
  switch (encoding) {
    case IniEncoding::kAnsi:
      return codePage.Encode(text);
    case IniEncoding::kUtf8:
      return std::string(text);
    case IniEncoding::kUtf16Le:
    case IniEncoding::kUtf16Be:
      return Utf16UnitsToBytes(Utf8ToUtf16(text), encoding == IniEncoding::kUtf16Be);
  }
  return std::nullopt;
}

}  // namespace

bool IsProfileBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view TrimProfileBlanks(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

// ---- reading ---------------------------------------------------------------------------------

IniFile IniFile::Parse(std::string_view bytes, const ICodePage& codePage) {
  IniFile file;
  if (bytes.starts_with(kBomUtf8)) {
    file.encoding_ = IniEncoding::kUtf8;
    file.bom_ = kBomUtf8;
  } else if (bytes.starts_with(kBomUtf16Le)) {
    file.encoding_ = IniEncoding::kUtf16Le;
    file.bom_ = kBomUtf16Le;
  } else if (bytes.starts_with(kBomUtf16Be)) {
    file.encoding_ = IniEncoding::kUtf16Be;
    file.bom_ = kBomUtf16Be;
  }
  std::string_view body = bytes.substr(file.bom_.size());

  // Lines are split on code units: a byte, or two for UTF-16, where a stray last byte is no
  // character and is dropped. CR and LF never occur inside a multi-byte character of UTF-8 or
  // of an ANSI code page, so splitting before decoding is safe.
  const std::size_t unitSize = IsUtf16(file.encoding_) ? 2 : 1;
  const bool bigEndian = file.encoding_ == IniEncoding::kUtf16Be;
  body = body.substr(0, body.size() - body.size() % unitSize);
  const std::size_t units = body.size() / unitSize;
  const auto unitAt = [&](std::size_t i) -> char16_t {
    if (unitSize == 1) return static_cast<unsigned char>(body[i]);
    const auto a = static_cast<unsigned char>(body[2 * i]);
    const auto b = static_cast<unsigned char>(body[2 * i + 1]);
    return bigEndian ? static_cast<char16_t>(a << 8 | b) : static_cast<char16_t>(b << 8 | a);
  };

  std::size_t i = 0;
  while (i < units) {
    const std::size_t start = i;
    while (i < units && unitAt(i) != u'\r' && unitAt(i) != u'\n') ++i;
    const std::size_t textEnd = i;
    std::string ending;
    if (i < units && unitAt(i) == u'\r') {
      ending = "\r";
      ++i;
    }
    if (i < units && unitAt(i) == u'\n') {
      ending += "\n";
      ++i;
    }
    Line line;
    line.rawText = std::string(body.substr(start * unitSize, (textEnd - start) * unitSize));
    line.rawEnding = std::string(body.substr(textEnd * unitSize, (i - textEnd) * unitSize));
    line.text = Decode(line.rawText, file.encoding_, codePage);
    line.ending = std::move(ending);
    file.lines_.push_back(std::move(line));
  }
  return file;
}

std::optional<IniFile::SectionSpan> IniFile::FindSection(std::string_view name) const {
  name = TrimProfileBlanks(name);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineParts header = Classify(lines_[i].text);
    if (header.kind != LineParts::kSection || !NamesMatch(header.name, name)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && Classify(lines_[end].text).kind != LineParts::kSection) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::StoredValue(std::string_view section,
                                                std::string_view key) const {
  key = TrimProfileBlanks(key);
  const auto span = FindSection(section);
  if (!span || key.empty()) return std::nullopt;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const LineParts parts = Classify(lines_[i].text);
    if (parts.kind != LineParts::kKey || !NamesMatch(parts.name, key)) continue;
    // The first line of the name decides, even when it has no "=" and so no value.
    if (!parts.value) return std::nullopt;
    return std::string(CutAtNul(*parts.value));
  }
  return std::nullopt;
}

bool IniFile::ListsKey(std::string_view section, std::string_view key) const {
  key = TrimProfileBlanks(key);
  const auto span = FindSection(section);
  if (!span || key.empty()) return false;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const LineParts parts = Classify(lines_[i].text);
    if (parts.kind == LineParts::kKey && parts.value && !parts.name.starts_with(';') &&
        NamesMatch(parts.name, key)) {
      return true;
    }
  }
  return false;
}

// ---- changing --------------------------------------------------------------------------------

void IniFile::InsertLine(std::size_t position, std::string text) {
  // Only the last line can lack a line end; a line after it needs one.
  if (position == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) {
    lines_.back().ending = kNewLineEnding;
    lines_.back().endingChanged = true;
  }
  Line line;
  line.text = std::move(text);
  line.ending = kNewLineEnding;
  line.textChanged = true;
  line.endingChanged = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), std::move(line));
}

bool IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimProfileBlanks(section);
  key = TrimProfileBlanks(key);
  value = TrimLeft(value);

  const auto span = FindSection(section);
  if (!span) {
    InsertLine(lines_.size(), Concat({"[", section, "]"}));
    InsertLine(lines_.size(), Concat({key, "=", value}));
    return true;
  }
  std::size_t lastNonBlank = span->header;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const LineParts parts = Classify(lines_[i].text);
    if (parts.kind == LineParts::kBlank) continue;
    lastNonBlank = i;
    if (parts.kind != LineParts::kKey || !NamesMatch(parts.name, key)) continue;
    if (parts.value && CutAtNul(*parts.value) == value) return false;
    Line& line = lines_[i];
    line.text = Concat({parts.name, "=", value});
    line.textChanged = true;
    return true;
  }
  InsertLine(lastNonBlank + 1, Concat({key, "=", value}));
  return true;
}

std::string IniFile::Serialize(const ICodePage& codePage) const {
  std::string bytes = bom_;
  bool encodable = true;
  for (const Line& line : lines_) {
    const auto text = line.textChanged ? Encode(line.text, encoding_, codePage) : line.rawText;
    const auto ending =
        line.endingChanged ? Encode(line.ending, encoding_, codePage) : line.rawEnding;
    if (!text || !ending) {
      encodable = false;
      break;
    }
    bytes += *text;
    bytes += *ending;
  }
  if (encodable) return bytes;

  // The ANSI code page cannot hold the new text: the whole file becomes UTF-16 LE, which the
  // profile functions read and write as well. The other lines keep their text and line ends.
  std::u16string units;
  for (const Line& line : lines_) units += Utf8ToUtf16(line.text + line.ending);
  return std::string(kBomUtf16Le) + Utf16UnitsToBytes(units, false);
}

std::string ProfileReadText(std::string_view stored) {
  constexpr std::size_t kMaxUnits = 2047;  // a buffer of 2048 with its terminating NUL
  const std::u16string units = Utf8ToUtf16(stored);
  std::u16string_view text = units;
  bool quoted = false;
  if (text.size() >= 2 && (text.front() == u'\'' || text.front() == u'"') &&
      text.back() == text.front()) {
    quoted = true;
    text.remove_prefix(1);
  }
  std::u16string_view kept = text.substr(0, std::min(text.size(), kMaxUnits));
  if (quoted && text.size() <= kMaxUnits + 1) kept.remove_suffix(1);
  // `stored` is well-formed, so a high surrogate at the end is half of a pair that was cut.
  if (!kept.empty() && kept.back() >= 0xD800 && kept.back() <= 0xDBFF) kept.remove_suffix(1);
  return Utf16ToUtf8(kept);
}

}  // namespace lb
