// The language chooser: its list, flags and translators, and what "OK" does, down to the bytes
// of the restart script.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_code_page.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_chooser_platform.h"
#include "fakes/scripted_message_dialogs.h"
#include "i18n/language_chooser.h"
#include "i18n/restart_script.h"
#include "platform/app_error.h"
#include "platform/restart_handover.h"

namespace lb {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kFolder = "C:\\Program Files\\Lock Beacon\\Languages";
constexpr const char* kSettingsFolder = "C:\\Users\\u\\AppData\\Roaming\\BRIMLEX\\Lock Beacon\\";

class ChooserTest : public ::testing::Test {
 protected:
  void GivenFile(const std::string& name, const std::string& bytes) {
    language.languageFiles.push_back(name);
    files.files[std::string(kFolder) + "\\" + name] = bytes;
  }
  // The language in use, as LoadLanguage leaves it.
  void GivenLoaded(const std::string& name) {
    language.currentLanguage = LanguageNameOf(name);
    language.languageFilePath = std::string(kFolder) + "\\" + name;
  }

  LanguageChooser& Open() {
    language.languagesFolder = kFolder;
    chooser.emplace(LanguageChooser::Parts{.language = language,
                                           .settingsFolder = settingsFolder,
                                           .host = "example.test",
                                           .files = files,
                                           .codePage = codePage,
                                           .messages = messages,
                                           .platform = platform});
    chooser->OnCreate();
    return *chooser;
  }
  void SelectName(const std::string& name) {
    const auto& items = chooser->languageListItems;
    const auto found = std::find(items.begin(), items.end(), name);
    ASSERT_NE(found, items.end()) << name;
    chooser->Select(static_cast<int>(found - items.begin()));
  }

