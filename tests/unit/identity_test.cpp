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
  VersionBlock data;
  for (const VersionField& field : kVersionFields) data.*field.member = field.name;
  // Each member received its own name, so names and members match; the order is the record's.
  EXPECT_EQ(data.companyName, "CompanyName");
  EXPECT_EQ(data.fileDescription, "FileDescription");
  EXPECT_EQ(data.fileVersion, "FileVersion");
  EXPECT_EQ(data.internalName, "InternalName");
  EXPECT_EQ(data.legalCopyright, "LegalCopyright");
  EXPECT_EQ(data.legalTrademarks, "LegalTrademarks");
  EXPECT_EQ(data.originalFileName, "OriginalFileName");
  EXPECT_EQ(data.productName, "ProductName");
  EXPECT_EQ(data.productVersion, "ProductVersion");
  EXPECT_EQ(data.comments, "Comments");
  EXPECT_EQ(data.privateBuild, "PrivateBuild");
  EXPECT_EQ(data.specialBuild, "SpecialBuild");
  const char* const order[] = {"CompanyName",      "FileDescription", "FileVersion",
                               "InternalName",     "LegalCopyright",  "LegalTrademarks",
                               "OriginalFileName", "ProductName",     "ProductVersion",
                               "Comments",         "PrivateBuild",    "SpecialBuild"};
  for (std::size_t i = 0; i < kVersionFields.size(); ++i) {
    EXPECT_STREQ(kVersionFields[i].name, order[i]) << i;
  }
}

TEST(AppIdentity, IsOneProcessWideRecord) {
  MutableAppIdentity().appName = "BRIMLEX - Lock Beacon";
  EXPECT_EQ(&AppIdentity(), &MutableAppIdentity());
  EXPECT_EQ(AppIdentity().appName, "BRIMLEX - Lock Beacon");
  MutableAppIdentity() = Identity{};
}

}  // namespace
}  // namespace lb
