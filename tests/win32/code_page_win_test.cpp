// The ANSI code page as the profile functions use it. Wine's test prefix runs with the
// Western European code page 1252.
#include "platform/code_page_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace lb {
namespace {

class Win32CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "written for code page 1252, not " << GetACP();
  }
  Win32CodePage codePage;
};

TEST_F(Win32CodePageTest, DecodesAsTheSystemDoes) {
  EXPECT_EQ(codePage.Decode("M\xFCzik \x80"), "M\xC3\xBCzik \xE2\x82\xAC");
  EXPECT_EQ(codePage.Decode(""), "");
}

TEST_F(Win32CodePageTest, EncodesOnlyWhatItHoldsExactly) {
  EXPECT_EQ(codePage.Encode("Left=1"), "Left=1");
  EXPECT_EQ(codePage.Encode(""), "");
  EXPECT_EQ(codePage.Encode("M\xC3\xBCzik \xE2\x82\xAC"), "M\xFCzik \x80");
  // Characters a best fit would turn into others ("S", "i", "?").
  EXPECT_EQ(codePage.Encode("\xC5\x9E"), std::nullopt);          // Ş
  EXPECT_EQ(codePage.Encode("\xC4\xB1"), std::nullopt);          // ı
  EXPECT_EQ(codePage.Encode("\xD0\x96"), std::nullopt);          // Ж
  EXPECT_EQ(codePage.Encode("\xF0\x9F\x98\x80"), std::nullopt);  // outside the BMP
  EXPECT_EQ(codePage.Encode("?"), "?");                          // the default character itself
  EXPECT_EQ(codePage.Encode("M\xFCzik"), std::nullopt);          // not UTF-8
}

TEST_F(Win32CodePageTest, EveryByteDecodesAndEncodesBack) {
  for (int b = 1; b < 256; ++b) {
    const std::string ansi(1, static_cast<char>(b));
    EXPECT_EQ(codePage.Encode(codePage.Decode(ansi)), ansi) << "byte " << b;
  }
}

}  // namespace
}  // namespace lb
