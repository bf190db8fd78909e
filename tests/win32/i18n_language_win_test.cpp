// The language lookup on Windows: the folder listing, the program's folder, the user's
// interface language, and the real lookup over the files delivered beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/language_codes.h"
#include "i18n/language_platform_win.h"
#include "i18n/text_catalogue.h"
#include "i18n/translation.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "platform/wide_text_win.h"
#include "win32/temp_folder.h"

namespace lb {
namespace {

std::set<FolderEntry> AsSet(std::vector<FolderEntry> entries) {
  return {std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end())};
}

// A path of the build machine ("/work/build") as this process sees it: under Wine the host's
// root is drive Z:.
std::string HostPath(std::string_view path) {
  std::string result = path.starts_with('/') ? "Z:" : "";
  for (const char c : path) result += c == '/' ? '\\' : c;
  return result;
}

// The folder the delivered files are copied to: beside LockBeacon.exe in the build tree.
std::string DeliveryFolder() {
#ifdef LOCKBEACON_EXE_PATH
  std::string exe = HostPath(LOCKBEACON_EXE_PATH);
  return exe.substr(0, exe.find_last_of('\\') + 1);
#else
  return HostPath(LOCKBEACON_SOURCE_DIR "/resources/deliver/");
#endif
}

// The real platform, as if the program lived in `folder`.
class PlatformBeside final : public ILanguagePlatform {
 public:
  explicit PlatformBeside(std::string folder) : folder_(std::move(folder)) {}
  std::string ExeFolder() const override { return folder_; }
  bool FolderExists(const std::string& path) const override { return real_.FolderExists(path); }
  std::vector<FolderEntry> ListFolder(const std::string& folder,
                                      const std::string& pattern) const override {
    return real_.ListFolder(folder, pattern);
  }
  std::uint16_t UserDefaultUILanguage() const override { return real_.UserDefaultUILanguage(); }

