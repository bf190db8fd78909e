#pragma once
// Language files: plain UTF-8 text, one entry per line. An entry is a line that begins with "{",
// the English text exactly as the program looks it up, "}", and then the translation up to the
// end of the line. Every other line (blank lines, headings, remarks) is ignored.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lb {

// The text of a language file's bytes: a UTF-8 byte-order mark at the start is skipped, a NUL
// ends the text, and malformed UTF-8 sequences become U+FFFD so that the rest of the program
// only ever sees well-formed UTF-8. No other byte-order mark is recognised, so a UTF-16 file
// yields text in which no entry matches.
std::string DecodeLanguageFileText(std::string_view bytes);

// Splits a text into lines ending at CR LF, at a lone LF or at a lone CR. A final line break
// does not add an empty line; an empty text has no lines. The views point into `text`.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Leading and trailing spaces and control characters (every byte up to and including the
// space) removed.
std::string_view TrimSpacesAndControls(std::string_view text);

// The entries of one language file, indexed once so that a lookup is a hash lookup. Keyed by the
// text between a line's leading "{" and its first "}"; the first line of a key wins.
class LanguageTable {
 public:
  LanguageTable() = default;
  // Indexes the decoded text of a language file (see DecodeLanguageFileText).
  explicit LanguageTable(std::string text);

  // The raw value of the first line that begins with "{" + key + "}": everything after the
  // line's first "}", spaces kept, possibly empty. Nothing when no line begins so.
  [[nodiscard]] std::optional<std::string_view> Find(std::string_view key) const;

  // The translation of an English text: the value of its entry, or the English text itself
  // when the entry is missing or empty.
  [[nodiscard]] std::string Translate(std::string_view english) const;

  // The keys in the order of their first lines (for checks of a file's content).
  [[nodiscard]] const std::vector<std::string>& Keys() const { return keys_; }
  // Keys that appear on more than one entry line, each once, in order of first appearance.
  [[nodiscard]] const std::vector<std::string>& RepeatedKeys() const { return repeatedKeys_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };

  // The line-by-line search for keys that contain "}": a line "{a}b}c" begins with "{a}b}", so
  // such a key can match a line that the index files under "a".
  [[nodiscard]] std::optional<std::string_view> ScanLines(std::string_view key) const;

  std::string text_;
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> entries_;
  std::vector<std::string> keys_;
  std::vector<std::string> repeatedKeys_;
};

}  // namespace lb
