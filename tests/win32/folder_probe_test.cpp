// The write probe of a folder, and the other folder operations of start-up, on real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/startup_platform_win.h"
#include "platform/wide_text_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(FolderProbe, WritableFolderAnswersTrueAndKeepsNoProbeFile) {
  TempFolder folder;
  WinStartupPlatform platform;
  for (const std::string& name : {folder.Path(), folder.Path() + "\\"}) {
    // Twice: a probe file left behind by the first call would make the second one fail.
    EXPECT_TRUE(platform.IsFolderWritable(name)) << name;
    EXPECT_TRUE(platform.IsFolderWritable(name)) << name;
    EXPECT_TRUE(folder.Names().empty()) << name;
  }
}

TEST(FolderProbe, LeftoverProbeFileAnswersFalseAndStays) {
  TempFolder folder;
  folder.Put("chk.tmp", "left behind");
  WinStartupPlatform platform;
  for (const std::string& name : {folder.Path(), folder.Path() + "\\"}) {
    EXPECT_FALSE(platform.IsFolderWritable(name)) << name;
    EXPECT_EQ(folder.Get("chk.tmp"), "left behind") << name;
  }
}

TEST(FolderProbe, MissingFolderAnswersFalseAndIsNotCreated) {
  TempFolder parent;
  const std::string missing = parent.Path("missing");
  WinStartupPlatform platform;
  EXPECT_FALSE(platform.IsFolderWritable(missing));
  EXPECT_FALSE(platform.IsFolderWritable(missing + "\\"));
  EXPECT_TRUE(parent.Names().empty());
}

TEST(StartupFolders, CreateFolderMakesOneFolderAndReportsAnExistingOne) {
  TempFolder parent;
  WinStartupPlatform platform;
  const std::string company = parent.Path("BRIMLEX");
  const std::string product = company + "\\Lock Beacon";
  EXPECT_FALSE(platform.CreateFolder(product));  // its parent is missing: not made
  EXPECT_TRUE(platform.CreateFolder(company));
  EXPECT_TRUE(platform.CreateFolder(product));
  EXPECT_TRUE(fs::is_directory(ToWide(product)));
  EXPECT_FALSE(platform.CreateFolder(product));  // exists already
}

TEST(StartupFolders, AppDataFolderIsAnExistingFolder) {
  const std::string appData = WinStartupPlatform().AppDataFolder();
  ASSERT_FALSE(appData.empty());
  EXPECT_TRUE(fs::is_directory(ToWide(appData)));
}

TEST(StartupFolders, ExePathNamesTheRunningProgram) {
  const std::string exe = WinStartupPlatform().ExePath();
  const fs::path path(ToWide(exe));
  EXPECT_TRUE(path.is_absolute()) << exe;
  EXPECT_EQ(path.filename(), L"win32_tests.exe");
  EXPECT_TRUE(fs::is_regular_file(path)) << exe;
}

}  // namespace
}  // namespace lb
