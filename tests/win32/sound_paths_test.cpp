// Sound paths from settings.ini on the real file system: a path to another machine is never
// looked at, even where it leads to a real file. Wine reaches \\host\share through the folder
// dosdevices\unc\host\share of its prefix, so here a network path can be made that the old
// program would have tested and played.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/settings_store.h"
#include "fakes/fake_startup_platform.h"
#include "fakes/recording_indicator_view.h"
#include "fakes/recording_sound_player.h"
#include "fakes/scripted_message_dialogs.h"
#include "indicator/sound_effects.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "platform/local_file.h"
#include "platform/wide_text_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using Played = test::RecordingSoundPlayer::Played;

// The real file system, with every path the program hands it written down.
class RecordingFileSystem : public IFileSystem {
 public:
  mutable std::vector<std::string> asked;

  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t maxBytes) const override {
    asked.push_back(path);
    return real_.ReadFile(path, maxBytes);
  }
  bool WriteFile(const std::string& path, const std::string& bytes) override {
    asked.push_back(path);
    return real_.WriteFile(path, bytes);
  }
  bool FileExists(const std::string& path) const override {
    asked.push_back(path);
    return real_.FileExists(path);
  }
  bool CanWrite(const std::string& path) const override {
    asked.push_back(path);
    return real_.CanWrite(path);
  }
  bool RemoveFile(const std::string& path) override {
    asked.push_back(path);
    return real_.RemoveFile(path);
  }
  bool CreateFolder(const std::string& path) override {
    asked.push_back(path);
    return real_.CreateFolder(path);
  }
  bool IsLocalDrive(char letter) const override { return real_.IsLocalDrive(letter); }
  std::optional<std::uint32_t> ReparseTag(const std::string& path) const override {
    asked.push_back(path);
    return real_.ReparseTag(path);
  }

 private:
  Win32FileSystem real_;
};

// A share that Wine serves from its prefix: \\<host>\share, made as dosdevices\unc\<host>\share.
// Empty when this is not Wine or the prefix cannot be found.
std::wstring MakeWineShare(const std::wstring& host) {
  wchar_t prefix[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || prefix[0] != L'/') return {};
  std::wstring folder = L"Z:" + std::wstring(prefix);
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  for (const wchar_t* part : {L"\\dosdevices", L"\\unc"}) {
    folder += part;
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  folder += L"\\" + host;
  CreateDirectoryW(folder.c_str(), nullptr);
  folder += L"\\share";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

class SoundPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    share_ = MakeWineShare(kHost);
    if (share_.empty()) GTEST_SKIP() << "no Wine prefix to serve a share from";
    const HANDLE file = CreateFileW((share_ + L"\\on.wav").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    // The old program's own test would find the file.
    if (GetFileAttributesW(ToWide(kNetworkSound).c_str()) == INVALID_FILE_ATTRIBUTES) {
      GTEST_SKIP() << "this Wine does not reach " << kNetworkSound;
    }
    folder.Put("keypress-on.wav", "RIFF");
    folder.Put("keypress-off.wav", "RIFF");
    startup.exePath = folder.Path("LockBeacon.exe");
  }
  void TearDown() override {
    if (share_.empty()) return;
    DeleteFileW((share_ + L"\\on.wav").c_str());
    RemoveDirectoryW(share_.c_str());
    RemoveDirectoryW(share_.substr(0, share_.find_last_of(L'\\')).c_str());
  }

  static constexpr const wchar_t* kHost = L"lockbeacon-test-host";
  static constexpr const char* kNetworkSound = "\\\\lockbeacon-test-host\\share\\on.wav";

  test::TempFolder folder;
  RecordingFileSystem files;
  Win32CodePage codePage;
  test::FakeStartupPlatform startup;
  test::RecordingIndicatorView view;
  test::RecordingSoundPlayer player;
  test::ScriptedMessageDialogs messages;
  RunningSettings settings;
  std::unique_ptr<SettingsStore> store =
      std::make_unique<SettingsStore>(folder.Path("settings.ini"), files, codePage);
  SoundEffects sounds{settings, view, player, files, startup, messages, store};

 private:
  std::wstring share_;
};

// What a settings.ini planted beside the program asks for: the on-sound from a share. The
// built-in sound plays, and the network path never reaches the file system, not even to test
// whether the file exists (on Windows, that test alone sends the user's credentials there).
TEST_F(SoundPathTest, AReachableNetworkSoundIsNeverAskedAboutAndTheBuiltInOnePlays) {
  store->WriteString("SoundEffectON", kNetworkSound);
  store->WriteString("SoundEffectOFF", "//lockbeacon-test-host/share/on.wav");
  files.asked.clear();

  sounds.PlayToggleSound(true);
  sounds.PlayToggleSound(false);

  EXPECT_THAT(player.played, ElementsAre(Played{folder.Path("keypress-on.wav"), false},
                                         Played{folder.Path("keypress-off.wav"), false}));
  for (const std::string& path : files.asked) {
    EXPECT_EQ(path.find("lockbeacon-test-host"), std::string::npos) << path;
  }
}

// Browsing still works, but the network file picked is refused with the message, not stored,
// and not offered again as the dialog's preset.
TEST_F(SoundPathTest, ANetworkFilePickedInTheDialogIsRefusedAndNotStored) {
  store->WriteString("SoundEffectON", kNetworkSound);
  messages.fileAnswer = kNetworkSound;
  files.asked.clear();

  sounds.OnBrowseOnSound();

  ASSERT_EQ(messages.fileDialogs.size(), 1u);
  EXPECT_EQ(messages.fileDialogs[0].presetFile, "");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].message, kNotALocalSoundMessage);
  for (const std::string& path : files.asked) {
    EXPECT_EQ(path.find("lockbeacon-test-host"), std::string::npos) << path;
  }
  // A local file picked is stored as before.
  folder.Put("chime.wav", "RIFF");
  messages.fileAnswer = folder.Path("chime.wav");
  sounds.OnBrowseOnSound();
  EXPECT_EQ(store->ReadString("SoundEffectON", ""), folder.Path("chime.wav"));
  sounds.PlayToggleSound(true);
  EXPECT_EQ(player.played.back(), (Played{folder.Path("chime.wav"), false}));
}

