// The settings store next to the system's own profile functions: the same starting file, the
// same reads and writes, once through SettingsStore (Win32 file system and code page) and once
// through GetPrivateProfileStringW (buffer of 2048) and WritePrivateProfileStringW on a copy.
// Every answer must agree, and afterwards both files must hold the same sections, keys and
// values as the profile functions read them. Only the text of the lines may differ: the store
// keeps untouched lines byte for byte, the profile functions rewrite the whole file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "base/settings_store.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "platform/utf.h"
#include "platform/wide_text_win.h"
#include "temp_folder.h"

namespace lb {
namespace {

constexpr const wchar_t* kSection = L"Settings";

// "C:\Müzik\ŞarkıЖ.wav": "ü" is in code page 1252, "Ş", "ı" and "Ж" are not.
const std::string kUnicodePath =
    "C:\\M\xC3\xBCzik\\\xC5\x9E"
    "ark\xC4\xB1\xD0\x96.wav";

std::string Utf16Le(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string Utf16Be(const std::string& utf8) {
  std::string bytes = "\xFE\xFF";
  for (const char16_t unit : Utf8ToUtf16(utf8)) {
    bytes += static_cast<char>(unit >> 8);
    bytes += static_cast<char>(unit & 0xFF);
  }
  return bytes;
}

// ---- the profile functions -------------------------------------------------------------------

std::string RealRead(const std::string& path, const std::string& key) {
  wchar_t buffer[2048];
  GetPrivateProfileStringW(kSection, ToWide(key).c_str(), L"", buffer, 2048, ToWide(path).c_str());
  return ToUtf8(buffer);
}

bool RealWrite(const std::string& path, const std::string& key, const std::string& value) {
  return WritePrivateProfileStringW(kSection, ToWide(key).c_str(), ToWide(value).c_str(),
                                    ToWide(path).c_str()) != 0;
}

std::int32_t RealReadInteger(const std::string& path, const std::string& key,
                             std::int32_t defaultValue) {
  return static_cast<std::int32_t>(
      GetPrivateProfileIntW(kSection, ToWide(key).c_str(), defaultValue, ToWide(path).c_str()));
}

// A list of NUL-terminated strings, as the section functions return them.
std::vector<std::string> SplitAtNul(const std::vector<wchar_t>& buffer, DWORD length) {
  std::vector<std::string> items;
  std::wstring item;
  for (DWORD i = 0; i < length; ++i) {
    if (buffer[i] == L'\0') {
      items.push_back(ToUtf8(item));
      item.clear();
    } else {
      item += buffer[i];
    }
  }
  return items;
}

std::vector<std::string> RealKeyNames(const std::string& path) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length =
      GetPrivateProfileStringW(kSection, nullptr, L"", buffer.data(),
                               static_cast<DWORD>(buffer.size()), ToWide(path).c_str());
  return SplitAtNul(buffer, length);
}

bool RealKeyExists(const std::string& path, const std::string& key) {
  for (const std::string& name : RealKeyNames(path)) {
    if (CompareStringOrdinal(ToWide(name).c_str(), -1, ToWide(key).c_str(), -1, TRUE) ==
        CSTR_EQUAL) {
      return true;
    }
  }
  return false;
}

// Everything the profile functions read from a file: each section with its "key=value" lines.
using Contents = std::vector<std::pair<std::string, std::vector<std::string>>>;

Contents RealContents(const std::string& path) {
  const std::wstring file = ToWide(path);
  std::vector<wchar_t> names(32768);
  const DWORD length =
      GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), file.c_str());
  Contents contents;
  for (const std::string& name : SplitAtNul(names, length)) {
    std::vector<wchar_t> lines(65536);
    const DWORD size = GetPrivateProfileSectionW(ToWide(name).c_str(), lines.data(),
                                                 static_cast<DWORD>(lines.size()), file.c_str());
    contents.emplace_back(name, SplitAtNul(lines, size));
  }
  return contents;
}

// ---- the table -------------------------------------------------------------------------------

