#include "platform/local_file.h"

#include <array>

namespace lb {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Windows takes these names, with any extension and in any letter case, for devices in every
// folder ("C:\Sounds\nul.wav" is the null device); the superscript digits count as digits.
bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN",    "AUX",
                                                      "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kPlain) {
    if (EqualsIgnoringAsciiCase(base, device)) return true;
  }
  if (base.size() < 4) return false;
  const std::string_view stem = base.substr(0, 3);
  if (!EqualsIgnoringAsciiCase(stem, "COM") && !EqualsIgnoringAsciiCase(stem, "LPT")) return false;
  const std::string_view digit = base.substr(3);
  constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
  if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
  for (std::string_view superscript : kSuperscripts) {
    if (digit == superscript) return true;
  }
  return false;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '<':
      case '>':
      case '"':
      case '|':
        return false;
      default:
        break;
    }
  }
  return !IsDeviceName(name);
}

std::optional<DrivePath> ParseDrivePath(std::string_view path) {
  if (path.size() < 4) return std::nullopt;  // "X:\" and at least one name
  const char letter = AsciiUpper(path[0]);
  if (letter < 'A' || letter > 'Z' || path[1] != ':' || !IsSeparator(path[2])) return std::nullopt;

  DrivePath parsed{letter, {}};
  std::size_t start = 3;
  for (;;) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    // An empty name (two separators, a trailing one) is refused along with the rest.
    if (!IsPlainFileName(path.substr(start, end - start))) return std::nullopt;
    parsed.prefixes.emplace_back(path.substr(0, end));
    if (end == path.size()) return parsed;
    start = end + 1;
  }
}

bool ReparseTagLeadsElsewhere(std::uint32_t tag) {
  constexpr std::uint32_t kWindowsOverlayFilter = 0x80000017;  // compressed (CompactOS) files
  constexpr std::uint32_t kDeduplicated = 0x80000013;
  constexpr std::uint32_t kSingleInstance = 0x80000007;
  // IO_REPARSE_TAG_CLOUD and its sixteen variants IO_REPARSE_TAG_CLOUD_1 ... _F (bits 12-15).
  constexpr std::uint32_t kCloudFiles = 0x9000001A;
  constexpr std::uint32_t kCloudVariantBits = 0x0000F000;
  if (tag == kWindowsOverlayFilter || tag == kDeduplicated || tag == kSingleInstance) return false;
  return (tag & ~kCloudVariantBits) != kCloudFiles;
}

bool IsLocalPath(const IFileSystem& files, std::string_view path) {
  const std::optional<DrivePath> parsed = ParseDrivePath(path);
  if (!parsed || !files.IsLocalDrive(parsed->drive)) return false;
  // From the top down: each entry is looked up in a folder already known to be no link, so no
  // lookup passes through one.
  for (const std::string& prefix : parsed->prefixes) {
    const std::optional<std::uint32_t> tag = files.ReparseTag(prefix);
    if (tag && ReparseTagLeadsElsewhere(*tag)) return false;
  }
  return true;
}

}  // namespace lb
