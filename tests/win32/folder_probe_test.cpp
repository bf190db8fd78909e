// The write probe of a folder, and the other folder operations of start-up, on real folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup_platform_win.h"
#include "ui/text_win.h"

namespace lb {
namespace {

namespace fs = std::filesystem;

// A fresh, empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() / ("lb-probe-" + std::to_string(::GetCurrentProcessId()) +
                                         "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return path_; }
  // The folder as the program names it, without a trailing backslash.
  std::string Name() const { return ToUtf8(path_.wstring()); }

 private:
  fs::path path_;
};

std::string ReadAll(const fs::path& file) {
  std::string content(static_cast<std::size_t>(fs::file_size(file)), '\0');
  std::ifstream(file, std::ios::binary)
      .read(content.data(), static_cast<std::streamsize>(content.size()));
  return content;
}

TEST(FolderProbe, WritableFolderAnswersTrueAndKeepsNoProbeFile) {
  TempFolder folder;
  WinStartupPlatform platform;
  for (const std::string& name : {folder.Name(), folder.Name() + "\\"}) {
    // Twice: a probe file left behind by the first call would make the second one fail.
    EXPECT_TRUE(platform.IsFolderWritable(name)) << name;
    EXPECT_TRUE(platform.IsFolderWritable(name)) << name;
    EXPECT_TRUE(fs::is_empty(folder.Path())) << name;
  }
}

TEST(FolderProbe, LeftoverProbeFileAnswersFalseAndStays) {
  TempFolder folder;
  const fs::path leftover = folder.Path() / "chk.tmp";
  std::ofstream(leftover, std::ios::binary) << "left behind";
  WinStartupPlatform platform;
  for (const std::string& name : {folder.Name(), folder.Name() + "\\"}) {
    EXPECT_FALSE(platform.IsFolderWritable(name)) << name;
    EXPECT_EQ(ReadAll(leftover), "left behind") << name;
  }
}

TEST(FolderProbe, MissingFolderAnswersFalseAndIsNotCreated) {
  TempFolder parent;
  const fs::path missing = parent.Path() / "missing";
  const std::string name = ToUtf8(missing.wstring());
  WinStartupPlatform platform;
  EXPECT_FALSE(platform.IsFolderWritable(name));
  EXPECT_FALSE(platform.IsFolderWritable(name + "\\"));
  EXPECT_FALSE(fs::exists(missing));
}

TEST(StartupFolders, CreateFolderMakesOneFolderAndReportsAnExistingOne) {
  TempFolder parent;
  WinStartupPlatform platform;
  const fs::path company = parent.Path() / "BRIMLEX";
  const fs::path product = company / "Lock Beacon";
  EXPECT_FALSE(platform.CreateFolder(ToUtf8(product.wstring())));  // parent missing: not made
  EXPECT_TRUE(platform.CreateFolder(ToUtf8(company.wstring())));
  EXPECT_TRUE(platform.CreateFolder(ToUtf8(product.wstring())));
  EXPECT_TRUE(fs::is_directory(product));
  EXPECT_FALSE(platform.CreateFolder(ToUtf8(product.wstring())));  // exists already
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
