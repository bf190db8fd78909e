#include <gtest/gtest.h>

#include "base/client_identity.h"
#include "online/web_request.h"

namespace lb {
namespace {

struct TagCase {
  const char* line;
  const char* tag;
  const char* expected;
};

TEST(ExtractTagValue, FollowsTheReplyConvention) {
  const TagCase cases[] = {
      {"<version>5.2</version>", "version", "5.2"},
      {"<version>5.2</version>", "Version", "5.2"},  // the tag is lowered
      {"<Version>5.2</Version>", "version", ""},     // the line is compared exactly
      {" <version>5.2</version>", "version", ""},    // nothing before the opening mark
      {"<version>5.2</version> ", "version", ""},    // nor after the closing mark
      {"<version></version>", "version", ""},
      {"<url>a<b>c</url>", "url", "a<b>c"},  // angle brackets inside the value
      {"<url>https://x.test/?a=1&b=2</url>", "url", "https://x.test/?a=1&b=2"},
      {"<version>5.2</result>", "version", ""},
      {"<version>", "version", ""},  // the marks must not overlap
      {"<a></a>", "a", ""},
      {"", "version", ""},
      {"<version>5.2</version>", "", ""},
  };
  for (const TagCase& c : cases) {
    EXPECT_EQ(ExtractTagValue(c.line, c.tag), c.expected) << c.line << " / " << c.tag;
  }
}

TEST(SplitReplyLines, BreaksAtEveryKindOfLineEndAndIgnoresTheFinalOne) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitReplyLines("one\r\ntwo\r\n"), (Lines{"one", "two"}));
  EXPECT_EQ(SplitReplyLines("one\rtwo\r"), (Lines{"one", "two"}));
  EXPECT_EQ(SplitReplyLines("one\ntwo"), (Lines{"one", "two"}));
  EXPECT_EQ(SplitReplyLines("one\n\rtwo"), (Lines{"one", "", "two"}));  // LF then a lone CR
  EXPECT_EQ(SplitReplyLines("a\r\n\r\nb\r\n\r\n"), (Lines{"a", "", "b", ""}));
  EXPECT_EQ(SplitReplyLines("\n"), (Lines{""}));
  EXPECT_EQ(SplitReplyLines(""), Lines{});
}

TEST(EncodeFormBody, PercentEncodesUtf8NamesAndValuesInListOrder) {
  EXPECT_EQ(EncodeFormBody({"cmd=check", "appname=BRIMLEX - Lock Beacon", "version=5.2"}),
            "cmd=check&appname=BRIMLEX+-+Lock+Beacon&version=5.2");
  // "=" after the first belongs to the value; "&", "+", "%" and non-ASCII are escaped.
  EXPECT_EQ(EncodeFormBody({"text=a=b&c+d%", "name=G\xC3\xBCnter"}),
            "text=a%3Db%26c%2Bd%25&name=G%C3%BCnter");
  EXPECT_EQ(EncodeFormBody({"guid=", "flag"}), "guid=&flag=");
  EXPECT_EQ(EncodeFormBody({}), "");
}

TEST(IsSecureAddress, OnlyTheExactLowerCaseSchemeIsSecure) {
  EXPECT_TRUE(IsSecureAddress("https://www.example.test/php/check2.php"));
  EXPECT_FALSE(IsSecureAddress("HTTPS://www.example.test/php/check2.php"));
  EXPECT_FALSE(IsSecureAddress("http://www.example.test/php/check2.php"));
}

TEST(CharsetOf, ReadsTheDeclaredCharset) {
  EXPECT_EQ(CharsetOf("text/html; charset=UTF-8"), "utf-8");
  EXPECT_EQ(CharsetOf("text/plain;Charset=\"ISO-8859-1\""), "iso-8859-1");
  EXPECT_EQ(CharsetOf("text/plain; format=flowed; charset=windows-1254"), "windows-1254");
  EXPECT_EQ(CharsetOf("text/html"), "");
  EXPECT_EQ(CharsetOf(""), "");
}

TEST(OSDescription, FormatsWithAndWithoutServicePack) {
  EXPECT_EQ(FormatOSDescription({"Windows 10", 10, 0, 19045, 0, true}),
            "Windows 10 (Version 10.0, Build 19045, 64-bit Edition)");
  EXPECT_EQ(FormatOSDescription({"Windows 7", 6, 1, 7601, 1, false}),
            "Windows 7 Service Pack 1 (Version 6.1, Build 7601, 32-bit Edition)");
}

TEST(OSDescription, ProductNamesFollowTheVersion) {
  EXPECT_EQ(WindowsProductName(10, 0, 19045, false, false), "Windows 10");
  EXPECT_EQ(WindowsProductName(10, 0, 22631, false, false), "Windows 11");
  EXPECT_EQ(WindowsProductName(10, 0, 14393, true, false), "Windows Server 2016");
  EXPECT_EQ(WindowsProductName(6, 3, 9600, false, false), "Windows 8.1");
  EXPECT_EQ(WindowsProductName(6, 1, 7601, false, false), "Windows 7");
  EXPECT_EQ(WindowsProductName(5, 2, 3790, true, true), "Windows Server 2003 R2");
  EXPECT_EQ(WindowsProductName(4, 0, 1381, false, false), "Windows");
}

}  // namespace
}  // namespace lb