struct Step {
  enum Kind { kRead, kReadInteger, kExists, kWrite } kind;
  std::string key;
  std::string value;
  std::int32_t defaultValue = 0;
};

Step Read(std::string key) { return {Step::kRead, std::move(key), "", 0}; }
Step ReadInt(std::string key, std::int32_t defaultValue) {
  return {Step::kReadInteger, std::move(key), "", defaultValue};
}
Step Exists(std::string key) { return {Step::kExists, std::move(key), "", 0}; }
Step Write(std::string key, std::string value) {
  return {Step::kWrite, std::move(key), std::move(value), 0};
}

struct DiffCase {
  const char* name;
  std::optional<std::string> file;  // the starting bytes; nothing: no file
  std::vector<Step> steps;
};

void PrintTo(const DiffCase& c, std::ostream* os) { *os << c.name; }

std::string Describe(const Step& step) {
  static const char* const kinds[] = {"read", "read integer", "exists", "write"};
  return std::string(kinds[step.kind]) + " \"" + step.key + "\"" +
         (step.kind == Step::kWrite ? " = \"" + step.value + "\"" : "");
}

class ProfileDifferentialTest : public ::testing::TestWithParam<DiffCase> {
 protected:
  test::TempFolder folder;
  Win32FileSystem files;
  Win32CodePage codePage;
  const std::string ours = folder.Path("ours.ini");
  const std::string real = folder.Path("real.ini");
  SettingsStore store{ours, files, codePage};
};

TEST_P(ProfileDifferentialTest, AnswersAndResultingFileMatchTheProfileFunctions) {
  if (GetACP() != 1252) GTEST_SKIP() << "the table is written for code page 1252";
  if (GetParam().file) {
    folder.Put("ours.ini", *GetParam().file);
    folder.Put("real.ini", *GetParam().file);
  }
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE(Describe(step));
    switch (step.kind) {
      case Step::kRead:
        EXPECT_EQ(store.ReadString(step.key, ""), RealRead(real, step.key));
        break;
      case Step::kReadInteger:
        EXPECT_EQ(store.ReadInteger(step.key, step.defaultValue),
                  RealReadInteger(real, step.key, step.defaultValue));
        break;
      case Step::kExists:
        EXPECT_EQ(store.KeyExists(step.key), RealKeyExists(real, step.key));
        break;
      case Step::kWrite:
        store.WriteString(step.key, step.value);
        ASSERT_TRUE(RealWrite(real, step.key, step.value));
        break;
    }
  }

  // The profile functions read the same content from both files...
  EXPECT_EQ(RealContents(ours), RealContents(real));
  // ...and the store reads every key of its own file as they read it from theirs.
  for (const std::string& key : RealKeyNames(real)) {
    EXPECT_EQ(store.ReadString(key, ""), RealRead(real, key)) << key;
  }
  for (const std::string& name : folder.Names()) {
    EXPECT_TRUE(name == "ours.ini" || name == "real.ini") << "left behind: " << name;
  }
}

