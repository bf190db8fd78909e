// The feedback dialog's e-mail check (PCRE2) on any text, beside the other texts "Send" reads.
//
// Rules checked:
// - IsValidEmail agrees with a plain reading of the pattern: a local part of letters, digits
//   and "_.+-", "@", a first domain label of letters, digits and "-", ".", then letters, digits,
//   "-" and "." ending in a letter or digit; the whole text, nothing before or after.
// - TrimText removes exactly the spaces and control characters at both ends.
// - A reply taken as received says "OK".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "online/feedback.h"

namespace {

using lb::fuzz::Check;

bool IsAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool AllOf(std::string_view text, bool (*fits)(char)) {
  for (const char c : text) {
    if (!fits(c)) return false;
  }
  return true;
}

bool ReferenceEmail(std::string_view text) {
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos || at == 0) return false;
  const auto local = [](char c) { return IsAlnum(c) || c == '_' || c == '.' || c == '+' || c == '-'; };
  if (!AllOf(text.substr(0, at), local)) return false;
  const std::string_view domain = text.substr(at + 1);
  const std::size_t dot = domain.find('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  if (!AllOf(domain.substr(0, dot), [](char c) { return IsAlnum(c) || c == '-'; })) return false;
  const std::string_view rest = domain.substr(dot + 1);
  return !rest.empty() && IsAlnum(rest.back()) &&
         AllOf(rest, [](char c) { return IsAlnum(c) || c == '-' || c == '.'; });
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = lb::fuzz::AsText(data, size);
  Check(lb::IsValidEmail(text) == ReferenceEmail(text), "the e-mail check reads the pattern");

  const std::string trimmed = lb::TrimText(text);
  Check(text.find(trimmed) != std::string_view::npos, "trimming keeps the middle");
  Check(trimmed.empty() || (!IsBlank(trimmed.front()) && !IsBlank(trimmed.back())),
        "trimming removes the blanks at both ends");
  std::size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  Check(trimmed.empty() || text.substr(first, trimmed.size()) == trimmed,
        "trimming removes only blanks");

  const bool received = lb::IsFeedbackReceived(text);
  if (received) Check(text.find("OK") != std::string_view::npos, "a received reply says OK");
  return 0;
}
