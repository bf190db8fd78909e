// The shipped language files against the catalogue of texts the program translates: every
// file has a complete, well-formed entry for each text and no entry the program never looks up;
// every text the sources pass to Translate is in the catalogue; "LanguageCodes.csv" maps every
// identifier to a shipped file of the right language.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/fake_code_page.h"
#include "i18n/language_chooser.h"
#include "i18n/language_codes.h"
#include "i18n/language_file.h"
#include "i18n/text_catalogue.h"
#include "i18n/translation.h"
#include "platform/utf.h"

namespace lb {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = LOCKBEACON_SOURCE_DIR;
const fs::path kLanguagesDir = kSourceDir / "resources" / "deliver" / "Languages";

// The languages of the language chooser's flag table but English, each shipped as
// <name>.lang.txt.
const std::vector<std::string> kShippedLanguages(kFlagLanguageNames.begin() + 1,
                                                 kFlagLanguageNames.end());

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The format placeholders of a text in order: "%s", "%d", "%5:s", "%-8.2f", and "%%".
std::vector<std::string> Placeholders(std::string_view text) {
  static const std::regex placeholder(R"(%%|%(\d+:)?-?\d*(\.\d+)?[a-zA-Z])");
  std::vector<std::string> found;
  const std::string s(text);
  for (auto it = std::sregex_iterator(s.begin(), s.end(), placeholder);
       it != std::sregex_iterator(); ++it) {
    found.push_back(it->str());
  }
  return found;
}

TEST(TextCatalogueTest, TextsAreDistinctAndLookupable) {
  std::set<std::string_view> seen;
  for (const CatalogueText& text : kTextCatalogue) {
    SCOPED_TRACE(std::string(text.english));
    EXPECT_TRUE(seen.insert(text.english).second) << "listed twice";
    EXPECT_FALSE(text.english.empty());
    // A language file cannot hold a key with these, nor keep blanks at its ends visible.
    EXPECT_EQ(text.english.find_first_of("{}\r\n"), std::string_view::npos);
    EXPECT_EQ(TrimSpacesAndControls(text.english), text.english);
    EXPECT_TRUE(IsValidUtf8(text.english));
    EXPECT_FALSE(text.usedBy.empty());
  }
  EXPECT_TRUE(IsCatalogueText("Settings..."));
  EXPECT_FALSE(IsCatalogueText("settings..."));
}

TEST(TextCatalogueTest, CaptionsOfTheMainWindowAreCatalogueTexts) {
  std::set<std::string_view> components;
  for (const ComponentCaption& caption : kAppCaptions) {
    SCOPED_TRACE(std::string(caption.component));
    EXPECT_TRUE(components.insert(caption.component).second);
    EXPECT_TRUE(IsCatalogueText(caption.english));
  }
  EXPECT_EQ(components.size(), 30u);
}

TEST(TextCatalogueTest, EveryTextTheSourcesTranslateIsInTheCatalogue) {
  // Translate("...") with a literal, anywhere in the program's sources.
  static const std::regex call(R"(\bTranslate\(\s*\"((?:[^\"\\]|\\.)*)\")");
  int calls = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / "src")) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    const std::string source = ReadBytes(entry.path());
    for (auto it = std::sregex_iterator(source.begin(), source.end(), call);
         it != std::sregex_iterator(); ++it) {
      ++calls;
      const std::string literal = std::regex_replace((*it)[1].str(), std::regex(R"(\\(.))"), "$1");
      EXPECT_TRUE(IsCatalogueText(literal))
          << entry.path().filename().string() << " translates \"" << literal
          << "\", which the catalogue lacks: add it there and to every language file";
    }
  }
  RecordProperty("TranslateCalls", calls);
}

TEST(ShippedLanguagesTest, FolderHoldsTheTableAndOneFilePerLanguage) {
  std::set<std::string> expected = {kLanguageCodesFileName};
  for (const std::string& name : kShippedLanguages) expected.insert(name + kLanguageFileSuffix);
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(kLanguagesDir)) {
    found.insert(entry.path().filename().string());
  }
  EXPECT_EQ(found, expected);
}

class ShippedLanguageFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedLanguageFileTest, TranslatesEveryCatalogueTextAndNothingElse) {
  const std::string bytes = ReadBytes(kLanguagesDir / (GetParam() + kLanguageFileSuffix));
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(IsValidUtf8(bytes));
  ASSERT_EQ(bytes.find('\0'), std::string::npos);
  const LanguageTable table(DecodeLanguageFileText(bytes));

  for (const CatalogueText& text : kTextCatalogue) {
    SCOPED_TRACE(std::string(text.english));
    const auto value = table.Find(text.english);
    if (!value) {
      ADD_FAILURE() << "no entry";
      continue;
    }
    EXPECT_FALSE(value->empty()) << "empty entry: the English text would show";
    EXPECT_EQ(TrimSpacesAndControls(*value), *value) << "blanks at an end would show";
    EXPECT_EQ(Placeholders(*value), Placeholders(text.english));
  }
  for (const std::string& key : table.Keys()) {
    EXPECT_TRUE(IsCatalogueText(key) || key.starts_with("INFO:"))
        << "{" << key << "} is never looked up";
  }
  EXPECT_TRUE(table.RepeatedKeys().empty())
      << "repeated: " << ::testing::PrintToString(table.RepeatedKeys());
  EXPECT_EQ(table.Find(kTranslatedByKey), "Lock Beacon contributors");
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, ShippedLanguageFileTest,
                         ::testing::ValuesIn(kShippedLanguages),
                         [](const ::testing::TestParamInfo<std::string>& language) {
                           return language.param;
                         });

// The primary language (low ten bits of the identifier) that each file serves, and for the
// languages that Windows splits by region between two files, the identifiers of each file.
struct LanguageOfFile {
  std::uint16_t primary;
  std::set<std::uint16_t> only;  // empty: every identifier of the primary language
};

const std::map<std::string, std::vector<LanguageOfFile>> kLanguageOfFile = {
    {"German", {{0x07, {}}}},
    {"French", {{0x0C, {}}}},
    {"Turkish", {{0x1F, {}}}},
    {"Albanian", {{0x1C, {}}}},
    {"Arabic", {{0x01, {}}}},
    {"Bulgarian", {{0x02, {}}}},
    {"ChineseSimplified", {{0x04, {0x7804, 0x0004, 0x0804, 0x1004}}}},
    {"ChineseTraditional", {{0x04, {0x7C04, 0x0404, 0x0C04, 0x1404}}}},
    {"Czech", {{0x05, {}}}},
    {"Dutch", {{0x13, {}}}},
    {"Finnish", {{0x0B, {}}}},
    {"Greek", {{0x08, {}}}},
    {"Hebrew", {{0x0D, {}}}},
    {"Hungarian", {{0x0E, {}}}},
    {"Italian", {{0x10, {}}}},
    {"Japanese", {{0x11, {}}}},
    {"Korean", {{0x12, {}}}},
    // Dari, the Persian of Afghanistan, has its own primary language identifier.
    {"Persian", {{0x29, {}}, {0x8C, {}}}},
    {"Polish", {{0x15, {}}}},
    {"PortugueseBrazil", {{0x16, {0x0016, 0x0416}}}},
    {"PortuguesePortugal", {{0x16, {0x0816}}}},
    {"Russian", {{0x19, {}}}},
    {"Slovenian", {{0x24, {}}}},
    {"Spanish", {{0x0A, {}}}},
    {"Swedish", {{0x1D, {}}}},
    {"Ukrainian", {{0x22, {}}}},
    {"Vietnamese", {{0x2A, {}}}},
};