const std::string a2045(2045, 'a'), a2046(2046, 'a'), a2047(2047, 'a'), a2048(2048, 'a');

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileDifferentialTest,
    ::testing::Values(
        DiffCase{"LowerCaseSectionHeaderAndKeysInOtherCase",
                 "[settings]\r\nleft=10\r\nTOP=20\r\n",
                 {Read("Left"), Read("top"), Exists("LEFT"), Write("Left", "11"),
                  Write("Width", "200"), Read("left"), Read("WIDTH")}},
        DiffCase{
            "BlanksAroundNamesAndValues",
            " [ Settings ] \r\n\t Left \t=  10 \t\r\n  Num Lock =  OFF  \r\n\x1A"
            "A\v=\f1\r\n",
            {Read("Left"), Read("Num Lock"), Read(" Num Lock "), Read("A"), Write("Num Lock", "ON"),
             Write("Left", "  12"), Write("B", "x y  "), Read("Left"), Read("B")}},
        DiffCase{
            "Quotes",
            "[Settings]\r\nA=\" a \"\r\nB=' b '\r\nC=\"c'\r\nD=\"\r\nE=\"\"\r\n"
            "F=  'x'  \r\nG=a\"b\"\r\nH=\"\"x\"\"\r\n",
            {Read("A"), Read("B"), Read("C"), Read("D"), Read("E"), Read("F"), Read("G"), Read("H"),
             Write("I", "\"quoted\""), Read("I"), Write("J", "' kept '"), Read("J")}},
        DiffCase{"LongValuesAtTheBoundary",
                 "[Settings]\r\nU2047=" + a2047 + "\r\nU2048=" + a2048 + "\r\nU5000=" +
                     std::string(5000, 'b') + "\r\nQ2045=\"" + a2045 + "\"\r\nQ2046=\"" + a2046 +
                     "\"\r\nQ2047=\"" + a2047 + "\"\r\nQ2048='" + a2048 + "'\r\n",
                 {Read("U2047"), Read("U2048"), Read("U5000"), Read("Q2045"), Read("Q2046"),
                  Read("Q2047"), Read("Q2048"), Write("U2047", a2048), Read("U2047")}},
        DiffCase{"MissingFile",
                 std::nullopt,
                 {Read("Left"), ReadInt("Left", 5), Exists("Left"), Write("Left", "1"),
                  Write("Top", "2"), Read("Top"), Exists("Top")}},
        DiffCase{"OtherSectionsCommentsAndUnknownKeysKept",
                 "; Lock Beacon\r\n\r\n[Other]\r\nLeft=9\r\n\r\n[Settings]\r\n; window\r\n"
                 "Unknown = keep  me \r\nLeft=5\r\n\r\n[Third]\r\nA=1\r\n",
                 {Read("Left"), Read("Unknown"), Exists("Unknown"), Write("Left", "7"),
                  Write("Top", "3"), Write("Unknown", "changed"), Read("Top")}},
        DiffCase{"FirstSectionAndFirstKeyWin",
                 "[Settings]\r\nA=1\r\nA=2\r\n[SETTINGS]\r\nA=3\r\nB=4\r\n",
                 {Read("A"), Read("B"), Exists("B"), Write("B", "5"), Read("B"), Write("A", "6"),
                  Read("A")}},
        DiffCase{"KeyWithoutEquals",
                 "[Settings]\r\nLeft\r\nLeft=2\r\nTop\r\n;Width=1\r\n",
                 {Read("Left"), Exists("Left"), Exists("Top"), Exists("Width"), Write("Left", "1"),
                  Read("Left"), Exists("Left")}},
        DiffCase{"MixedLineEndsAndNoFinalLineEnd",
                 "[Settings]\nLeft=1\rTop=2\r\nWidth=3",
                 {Read("Left"), Read("Top"), Read("Width"), Write("Height", "4"),
                  Write("Width", "5"), Read("Width")}},
        DiffCase{"SectionAddedAtTheEnd",
                 "[Other]\r\nA=1",
                 {Read("A"), Write("Left", "1"), Read("Left")}},
        DiffCase{"IntegersWhereTheRulesAgree",
                 "[Settings]\r\nA=500\r\nB=-5\r\nC=+5\r\nD=0x1F4\r\nE=0x1f4\r\nF=  12  \r\nG=\r\n"
                 "H=2147483647\r\nI=-2147483648\r\nJ=\"42\"\r\nK=0\r\n",
                 {ReadInt("A", 7), ReadInt("B", 7), ReadInt("C", 7), ReadInt("D", 7),
                  ReadInt("E", 7), ReadInt("F", 7), ReadInt("G", 7), ReadInt("H", 7),
                  ReadInt("I", 7), ReadInt("J", 7), ReadInt("K", 7), ReadInt("Missing", 7)}},
        DiffCase{"AnsiTextTheCodePageHolds",
                 "[Settings]\r\nPath=C:\\M\xFCzik\\\x80.wav\r\n",
                 {Read("Path"), Write("Path2", "C:\\Caf\xC3\xA9"), Read("Path2")}},
        DiffCase{
            "Utf16LittleEndianFile",
            Utf16Le("[Settings]\r\nPath=" + kUnicodePath + "\r\nLeft=1\r\n"),
            {Read("Path"), Write("Left", "2"), Write("Other", kUnicodePath + "2"), Read("Other")}},
        DiffCase{"Utf16BigEndianFile",
                 Utf16Be("[Settings]\r\nPath=" + kUnicodePath + "\r\n"),
                 {Read("Path"), Write("Left", "2"), Read("Left")}},
        DiffCase{"Utf8FileWithMark",
                 "\xEF\xBB\xBF[Settings]\r\nPath=" + kUnicodePath + "\r\n",
                 {Read("Path"), Write("Left", "2"), Write("Other", kUnicodePath), Read("Other")}}),
    [](const auto& test) { return test.param.name; });

