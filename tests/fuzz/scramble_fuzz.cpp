// UnscrambleText on a stored download address from outside (the update store can be edited).
//
// Rules checked:
// - Any text scrambles and unscrambles back to itself.
// - Unscrambling gives one byte per whole pair of hexadecimal digits (a final odd character
//   ignored), or nothing when a pair is not hexadecimal; scrambling the result again gives the
//   pairs back in upper case.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "online/update_check.h"

namespace {

using lb::fuzz::Check;

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = lb::fuzz::AsText(data, size);
  Check(lb::UnscrambleText(lb::ScrambleText(text)) == text, "a scrambled text reads back");

  const std::string_view pairs = text.substr(0, text.size() - text.size() % 2);
  bool allHex = true;
  for (const char c : pairs) allHex = allHex && IsHex(c);
  const std::string plain = lb::UnscrambleText(text);
  if (!allHex) {
    Check(plain.empty(), "a pair that is not hexadecimal gives nothing");
    return 0;
  }
  Check(plain.size() == pairs.size() / 2, "one byte per pair");
  std::string upper(pairs);
  for (char& c : upper) c = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  Check(lb::ScrambleText(plain) == upper, "scrambling again gives the pairs back");
  return 0;
}
