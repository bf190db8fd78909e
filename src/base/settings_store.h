#pragma once
// settings.ini, section [Settings]: a thin accessor. Each read goes to the file when it is made,
// so a change made behind the program's back is seen at once; each write changes one key in the
// file at once and leaves every other line alone. While a FileHold lives (the start, which reads
// every setting in one go), the file is read once and its content kept for the reads and writes
// that follow, instead of once per key.
//
// A file larger than kMaxTextFileBytes (1 MiB) is refused as unreadable: every key reads as its
// default, and a write fails without touching the file, as for a file that cannot be read.
//
// The file follows the Windows profile-file rules (what GetPrivateProfileStringW and
// WritePrivateProfileStringW read and write): section and key names match without regard to
// letter case; a value is read with surrounding blanks and one pair of enclosing quotes removed
// and cut to 2047 characters; the first matching section and key win. A file without a
// byte-order mark is in the ANSI code page, as the profile functions keep it. Unlike them, the
// store never corrupts a value the code page cannot hold: such a write turns the file into
// UTF-16 LE with a byte-order mark, which the profile functions also read and write.
#include <cstdint>
#include <optional>
#include <string>

#include "base/ini_file.h"
#include "platform/code_page.h"
#include "platform/file_system.h"

namespace lb {

class SettingsStore {
 public:
  static constexpr const char* kSection = "Settings";

  SettingsStore(std::string path, IFileSystem& files, const ICodePage& codePage);
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Keeps the file's content while it lives: the first read or write after it is made reads the
  // file, the reads and writes after that use the content kept (a write still goes to the file
  // at once). Holds may nest; when the last one ends, every read goes to the file again.
  class FileHold {
   public:
    explicit FileHold(const SettingsStore& store);
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

   private:
    const SettingsStore& store_;
  };
  [[nodiscard]] FileHold HoldFile() const { return FileHold(*this); }

  const std::string& Path() const { return path_; }

  // The stored text, or `defaultValue` when the file, the section or the key is absent.
  std::string ReadString(const std::string& key, const std::string& defaultValue) const;
  // Replaces or adds the key's line; creates the file and the section when needed. Leading
  // blanks of the value are not stored; an unchanged value leaves the file untouched.
  // Throws AppError("Unable to write to <path>") when the platform refuses the write, or when
  // the file exists but cannot be read. Throws std::invalid_argument for an empty key and for
  // texts that would break the file's lines: CR, LF or NUL anywhere, a key holding "=" or
  // starting with "[", text that is not UTF-8.
  void WriteString(const std::string& key, const std::string& value);

  // "0x1F4" (longer than two characters) and "$1F4" are hexadecimal; otherwise decimal with an
  // optional sign. A text that is not a whole number in the 32-bit range gives `defaultValue`.
  std::int32_t ReadInteger(const std::string& key, std::int32_t defaultValue) const;
  void WriteInteger(const std::string& key, std::int32_t value);

  // Whether the section holds the key, whatever its value, even an empty one (a line of that
  // name without "=" does not count, as the profile functions do not list it).
  bool KeyExists(const std::string& key) const;

 private:
  // The file as it is now, parsed into `fresh`, or the content kept while a hold lives; nullptr
  // when the file is missing, cannot be read or is too large.
  const IniFile* CurrentFile(std::optional<IniFile>& fresh) const;

  std::string path_;
  IFileSystem& files_;
  const ICodePage& codePage_;
  mutable int holds_ = 0;
  // While a hold lives and the file has been read: its content, or nothing when it could not be
  // read.
  mutable std::optional<std::optional<IniFile>> kept_;
};

// The integer reading rule on its own (also used by the store and the Settings dialog).
std::int32_t ParseProfileInteger(const std::string& text, std::int32_t defaultValue);
// The same rule: the whole number, or nothing when the text is not one.
std::optional<std::int32_t> TryParseProfileInteger(const std::string& text);

}  // namespace lb
