// The Win32 file system: whole-file reads, writes through a temporary file that replaces the
// target, and what happens when the platform refuses.
#include "platform/file_system_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wide_text_win.h"
#include "temp_folder.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Win32FileSystemTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  Win32FileSystem files;
  const std::string path = folder.Path("settings.ini");
};

TEST_F(Win32FileSystemTest, WriteReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  const std::string bytes("[S]\r\n\0\xFF\xFE end", 12);
  ASSERT_TRUE(files.WriteFile(path, "a first content that is longer than the second\r\n"));
  ASSERT_TRUE(files.WriteFile(path, bytes));

  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), bytes);
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
}

TEST_F(Win32FileSystemTest, EmptyFileReadsAsEmptyContent) {
  ASSERT_TRUE(files.WriteFile(path, ""));
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), "");
  EXPECT_TRUE(files.FileExists(path));
}

TEST_F(Win32FileSystemTest, LargeFileReadsWhole) {
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7);
  ASSERT_TRUE(files.WriteFile(path, bytes));
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), bytes);
}

// Up to the limit a file reads whole; one byte more and it is refused, as if unreadable, and
// left as it is.
TEST_F(Win32FileSystemTest, FileAboveTheLimitIsRefused) {
  const std::string bytes(kMaxTextFileBytes, 'x');
  ASSERT_TRUE(files.WriteFile(path, bytes));
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), bytes);
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes - 1), std::nullopt);
  EXPECT_EQ(files.ReadFile(path, 0), std::nullopt);
  EXPECT_TRUE(files.FileExists(path));
}

TEST_F(Win32FileSystemTest, MissingFileAndFolders) {
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), std::nullopt);
  EXPECT_FALSE(files.FileExists(path));
  EXPECT_FALSE(files.RemoveFile(path));

  EXPECT_FALSE(files.FileExists(folder.Path()));  // a folder is no file
  EXPECT_EQ(files.ReadFile(folder.Path(), kMaxTextFileBytes), std::nullopt);
}

// A symbolic link counts as the file it leads to: a link to a file exists, a link to nothing
// (its target deleted) does not.
TEST_F(Win32FileSystemTest, SymbolicLinksCountAsTheirTargets) {
  const std::string target = folder.Path("chime.wav");
  const std::string link = folder.Path("link.wav");
  ASSERT_TRUE(files.WriteFile(target, "RIFF"));
  constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (!::CreateSymbolicLinkW(ToWide(link).c_str(), ToWide(target).c_str(), kUnprivileged)) {
    GTEST_SKIP() << "no symbolic links here: error " << ::GetLastError();
  }
  // Wine 8 makes the link but cannot open it.
  if (::GetFileAttributesW(ToWide(link).c_str()) == INVALID_FILE_ATTRIBUTES) {
    GTEST_SKIP() << "this system does not follow the symbolic links it makes";
  }
  EXPECT_TRUE(files.FileExists(link));

  ASSERT_TRUE(files.RemoveFile(target));
  EXPECT_FALSE(files.FileExists(link)) << "a broken link leads to no file";
}

TEST_F(Win32FileSystemTest, WriteIntoAMissingFolderFails) {
  EXPECT_FALSE(files.WriteFile(folder.Path("missing\\settings.ini"), "x"));
  EXPECT_THAT(folder.Names(), IsEmpty());
}

TEST_F(Win32FileSystemTest, ReadOnlyFileIsLeftAsItWas) {
  folder.Put("settings.ini", "old");
  ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(files.CanWrite(path));
  EXPECT_FALSE(files.WriteFile(path, "new"));
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), "old");
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));

  ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(files.CanWrite(path));
  EXPECT_FALSE(files.CanWrite(folder.Path("missing.ini")));
}

// A random source a test knows in advance: always the same value.
std::uint64_t AlwaysTheSame() { return 0x0123456789ABCDEFull; }

std::uint64_t Counting() {
  static std::uint64_t next = 0;
  return ++next;
}

// Where every name the write could take is taken (here by a folder of that name), no
// temporary file can be made: the write fails and the target keeps its content, where it used
// to be written in place (and so through a link standing there).
TEST_F(Win32FileSystemTest, WithoutATemporaryFileTheWriteFailsAndTheTargetStaysAsItWas) {
  Win32FileSystem fixed(&AlwaysTheSame);
  folder.Put("settings.ini", "old content");
  const std::string temporary = Win32FileSystem::TemporaryPathFor(path, AlwaysTheSame());
  ASSERT_TRUE(CreateDirectoryW(ToWide(temporary).c_str(), nullptr));  // blocks its creation

  EXPECT_FALSE(fixed.WriteFile(path, "new"));
  EXPECT_EQ(fixed.ReadFile(path, kMaxTextFileBytes), "old content");
  EXPECT_TRUE(RemoveDirectoryW(ToWide(temporary).c_str()));
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
}