 private:
  std::string folder_;
  Win32LanguagePlatform real_;
};

TEST(Win32LanguagePlatformTest, ExeFolderIsTheFolderOfTheRunningProgram) {
  const std::string folder = Win32LanguagePlatform().ExeFolder();
  ASSERT_TRUE(folder.ends_with("\\"));
  const DWORD attributes = ::GetFileAttributesW(ToWide(folder + "win32_tests.exe").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(Win32LanguagePlatformTest, ListsTheEntriesMatchingThePattern) {
  const test::TempFolder folder;
  for (const char* name : {"German.lang.txt",
                           "Fran\xC3\xA7"
                           "ais.lang.txt",
                           "x.LANG.TXT", "Germanlang.txt", "Hidden.lang.txt", "readme.txt",
                           "German.lang.txt.bak", "LanguageCodes.csv"}) {
    folder.Put(name, "{Exit}x");
  }
  ASSERT_TRUE(::SetFileAttributesW(ToWide(folder.Path("Hidden.lang.txt")).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(::CreateDirectoryW(ToWide(folder.Path("Old.lang.txt")).c_str(), nullptr));

  const Win32LanguagePlatform platform;
  const std::set<FolderEntry> expected = {{"German.lang.txt", false},
                                          {"Fran\xC3\xA7"
                                           "ais.lang.txt",
                                           false},
                                          {"x.LANG.TXT", false},
                                          {"Germanlang.txt", false},
                                          {"Hidden.lang.txt", false},
                                          {"Old.lang.txt", true}};
  EXPECT_EQ(AsSet(platform.ListFolder(folder.Path(), "*lang.txt")), expected);
  EXPECT_EQ(AsSet(platform.ListFolder(folder.Path() + "\\", "*lang.txt")), expected);
  EXPECT_TRUE(platform.ListFolder(folder.Path("Missing"), "*lang.txt").empty());

  Translator language;
  language.FindLanguageFiles(folder.Path(), platform);
  EXPECT_EQ(std::set<std::string>(language.LanguageFiles().begin(), language.LanguageFiles().end()),
            (std::set<std::string>{"German.lang.txt",
                                   "Fran\xC3\xA7"
                                   "ais.lang.txt",
                                   "x.LANG.TXT", "Germanlang.txt", "Hidden.lang.txt"}));
}

TEST(Win32LanguagePlatformTest, TellsFoldersFromFiles) {
  const test::TempFolder folder;
  folder.Put("German.lang.txt", "");
  ASSERT_TRUE(::CreateDirectoryW(ToWide(folder.Path("Spr\xC3\xA4"
                                                    "chen"))
                                     .c_str(),
                                 nullptr));
  const Win32LanguagePlatform platform;
  EXPECT_TRUE(platform.FolderExists(folder.Path()));
  EXPECT_TRUE(
      platform.FolderExists(folder.Path("Spr\xC3\xA4"
                                        "chen")));
  EXPECT_FALSE(platform.FolderExists(folder.Path("German.lang.txt")));
  EXPECT_FALSE(platform.FolderExists(folder.Path("Missing")));
}

// Run twice by CTest: as discovered, under the machine's own interface language, and as
// win32.GermanUserInterface with LC_ALL=de_DE.UTF-8, which makes Wine report German (1031).
TEST(ShippedLanguagesOnWindows, RealLookupFollowsTheUserInterfaceLanguage) {
  const std::uint16_t uiLanguage = ::GetUserDefaultUILanguage();
  if (const char* expected = std::getenv("LOCKBEACON_EXPECT_UI_LANGUAGE")) {
    ASSERT_EQ(uiLanguage, std::atoi(expected)) << "the user interface language was not set";
  }
  const PlatformBeside platform(DeliveryFolder());
  const Win32FileSystem files;
  const Win32CodePage codePage;
  Translator language;
  language.LoadLanguage("", platform, files, codePage);
  EXPECT_EQ(language.LanguagesFolder(), DeliveryFolder() + "Languages");
  EXPECT_EQ(language.LanguageFiles().size(), 27u);

  if (uiLanguage == 0x0407) {
    EXPECT_EQ(language.CurrentLanguage(), "German");
    EXPECT_EQ(language.LanguageFilePath(), DeliveryFolder() + "Languages\\German.lang.txt");
    EXPECT_EQ(language.Translate("Exit"), "Beenden");
    EXPECT_EQ(language.Translate("Caps Lock: ON"), "Feststelltaste: EIN");
    EXPECT_EQ(language.Translate("Restart Application?"), "Anwendung neu starten?");
    EXPECT_EQ(language.Translate("About %s"),
              "\xC3\x9C"
              "ber %s");
    EXPECT_EQ(language.Translate("SYNC"), "SYNC");
    int translated = 0;
    for (const CatalogueText& text : kTextCatalogue) {
      translated += language.Translate(text.english) != text.english;
    }
    EXPECT_GE(translated, 60);
  } else if (uiLanguage == 0x0409) {
    EXPECT_EQ(language.CurrentLanguage(), "");
    EXPECT_EQ(language.LanguageFilePath(), "");
    EXPECT_EQ(language.Translate("Exit"), "Exit");
  }

  // A language named by the setting wins over the interface language.
  language.LoadLanguage("Turkish.lang.txt", platform, files, codePage);
  EXPECT_EQ(language.CurrentLanguage(), "Turkish");
  EXPECT_EQ(language.Translate("Exit"), "\xC3\x87\xC4\xB1k\xC4\xB1\xC5\x9F");
}

BOOL CALLBACK CollectLocale(LPWSTR name, DWORD, LPARAM names) {
  reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(name);
  return TRUE;
}

// Every language identifier that the system knows for a shipped language reaches its file.
TEST(ShippedLanguagesOnWindows, LanguageCodesCoverEveryRegionTheSystemKnows) {
  const Win32FileSystem files;
  const Win32CodePage codePage;
  const auto bytes =
      files.ReadFile(DeliveryFolder() + "Languages\\LanguageCodes.csv", kMaxTextFileBytes);
  ASSERT_TRUE(bytes.has_value());
  const std::string codes = DecodeLanguageCodes(*bytes, codePage);

  std::set<std::uint16_t> shippedPrimaries;
  for (const std::string_view line : SplitTextLines(codes)) {
    shippedPrimaries.insert(static_cast<std::uint16_t>(
        std::stoul(std::string(line.substr(0, line.find(',')))) & 0x3FF));
  }

  std::vector<std::wstring> names;
  ASSERT_TRUE(
      ::EnumSystemLocalesEx(CollectLocale, LOCALE_ALL, reinterpret_cast<LPARAM>(&names), nullptr));
  std::vector<std::string> missing;
  int known = 0;
  for (const std::wstring& name : names) {
    const LCID lcid = ::LocaleNameToLCID(name.c_str(), LOCALE_ALLOW_NEUTRAL_NAMES);
    const LANGID language = LANGIDFROMLCID(lcid);
    // Locales without an identifier of their own share the "custom" ones.
    if (lcid == 0 || PRIMARYLANGID(language) == 0 || PRIMARYLANGID(language) == LANG_INVARIANT ||
        !shippedPrimaries.contains(PRIMARYLANGID(language))) {
      continue;
    }
    ++known;
    if (!FindLanguageFileFor(codes, std::to_string(language))) {
      missing.push_back(ToUtf8(name) + " (" + std::to_string(language) + ")");
    }
  }
  EXPECT_GT(known, 50);
  EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
}

}  // namespace
}  // namespace lb
