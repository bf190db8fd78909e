// settings.ini from outside: any bytes as the file (ANSI, UTF-8, UTF-16 LE or BE by its
// byte-order mark), read through the store, written and read back.
//
// Rules checked:
// - An unchanged file serialises to exactly its own bytes (but for a last odd byte of UTF-16).
// - The store reads what the parsed file holds, as the profile functions hand it back.
// - A written value reads back (blanks around it removed, as the profile functions read it),
//   from the store and from the file parsed afresh; every other key keeps its value.
// - A value the code page cannot hold turns an ANSI file into UTF-16 LE and loses no key.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "base/settings_store.h"
#include "fakes/fake_code_page.h"
#include "fakes/memory_file_system.h"
#include "fuzz_check.h"
#include "platform/utf.h"

namespace {

using lb::fuzz::Check;

constexpr const char* kPath = "C:\\settings.ini";

std::optional<std::string> Stored(const lb::IniFile& file, const std::string& key) {
  return file.StoredValue(lb::SettingsStore::kSection, key);
}

bool SameName(std::string_view a, std::string_view b) {
  a = lb::TrimProfileBlanks(a);
  b = lb::TrimProfileBlanks(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Writes `value` under `key` and checks that it reads back and that the other keys stay.
void WriteAndReadBack(lb::test::MemoryFileSystem& files, const lb::ICodePage& codePage,
                      const std::string& key, const std::string& value,
                      const std::vector<std::string>& probes) {
  lb::SettingsStore store(kPath, files, codePage);
  const lb::IniFile before = lb::IniFile::Parse(files.files[kPath], codePage);
  std::vector<std::optional<std::string>> kept;
  for (const std::string& probe : probes) kept.push_back(Stored(before, probe));
  try {
    store.WriteString(key, value);
  } catch (const std::invalid_argument&) {
    return;  // a key or value that cannot go into a profile file: refused before any change
  }
  const lb::IniFile after = lb::IniFile::Parse(files.files[kPath], codePage);
  const std::string expected = lb::ProfileReadText(lb::TrimProfileBlanks(value));
  Check(store.ReadString(key, "\x01") == expected, "a written value reads back");
  Check(Stored(after, key) == std::string(lb::TrimProfileBlanks(value)),
        "the file parsed afresh holds the written value");
  Check(after.Serialize(codePage) == files.files[kPath],
        "the written file serialises to itself");
  for (std::size_t i = 0; i < probes.size(); ++i) {
    if (SameName(probes[i], key)) continue;
    Check(Stored(after, probes[i]) == kept[i], "a write leaves the other keys alone");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string key = input.ConsumeRandomLengthString(32);
  const std::string value = input.ConsumeRandomLengthString(256);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  const lb::test::FakeCodePage codePage;
  const lb::IniFile file = lb::IniFile::Parse(bytes, codePage);
  // A last odd byte of a UTF-16 file is no character and is not kept.
  const bool utf16 = file.Encoding() == lb::IniEncoding::kUtf16Le ||
                     file.Encoding() == lb::IniEncoding::kUtf16Be;
  const std::size_t whole = utf16 && bytes.size() % 2 == 1 ? bytes.size() - 1 : bytes.size();
  Check(file.Serialize(codePage) == bytes.substr(0, whole),
        "an unchanged file serialises to its own bytes");

  lb::test::MemoryFileSystem files;
  files.files[kPath] = bytes;
  const lb::SettingsStore store(kPath, files, codePage);
  const std::vector<std::string> probes = {key, "Left", "DisplayDuration", "LanguageFile", ";"};
  for (const std::string& probe : probes) {
    const auto stored = file.StoredValue(lb::SettingsStore::kSection, probe);
    const std::string read = store.ReadString(probe, "\x01");
    Check(read == (stored ? lb::ProfileReadText(*stored) : "\x01"),
          "the store reads what the file holds");
    Check(lb::IsValidUtf8(read), "a read value is UTF-8");
    Check(store.KeyExists(probe) == file.ListsKey(lb::SettingsStore::kSection, probe),
          "the store lists what the file lists");
    (void)store.ReadInteger(probe, 0);
  }

  // The code-page path (or the file's own encoding), then a value that only UTF-16 can hold.
  WriteAndReadBack(files, codePage, key, value, probes);
  WriteAndReadBack(files, codePage, "Left", value, probes);
  const std::string before = files.files[kPath];
  WriteAndReadBack(files, codePage, "SoundEffectON", value + "\xD0\x96", probes);
  if (lb::IniFile::Parse(before, codePage).Encoding() == lb::IniEncoding::kAnsi &&
      files.files[kPath] != before) {
    Check(lb::IniFile::Parse(files.files[kPath], codePage).Encoding() ==
              lb::IniEncoding::kUtf16Le,
          "an ANSI file that must hold a foreign character becomes UTF-16 LE");
  }
  return 0;
}