// A file already there under the name drawn is neither overwritten nor used: the write takes
// the next name.
TEST_F(Win32FileSystemTest, ATakenTemporaryNameIsLeftAloneAndAnotherOneTaken) {
  Win32FileSystem counting(&Counting);
  const std::uint64_t first = Counting() + 1;  // the value the write will draw first
  const std::string taken = Win32FileSystem::TemporaryPathFor(path, first);
  folder.Put(taken.substr(taken.find_last_of('\\') + 1), "someone else's");

  ASSERT_TRUE(counting.WriteFile(path, "new"));
  EXPECT_EQ(counting.ReadFile(path, kMaxTextFileBytes), "new");
  EXPECT_EQ(counting.ReadFile(taken, kMaxTextFileBytes), "someone else's");
  EXPECT_EQ(folder.Names().size(), 2u);
}

// A target that cannot be replaced (held open without delete sharing) is not written in place
// either: the write fails, the old content stays, and the temporary file is gone.
TEST_F(Win32FileSystemTest, TargetHeldOpenWithoutDeleteSharingFailsTheWrite) {
  folder.Put("settings.ini", "old content");
  const HANDLE reader =
      CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);

  const bool written = files.WriteFile(path, "new");
  CloseHandle(reader);

  EXPECT_FALSE(written);
  EXPECT_EQ(files.ReadFile(path, kMaxTextFileBytes), "old content");
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
}

// A program that reads the file for a moment (a scanner, an indexer, the user's editor) holds it
// open without delete sharing: the write waits for it and then replaces the file.
HANDLE heldTarget = INVALID_HANDLE_VALUE;
std::vector<unsigned> pausesSeen;

void LetGoOfTheTargetAtTheSecondPause(unsigned milliseconds) {
  pausesSeen.push_back(milliseconds);
  if (pausesSeen.size() == 2) CloseHandle(heldTarget);
}

void RecordPause(unsigned milliseconds) { pausesSeen.push_back(milliseconds); }

TEST_F(Win32FileSystemTest, ATargetHeldForAMomentIsReplacedOnceItIsLetGo) {
  folder.Put("settings.ini", "old content");
  heldTarget = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(heldTarget, INVALID_HANDLE_VALUE);
  pausesSeen.clear();
  Win32FileSystem waiting(&Counting, &LetGoOfTheTargetAtTheSecondPause);

  EXPECT_TRUE(waiting.WriteFile(path, "new"));

  EXPECT_THAT(pausesSeen, ElementsAre(10u, 20u));
  EXPECT_EQ(waiting.ReadFile(path, kMaxTextFileBytes), "new");
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
}

TEST_F(Win32FileSystemTest, ATargetHeldForLongerFailsTheWriteAfterTheLastTry) {
  folder.Put("settings.ini", "old content");
  const HANDLE reader =
      CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  pausesSeen.clear();
  Win32FileSystem waiting(&Counting, &RecordPause);

  const bool written = waiting.WriteFile(path, "new");
  CloseHandle(reader);

  EXPECT_FALSE(written);
  EXPECT_THAT(pausesSeen, ElementsAre(10u, 20u, 40u, 80u, 160u));
  EXPECT_EQ(waiting.ReadFile(path, kMaxTextFileBytes), "old content");
  EXPECT_THAT(folder.Names(), ElementsAre("settings.ini"));
}

TEST_F(Win32FileSystemTest, FoldersAndFilesWithNonAsciiNames) {
  const std::string sub = folder.Path(
      "M\xC3\xBCzik \xC5\x9E"
      "ark\xC4\xB1 \xD0\x96");
  EXPECT_TRUE(files.CreateFolder(sub));
  EXPECT_FALSE(files.CreateFolder(sub));                  // exists
  EXPECT_FALSE(files.CreateFolder(folder.Path("a\\b")));  // no parents

  const std::string file = sub + "\\\xF0\x9F\x98\x80.ini";
  ASSERT_TRUE(files.WriteFile(file, "x"));
  EXPECT_TRUE(files.FileExists(file));
  EXPECT_EQ(files.ReadFile(file, kMaxTextFileBytes), "x");
  EXPECT_TRUE(files.RemoveFile(file));
  EXPECT_FALSE(files.FileExists(file));
}

}  // namespace
}  // namespace lb
