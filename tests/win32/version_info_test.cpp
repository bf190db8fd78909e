// The version block read back from the built program and from small fixture DLLs.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/identity.h"
#include "base/startup_platform_win.h"
#include "platform/app_error.h"
#include "win32/host_paths.h"

namespace lb {
namespace {

using test::FixturePath;
using test::HostPath;

TEST(VersionInfo, ProgramCarriesItsIdentity) {
  WinStartupPlatform platform;
  const std::string exe = HostPath(LOCKBEACON_EXE_PATH);
  const TEXEVersionData data = platform.ReadExeVersionData(exe);
  EXPECT_EQ(data.CompanyName, "BRIMLEX");
  EXPECT_EQ(data.ProductName, "Lock Beacon");
  EXPECT_EQ(data.FileVersion, "1.0.0.0");
  EXPECT_EQ(data.ProductVersion, "1.0.0.0");
  EXPECT_EQ(data.FileDescription, "Lock Beacon");
  EXPECT_EQ(data.InternalName, "LockBeacon");
  EXPECT_EQ(data.LegalCopyright, "Copyright (C) 2026 BRIMLEX");
  // The resource spells the key "OriginalFilename"; the lookup ignores letter case.
  EXPECT_EQ(data.OriginalFileName, "LockBeacon.exe");
  EXPECT_EQ(data.LegalTrademarks, "");
  EXPECT_EQ(data.Comments, "");
  EXPECT_EQ(data.PrivateBuild, "");
  EXPECT_EQ(data.SpecialBuild, "");

  const std::optional<std::uint32_t> fileVersionMS = platform.FileVersionMS(exe);
  ASSERT_TRUE(fileVersionMS.has_value());
  EXPECT_EQ(FormatAppVersion(*fileVersionMS), "1.0");
  EXPECT_EQ(ComposeAppName(data.CompanyName, data.ProductName), "BRIMLEX - Lock Beacon");
}

TEST(VersionInfo, AppVersionIsMajorAndMinorOfTheFixedFileVersion) {
  struct Case {
    const char* fixture;
    const char* appVersion;
  };
  const Case cases[] = {
      {"version_5_1_0_0.dll", "5.1"},
      {"version_10_0_3_7.dll", "10.0"},
  };
  WinStartupPlatform platform;
  for (const Case& c : cases) {
    const std::optional<std::uint32_t> fileVersionMS =
        platform.FileVersionMS(FixturePath(c.fixture));
    ASSERT_TRUE(fileVersionMS.has_value()) << c.fixture;
    EXPECT_EQ(FormatAppVersion(*fileVersionMS), c.appVersion) << c.fixture;
  }
}

TEST(VersionInfo, FileVersionIsUnknownWithoutVersionBlock) {
  WinStartupPlatform platform;
  EXPECT_EQ(platform.FileVersionMS(FixturePath("no_version_block.dll")), std::nullopt);
  EXPECT_EQ(platform.FileVersionMS(FixturePath("does_not_exist.dll")), std::nullopt);
}

TEST(VersionInfo, ReadsAllTwelveStringsInRecordOrder) {
  const TEXEVersionData data =
      WinStartupPlatform().ReadExeVersionData(FixturePath("version_5_1_0_0.dll"));
  EXPECT_EQ(data.CompanyName, "Fixture Company");
  EXPECT_EQ(data.FileDescription, "Fixture 5.1");
  EXPECT_EQ(data.FileVersion, "5.1.0.0");
  EXPECT_EQ(data.InternalName, "version_5_1_0_0");
  EXPECT_EQ(data.LegalCopyright, "Copyright (C) Fixture Company");
  EXPECT_EQ(data.LegalTrademarks, "Fixture(TM)");
  EXPECT_EQ(data.OriginalFileName, "version_5_1_0_0.dll");
  EXPECT_EQ(data.ProductName, "Fixture Product");
  EXPECT_EQ(data.ProductVersion, "5.1");
  EXPECT_EQ(data.Comments, "A test fixture");
  EXPECT_EQ(data.PrivateBuild, "private");
  EXPECT_EQ(data.SpecialBuild, "special");
}

TEST(VersionInfo, MissingStringsStayEmpty) {
  const TEXEVersionData data =
      WinStartupPlatform().ReadExeVersionData(FixturePath("missing_strings.dll"));
  EXPECT_EQ(data.CompanyName, "Fixture Company");
  EXPECT_EQ(data.FileVersion, "2.3.0.0");
  EXPECT_EQ(data.ProductName, "");
  EXPECT_EQ(data.FileDescription, "");
  EXPECT_EQ(data.OriginalFileName, "");
  EXPECT_EQ(data.Comments, "");  // present, but empty
}

TEST(VersionInfo, FirstTranslationChoosesTheStringTable) {
  const TEXEVersionData data =
      WinStartupPlatform().ReadExeVersionData(FixturePath("german_first.dll"));
  EXPECT_EQ(data.CompanyName, "German table");
  EXPECT_EQ(data.ProductName, "German product");
}

TEST(VersionInfo, FileWithoutVersionBlockOrTranslationFailsWithTheSystemsMessage) {
  const char* const fixtures[] = {"no_version_block.dll", "no_translation.dll",
                                  "does_not_exist.dll"};
  WinStartupPlatform platform;
  for (const char* fixture : fixtures) {
    try {
      static_cast<void>(platform.ReadExeVersionData(FixturePath(fixture)));
      ADD_FAILURE() << fixture << ": no error";
    } catch (const AppError& error) {
      const std::string message = error.what();
      EXPECT_FALSE(message.empty()) << fixture;
      // A failure is never reported with the text of success.
      EXPECT_EQ(message.find("completed successfully"), std::string::npos)
          << fixture << ": " << message;
    }
  }
}

}  // namespace
}  // namespace lb
