// UTF-8 text to the UTF-16 of Win32 calls and back.
#include "platform/wide_text_win.h"

#include <gtest/gtest.h>

#include <string>

namespace lb {
namespace {

TEST(TextWinTest, ConvertsBetweenUtf8AndWideText) {
  const std::string utf8 = "M\xC3\xBCzik \xF0\x9F\x98\x80";
  const std::wstring wide = L"M\u00FCzik \xD83D\xDE00";
  EXPECT_EQ(ToWide(utf8), wide);
  EXPECT_EQ(ToUtf8(wide), utf8);
  EXPECT_EQ(ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(ToUtf8(L"\xD83D"), "\xEF\xBF\xBD");
  EXPECT_EQ(ToWide("\xFF"), L"\xFFFD");
}

}  // namespace
}  // namespace lb
