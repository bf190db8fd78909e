// Language files and "LanguageCodes.csv": decoding, lines, entries.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_code_page.h"
#include "i18n/language_codes.h"
#include "i18n/language_file.h"
#include "platform/utf.h"

namespace lb {
namespace {

using namespace std::string_literals;

std::string Translated(const std::string& fileBytes, std::string_view english) {
  return LanguageTable(DecodeLanguageFileText(fileBytes)).Translate(english);
}

TEST(LanguageFileTest, TranslatesByTheFirstMatchingLine) {
  struct Case {
    const char* name;
    std::string file;
    std::string english;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"entry", "{Exit}Beenden", "Exit", "Beenden"},
      {"empty first entry wins", "{Exit}\n{Exit}Beenden", "Exit", "Exit"},
      {"first of two entries wins", "{Exit}Beenden\n{Exit}Schluss", "Exit", "Beenden"},
      {"case-sensitive key", "{exit}Beenden", "Exit", "Exit"},
      {"leading space kept", "{Exit} Beenden", "Exit", " Beenden"},
      {"trailing spaces kept", "{Exit}Beenden  \r\n", "Exit", "Beenden  "},
      {"space before the brace", " {Exit}Beenden", "Exit", "Exit"},
      {"missing entry among others", "{Enable}Aktiviert\n{Mode}Modus", "Exit", "Exit"},
      {"punctuation is part of the key", "{Settings}Einstellungen", "Settings...", "Settings..."},
      {"later braces belong to the translation", "{Exit}}{x}", "Exit", "}{x}"},
      {"line without a closing brace", "{Exit Beenden\n{Exit}Ende", "Exit", "Ende"},
      {"headings and remarks ignored", "; Menu\nExit=Beenden\n\n{Exit}Ende", "Exit", "Ende"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF{Exit}Beenden", "Exit", "Beenden"},
      {"CR LF", "{Enable}Aktiviert\r\n{Exit}Beenden\r\n", "Exit", "Beenden"},
      {"lone LF", "{Enable}Aktiviert\n{Exit}Beenden", "Exit", "Beenden"},
      {"lone CR", "{Enable}Aktiviert\r{Exit}Beenden\r", "Exit", "Beenden"},
      {"NUL ends the text", "{Enable}Aktiviert\0\n{Exit}Beenden"s, "Exit", "Exit"},
      {"NUL ends the line", "{Exit}Been\0den"s, "Exit", "Been"},
      {"format placeholder", "{About %s}Über %s", "About %s", "Über %s"},
      {"UTF-16 file is not recognised", "\xFF\xFE{\0E\0x\0i\0t\0}\0E\0n\0d\0e\0"s, "Exit", "Exit"},
      // The translation starts after the line's first "}", also for a key that contains one.
      {"key with a closing brace", "{a}b}c", "a}b", "b}c"},
      {"no line begins with the key", "{a}b}c", "a}c", "a}c"},
      {"key before the first closing brace", "{a}b}c", "a", "b}c"},
      {"empty key", "{}leer", "", "leer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Translated(c.file, c.english), c.expected);
  }
}

TEST(LanguageFileTest, InvalidUtf8BecomesReplacementCharactersAndOtherLinesStillMatch) {
  const std::string file = "{Enable}Akti\xC3\x28viert\n{Exit}Beenden\n{Mode}\xFF\xFE\xFD";
  const LanguageTable table(DecodeLanguageFileText(file));
  EXPECT_EQ(table.Translate("Exit"), "Beenden");
  EXPECT_EQ(table.Translate("Enable"), "Akti\xEF\xBF\xBD(viert");
  EXPECT_TRUE(IsValidUtf8(table.Translate("Mode")));
}

TEST(LanguageFileTest, SplitsLinesAtEveryKindOfLineEnd) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitTextLines(""), Lines{});
  EXPECT_EQ(SplitTextLines("a"), Lines{"a"});
  EXPECT_EQ(SplitTextLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\n\r\nb\r\r"), (Lines{"a", "", "b", ""}));
  EXPECT_EQ(SplitTextLines("\n"), Lines{""});
}

TEST(LanguageFileTest, ReportsRepeatedKeysOnce) {
  const LanguageTable table("{Exit}A\n{Mode}B\n{Exit}C\n{Exit}D\n{Mode}E");
  EXPECT_EQ(table.Keys(), (std::vector<std::string>{"Exit", "Mode"}));
  EXPECT_EQ(table.RepeatedKeys(), (std::vector<std::string>{"Exit", "Mode"}));
}

TEST(LanguageFileTest, IndexesALargeFile) {
  // About 6 MB: 200000 entries and one line of 2 MB.
  std::string file;
  for (int i = 0; i < 200000; ++i) {
    file += "{Text " + std::to_string(i) + "}Translation " + std::to_string(i) + "\r\n";
  }
  file += "{Long}" + std::string(2'000'000, 'x') + "\n";
  const LanguageTable table(DecodeLanguageFileText(file));
  EXPECT_EQ(table.Translate("Text 0"), "Translation 0");
  EXPECT_EQ(table.Translate("Text 199999"), "Translation 199999");
  EXPECT_EQ(table.Translate("Long").size(), 2'000'000u);
  EXPECT_EQ(table.Translate("Text 200000"), "Text 200000");
}

TEST(LanguageFileTest, TrimsSpacesAndControlCharacters) {
  EXPECT_EQ(TrimSpacesAndControls(" \t\x01 a b \r\n\x1F"), "a b");
  EXPECT_EQ(TrimSpacesAndControls("   "), "");
  // Bytes of UTF-8 sequences are no control characters.
  EXPECT_EQ(TrimSpacesAndControls("\xC3\xA4 "), "\xC3\xA4");
}

// ---- LanguageCodes.csv ----------------------------------------------------------------------

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  return std::string(bigEndian ? "\xFE\xFF" : "\xFF\xFE") + Utf16UnitsToBytes(text, bigEndian);
}

TEST(LanguageCodesTest, DecodesByByteOrderMarkOrTheAnsiCodePage) {
  const test::FakeCodePage latin1;
  struct Case {
    const char* name;
    std::string bytes;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"UTF-8 with mark",
       "\xEF\xBB\xBF"
       "1036,Fran\xC3\xA7"
       "ais.lang.txt",
       "1036,Fran\xC3\xA7"
       "ais.lang.txt"},
      {"UTF-16 LE", Utf16Bytes(u"1036,Fran\u00E7ais.lang.txt", false),
       "1036,Fran\xC3\xA7"
       "ais.lang.txt"},
      {"UTF-16 BE", Utf16Bytes(u"1036,Fran\u00E7ais.lang.txt", true),
       "1036,Fran\xC3\xA7"
       "ais.lang.txt"},
      {"ANSI without mark",
       "1036,Fran\xE7"
       "ais.lang.txt",
       "1036,Fran\xC3\xA7"
       "ais.lang.txt"},
      {"UTF-16 LE, odd final byte dropped", Utf16Bytes(u"7,a", false) + "x", "7,a"},
      {"UTF-16 LE, NUL ends the text", Utf16Bytes(u"7,a\0\n8,b"s, false), "7,a"},
      {"UTF-16 LE, lone surrogate", Utf16Bytes(u"7,\xD800z", false), "7,\xEF\xBF\xBDz"},
      {"UTF-8, invalid bytes",
       "\xEF\xBB\xBF"
       "7,\xC3",
       "7,\xEF\xBF\xBD"},
      {"ANSI, NUL ends the text",
       "7,a\0"
       "8,b"s,
       "7,a"},
      {"empty", "", ""},
      {"mark only", "\xFF\xFE", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeLanguageCodes(c.bytes, latin1), c.expected);
  }
}

TEST(LanguageCodesTest, FindsTheFileOfTheFirstLineWithTheIdentifier) {
  struct Case {
    const char* name;
    std::string csv;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"plain", "1031,German.lang.txt", "German.lang.txt"},
      {"blanks around both parts", "  1031 \t,  german.lang.txt  \r\n", "german.lang.txt"},
      {"further comma belongs to the name", "1031,German.lang.txt,x", "German.lang.txt,x"},
      {"first matching line wins", "1031,A.lang.txt\n1031,B.lang.txt", "A.lang.txt"},
      {"other identifiers skipped", "1033,English.lang.txt\r2055,X\n1031,German.lang.txt",
       "German.lang.txt"},
      {"no leading zeros", "01031,German.lang.txt", std::nullopt},
      {"identifier is not a prefix", "10311,German.lang.txt", std::nullopt},
      {"line without comma ignored", "1031 German.lang.txt\n1031,G.lang.txt", "G.lang.txt"},
      {"empty file name", "1031,", ""},
      {"garbage lines", "\x01\x02,\xFF\n,,,\n,\n\n1031,German.lang.txt", "German.lang.txt"},
      {"no line", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindLanguageFileFor(c.csv, "1031"), c.expected);
  }
}

}  // namespace
}  // namespace lb
