// The Win32 side of one copy per settings file: one folder spelled in several ways gives one
// name, two folders give two; the name is a mutex this system accepts; a name taken by another
// thread is held, and abandoned when that thread ends without letting go.
#include "app/single_copy_win.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/wide_text_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

std::wstring ShortPath(const std::string& path) {
  const std::wstring wide = ToWide(path);
  wchar_t shortPath[MAX_PATH + 1]{};
  const DWORD length = GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH + 1);
  return length > 0 && length <= MAX_PATH ? std::wstring(shortPath, length) : wide;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

TEST(SingleCopyWinTest, OneFolderInSeveralSpellingsHasOneName) {
  test::TempFolder temp;
  const std::string folder = temp.Path("Settings Of A Long Name");
  ASSERT_TRUE(CreateDirectoryW(ToWide(folder).c_str(), nullptr));
  const auto names = SettingsFolderClaim::NamesOf(folder + "\\");
  ASSERT_TRUE(names);

  std::string slashed = folder;
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  const std::string spellings[] = {
      folder,
      Upper(folder) + "\\",
      Lower(folder) + "\\\\",
      slashed + "/",
      "\\\\?\\" + folder + "\\",
      folder + "\\.\\",
      folder + "\\sub\\..\\",
      ToUtf8(ShortPath(folder)) + "\\",
  };
  for (const std::string& spelling : spellings) {
    const auto other = SettingsFolderClaim::NamesOf(spelling);
    ASSERT_TRUE(other) << spelling;
    EXPECT_EQ(other->mutexName, names->mutexName) << spelling;
    EXPECT_EQ(other->windowKey, names->windowKey) << spelling;
  }

  const auto elsewhere = SettingsFolderClaim::NamesOf(temp.Path() + "\\");
  ASSERT_TRUE(elsewhere);
  EXPECT_NE(elsewhere->mutexName, names->mutexName);
  EXPECT_NE(elsewhere->windowKey, names->windowKey);
  EXPECT_FALSE(SettingsFolderClaim::NamesOf(""));
}

TEST(SingleCopyWinTest, TheNameIsAMutexThisSystemAccepts) {
  test::TempFolder temp;
  const auto names = SettingsFolderClaim::NamesOf(temp.Path() + "\\");
  ASSERT_TRUE(names);
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, names->mutexName.c_str());
  EXPECT_NE(mutex, nullptr) << GetLastError();
  if (mutex) CloseHandle(mutex);
}

// Another thread stands for another copy: ownership belongs to a thread.
TEST(SingleCopyWinTest, ANameHeldByALiveOwnerIsHeldAndAnAbandonedOneIsFree) {
  test::TempFolder temp;
  const std::string folder = temp.Path() + "\\";
  const auto names = SettingsFolderClaim::NamesOf(folder);
  ASSERT_TRUE(names);
  const HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE end = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    // Ends owning the name: it is abandoned, not released.
    const HANDLE name = CreateMutexW(nullptr, TRUE, names->mutexName.c_str());
    SetEvent(taken);
    WaitForSingleObject(end, 60000);
    CloseHandle(name);
  });
  ASSERT_EQ(WaitForSingleObject(taken, 10000), WAIT_OBJECT_0);
  {
    // No window of that folder answers, so the check waits its bounded time and runs beside.
    SettingsFolderClaim claim(folder);
    EXPECT_EQ(claim.Check(), StartOutcome::RunBeside);
    SetEvent(end);
    owner.join();
  }
  // The thread's handle is gone; this one keeps the object alive across the next claim.
  const HANDLE keep = CreateMutexW(nullptr, FALSE, names->mutexName.c_str());
  SettingsFolderClaim claim(folder);
  EXPECT_EQ(claim.Check(), StartOutcome::RunAsTheCopy);
  CloseHandle(keep);
  CloseHandle(taken);
  CloseHandle(end);
}

}  // namespace
}  // namespace lb
