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
  const VersionBlock data = platform.ReadVersionBlock(exe);
  EXPECT_EQ(data.companyName, "BRIMLEX");
  EXPECT_EQ(data.productName, "Lock Beacon");
  // The project's VERSION, through the header the build writes for the resources.
  EXPECT_EQ(data.fileVersion, LOCKBEACON_PROJECT_VERSION);
  EXPECT_EQ(data.productVersion, LOCKBEACON_PROJECT_VERSION);
  EXPECT_EQ(data.fileDescription, "Lock Beacon");
  EXPECT_EQ(data.internalName, "LockBeacon");
  EXPECT_EQ(data.legalCopyright, "Copyright (C) 2026 BRIMLEX");
  // The resource spells the key "OriginalFilename"; the lookup ignores letter case.
  EXPECT_EQ(data.originalFileName, "LockBeacon.exe");
  EXPECT_EQ(data.legalTrademarks, "");
  EXPECT_EQ(data.comments, "");
  EXPECT_EQ(data.privateBuild, "");
  EXPECT_EQ(data.specialBuild, "");

  const std::optional<std::uint32_t> fileVersionMS = platform.FileVersionMS(exe);
  ASSERT_TRUE(fileVersionMS.has_value());
  EXPECT_EQ(FormatAppVersion(*fileVersionMS), "1.0");
  EXPECT_EQ(ComposeAppName(data.companyName, data.productName), "BRIMLEX - Lock Beacon");
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
  const VersionBlock data =
      WinStartupPlatform().ReadVersionBlock(FixturePath("version_5_1_0_0.dll"));
  EXPECT_EQ(data.companyName, "Fixture Company");
  EXPECT_EQ(data.fileDescription, "Fixture 5.1");
  EXPECT_EQ(data.fileVersion, "5.1.0.0");
  EXPECT_EQ(data.internalName, "version_5_1_0_0");
  EXPECT_EQ(data.legalCopyright, "Copyright (C) Fixture Company");
  EXPECT_EQ(data.legalTrademarks, "Fixture(TM)");
  EXPECT_EQ(data.originalFileName, "version_5_1_0_0.dll");
  EXPECT_EQ(data.productName, "Fixture Product");
  EXPECT_EQ(data.productVersion, "5.1");
  EXPECT_EQ(data.comments, "A test fixture");
  EXPECT_EQ(data.privateBuild, "private");
  EXPECT_EQ(data.specialBuild, "special");
}

TEST(VersionInfo, MissingStringsStayEmpty) {
  const VersionBlock data =
      WinStartupPlatform().ReadVersionBlock(FixturePath("missing_strings.dll"));
  EXPECT_EQ(data.companyName, "Fixture Company");
  EXPECT_EQ(data.fileVersion, "2.3.0.0");
  EXPECT_EQ(data.productName, "");
  EXPECT_EQ(data.fileDescription, "");
  EXPECT_EQ(data.originalFileName, "");
  EXPECT_EQ(data.comments, "");  // present, but empty
}

TEST(VersionInfo, FirstTranslationChoosesTheStringTable) {
  const VersionBlock data = WinStartupPlatform().ReadVersionBlock(FixturePath("german_first.dll"));
  EXPECT_EQ(data.companyName, "German table");
  EXPECT_EQ(data.productName, "German product");
}

TEST(VersionInfo, FileWithoutVersionBlockOrTranslationFailsWithTheSystemsMessage) {
  const char* const fixtures[] = {"no_version_block.dll", "no_translation.dll",
                                  "does_not_exist.dll"};
  WinStartupPlatform platform;
  for (const char* fixture : fixtures) {
    try {
      static_cast<void>(platform.ReadVersionBlock(FixturePath(fixture)));
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
