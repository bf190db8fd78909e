// UTF-8 <-> UTF-16: the one pair of conversions between the program's text and the Win32 edge.
#include "platform/utf.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace lb {
namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};
void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8ToUtf16Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16Test, DecodesEachMaximalBadSequenceAsOneReplacement) {
  EXPECT_EQ(Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8ToUtf16Test,
    ::testing::Values(
        Utf8Case{"Empty", "", u""}, Utf8Case{"Ascii", "Left=1", u"Left=1"},
        Utf8Case{"TwoBytes", "M\xC3\xBCzik \xD0\x96", u"M\u00FCzik \u0416"},
        Utf8Case{"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},
        Utf8Case{"FourBytesBecomeASurrogatePair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        Utf8Case{"LoneContinuationByte", "a\x80z", u"a\uFFFDz"},
        Utf8Case{"TruncatedAtTheEnd", "a\xE2\x82", u"a\uFFFD"},
        Utf8Case{"TruncatedBeforeAscii",
                 "\xE2\x82"
                 "A",
                 u"\uFFFDA"},
        Utf8Case{"TruncatedFourByteSequence", "\xF0\x9F\x98", u"\uFFFD"},
        Utf8Case{"OverlongTwoBytes", "\xC0\x80", u"\uFFFD\uFFFD"},
        Utf8Case{"OverlongThreeBytes", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"AboveTheLastCodePoint", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"InvalidLeadBytes", "\xF5\xFF", u"\uFFFD\uFFFD"}),
    [](const auto& test) { return test.param.name; });

struct Utf16Case {
  const char* name;
  std::u16string utf16;
  std::string utf8;
};
void PrintTo(const Utf16Case& c, std::ostream* os) { *os << c.name; }

class Utf16ToUtf8Test : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ToUtf8Test, JoinsPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf16ToUtf8Test,
    ::testing::Values(Utf16Case{"Empty", u"", ""},
                      Utf16Case{"Bmp", u"\u015Eark\u0131\u0416\u20AC",
                                "\xC5\x9E"
                                "ark\xC4\xB1\xD0\x96\xE2\x82\xAC"},
                      Utf16Case{"Pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
                      Utf16Case{"LoneHighAtTheEnd", u"a\xD83D", "a\xEF\xBF\xBD"},
                      Utf16Case{"HighBeforeAscii",
                                u"\xD83D"
                                "A",
                                "\xEF\xBF\xBD"
                                "A"},
                      Utf16Case{"LoneLow", u"\xDE00", "\xEF\xBF\xBD"},
                      Utf16Case{"PairInWrongOrder", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"}),
    [](const auto& test) { return test.param.name; });

TEST(UtfTest, EveryScalarValueSurvivesTheRoundTrip) {
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x800 ? 1 : 37)) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all += static_cast<char16_t>(cp);
    } else {
      all += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      all += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  const std::string utf8 = Utf16ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToUtf16(utf8), all);
}

TEST(UtfTest, ValidityCheck) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("C:\\M\xC3\xBCzik\\\xF0\x9F\x98\x80.wav"));
  EXPECT_FALSE(IsValidUtf8("M\xFCzik"));  // Latin-1, not UTF-8
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));
}

TEST(UtfTest, CodeUnitsAsFileBytesInEitherByteOrder) {
  using namespace std::string_literals;
  const std::u16string units = u"A\u00E9\U0001F600";
  const std::string little = "A\0\xE9\0\x3D\xD8\x00\xDE"s;
  const std::string big = "\0A\0\xE9\xD8\x3D\xDE\x00"s;
  EXPECT_EQ(Utf16UnitsToBytes(units, false), little);
  EXPECT_EQ(Utf16UnitsToBytes(units, true), big);
  EXPECT_EQ(Utf16UnitsFromBytes(little, false), units);
  EXPECT_EQ(Utf16UnitsFromBytes(big, true), units);
  EXPECT_EQ(Utf16UnitsFromBytes(little + "x", false), units);  // the odd byte is dropped
}

}  // namespace
}  // namespace lb
