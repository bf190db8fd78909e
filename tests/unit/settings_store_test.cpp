// settings.ini through the settings store: the profile-file reading rules, the integer rule,
// writes that change one line and keep every other byte, the file's encoding, and failures.
#include "base/settings_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>

#include "fakes/fake_code_page.h"
#include "fakes/memory_file_system.h"
#include "platform/app_error.h"
#include "platform/utf.h"

namespace lb {
namespace {

constexpr const char* kPath = "C:\\Apps\\Lock Beacon\\settings.ini";
constexpr const char* kAbsent = "<absent>";

// "C:\Müzik\ŞarkıЖ.wav": "ü" is in the test code page, "Ş", "ı" and "Ж" are not.
const std::string kUnicodePath =
    "C:\\M\xC3\xBCzik\\\xC5\x9E"
    "ark\xC4\xB1\xD0\x96.wav";

std::string Utf16LeFile(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string Utf16BeFile(const std::string& utf8) {
  std::string bytes = "\xFE\xFF";
  for (const char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit >> 8);
    bytes += static_cast<char>(unit & 0xFF);
  }
  return bytes;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void Given(const std::string& bytes) { files.files[kPath] = bytes; }
  const std::string& File() const { return files.files.at(kPath); }

  test::MemoryFileSystem files;
  test::FakeCodePage codePage;
  SettingsStore store{kPath, files, codePage};
};

// ---- reading ---------------------------------------------------------------------------------

struct ReadCase {
  const char* name;
  std::string file;
  std::string key;
  std::string expected;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadStringTest : public SettingsStoreTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadStringTest, ReadsAsTheProfileFunctionsDo) {
  Given(GetParam().file);
  EXPECT_EQ(store.ReadString(GetParam().key, kAbsent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReadStringTest,
    ::testing::Values(
        ReadCase{"Plain", "[Settings]\r\nLeft=10\r\n", "Left", "10"},
        ReadCase{"KeyInOtherCase", "[Settings]\r\nleft=10\r\n", "LEFT", "10"},
        ReadCase{"LowerCaseSectionHeader", "[settings]\r\nLeft=10\r\n", "Left", "10"},
        ReadCase{"BlanksAroundEverything", " [ Settings ] \r\n\t Left \t=  10 \t\r\n", "Left",
                 "10"},
        ReadCase{"RequestedNameTrimmed", "[Settings]\r\nLeft=10\r\n", " Left ", "10"},
        ReadCase{"InnerBlanksOfANameCount", "[Settings]\r\nNum Lock = OFF\r\n", "Num Lock", "OFF"},
        ReadCase{"InnerBlanksMustMatch", "[Settings]\r\nNumLock=OFF\r\n", "Num Lock", kAbsent},
        ReadCase{"OtherBlanks",
                 "[Settings]\r\n\x1A"
                 "Left\v=\f5\x1A\r\n",
                 "Left", "5"},
        ReadCase{"NoBreakSpaceIsNoBlank", "[Settings]\r\nLeft=\xA0x\xA0\r\n", "Left",
                 "\xC2\xA0x\xC2\xA0"},
        ReadCase{"DoubleQuotesKeepBlanks", "[Settings]\r\nLeft=  \" a b \"  \r\n", "Left", " a b "},
        ReadCase{"SingleQuotes", "[Settings]\r\nLeft=' x '\r\n", "Left", " x "},
        ReadCase{"OnlyOnePairRemoved", "[Settings]\r\nLeft=\"\"x\"\"\r\n", "Left", "\"x\""},
        ReadCase{"MismatchedQuotesStay", "[Settings]\r\nLeft=\"x'\r\n", "Left", "\"x'"},
        ReadCase{"LoneQuoteStays", "[Settings]\r\nLeft=\"\r\n", "Left", "\""},
        ReadCase{"EmptyQuotes", "[Settings]\r\nLeft=\"\"\r\n", "Left", ""},
        ReadCase{"QuotesInsideStay", "[Settings]\r\nLeft=a\"b\"\r\n", "Left", "a\"b\""},
        ReadCase{"EmptyValue", "[Settings]\r\nLeft=\r\n", "Left", ""},
        ReadCase{"ValueWithEquals", "[Settings]\r\nLeft=a=b\r\n", "Left", "a=b"},
        ReadCase{"FirstKeyWins", "[Settings]\r\nLeft=1\r\nLEFT=2\r\n", "Left", "1"},
        ReadCase{"FirstSectionWins", "[Settings]\r\nLeft=1\r\n[SETTINGS]\r\nLeft=2\r\n", "Left",
                 "1"},
        ReadCase{"SecondSectionOfTheNameIsNeverRead",
                 "[Settings]\r\nLeft=1\r\n[Settings]\r\nTop=2\r\n", "Top", kAbsent},
        ReadCase{"FirstLineWithoutEqualsHidesTheKey", "[Settings]\r\nLeft\r\nLeft=2\r\n", "Left",
                 kAbsent},
        ReadCase{"KeyOfAnotherSection", "[Other]\r\nLeft=1\r\n[Settings]\r\nTop=2\r\n", "Left",
                 kAbsent},
        ReadCase{"KeyAfterTheSection", "[Settings]\r\nTop=2\r\n[Other]\r\nLeft=1\r\n", "Left",
                 kAbsent},
        ReadCase{"KeyBeforeAnySection", "Left=1\r\n[Settings]\r\n", "Left", kAbsent},
        ReadCase{"Comment", "[Settings]\r\n;Left=1\r\n", "Left", kAbsent},
        ReadCase{"TextAfterTheHeader", "[Settings] ; main\r\nLeft=1\r\n", "Left", "1"},
        ReadCase{"NameUpToTheLastBracket", "[Settings]]\r\nLeft=1\r\n", "Left", kAbsent},
        ReadCase{"HeaderWithoutBracketIsAKeyLine", "[Settings\r\nLeft=1\r\n", "Left", kAbsent},
        ReadCase{"LfLineEnds", "[Settings]\nLeft=1\nTop=2", "Top", "2"},
        ReadCase{"CrLineEnds", "[Settings]\rLeft=1\rTop=2\r", "Top", "2"},
        ReadCase{"AnsiText", "[Settings]\r\nPath=C:\\M\xFCzik\r\n", "Path", "C:\\M\xC3\xBCzik"},
        ReadCase{"Utf16Le", Utf16LeFile("[Settings]\r\nPath=" + kUnicodePath + "\r\n"), "Path",
                 kUnicodePath},
        ReadCase{"Utf16Be", Utf16BeFile("[Settings]\nPath=" + kUnicodePath), "Path", kUnicodePath},
        ReadCase{"Utf8WithMark", "\xEF\xBB\xBF[Settings]\r\nPath=" + kUnicodePath + "\r\n", "Path",
                 kUnicodePath},
        ReadCase{"EmptyFile", "", "Left", kAbsent},
        ReadCase{"EmptyKeyName", "[Settings]\r\n=1\r\n", "", kAbsent}),
    [](const auto& test) { return test.param.name; });

TEST_F(SettingsStoreTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(store.ReadString("Left", "d"), "d");
  EXPECT_EQ(store.ReadInteger("DisplayDuration", 10000), 10000);
  EXPECT_FALSE(store.KeyExists("Left"));
}

struct LongCase {
  const char* name;
  std::string value;
  std::string expected;
  std::string mark = "";  // byte-order mark of the file: none (ANSI) or UTF-8
};
void PrintTo(const LongCase& c, std::ostream* os) { *os << c.name; }

class LongValueTest : public SettingsStoreTest, public ::testing::WithParamInterface<LongCase> {};

TEST_P(LongValueTest, IsCutAt2047UnitsWithTheQuirkOfQuotedValues) {
  Given(GetParam().mark + "[Settings]\r\nKey=" + GetParam().value + "\r\n");
  EXPECT_EQ(store.ReadString("Key", kAbsent), GetParam().expected);
}

const std::string a2045(2045, 'a'), a2046(2046, 'a'), a2047(2047, 'a'), a2048(2048, 'a');
const std::string kEmoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
const std::string kUtf8Mark = "\xEF\xBB\xBF";

INSTANTIATE_TEST_SUITE_P(
    Boundary, LongValueTest,
    ::testing::Values(
        LongCase{"Unquoted2047", a2047, a2047}, LongCase{"Unquoted2048", a2048, a2047},
        LongCase{"Unquoted5000", std::string(5000, 'b'), std::string(2047, 'b')},
        // The text after the opening quote is what counts: up to 2048 units (closing quote
        // included) lose their last copied unit, which is the closing quote only when it fit.
        LongCase{"Quoted2045", "\"" + a2045 + "\"", a2045},
        LongCase{"Quoted2046", "\"" + a2046 + "\"", a2046},
        LongCase{"Quoted2047LosesOneCharacter", "\"" + a2047 + "\"", a2046},
        LongCase{"Quoted2048", "'" + a2048 + "'", a2047},
        LongCase{"Quoted3000", "'" + std::string(3000, 'c') + "'", std::string(2047, 'c')},
        LongCase{"PairCutInTwoIsDropped", a2046 + kEmoji, a2046, kUtf8Mark},
        LongCase{"PairBeforeTheCutStays", a2045 + kEmoji + "zz", a2045 + kEmoji, kUtf8Mark},
        LongCase{"NonAsciiCountsInUnits", std::string(3000, '\xFC'),
                 [] {
                   std::string s;
                   for (int i = 0; i < 2047; ++i) s += "\xC3\xBC";
                   return s;
                 }()}),
    [](const auto& test) { return test.param.name; });

TEST_F(SettingsStoreTest, EveryReadGoesToTheFile) {
  Given("[Settings]\r\nLeft=1\r\n");
  EXPECT_EQ(store.ReadString("Left", ""), "1");
  Given("[Settings]\r\nLeft=2\r\n");  // changed by someone else
  EXPECT_EQ(store.ReadString("Left", ""), "2");
  EXPECT_EQ(files.reads, 2);
}

// While the file is held, reads and writes use the content read once; a write still goes to
// the file at once and is read back from the content kept. Once the hold ends, a change made
// behind the store's back is seen again.
TEST_F(SettingsStoreTest, HeldFileIsReadOnceForEveryReadAndWrite) {
  Given("[Settings]\r\nLeft=1\r\n");
  {
    const auto held = store.HoldFile();
    EXPECT_EQ(store.ReadString("Left", ""), "1");
    EXPECT_TRUE(store.KeyExists("Left"));
    store.WriteInteger("Top", 2);
    EXPECT_EQ(File(), "[Settings]\r\nLeft=1\r\nTop=2\r\n");
    Given("[Settings]\r\nLeft=9\r\n");  // not seen while held
    EXPECT_EQ(store.ReadInteger("Top", 0), 2);
    EXPECT_EQ(store.ReadString("Left", ""), "1");
    EXPECT_EQ(files.reads, 1);
  }
  EXPECT_EQ(store.ReadString("Left", ""), "9");
  EXPECT_FALSE(store.KeyExists("Top"));
  EXPECT_EQ(files.reads, 3);
}

// A refused write leaves the content kept as the file still is.
TEST_F(SettingsStoreTest, RefusedWriteWhileHeldKeepsTheStoredValue) {
  Given("[Settings]\r\nLeft=1\r\n");
  const auto held = store.HoldFile();
  files.refuseWrites = true;
  EXPECT_THROW(store.WriteInteger("Left", 5), AppError);
  EXPECT_EQ(store.ReadString("Left", ""), "1");
  EXPECT_EQ(files.reads, 1);
}

// A file larger than any settings file (a stray huge file) is handled as one that cannot be
// read: every key has its default, and a write fails without replacing it. One byte less and it
// is read.
TEST_F(SettingsStoreTest, FileOverOneMebibyteIsUnreadableAndNotReplaced) {
  std::string huge = "[Settings]\r\nLeft=1\r\n";
  huge.resize(kMaxTextFileBytes + 1, ' ');
  Given(huge);
  EXPECT_EQ(store.ReadString("Left", "default"), "default");
  EXPECT_FALSE(store.KeyExists("Left"));
  EXPECT_THROW(store.WriteInteger("Width", 300), AppError);
  EXPECT_EQ(File(), huge);
  EXPECT_EQ(files.writes, 0);

  huge.pop_back();
  Given(huge);
  EXPECT_EQ(store.ReadString("Left", "default"), "1");
}

// ---- integers --------------------------------------------------------------------------------

struct IntegerCase {
  const char* text;
  std::int32_t expected;
};
void PrintTo(const IntegerCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseProfileIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

constexpr std::int32_t kDefault = -777;

TEST_P(ParseProfileIntegerTest, ReadsDecimalAndHexadecimalOrGivesTheDefault) {
  EXPECT_EQ(ParseProfileInteger(GetParam().text, kDefault), GetParam().expected)
      << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseProfileIntegerTest,
    ::testing::Values(
        IntegerCase{"500", 500}, IntegerCase{"0", 0}, IntegerCase{"007", 7}, IntegerCase{"-5", -5},
        IntegerCase{"+5", 5}, IntegerCase{"-0", 0}, IntegerCase{"2147483647", 2147483647},
        IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"2147483648", kDefault},
        IntegerCase{"-2147483649", kDefault}, IntegerCase{"99999999999999999999", kDefault},
        IntegerCase{"0x1F4", 500}, IntegerCase{"0X1f4", 500}, IntegerCase{"$1F4", 500},
        IntegerCase{"$1f4", 500}, IntegerCase{"0x0", 0}, IntegerCase{"0x7FFFFFFF", 2147483647},
        IntegerCase{"0x80000000", kDefault}, IntegerCase{"$FFFFFFFF", kDefault},
        IntegerCase{"0x", kDefault}, IntegerCase{"$", kDefault}, IntegerCase{"0xG", kDefault},
        IntegerCase{"-0x10", kDefault}, IntegerCase{"0x-1", kDefault}, IntegerCase{"$-1", kDefault},
        IntegerCase{"abc", kDefault}, IntegerCase{"12abc", kDefault}, IntegerCase{"1 2", kDefault},
        IntegerCase{" 12", kDefault}, IntegerCase{"12 ", kDefault}, IntegerCase{"", kDefault},
        IntegerCase{"-", kDefault}, IntegerCase{"+", kDefault}, IntegerCase{"+-1", kDefault},
        IntegerCase{"1.5", kDefault}, IntegerCase{"1e3", kDefault}));

TEST_F(SettingsStoreTest, ReadIntegerTakesTheStoredTextAsItIsRead) {
  Given(
      "[Settings]\r\nDisplayDuration=0x1F4\r\nLeft=  12  \r\nTop=\"-30\"\r\nWidth=abc\r\n"
      "Height=\r\n");
  EXPECT_EQ(store.ReadInteger("DisplayDuration", 10000), 500);
  EXPECT_EQ(store.ReadInteger("Left", 0), 12);  // blanks around a value are not part of it
  EXPECT_EQ(store.ReadInteger("Top", 0), -30);  // nor are enclosing quotes
  EXPECT_EQ(store.ReadInteger("Width", 10000), 10000);
  EXPECT_EQ(store.ReadInteger("Height", 42), 42);
  EXPECT_EQ(store.ReadInteger("Missing", 7), 7);
}

TEST_F(SettingsStoreTest, WriteIntegerWritesDecimal) {
  store.WriteInteger("Left", -1280);
  store.WriteInteger("Top", 0);
  store.WriteInteger("Min", -2147483647 - 1);
  EXPECT_EQ(File(), "[Settings]\r\nLeft=-1280\r\nTop=0\r\nMin=-2147483648\r\n");
  EXPECT_EQ(store.ReadInteger("Min", 0), -2147483647 - 1);
}

// ---- key exists ------------------------------------------------------------------------------

TEST_F(SettingsStoreTest, KeyExistsForEveryListedKeyOfTheFirstSection) {
  Given(
      ";Top=1\r\n[Other]\r\nWidth=1\r\n[settings]\r\nplay mode=\r\nLeft\r\n;Height=1\r\n"
      "Extra = x\r\n[Settings]\r\nTop=2\r\n");
  EXPECT_TRUE(store.KeyExists("Play Mode"));  // other case, empty value
  EXPECT_TRUE(store.KeyExists("Extra"));
  EXPECT_FALSE(store.KeyExists("Left"));    // no "=": not listed
  EXPECT_FALSE(store.KeyExists("Height"));  // a comment
  EXPECT_FALSE(store.KeyExists("Width"));   // another section
  EXPECT_FALSE(store.KeyExists("Top"));     // the second section of the name
}

// ---- writing ---------------------------------------------------------------------------------

TEST_F(SettingsStoreTest, FirstWriteCreatesTheFile) {
  store.WriteInteger("Left", 1);
  EXPECT_EQ(File(), "[Settings]\r\nLeft=1\r\n");
}

TEST_F(SettingsStoreTest, WritesChangeOneLineAndKeepEveryOtherByte) {
  const std::string before =
      "; Lock Beacon\r\n"
      "\r\n"
      "[Other]\r\n"
      "Left=9\r\n"
      "\r\n"
      "[Settings]\r\n"
      "; window\r\n"
      "Unknown = keep  me \r\n"
      "Left=5\r\n"
      "\r\n"
      "\t\r\n"
      "[Third]\r\n"
      "A=1\r\n";
  Given(before);

  store.WriteInteger("Left", 7);
  store.WriteInteger("Top", 3);
  store.WriteString("Unknown", "kept?");

  EXPECT_EQ(File(),
            "; Lock Beacon\r\n"
            "\r\n"
            "[Other]\r\n"
            "Left=9\r\n"
            "\r\n"
            "[Settings]\r\n"
            "; window\r\n"
            "Unknown=kept?\r\n"
            "Left=7\r\n"
            "Top=3\r\n"
            "\r\n"
            "\t\r\n"
            "[Third]\r\n"
            "A=1\r\n");
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string key;
  std::string value;
  std::string after;
};
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class WriteStringTest : public SettingsStoreTest,
                        public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteStringTest, ChangesTheFileAsExpected) {
  Given(GetParam().before);
  store.WriteString(GetParam().key, GetParam().value);
  EXPECT_EQ(File(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WriteStringTest,
    ::testing::Values(
        WriteCase{"NameKeepsItsSpellingInTheFile", "[settings]\r\n  left  =  5  \r\n", "Left", "7",
                  "[settings]\r\nleft=7\r\n"},
        WriteCase{"LfOnlyFileKeepsItsLineEnds", "[Settings]\nLeft=5\nTop=1\n", "Left", "6",
                  "[Settings]\nLeft=6\nTop=1\n"},
        WriteCase{"NewLineInAnLfFileEndsInCrLf", "[Settings]\nLeft=5\n", "Top", "1",
                  "[Settings]\nLeft=5\nTop=1\r\n"},
        WriteCase{"LastLineWithoutEndGetsOne", "[Settings]\r\nLeft=5", "Top", "1",
                  "[Settings]\r\nLeft=5\r\nTop=1\r\n"},
        WriteCase{"ChangedLastLineStaysWithoutEnd", "[Settings]\r\nLeft=5", "Left", "6",
                  "[Settings]\r\nLeft=6"},
        WriteCase{"MissingSectionIsAppended", "[Other]\r\nA=1", "Left", "1",
                  "[Other]\r\nA=1\r\n[Settings]\r\nLeft=1\r\n"},
        WriteCase{"EmptyFile", "", "Left", "1", "[Settings]\r\nLeft=1\r\n"},
        WriteCase{"EmptySectionGetsTheKeyAfterItsHeader", "[Settings]\r\n\r\n[Other]\r\n", "Left",
                  "1", "[Settings]\r\nLeft=1\r\n\r\n[Other]\r\n"},
        WriteCase{"NewKeyGoesToTheFirstSectionOfTheName",
                  "[Settings]\r\nA=1\r\n[Settings]\r\nB=2\r\n", "B", "3",
                  "[Settings]\r\nA=1\r\nB=3\r\n[Settings]\r\nB=2\r\n"},
        WriteCase{"LineWithoutEqualsGetsTheValue", "[Settings]\r\nLeft\r\nLeft=2\r\n", "Left", "1",
                  "[Settings]\r\nLeft=1\r\nLeft=2\r\n"},
        WriteCase{"CommentAtTheEndOfTheSectionStaysAbove", "[Settings]\r\nA=1\r\n;end\r\n", "B",
                  "2", "[Settings]\r\nA=1\r\n;end\r\nB=2\r\n"},
        WriteCase{"LeadingBlanksOfTheValueAreDropped", "", "Left", " \t x y ",
                  "[Settings]\r\nLeft=x y \r\n"},
        WriteCase{"EmptyValue", "[Settings]\r\nLeft=5\r\n", "Left", "", "[Settings]\r\nLeft=\r\n"},
        WriteCase{"KeyNameTrimmed", "", " Num Lock ", "OFF", "[Settings]\r\nNum Lock=OFF\r\n"},
        WriteCase{"AnsiValueStaysAnsi", "[Settings]\r\n", "Path", "C:\\M\xC3\xBCzik",
                  "[Settings]\r\nPath=C:\\M\xFCzik\r\n"},
        WriteCase{"Utf16BeStaysUtf16Be", Utf16BeFile("[Settings]\r\nLeft=1\r\n"), "Left", "2",
                  Utf16BeFile("[Settings]\r\nLeft=2\r\n")},
        WriteCase{"Utf8StaysUtf8", "\xEF\xBB\xBF[Settings]\r\nLeft=1\r\n", "Path", kUnicodePath,
                  "\xEF\xBB\xBF[Settings]\r\nLeft=1\r\nPath=" + kUnicodePath + "\r\n"}),
    [](const auto& test) { return test.param.name; });

TEST_F(SettingsStoreTest, UnchangedValueIsNotWritten) {
  Given("[Settings]\r\nLeft=  5  \r\nTop=\r\n");
  store.WriteString("LEFT", "5");
  store.WriteString("Left", "  5");  // its leading blanks are not stored
  store.WriteString("Top", "");
  EXPECT_EQ(files.writes, 0);

  store.WriteString("Left", "5 ");  // a trailing blank is a change
  EXPECT_EQ(files.writes, 1);
  EXPECT_EQ(File(), "[Settings]\r\nLeft=5 \r\nTop=\r\n");
}

TEST_F(SettingsStoreTest, FileDeletedWhileRunningIsCreatedAgainWithOnlyTheNewKey) {
  store.WriteInteger("Left", 1);
  store.WriteInteger("Top", 2);
  files.files.erase(kPath);
  store.WriteString("Num Lock", "OFF");
  EXPECT_EQ(File(), "[Settings]\r\nNum Lock=OFF\r\n");
}

TEST_F(SettingsStoreTest, TextsThatWouldBreakTheFileAreRefused) {
  Given("[Settings]\r\nLeft=1\r\n");
  const struct {
    std::string key;
    std::string value;
  } refused[] = {
      {"", "1"},
      {"  ", "1"},
      {"A=B", "1"},
      {"[Other]", "1"},
      {" [x", "1"},
      {"Le\r\nft", "1"},
      {"Left", "1\r\n[Other]"},
      {"Left", "1\nTop=2"},
      {"Left", "1\r"},
      {"Left", std::string("1\0"
                           "2",
                           3)},
      {std::string("Le\0ft", 5), "1"},
      {"Left", "M\xFCzik"},  // not UTF-8
  };
  for (const auto& c : refused) {
    EXPECT_THROW(store.WriteString(c.key, c.value), std::invalid_argument) << c.key << c.value;
  }
  EXPECT_EQ(File(), "[Settings]\r\nLeft=1\r\n");
  EXPECT_EQ(files.writes, 0);
}

TEST_F(SettingsStoreTest, RefusedWriteIsAnErrorNamingTheFile) {
  files.refuseWrites = true;
  try {
    store.WriteInteger("Left", 1);
    FAIL() << "expected AppError";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to C:\\Apps\\Lock Beacon\\settings.ini");
  }
  EXPECT_FALSE(files.FileExists(kPath));
}

// A file that may not be written (read-only, say) is reported also when the value is already
// stored: the start-up position save tells the user at every start.
TEST_F(SettingsStoreTest, UnchangedValueInAFileThatRefusesWritingIsAnError) {
  Given("[Settings]\r\nLeft=1\r\n");
  files.refuseWrites = true;
  EXPECT_THROW(store.WriteInteger("Left", 1), AppError);
  EXPECT_EQ(File(), "[Settings]\r\nLeft=1\r\n");
}

TEST_F(SettingsStoreTest, FileThatCannotBeReadIsNotReplaced) {
  Given("[Settings]\r\nLeft=1\r\nTop=2\r\n");
  files.unreadable.insert(kPath);
  EXPECT_THROW(store.WriteInteger("Width", 300), AppError);
  EXPECT_EQ(File(), "[Settings]\r\nLeft=1\r\nTop=2\r\n");
}

// ---- text the code page cannot hold ---------------------------------------------------------

TEST_F(SettingsStoreTest, UnicodeValueTurnsANewFileIntoUtf16) {
  store.WriteString("SoundEffectON", kUnicodePath);
  EXPECT_EQ(File(), Utf16LeFile("[Settings]\r\nSoundEffectON=" + kUnicodePath + "\r\n"));
  EXPECT_EQ(store.ReadString("SoundEffectON", ""), kUnicodePath);
}

TEST_F(SettingsStoreTest, UnicodeValueTurnsAnAnsiFileIntoUtf16AndKeepsItsText) {
  Given(
      "; \xE9t\xE9\r\n"
      "[Settings]\n"
      "LanguageFile=Fran\xE7"
      "ais.lang.txt\r\n"
      "\r\n"
      "[Other]\r\n"
      "X = 1 ");
  store.WriteString("SoundEffectON", kUnicodePath);

  EXPECT_EQ(File(), Utf16LeFile("; \xC3\xA9t\xC3\xA9\r\n"
                                "[Settings]\n"
                                "LanguageFile=Fran\xC3\xA7"
                                "ais.lang.txt\r\n"
                                "SoundEffectON=" +
                                kUnicodePath +
                                "\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "X = 1 "));
  EXPECT_EQ(store.ReadString("SoundEffectON", ""), kUnicodePath);
  EXPECT_EQ(store.ReadString("LanguageFile", ""),
            "Fran\xC3\xA7"
            "ais.lang.txt");

  // From now on the file stays UTF-16, whatever is written.
  store.WriteInteger("Left", 5);
  EXPECT_EQ(File().substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(store.ReadInteger("Left", 0), 5);
  EXPECT_EQ(store.ReadString("SoundEffectON", ""), kUnicodePath);
}

TEST_F(SettingsStoreTest, Utf16FileKeepsUntouchedLinesByteForByte) {
  // An unpaired surrogate in another line survives because the line is not re-encoded.
  std::string before = Utf16LeFile("[Settings]\r\nLeft=1\r\nOdd=");
  before += std::string("\x3D\xD8", 2);  // U+D83D alone
  before += Utf16LeFile("\r\n").substr(2);
  Given(before);
  store.WriteInteger("Left", 2);

  std::string after = Utf16LeFile("[Settings]\r\nLeft=2\r\nOdd=");
  after += std::string("\x3D\xD8", 2);
  after += Utf16LeFile("\r\n").substr(2);
  EXPECT_EQ(File(), after);
}

}  // namespace
}  // namespace lb