// The real file system's answers for the walk: the test's own folder is on a local drive and
// holds no link; a drive letter that does not exist is not local.
TEST(LocalPathWin32, TheTemporaryFolderIsLocalAndAMissingDriveIsNot) {
  test::TempFolder folder;
  folder.Put("chime.wav", "RIFF");
  const Win32FileSystem files;
  EXPECT_TRUE(IsLocalPath(files, folder.Path("chime.wav")));
  EXPECT_EQ(files.ReparseTag(folder.Path("chime.wav")), std::nullopt);
  EXPECT_EQ(files.ReparseTag(folder.Path("missing.wav")), std::nullopt);
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) {
      EXPECT_FALSE(files.IsLocalDrive(letter)) << letter;
      break;
    }
  }
}

// A symbolic link is seen from its folder's listing, without following it, and the walk stops
// there. (Wine 8 makes links that it then cannot open; whether its listing shows them as
// reparse points decides whether this can be seen here.)
TEST(LocalPathWin32, ASymbolicLinkOnTheWayMakesAPathNotLocal) {
  test::TempFolder folder;
  ASSERT_TRUE(CreateDirectoryW(ToWide(folder.Path("real")).c_str(), nullptr));
  folder.Put("real\\chime.wav", "RIFF");
  constexpr DWORD kDirectory = 0x1;     // SYMBOLIC_LINK_FLAG_DIRECTORY
  constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (!CreateSymbolicLinkW(ToWide(folder.Path("linked")).c_str(),
                           ToWide(folder.Path("real")).c_str(), kDirectory | kUnprivileged)) {
    GTEST_SKIP() << "no symbolic links here: error " << GetLastError();
  }
  const Win32FileSystem files;
  const std::optional<std::uint32_t> tag = files.ReparseTag(folder.Path("linked"));
  if (!tag) GTEST_SKIP() << "this system does not list the links it makes as reparse points";
  EXPECT_TRUE(ReparseTagLeadsElsewhere(*tag)) << std::hex << *tag;
  EXPECT_FALSE(IsLocalPath(files, folder.Path("linked\\chime.wav")));
  EXPECT_TRUE(IsLocalPath(files, folder.Path("real\\chime.wav")));
}

}  // namespace
}  // namespace lb