TEST(ShippedLanguagesTest, LanguageCodesMapEveryIdentifierToAShippedFileOfItsLanguage) {
  const test::FakeCodePage codePage;
  const std::string text =
      DecodeLanguageCodes(ReadBytes(kLanguagesDir / kLanguageCodesFileName), codePage);
  std::set<unsigned long> identifiers;
  std::set<std::string> referenced;
  for (const std::string_view line : SplitTextLines(text)) {
    SCOPED_TRACE(std::string(line));
    const auto comma = line.find(',');
    ASSERT_NE(comma, std::string_view::npos);
    const std::string number(line.substr(0, comma));
    const std::string file(line.substr(comma + 1));
    ASSERT_TRUE(!number.empty() &&
                std::ranges::all_of(number, [](char c) { return c >= '0' && c <= '9'; }));
    ASSERT_TRUE(number == "0" || number.front() != '0') << "the lookup compares digits exactly";
    const unsigned long identifier = std::stoul(number);
    ASSERT_LE(identifier, 0xFFFFul);
    EXPECT_TRUE(identifiers.insert(identifier).second) << "listed twice; the first line wins";
    EXPECT_EQ(line, std::string(TrimSpacesAndControls(line)));

    ASSERT_TRUE(file.ends_with(kLanguageFileSuffix));
    const std::string language =
        file.substr(0, file.size() - std::string(kLanguageFileSuffix).size());
    ASSERT_TRUE(kLanguageOfFile.contains(language)) << "not a shipped file: " << file;
    referenced.insert(language);
    const auto& kinds = kLanguageOfFile.at(language);
    const bool fits = std::ranges::any_of(kinds, [&](const LanguageOfFile& kind) {
      return (identifier & 0x3FF) == kind.primary &&
             (kind.only.empty() || kind.only.contains(static_cast<std::uint16_t>(identifier)));
    });
    EXPECT_TRUE(fits) << "identifier of another language";
  }
  EXPECT_EQ(referenced.size(), kShippedLanguages.size())
      << "a shipped file that no identifier reaches";

  // Languages that Windows splits between two files have every identifier placed.
  for (const auto& [language, kinds] : kLanguageOfFile) {
    for (const LanguageOfFile& kind : kinds) {
      for (const std::uint16_t identifier : kind.only) {
        EXPECT_TRUE(identifiers.contains(identifier)) << language << " lacks " << identifier;
      }
    }
  }
}

TEST(ShippedLanguagesTest, LanguageCodesServeTheCommonRegions) {
  const test::FakeCodePage codePage;
  const std::string text =
      DecodeLanguageCodes(ReadBytes(kLanguagesDir / kLanguageCodesFileName), codePage);
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"1031", "German.lang.txt"},
      {"2055", "German.lang.txt"},
      {"3079", "German.lang.txt"},
      {"1036", "French.lang.txt"},
      {"3084", "French.lang.txt"},
      {"1055", "Turkish.lang.txt"},
      {"3082", "Spanish.lang.txt"},
      {"1034", "Spanish.lang.txt"},
      {"2058", "Spanish.lang.txt"},
      {"22538", "Spanish.lang.txt"},
      {"1046", "PortugueseBrazil.lang.txt"},
      {"2070", "PortuguesePortugal.lang.txt"},
      {"2052", "ChineseSimplified.lang.txt"},
      {"1028", "ChineseTraditional.lang.txt"},
      {"3076", "ChineseTraditional.lang.txt"},
      {"1025", "Arabic.lang.txt"},
      {"14337", "Arabic.lang.txt"},
      {"1065", "Persian.lang.txt"},
      {"2073", "Russian.lang.txt"},
      {"2077", "Swedish.lang.txt"},
      {"2067", "Dutch.lang.txt"},
      {"2064", "Italian.lang.txt"},
  };
  for (const auto& [identifier, file] : cases) {
    SCOPED_TRACE(identifier);
    EXPECT_EQ(FindLanguageFileFor(text, identifier), file);
  }
  EXPECT_EQ(FindLanguageFileFor(text, "1033"), std::nullopt) << "English needs no file";
}

}  // namespace
}  // namespace lb
