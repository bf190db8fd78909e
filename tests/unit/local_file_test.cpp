// Which paths count as files on this machine: the rules on the text, then the drive and the
// links that the file system knows, asked through the in-memory fake.
#include "platform/local_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/memory_file_system.h"

namespace lb {
namespace {

using ::testing::ElementsAre;
using ::testing::Not;
using Files = test::MemoryFileSystem;

struct PathCase {
  const char* path;
  bool local;
};

// Paths a hand-edited settings.ini could hold. Only full paths on a drive, through plain names,
// are local; every form that Windows would send to another machine or a device is not.
TEST(LocalPathTest, OnlyFullDrivePathsThroughPlainNamesAreLocal) {
  const std::vector<PathCase> cases = {
      {"C:\\Sounds\\on.wav", true},
      {"d:/sounds/on.wav", true},
      {"C:\\Sounds/mixed\\on.wav", true},
      {"C:\\M\xC3\xBCzik \xC5\x9E"
       "ark\xC4\xB1\\ding.wav",
       true},
      {"C:\\a b\\name.with.dots.wav", true},
      {"C:\\x\\COM10.wav", true},
      {"C:\\x\\CONSOLE.wav", true},
      {"C:\\x\\nullsound.wav", true},
      {"C:\\x\\con-on.wav", true},
      // another machine
      {"\\\\host\\share\\on.wav", false},
      {"//host/share/on.wav", false},
      {"\\/host/share/on.wav", false},
      {"\\\\?\\UNC\\host\\share\\on.wav", false},
      {"\\\\;LanmanRedirector\\host\\share\\on.wav", false},
      {"\\\\192.168.0.1@SSL\\DavWWWRoot\\on.wav", false},
      // devices and namespaces
      {"\\\\?\\C:\\Sounds\\on.wav", false},
      {"\\\\.\\C:\\Sounds\\on.wav", false},
      {"\\\\.\\pipe\\sound", false},
      {"\\??\\C:\\Sounds\\on.wav", false},
      {"C:\\Sounds\\NUL", false},
      {"C:\\Sounds\\nul.wav", false},
      {"C:\\Sounds\\COM1.wav", false},
      {"C:\\Sounds\\lpt9", false},
      {"C:\\Sounds\\CON .wav", false},
      {"C:\\Sounds\\conin$", false},
      {"C:\\Sounds\\AUX\\on.wav", false},
      {"C:\\Sounds\\COM\xC2\xB9.wav", false},
      // addresses
      {"http://host/on.wav", false},
      {"file://host/share/on.wav", false},
      {"file:///C:/Sounds/on.wav", false},
      // relative, or with names Windows would rewrite
      {"", false},
      {"on.wav", false},
      {"Sounds\\on.wav", false},
      {"\\Sounds\\on.wav", false},
      {"C:on.wav", false},
      {"C:", false},
      {"C:\\", false},
      {"C:\\Sounds\\", false},
      {"C:\\Sounds\\\\on.wav", false},
      {"C:\\Sounds\\..\\on.wav", false},
      {"C:\\.\\on.wav", false},
      {"1:\\on.wav", false},
      {"CC:\\on.wav", false},
      // streams, wildcards, characters no name has
      {"C:\\Sounds\\on.wav:hidden", false},
      {"C:\\Sounds\\on.wav::$DATA", false},
      {"C:\\Sounds\\o*.wav", false},
      {"C:\\Sounds\\o?.wav", false},
      {"C:\\Sounds\\<.wav", false},
      {"C:\\Sounds\\a\"b.wav", false},
      {"C:\\Sounds\\a|b.wav", false},
      {"C:\\Sounds\\tab\there.wav", false},
  };
  const Files files;
  for (const PathCase& c : cases) {
    EXPECT_EQ(IsLocalPath(files, c.path), c.local) << c.path;
  }
}

TEST(LocalPathTest, APathOnAMappedDriveIsNotLocalAndNothingOnItIsAsked) {
  Files files;
  files.remoteDrives = {'Z'};
  files.recordTouched = true;
  EXPECT_FALSE(IsLocalPath(files, "Z:\\Sounds\\on.wav"));
  EXPECT_FALSE(IsLocalPath(files, "z:\\Sounds\\on.wav"));
  EXPECT_THAT(files.touched, ElementsAre("Z:", "Z:"));
  EXPECT_TRUE(IsLocalPath(files, "C:\\Sounds\\on.wav"));
}

// A link can lead anywhere, another machine included (a symbolic link to \\host\share), and
// Windows follows it when anything beneath it is opened: the walk stops at the first one, and
// nothing below it is asked about.
TEST(LocalPathTest, ALinkAnywhereOnThePathMakesItNotLocal) {
  struct LinkCase {
    const char* entry;
    std::uint32_t tag;
  };
  const std::vector<LinkCase> links = {
      {"C:\\Users", Files::kJunction},
      {"C:\\Users\\me\\Sounds", Files::kSymbolicLink},
      {"C:\\Users\\me\\Sounds\\on.wav", Files::kSymbolicLink},
      {"C:\\Users\\me", 0x8000000A},  // a DFS link
      {"C:\\Users\\me", 0x12345678},  // a kind not known here
  };
  for (const LinkCase& link : links) {
    SCOPED_TRACE(link.entry);
    Files files;
    files.recordTouched = true;
    files.reparseTags[link.entry] = link.tag;
    EXPECT_FALSE(IsLocalPath(files, "C:\\Users\\me\\Sounds\\on.wav"));
    EXPECT_EQ(files.touched.back(), link.entry) << "asked beyond the link";
  }
}

// Reparse points that keep the file's data where it is (OneDrive's files, compressed system
// files, deduplicated files) are no links: a sound kept there stays usable.
TEST(LocalPathTest, ReparsePointsThatKeepTheFileInPlaceAreLocal) {
  for (const std::uint32_t tag :
       {0x9000001Au, 0x9000701Au, 0x9000F01Au, 0x80000017u, 0x80000013u}) {
    SCOPED_TRACE(tag);
    Files files;
    files.reparseTags["C:\\Users\\me\\OneDrive"] = tag;
    files.reparseTags["C:\\Users\\me\\OneDrive\\on.wav"] = tag;
    EXPECT_TRUE(IsLocalPath(files, "C:\\Users\\me\\OneDrive\\on.wav"));
  }
}

TEST(LocalPathTest, ReparseTagsThatLeadElsewhere) {
  for (const std::uint32_t tag : {0xA000000Cu, 0xA0000003u, 0x8000000Au, 0x80000012u, 0x8000001Bu,
                                  0x9000001Bu, 0x00000000u, 0xFFFFFFFFu}) {
    EXPECT_TRUE(ReparseTagLeadsElsewhere(tag)) << std::hex << tag;
  }
}

TEST(LocalPathTest, PlainFileNames) {
  for (const char* name :
       {"German.lang.txt", "a", "Germanlang.txt", "x..y", ".hidden", "COM10", "CONSOLE.lang.txt"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
  for (const char* name : {"", ".", "..", "a\\b", "a/b", "C:x", "a:b", "NUL", "con.lang.txt",
                           "Com3.txt", "lpt1", "a*", "a?", "a\x01"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
}

}  // namespace
}  // namespace lb