  LanguageState language;
  std::string settingsFolder = kSettingsFolder;
  test::MemoryFileSystem files;
  test::FakeCodePage codePage;
  test::ScriptedMessageDialogs messages;
  test::RecordingChooserPlatform platform;
  std::optional<LanguageChooser> chooser;
};

TEST_F(ChooserTest, WithoutLanguageFilesOnlyEnglishIsOfferedAndSelected) {
  auto& c = Open();
  EXPECT_EQ(c.languageListItems, Lines{"English"});
  EXPECT_EQ(c.SelectedText(), "English");
  EXPECT_EQ(c.translatorsBoxLines, Lines{"Brimlex"});
  EXPECT_EQ(c.caption, "Language");
  EXPECT_EQ(c.translationLinkHint, "https://example.test/translation/");
}

TEST_F(ChooserTest, ListIsSortedWithoutRegardToCaseAndSelectsTheLanguageInUse) {
  GivenFile("Turkish.lang.txt", "{INFO:Translated By}Ayşe\r\n");
  GivenFile("german.lang.txt", "");
  GivenFile("Arabic.lang.txt", "");
  GivenFile("Germanlang.txt", "");  // listed by the folder pattern, but no ".lang.txt"
  GivenFile("Dutch.lang.txt.lang.txt", "");
  GivenLoaded("Turkish.lang.txt");
  auto& c = Open();
  EXPECT_EQ(c.languageListItems, (Lines{"", "Arabic", "Dutch", "English", "german", "Turkish"}));
  EXPECT_EQ(c.SelectedText(), "Turkish");
  EXPECT_EQ(c.SelectedAtOpening(), "Turkish");
  EXPECT_EQ(c.translatorsBoxLines, Lines{"Ayşe"});
}

TEST_F(ChooserTest, NoLanguageInUseKeepsEnglishSelectedEvenBesideAnEmptyEntry) {
  GivenFile("Germanlang.txt", "");
  GivenFile("German.lang.txt", "");
  language.languageFiles.push_back("English.lang.txt");  // LanguageFile names a file not there
  auto& c = Open();
  EXPECT_EQ(c.SelectedText(), "English");
  EXPECT_EQ(c.translatorsBoxLines, Lines{"Brimlex"});
}

TEST_F(ChooserTest, TranslatorBoxForEachKindOfFile) {
  GivenFile("German.lang.txt",
            "\xEF\xBB\xBF{INFO:Translated By}  Anna Schmidt ,\tJonas Weber  \r\n"
            "{INFO:Translated By}Someone Else\r\n");
  GivenFile("French.lang.txt",
            "{Exit}Quitter\r\n{info:Translated By}x\r\n {INFO:Translated By}y\r\n");
  GivenFile("Greek.lang.txt", "{INFO:Translated By}\r\n");
  GivenFile("Hebrew.lang.txt", "");
  files.unreadable.insert(std::string(kFolder) + "\\Hebrew.lang.txt");
  auto& c = Open();

  const struct {
    const char* language;
    Lines lines;
  } cases[] = {
      {"German", {"Anna Schmidt", "Jonas Weber"}},  // the first entry, trimmed, one per line
      {"French", {"INFO:Translated By"}},           // no line begins with the key
      {"Greek", {}},                                // an empty entry
      {"Hebrew", {}},                               // unreadable
      {"English", {"Brimlex"}},
  };
  for (const auto& one : cases) {
    SelectName(one.language);
    EXPECT_EQ(c.translatorsBoxLines, one.lines) << one.language;
  }
  EXPECT_EQ(TranslatorLines("a,,b,"), (Lines{"a", "", "b", ""}));
}

TEST(ChooserFlags, EveryNameOfTheTableAndNoOther) {
  const char* const names[] = {"English",
                               "German",
                               "French",
                               "Turkish",
                               "Albanian",
                               "Arabic",
                               "Bulgarian",
                               "ChineseSimplified",
                               "ChineseTraditional",
                               "Czech",
                               "Dutch",
                               "Finnish",
                               "Greek",
                               "Hebrew",
                               "Hungarian",
                               "Italian",
                               "Japanese",
                               "Korean",
                               "Persian",
                               "Polish",
                               "PortugueseBrazil",
                               "PortuguesePortugal",
                               "Russian",
                               "Slovenian",
                               "Spanish",
                               "Swedish",
                               "Ukrainian",
                               "Vietnamese"};
  const char* const pictures[] = {"flag", "de", "fr", "tr", "al", "sa", "bg", "cn", "tw", "cz",
                                  "nl",   "fi", "gr", "il", "hu", "it", "jp", "kr", "ir", "pl",
                                  "br",   "pt", "ru", "si", "es", "se", "ua", "vi"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(FlagIndex(names[i]), static_cast<int>(i) + 1) << names[i];
    EXPECT_STREQ(kFlagPictureNames[static_cast<std::size_t>(FlagIndex(names[i]))], pictures[i]);
  }
  for (const char* other : {"german", "ENGLISH", "Esperanto", "", "us", "German "}) {
    EXPECT_EQ(FlagIndex(other), 0) << other;
  }
  EXPECT_STREQ(kFlagPictureNames[0], "xx");
  EXPECT_STREQ(kFlagPictureNames[29], "us");
}

TEST_F(ChooserTest, OkWithTheSelectionUnchangedClosesAndDoesNothing) {
  GivenFile("German.lang.txt", "");
  GivenLoaded("German.lang.txt");
  auto& c = Open();
  SelectName("English");
  SelectName("German");
  EXPECT_EQ(c.OnOk(), LanguageChooser::OkResult::Close);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(platform.steps.empty());
  EXPECT_EQ(files.writes, 0);
}

TEST_F(ChooserTest, OkAsksFirstAndNoKeepsEverything) {
  GivenFile("German.lang.txt", "");
  auto& c = Open();
  SelectName("German");
  messages.answer = kResultNo;
  EXPECT_EQ(c.OnOk(), LanguageChooser::OkResult::StayOpen);
  ASSERT_EQ(messages.shown.size(), 1u);
  const MessageDialog& asked = messages.shown[0];
  EXPECT_EQ(asked.message, "Restart Application?");
  EXPECT_EQ(asked.caption, "Confirmation");
  EXPECT_EQ(asked.type, MessageType::Confirmation);
  ASSERT_EQ(asked.buttons.size(), 2u);
  EXPECT_EQ(asked.buttons[0].resultCode, kResultYes);
  EXPECT_EQ(asked.buttons[1].caption, "No");
  EXPECT_TRUE(platform.steps.empty());
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(c.SelectedText(), "German");  // the dialog stays with the new selection
}

TEST_F(ChooserTest, YesStoresTheLanguageWritesTheScriptStartsItAndEnds) {
  GivenFile("German.lang.txt", "");
  auto& c = Open();
  SelectName("German");
  messages.answer = kResultYes;
  EXPECT_EQ(c.OnOk(), LanguageChooser::OkResult::Restart);
  const std::string script = std::string(kSettingsFolder) + "start.bat";
  EXPECT_EQ(platform.steps,
            (Lines{"SetLanguageFile German.lang.txt", "ProcessMessages", "ProcessMessages",
                   "StartScriptHidden " + script + " in " + kSettingsFolder, "ProcessMessages",
                   "Terminate"}));
  EXPECT_EQ(files.files.at(script),
            "@ECHO OFF\r\n"
            "ECHO This file was created automatically to restart the program.\r\n"
            "ECHO It is safe to delete this file.\r\n"
            "\"C:\\WINDOWS\\system32\\timeout.exe\" 1\r\n"
            "\"C:\\Program Files\\Lock Beacon\\LockBeacon.exe\"\r\n");
}

TEST_F(ChooserTest, ChoosingEnglishStoresEnglishLangTxt) {
  GivenFile("German.lang.txt", "");
  GivenLoaded("German.lang.txt");
  settingsFolder = "D:\\Portable";  // no trailing delimiter
  auto& c = Open();
  SelectName("English");
  messages.answer = kResultYes;
  EXPECT_EQ(c.OnOk(), LanguageChooser::OkResult::Restart);
  EXPECT_EQ(platform.steps.front(), "SetLanguageFile English.lang.txt");
  EXPECT_TRUE(files.files.contains("D:\\Portable\\start.bat"));
}

TEST_F(ChooserTest, AScriptThatCannotBeWrittenStopsAfterStoringTheLanguage) {
  GivenFile("German.lang.txt", "");
  auto& c = Open();
  SelectName("German");
  messages.answer = kResultYes;
  files.refuseWrites = true;
  EXPECT_THROW(static_cast<void>(c.OnOk()), AppError);
  EXPECT_EQ(platform.steps, (Lines{"SetLanguageFile German.lang.txt", "ProcessMessages"}));

  // A path that the ANSI code page cannot spell is refused, not written as another path.
  files.refuseWrites = false;
  platform.steps.clear();
  platform.programPath = "C:\\Программы\\LockBeacon.exe";
  EXPECT_THROW(static_cast<void>(c.OnOk()), AppError);
  EXPECT_FALSE(files.files.contains(std::string(kSettingsFolder) + "start.bat"));
  EXPECT_EQ(platform.steps.size(), 2u);
}

// The copy that the script starts uses the same settings: this one lets go of its claim on them
// just before the script starts, and only then (a script that could not be written leaves the
// running copy its claim).
TEST_F(ChooserTest, TheRestartHandsOverJustBeforeTheScriptStarts) {
  struct Reset {
    ~Reset() { SetRestartHandover({}); }
  } reset;
  SetRestartHandover([&] { platform.steps.push_back("HandOver"); });
  GivenFile("German.lang.txt", "");
  auto& c = Open();
  SelectName("German");
  messages.answer = kResultYes;
  files.refuseWrites = true;
  EXPECT_THROW(static_cast<void>(c.OnOk()), AppError);
  EXPECT_EQ(std::count(platform.steps.begin(), platform.steps.end(), "HandOver"), 0);

  files.refuseWrites = false;
  platform.steps.clear();
  EXPECT_EQ(c.OnOk(), LanguageChooser::OkResult::Restart);
  const std::string script = std::string(kSettingsFolder) + "start.bat";
  EXPECT_EQ(platform.steps,
            (Lines{"SetLanguageFile German.lang.txt", "ProcessMessages", "ProcessMessages",
                   "HandOver", "StartScriptHidden " + script + " in " + kSettingsFolder,
                   "ProcessMessages", "Terminate"}));
}

TEST_F(ChooserTest, LinkOpensTheTranslationPage) {
  auto& c = Open();
  c.OnTranslationLinkClick();
  EXPECT_EQ(platform.opened, Lines{"https://example.test/translation/"});
}

TEST(RestartScript, ExactBytesWithCharactersTheCommandInterpreterTreatsSpecially) {
  const test::FakeCodePage codePage;
  const std::string head =
      "@ECHO OFF\r\n"
      "ECHO This file was created automatically to restart the program.\r\n"
      "ECHO It is safe to delete this file.\r\n";
  // The waiting program by its full path in the system folder, never by a bare name that a
  // "timeout.bat" in the script's folder would answer.
  const std::string wait = "\"C:\\Windows\\System32\\timeout.exe\" 1\r\n";
  const struct {
    const char* path;
    int osMajor;
    const char* systemFolder;
    std::string bytes;
  } cases[] = {
      {"C:\\100% & more\\LockBeacon.exe", 10, "C:\\Windows\\System32",
       head + wait + "\"C:\\100%% & more\\LockBeacon.exe\"\r\n"},
      {"C:\\%PATH%\\a^b (x)!\\LockBeacon.exe", 6, "C:\\Windows\\System32\\",
       head + wait + "\"C:\\%%PATH%%\\a^b (x)!\\LockBeacon.exe\"\r\n"},
      {"C:\\Lock Beacon\\LockBeacon.exe", 5, "C:\\WINNT\\system32",
       head + "\"C:\\WINNT\\system32\\ping.exe\" 192.0.2.2 -n 1 -w 1000 > nul\r\n"
              "\"C:\\Lock Beacon\\LockBeacon.exe\"\r\n"},
      // In the single-byte code page given, not UTF-8: "ü" is one byte.
      {"C:\\M\xC3\xBCller\\LockBeacon.exe", 10, "C:\\Windows\\System32",
       head + wait + "\"C:\\M\xFCller\\LockBeacon.exe\"\r\n"},
      // A "%" in the system folder (SystemRoot can be anything) is doubled like any other.
      {"C:\\Lock Beacon\\LockBeacon.exe", 10, "D:\\100%\\System32",
       head + "\"D:\\100%%\\System32\\timeout.exe\" 1\r\n\"C:\\Lock Beacon\\LockBeacon.exe\"\r\n"},
  };
  for (const auto& one : cases) {
    EXPECT_EQ(RestartScriptBytes(one.path, one.osMajor, one.systemFolder, codePage), one.bytes)
        << one.path;
  }
  EXPECT_EQ(RestartScriptPath("C:\\S\\"), "C:\\S\\start.bat");
  EXPECT_EQ(RestartScriptPath("C:\\S"), "C:\\S\\start.bat");
}

TEST(RestartScript, RunByTheCommandInterpreterWithoutTheFolderOnItsCommandLine) {
  const struct {
    const char* script;
    const char* folder;
    const char* commandLine;
    bool inWorkingFolder;
  } cases[] = {
      {"C:\\100% & (x)\\start.bat", "C:\\100% & (x)\\", "cmd.exe /d /v:off /c .\\start.bat", true},
      // A network folder cannot be the interpreter's working folder: the full path, quoted.
      {"\\\\server\\share\\start.bat", "\\\\server\\share\\",
       "cmd.exe /d /v:off /c \"\"\\\\server\\share\\start.bat\"\"", false},
  };
  for (const auto& one : cases) {
    const ScriptLaunch launch = RestartScriptLaunch(one.script, one.folder);
    EXPECT_EQ(launch.commandLine, one.commandLine) << one.script;
    EXPECT_EQ(launch.inWorkingFolder, one.inWorkingFolder) << one.script;
  }
}

}  // namespace
}  // namespace lb
