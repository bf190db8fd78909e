#include "base/identity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/version_block.h"

namespace lb {
namespace {

TEST(FormatAppVersion, MajorAndMinorOfTheMostSignificantDoubleWord) {
  struct Case {
    std::uint32_t fileVersionMS;
    const char* expected;
  };
  const Case cases[] = {
      {(5u << 16) | 1u, "5.1"},    // file version 5.1.0.0
      {(10u << 16) | 0u, "10.0"},  // 10.0.3.7: build and revision are not shown
      {(1u << 16) | 12u, "1.12"},  // decimal, no padding
      {0u, "0.0"},
      {0xFFFFFFFFu, "65535.65535"},  // unknown version: all ones
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatAppVersion(c.fileVersionMS), c.expected) << std::hex << c.fileVersionMS;
  }
}

TEST(ComposeAppName, CompanyHyphenProductWithSingleSpaces) {
  EXPECT_EQ(ComposeAppName("BRIMLEX", "Lock Beacon"), "BRIMLEX - Lock Beacon");
  EXPECT_EQ(ComposeAppName("", ""), " - ");
}

TEST(VersionStringPrefix, FourLowerCaseHexDigitsEachLanguageFirst) {
  EXPECT_EQ(VersionStringPrefix(0x0409, 0x04B0), "\\StringFileInfo\\040904b0\\");
  EXPECT_EQ(VersionStringPrefix(0x0C0A, 0xFDE9), "\\StringFileInfo\\0c0afde9\\");
  EXPECT_EQ(VersionStringPrefix(0x0007, 0x0001), "\\StringFileInfo\\00070001\\");
  EXPECT_EQ(VersionStringPrefix(0xFFFF, 0x0000), "\\StringFileInfo\\ffff0000\\");
}

TEST(VersionFields, NameEachMemberInRecordOrder) {
  TEXEVersionData data;
  for (const VersionField& field : kVersionFields) data.*field.member = field.name;
  // Each member received its own name, so names and members match; the order is the record's.
  EXPECT_EQ(data.CompanyName, "CompanyName");
  EXPECT_EQ(data.FileDescription, "FileDescription");
  EXPECT_EQ(data.FileVersion, "FileVersion");
  EXPECT_EQ(data.InternalName, "InternalName");
  EXPECT_EQ(data.LegalCopyright, "LegalCopyright");
  EXPECT_EQ(data.LegalTrademarks, "LegalTrademarks");
  EXPECT_EQ(data.OriginalFileName, "OriginalFileName");
  EXPECT_EQ(data.ProductName, "ProductName");
  EXPECT_EQ(data.ProductVersion, "ProductVersion");
  EXPECT_EQ(data.Comments, "Comments");
  EXPECT_EQ(data.PrivateBuild, "PrivateBuild");
  EXPECT_EQ(data.SpecialBuild, "SpecialBuild");
  const char* const order[] = {"CompanyName",      "FileDescription", "FileVersion",
                               "InternalName",     "LegalCopyright",  "LegalTrademarks",
                               "OriginalFileName", "ProductName",     "ProductVersion",
                               "Comments",         "PrivateBuild",    "SpecialBuild"};
  for (std::size_t i = 0; i < kVersionFields.size(); ++i) {
    EXPECT_STREQ(kVersionFields[i].name, order[i]) << i;
  }
}

TEST(AppIdentity, IsOneProcessWideRecord) {
  MutableAppIdentity().AppName = "BRIMLEX - Lock Beacon";
  EXPECT_EQ(&AppIdentity(), &MutableAppIdentity());
  EXPECT_EQ(AppIdentity().AppName, "BRIMLEX - Lock Beacon");
  MutableAppIdentity() = Identity{};
}

}  // namespace
}  // namespace lb
