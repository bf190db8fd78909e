#pragma once
// A profile (INI) file held as its lines, read by the rules of the Windows profile functions
// (GetPrivateProfileStringW, WritePrivateProfileStringW) and changed one line at a time: every
// line that a change does not touch is written back byte for byte as it was read, with its own
// line end; the blank lines and comments stay where they are.
//
// The rules, as the profile functions apply them:
// - Lines end at CR LF, LF or CR. Blanks around a line are ignored (space, tab, CR, LF, VT, FF
//   and 0x1A, the DOS end-of-file mark).
// - A line that starts with "[" and holds a "]" is a section header; the section's name is the
//   text between the "[" and the last "]", blanks removed.
// - Any other non-blank line is a key: its name is the text before the first "=", its value the
//   text after it, both with blanks removed. A line without "=" (a comment ";..." is one) is a
//   key without a value.
// - Names match without regard to the letter case of A-Z (other letters must be equal; the
//   program's own names are ASCII). Only the first section of a name is used, and in it only
//   the first line of a key name.
//
// Encoding: a file that starts with a byte-order mark is UTF-8 (EF BB BF), UTF-16 LE (FF FE) or
// UTF-16 BE (FE FF); any other file is in the ANSI code page. A change keeps the encoding,
// except that an ANSI file whose new text the code page cannot hold becomes UTF-16 LE.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace lb {

enum class IniEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

class IniFile {
 public:
  // A file that does not exist yet: no lines, ANSI.
  IniFile() = default;
  // Any bytes are accepted; undecodable text becomes U+FFFD (or what the code page makes of it).
  static IniFile Parse(std::string_view bytes, const ICodePage& codePage);

  [[nodiscard]] IniEncoding Encoding() const { return encoding_; }

  // The value text of the key as stored (blanks around it removed, quotes kept), or nothing
  // when the first section of that name has no such key or its first line has no "=".
  [[nodiscard]] std::optional<std::string> StoredValue(std::string_view section,
                                                       std::string_view key) const;

  // Whether the first section of that name lists the key: one of its lines has that name and
  // an "=" (a value, possibly empty). Comment lines (";...") are never listed.
  [[nodiscard]] bool ListsKey(std::string_view section, std::string_view key) const;

  // Gives the key `value` (its leading blanks removed): the key's first line in the first
  // section of that name becomes "<name as written>=<value>"; a new key goes after the last
  // non-blank line of that section; a missing section is added at the end of the file. New
  // lines end in CR LF. Returns false, changing nothing, when the stored value already equals
  // the new one. The caller keeps line breaks and NUL out of `key` and `value`, "=" out of the
  // key and "[" off its start; `key` is not empty.
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes: untouched lines as they were read, changed and new lines encoded in the
  // file's encoding; when that is ANSI and the code page cannot hold a changed line, the whole
  // file as UTF-16 LE with a byte-order mark.
  [[nodiscard]] std::string Serialize(const ICodePage& codePage) const;

 private:
  struct Line {
    std::string text;       // the line without its end, as UTF-8
    std::string ending;     // "\r\n", "\n", "\r", or "" for a last line without an end
    std::string rawText;    // the bytes of `text` as read
    std::string rawEnding;  // the bytes of `ending` as read
    bool textChanged = false;
    bool endingChanged = false;
  };
  struct SectionSpan {
    std::size_t header;  // index of the header line
    std::size_t end;     // one past the section's last line
  };

  std::optional<SectionSpan> FindSection(std::string_view name) const;
  void InsertLine(std::size_t position, std::string text);

  IniEncoding encoding_ = IniEncoding::kAnsi;
  std::string bom_;
  std::vector<Line> lines_;
};

// What the profile functions hand back for a stored value, read into a buffer of 2048
// characters: when the value starts with a quote (' or ") and ends with the same one, the
// quotes are removed; at most 2047 UTF-16 code units are kept. Exactly as they do it: up to
// 2047 units after the opening quote are copied, and when the value was quoted and the text
// after the opening quote is at most 2048 units long, the last copied unit is dropped (so a
// quoted value of 2047 characters reads as 2046). A character never loses half of a surrogate
// pair: a pair cut at the limit is dropped whole.
std::string ProfileReadText(std::string_view stored);

// Blanks of a profile line: space, tab, CR, LF, VT, FF and 0x1A.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace lb