// ---- where the store differs on purpose ------------------------------------------------------

class ProfileFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "written for code page 1252";
  }
  test::TempFolder folder;
  Win32FileSystem files;
  Win32CodePage codePage;
  const std::string ours = folder.Path("ours.ini");
  const std::string real = folder.Path("real.ini");
  SettingsStore store{ours, files, codePage};
};

// The profile functions keep a file without byte-order mark in the ANSI code page and write a
// character it lacks as a look-alike or "?": the path of a sound file is lost. The store writes
// such a file as UTF-16 instead, which the profile functions then read correctly.
TEST_F(ProfileFunctionsTest, UnicodeValueSurvivesOnlyThroughTheStore) {
  const std::string start = "[Settings]\r\nLeft=10\r\n[Other]\r\nX=1\r\n";
  folder.Put("ours.ini", start);
  folder.Put("real.ini", start);

  ASSERT_TRUE(RealWrite(real, "SoundEffectON", kUnicodePath));
  store.WriteString("SoundEffectON", kUnicodePath);

  EXPECT_NE(RealRead(real, "SoundEffectON"), kUnicodePath) << "the fault the store mends";
  EXPECT_EQ(store.ReadString("SoundEffectON", ""), kUnicodePath);
  EXPECT_EQ(RealRead(ours, "SoundEffectON"), kUnicodePath);
  EXPECT_EQ(folder.Get("ours.ini")->substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(RealRead(ours, "Left"), "10");
  EXPECT_EQ(RealContents(ours).size(), 2u);

  // The profile functions keep the file in UTF-16 when they write it afterwards.
  const std::string other = "D:\\\xD0\x97\xD0\xB2\xD1\x83\xD0\xBA.wav";  // "Звук"
  ASSERT_TRUE(RealWrite(ours, "SoundEffectOFF", other));
  EXPECT_EQ(store.ReadString("SoundEffectOFF", ""), other);
  EXPECT_EQ(store.ReadString("SoundEffectON", ""), kUnicodePath);
}

// The store's integer rule takes "$" and "0X" as hexadecimal and refuses text that is not
// wholly a number in range; GetPrivateProfileIntW reads the leading digits of any text and
// knows neither "$" nor (under Wine) "0X". Where the two differ the store follows its own rule,
// so these values are not compared above.
TEST_F(ProfileFunctionsTest, IntegerRulesOfTheirOwn) {
  folder.Put("ours.ini", "[Settings]\r\nA=$1F4\r\nB=0X1F4\r\nC=12abc\r\nD=abc\r\nE=2147483648\r\n");
  EXPECT_EQ(store.ReadInteger("A", 7), 500);
  EXPECT_EQ(store.ReadInteger("B", 7), 500);
  EXPECT_EQ(store.ReadInteger("C", 7), 7);
  EXPECT_EQ(store.ReadInteger("D", 7), 7);
  EXPECT_EQ(store.ReadInteger("E", 7), 7);
  EXPECT_NE(RealReadInteger(ours, "A", 7), 500);
  EXPECT_EQ(RealReadInteger(ours, "C", 7), 12);
}

}  // namespace
}  // namespace lb
