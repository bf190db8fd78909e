// LoadLanguage: which language file the program loads, and what Translate then returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/settings_keys.h"
#include "base/settings_store.h"
#include "fakes/fake_code_page.h"
#include "fakes/fake_language_platform.h"
#include "fakes/memory_file_system.h"
#include "i18n/translation.h"
#include "platform/utf.h"

namespace lb {
namespace {

using namespace std::string_literals;
using Files = std::vector<std::string>;

constexpr const char* kExeFolder = "C:\\Program Files\\Lock Beacon\\";
constexpr const char* kFolder = "C:\\Program Files\\Lock Beacon\\Languages";

// The bytes of a text in UTF-16 with its byte-order mark.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  return std::string(bigEndian ? "\xFE\xFF" : "\xFF\xFE") + Utf16UnitsToBytes(text, bigEndian);
}

class LoadLanguageTest : public ::testing::Test {
 protected:
  // A languages folder holding the given language files (in this listing order), each with
  // the entry {Exit} translated as "Exit in <name>".
  void GivenLanguageFiles(const Files& names) {
    platform.folders.insert(kFolder);
    auto& listing = platform.listings[kFolder];
    for (const std::string& name : names) {
      listing.push_back({name, false});
      files.files[Path(name)] = "{Exit}Exit in " + name + "\r\n";
    }
  }
  void GivenLanguageCodes(const std::string& bytes) {
    files.files[Path(kLanguageCodesFileName)] = bytes;
  }

  static std::string Path(const std::string& name) { return std::string(kFolder) + "\\" + name; }

  void Load(const std::string& languageFile) {
    language.LoadLanguage(languageFile, platform, files, codePage);
  }

  // Nothing loaded: every text stays English.
  void ExpectEnglish() const {
    EXPECT_EQ(language.CurrentLanguage(), "");
    EXPECT_EQ(language.LanguageFilePath(), "");
    EXPECT_EQ(language.Translate("Exit"), "Exit");
  }

