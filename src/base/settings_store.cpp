#include "base/settings_store.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/ini_file.h"
#include "platform/app_error.h"
#include "platform/utf.h"

namespace lb {
namespace {

// A key or value that would break the line structure of the file: it would end its line early,
// or turn a key line into a section header or shift its "=".
void CheckWritable(const std::string& key, const std::string& value) {
  const auto hasLineBreakOrNul = [](std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
  };
  const std::string_view name = TrimProfileBlanks(key);
  if (name.empty()) throw std::invalid_argument("settings: empty key name");
  if (hasLineBreakOrNul(key) || name.find('=') != std::string_view::npos || name.front() == '[') {
    throw std::invalid_argument("settings: key name unfit for a profile file: " + key);
  }
  if (hasLineBreakOrNul(value)) {
    throw std::invalid_argument("settings: value with a line break or NUL for key " + key);
  }
  if (!IsValidUtf8(key) || !IsValidUtf8(value)) {
    throw std::invalid_argument("settings: text that is not UTF-8 for key " + key);
  }
}

std::optional<std::int32_t> ParseDigits(std::string_view digits, int base, bool negative) {
  if (digits.empty()) return std::nullopt;
  // Accumulated as a magnitude: the 32-bit range allows one more below zero than above it.
  const std::int64_t limit =
      std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  std::int64_t magnitude = 0;
  for (const char c : digits) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::optional<std::int32_t> TryParseProfileInteger(const std::string& text) {
  const std::string_view view = text;
  if (view.size() > 2 && view[0] == '0' && (view[1] == 'x' || view[1] == 'X')) {
    return ParseDigits(view.substr(2), 16, false);
  }
  if (view.starts_with('$')) return ParseDigits(view.substr(1), 16, false);
  if (view.starts_with('-') || view.starts_with('+')) {
    return ParseDigits(view.substr(1), 10, view[0] == '-');
  }
  return ParseDigits(view, 10, false);
}

std::int32_t ParseProfileInteger(const std::string& text, std::int32_t defaultValue) {
  return TryParseProfileInteger(text).value_or(defaultValue);
}

SettingsStore::SettingsStore(std::string path, IFileSystem& files, const ICodePage& codePage)
    : path_(std::move(path)), files_(files), codePage_(codePage) {}

SettingsStore::FileHold::FileHold(const SettingsStore& store) : store_(store) { ++store_.holds_; }

SettingsStore::FileHold::~FileHold() {
  if (--store_.holds_ == 0) store_.kept_.reset();
}

const IniFile* SettingsStore::CurrentFile(std::optional<IniFile>& fresh) const {
  if (holds_ > 0 && kept_) return kept_->has_value() ? &**kept_ : nullptr;
  if (const auto bytes = files_.ReadFile(path_, kMaxTextFileBytes)) {
    fresh = IniFile::Parse(*bytes, codePage_);
  }
  if (holds_ > 0) {
    kept_ = std::move(fresh);
    fresh.reset();
    return kept_->has_value() ? &**kept_ : nullptr;
  }
  return fresh ? &*fresh : nullptr;
}

std::string SettingsStore::ReadString(const std::string& key,
                                      const std::string& defaultValue) const {
  std::optional<IniFile> fresh;
  const IniFile* file = CurrentFile(fresh);
  if (file == nullptr) return defaultValue;
  const auto stored = file->StoredValue(kSection, key);
  return stored ? ProfileReadText(*stored) : defaultValue;
}

void SettingsStore::WriteString(const std::string& key, const std::string& value) {
  CheckWritable(key, value);
  std::optional<IniFile> fresh;
  const IniFile* current = CurrentFile(fresh);
  IniFile file;
  if (current != nullptr) {
    file = fresh ? std::move(*fresh) : *current;
  } else if (files_.FileExists(path_)) {
    // It exists but cannot be read (or is too large to be a settings file): writing now would
    // replace it by a file holding one key.
    throw AppError("Unable to write to " + path_);
  }
  if (!file.SetValue(kSection, key, value)) {
    // Nothing to change; but a file that refuses writing is reported all the same, as the
    // write would have been.
    if (!files_.CanWrite(path_)) throw AppError("Unable to write to " + path_);
    return;
  }
  if (!files_.WriteFile(path_, file.Serialize(codePage_))) {
    throw AppError("Unable to write to " + path_);
  }
  if (holds_ > 0) kept_ = std::move(file);
}

std::int32_t SettingsStore::ReadInteger(const std::string& key, std::int32_t defaultValue) const {
  return ParseProfileInteger(ReadString(key, ""), defaultValue);
}

void SettingsStore::WriteInteger(const std::string& key, std::int32_t value) {
  WriteString(key, std::to_string(value));
}

bool SettingsStore::KeyExists(const std::string& key) const {
  std::optional<IniFile> fresh;
  const IniFile* file = CurrentFile(fresh);
  return file != nullptr && file->ListsKey(kSection, key);
}

}  // namespace lb
