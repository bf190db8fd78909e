#include "i18n/language_file.h"

#include <unordered_set>
#include <utility>

#include "platform/utf.h"

namespace lb {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::string DecodeLanguageFileText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
    bytes = bytes.substr(0, nul);
  }
  if (IsValidUtf8(bytes)) return std::string(bytes);
  // Malformed sequences become U+FFFD on the way through UTF-16.
  return Utf16ToUtf8(Utf8ToUtf16(bytes));
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string_view TrimSpacesAndControls(std::string_view text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

LanguageTable::LanguageTable(std::string text) : text_(std::move(text)) {
  std::unordered_set<std::string_view> reported;
  for (const std::string_view line : SplitTextLines(text_)) {
    if (!line.starts_with('{')) continue;
    const auto close = line.find('}', 1);
    // A line without "}" begins with no key of the form "{...}".
    if (close == std::string_view::npos) continue;
    std::string key(line.substr(1, close - 1));
    const auto [it, inserted] = entries_.try_emplace(key, line.substr(close + 1));
    if (inserted) {
      keys_.push_back(std::move(key));
    } else if (reported.insert(it->first).second) {
      repeatedKeys_.push_back(it->first);
    }
  }
}

std::optional<std::string_view> LanguageTable::Find(std::string_view key) const {
  if (key.find('}') != std::string_view::npos) return ScanLines(key);
  const auto it = entries_.find(key);
  if (it == entries_.end()) return std::nullopt;
  return std::string_view(it->second);
}

std::optional<std::string_view> LanguageTable::ScanLines(std::string_view key) const {
  for (const std::string_view line : SplitTextLines(text_)) {
    if (line.size() < key.size() + 2 || line.front() != '{') continue;
    if (line.substr(1, key.size()) != key || line[key.size() + 1] != '}') continue;
    return line.substr(line.find('}') + 1);
  }
  return std::nullopt;
}

std::string LanguageTable::Translate(std::string_view english) const {
  const auto value = Find(english);
  if (!value || value->empty()) return std::string(english);
  return std::string(*value);
}

}  // namespace lb