  test::FakeLanguagePlatform platform;
  test::MemoryFileSystem files;
  test::FakeCodePage codePage;
  Translator language;
};

TEST_F(LoadLanguageTest, BeforeLoadingEveryTextIsEnglish) {
  EXPECT_EQ(language.Translate("Exit"), "Exit");
  EXPECT_TRUE(language.LanguageFiles().empty());
}

TEST_F(LoadLanguageTest, LoadsTheFileNamedBySetting) {
  GivenLanguageFiles({"Turkish.lang.txt", "German.lang.txt"});
  Load("German.lang.txt");
  EXPECT_EQ(language.LanguagesFolder(), kFolder);
  EXPECT_EQ(language.LanguageFiles(), (Files{"Turkish.lang.txt", "German.lang.txt"}));
  EXPECT_EQ(language.CurrentLanguage(), "German");
  EXPECT_EQ(language.LanguageFilePath(), Path("German.lang.txt"));
  EXPECT_EQ(language.Translate("Exit"), "Exit in German.lang.txt");
}

TEST_F(LoadLanguageTest, BlankSettingTakesTheFileOfTheUserInterfaceLanguage) {
  GivenLanguageFiles({"Turkish.lang.txt", "German.lang.txt"});
  GivenLanguageCodes("1055,Turkish.lang.txt\r\n  1031 \t, german.lang.txt  \r\n");
  platform.uiLanguage = 1031;
  Load("");
  // The listing's spelling is used, not the table's.
  EXPECT_EQ(language.CurrentLanguage(), "German");
  EXPECT_EQ(language.LanguageFilePath(), Path("German.lang.txt"));
  EXPECT_EQ(language.Translate("Exit"), "Exit in German.lang.txt");
  // The automatic choice is never written back.
  EXPECT_EQ(files.writes, 0);
}

TEST_F(LoadLanguageTest, AutomaticChoiceOutcomes) {
  struct Case {
    const char* name;
    std::string setting;
    std::string codes;
    std::string expectedLanguage;  // empty: nothing loaded
  };
  const std::vector<Case> cases = {
      {"spaces-only setting counts as blank", "   ", "1031,German.lang.txt", "German"},
      {"control characters count as blank", "\t\r\n", "1031,German.lang.txt", "German"},
      {"further comma belongs to the name", "", "1031,German.lang.txt,x", ""},
      {"no line for the identifier", "", "1033,German.lang.txt\n2055,German.lang.txt", ""},
      {"named file not in the folder", "", "1031,Swiss.lang.txt", ""},
      {"first line of the identifier wins", "", "1031,Turkish.lang.txt\n1031,German.lang.txt",
       "Turkish"},
      {"blank setting, nothing found", "  ", "", ""},
      {"garbage table", "", "\xFF\x00\x01,\x80\n,,,\n\xC3"s, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = {};
    platform = {};
    platform.uiLanguage = 1031;
    GivenLanguageFiles({"Turkish.lang.txt", "German.lang.txt"});
    GivenLanguageCodes(c.codes);
    Load(c.setting);
    EXPECT_EQ(language.CurrentLanguage(), c.expectedLanguage);
    EXPECT_EQ(language.Translate("Exit"),
              c.expectedLanguage.empty() ? "Exit" : "Exit in " + c.expectedLanguage + ".lang.txt");
  }
}

TEST_F(LoadLanguageTest, NamedFileThatDoesNotExistLoadsNothingAndSkipsTheTable) {
  GivenLanguageFiles({"German.lang.txt"});
  GivenLanguageCodes("1031,German.lang.txt");
  platform.uiLanguage = 1031;
  Load("English.lang.txt");
  ExpectEnglish();
  EXPECT_EQ(files.reads, 0);
  EXPECT_EQ(language.LanguageFiles(), Files{"German.lang.txt"});
}

TEST_F(LoadLanguageTest, NoLanguagesFolder) {
  files.files[Path("German.lang.txt")] = "{Exit}Beenden";
  Load("German.lang.txt");
  ExpectEnglish();
  EXPECT_EQ(language.LanguagesFolder(), kFolder);
  EXPECT_TRUE(language.LanguageFiles().empty());
  EXPECT_TRUE(platform.listedPatterns.empty());
}

TEST_F(LoadLanguageTest, NoLanguageCodesTableWithBlankSetting) {
  GivenLanguageFiles({"German.lang.txt"});
  platform.uiLanguage = 1031;
  Load("");
  ExpectEnglish();
}

TEST_F(LoadLanguageTest, UnreadableLanguageCodesTableLoadsNothing) {
  GivenLanguageFiles({"German.lang.txt"});
  GivenLanguageCodes("1031,German.lang.txt");
  files.unreadable.insert(Path(kLanguageCodesFileName));
  platform.uiLanguage = 1031;
  Load("");
  ExpectEnglish();
}

TEST_F(LoadLanguageTest, LanguageCodesTableInEveryEncoding) {
  const std::vector<std::pair<const char*, std::string>> tables = {
      {"ANSI code page",
       "1036,Fran\xE7"
       "ais.lang.txt"},
      {"UTF-8",
       "\xEF\xBB\xBF"
       "1036,Fran\xC3\xA7"
       "ais.lang.txt"},
      {"UTF-16 LE", Utf16Bytes(u"1036,Fran\u00E7ais.lang.txt", false)},
      {"UTF-16 BE", Utf16Bytes(u"1036,Fran\u00E7ais.lang.txt", true)},
  };
  for (const auto& [name, table] : tables) {
    SCOPED_TRACE(name);
    files = {};
    platform = {};
    platform.uiLanguage = 1036;
    GivenLanguageFiles(
        {"Fran\xC3\xA7"
         "ais.lang.txt"});
    GivenLanguageCodes(table);
    Load("");
    EXPECT_EQ(language.CurrentLanguage(),
              "Fran\xC3\xA7"
              "ais");
  }
}

TEST_F(LoadLanguageTest, ListsOnlyFilesWhoseNamesEndInLangTxt) {
  platform.folders.insert(kFolder);
  platform.listings[kFolder] = {{"Turkish.lang.txt", false},  {"Old.lang.txt", true},
                                {"readme.txt", false},        {"GERMAN.LANG.TXT", false},
                                {"Germanlang.txt", false},    {"Dutch.lang.txt.bak", false},
                                {"LanguageCodes.csv", false}, {"Arabic.lang.txt", false}};
  Load("Nothing.lang.txt");
  EXPECT_EQ(platform.listedPatterns, std::vector<std::string>{"*lang.txt"});
  EXPECT_EQ(language.LanguageFiles(),
            (Files{"Turkish.lang.txt", "GERMAN.LANG.TXT", "Germanlang.txt", "Arabic.lang.txt"}));
}

TEST_F(LoadLanguageTest, CurrentLanguageIsTheNameBeforeTheFirstLangTxt) {
  struct Case {
    std::string file;
    std::string expected;
  };
  const std::vector<Case> cases = {{"German.lang.txt", "German"},
                                   {"Germanlang.txt", ""},
                                   {"A.lang.txt.lang.txt", "A"},
                                   {"GERMAN.LANG.TXT", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    files = {};
    platform = {};
    GivenLanguageFiles({c.file});
    Load(c.file);
    EXPECT_EQ(language.LanguageFilePath(), Path(c.file));
    EXPECT_EQ(language.CurrentLanguage(), c.expected);
    EXPECT_EQ(language.Translate("Exit"), "Exit in " + c.file);
  }
}

// settings.ini is anyone's to write: the setting only picks a file of the folder's listing by
// its plain name. Here every file the setting could reach exists, so only the rule stops it.
TEST_F(LoadLanguageTest, ASettingThatIsNoPlainListedNameLoadsNothingAndReadsNothing) {
  const std::vector<std::string> hostile = {
      "..\\..\\elsewhere\\x.lang.txt",
      "..\\German.lang.txt",
      "sub\\German.lang.txt",
      "./German.lang.txt",
      "C:\\Elsewhere\\German.lang.txt",
      "\\\\host\\share\\German.lang.txt",
      "German.lang.txt:hidden.lang.txt",
      "German.lang.txt::$DATA",
      "..",
      "LanguageCodes.csv",  // in the folder, but no language file of the listing
      "Unlisted.lang.txt",  // present, but not in the listing
      "CON.lang.txt",       // listed, but a device name
  };
  for (const std::string& setting : hostile) {
    SCOPED_TRACE(setting);
    files = {};
    platform = {};
    GivenLanguageFiles({"German.lang.txt", "CON.lang.txt"});
    GivenLanguageCodes("1033,German.lang.txt");
    files.files[Path(setting)] = "{Exit}Planted\r\n";
    files.files[Path("Unlisted.lang.txt")] = "{Exit}Planted\r\n";
    Load(setting);
    ExpectEnglish();
    EXPECT_EQ(files.reads, 0);
  }
}

// The listed name is found ignoring ASCII letter case, as the automatic choice finds it, and
// the listing's spelling is the one loaded and shown.
TEST_F(LoadLanguageTest, ASettingInOtherLetterCaseLoadsTheListedFile) {
  GivenLanguageFiles({"Turkish.lang.txt", "German.lang.txt"});
  Load("gERMAN.lang.TXT");
  EXPECT_EQ(language.CurrentLanguage(), "German");
  EXPECT_EQ(language.LanguageFilePath(), Path("German.lang.txt"));
  EXPECT_EQ(language.Translate("Exit"), "Exit in German.lang.txt");
}

TEST_F(LoadLanguageTest, SettingIsUsedUntrimmedForThePath) {
  GivenLanguageFiles({"German.lang.txt"});
  Load(" German.lang.txt");
  ExpectEnglish();
}

TEST_F(LoadLanguageTest, UnreadableLanguageFileCountsAsNotLoaded) {
  GivenLanguageFiles({"German.lang.txt"});
  files.unreadable.insert(Path("German.lang.txt"));
  Load("German.lang.txt");
  ExpectEnglish();
}

TEST_F(LoadLanguageTest, LanguageFileOverOneMebibyteCountsAsNotLoaded) {
  GivenLanguageFiles({"German.lang.txt"});
  files.files[Path("German.lang.txt")] = "{Exit}Ende\r\n" + std::string(kMaxTextFileBytes, ';');
  Load("German.lang.txt");
  ExpectEnglish();
}

TEST_F(LoadLanguageTest, Utf16LanguageFileGivesEnglish) {
  GivenLanguageFiles({"German.lang.txt"});
  files.files[Path("German.lang.txt")] = Utf16Bytes(u"{Exit}Ende", false);
  Load("German.lang.txt");
  EXPECT_EQ(language.CurrentLanguage(), "German");
  EXPECT_EQ(language.Translate("Exit"), "Exit");
}

TEST_F(LoadLanguageTest, LoadingAgainReplacesTheState) {
  GivenLanguageFiles({"German.lang.txt"});
  Load("German.lang.txt");
  platform.folders.clear();
  Load("German.lang.txt");
  ExpectEnglish();
  EXPECT_TRUE(language.LanguageFiles().empty());
}

// ---- the process-wide language and the setting ------------------------------------------------

TEST_F(LoadLanguageTest, ProcessWideLanguageServesEveryWindow) {
  GivenLanguageFiles({"German.lang.txt"});
  files.files[Path("German.lang.txt")] = "{INFO:Translated By}A, B\n{Exit}Beenden\n{Mode}";
  LoadLanguage("German.lang.txt", platform, files, codePage);
  EXPECT_EQ(Translate("Exit"), "Beenden");
  EXPECT_EQ(Translate("Mode"), "Mode");
  EXPECT_EQ(CurrentLanguage(), "German");
  EXPECT_EQ(LanguagesFolder(), kFolder);
  EXPECT_EQ(LanguageFiles(), Files{"German.lang.txt"});
  EXPECT_EQ(LanguageFilePath(), Path("German.lang.txt"));

  // Leave the process in English for the other tests.
  LoadLanguage("", test::FakeLanguagePlatform{}, files, codePage);
  EXPECT_EQ(Translate("Exit"), "Exit");
  EXPECT_EQ(CurrentLanguage(), "");
}

TEST_F(LoadLanguageTest, SetLanguageFileStoresTheChoiceForTheNextStart) {
  const std::string iniPath = std::string(kExeFolder) + "settings.ini";
  files.files[iniPath] = "[Settings]\r\nNum Lock=OFF\r\n";
  SettingsStore store(iniPath, files, codePage);
  SetLanguageFile(store, "German.lang.txt");
  EXPECT_EQ(store.ReadString(keys::LanguageFile, ""), "German.lang.txt");
  EXPECT_EQ(store.ReadString("Num Lock", ""), "OFF");

  GivenLanguageFiles({"German.lang.txt", "Turkish.lang.txt"});
  Load(store.ReadString(keys::LanguageFile, ""));
  EXPECT_EQ(language.CurrentLanguage(), "German");
}

}  // namespace
}  // namespace lb
