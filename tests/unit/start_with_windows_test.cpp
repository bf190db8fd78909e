// "Start with Windows": which entries count as this copy's, and what switching on and off
// writes to the user's start-up entry.
#include "base/start_with_windows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/fake_startup_entry.h"
#include "platform/app_error.h"

namespace lb {
namespace {

constexpr const char* kExe =
    "C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe";

TEST(StartWithWindowsTest, TheCommandQuotesThePathAndStartsIt) {
  EXPECT_EQ(StartupCommandFor(kExe), std::string("\"") + kExe + "\"");
  EXPECT_TRUE(CommandStarts(StartupCommandFor(kExe), kExe));
}

TEST(StartWithWindowsTest, ACommandStartsThisExeOnlyWhenItsProgramIsThisPath) {
  const struct {
    const char* command;
    bool startsIt;
  } cases[] = {
      {"\"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe\"", true},
      {"\"c:\\users\\ann\\appdata\\local\\programs\\lock beacon\\LOCKBEACON.EXE\" /minimized",
       true},
      {"  \"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe\"", true},
      // Unquoted, the path ends at the first space: "C:\Users\Ann\AppData\Local\Programs\Lock".
      {"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe", false},
      {"\"C:\\Portable\\Lock Beacon\\LockBeacon.exe\"", false},
      {"\"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe.bak\"", false},
      {"\"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.ex\"", false},
      {"\"C:\\Users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe", true},
      {"", false},
      {"\"\"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandStarts(c.command, kExe), c.startsIt) << c.command;
  }
  EXPECT_TRUE(CommandStarts("C:\\Tools\\LockBeacon.exe -x", "C:\\Tools\\LockBeacon.exe"));
  EXPECT_FALSE(CommandStarts("\"\"", ""));
}

TEST(StartWithWindowsTest, IsOnOnlyForThisExeWhenTheSystemHasNotSwitchedItOff) {
  const struct {
    std::optional<std::string> command;
    bool switchedOff;
    bool on;
  } cases[] = {
      {std::nullopt, false, false},
      {StartupCommandFor(kExe), false, true},
      {StartupCommandFor(kExe), true, false},
      {"\"C:\\Portable\\LockBeacon.exe\"", false, false},
  };
  for (const auto& c : cases) {
    test::FakeStartupEntry entry;
    entry.command = c.command;
    entry.switchedOff = c.switchedOff;
    EXPECT_EQ(StartWithWindows(entry, kExe).IsOn(), c.on) << c.command.value_or("<none>");
  }
}

TEST(StartWithWindowsTest, SwitchingWritesOnlyWhatDiffers) {
  const struct {
    const char* what;
    std::optional<std::string> command;
    bool switchedOff;
    bool set;
    std::optional<std::string> after;
    bool switchedOffAfter;
  } cases[] = {
      {"off to on", std::nullopt, false, true, StartupCommandFor(kExe), false},
      {"on to off", StartupCommandFor(kExe), false, false, std::nullopt, false},
      {"switched off by the system, ticked", StartupCommandFor(kExe), true, true,
       StartupCommandFor(kExe), false},
      {"switched off by the system, left unticked", StartupCommandFor(kExe), true, false,
       StartupCommandFor(kExe), true},
      {"another copy's entry, ticked", "\"D:\\LockBeacon.exe\"", false, true,
       StartupCommandFor(kExe), false},
      {"another copy's entry, left unticked", "\"D:\\LockBeacon.exe\"", false, false,
       "\"D:\\LockBeacon.exe\"", false},
  };
  for (const auto& c : cases) {
    test::FakeStartupEntry entry;
    entry.command = c.command;
    entry.switchedOff = c.switchedOff;
    StartWithWindows(entry, kExe).Set(c.set);
    EXPECT_EQ(entry.command, c.after) << c.what;
    EXPECT_EQ(entry.switchedOff, c.switchedOffAfter) << c.what;
    EXPECT_EQ(StartWithWindows(entry, kExe).IsOn(), c.set) << c.what;
  }

  test::FakeStartupEntry unchanged;
  unchanged.command = StartupCommandFor(kExe);
  StartWithWindows(unchanged, kExe).Set(true);
  test::FakeStartupEntry none;
  StartWithWindows(none, kExe).Set(false);
  EXPECT_EQ(unchanged.writes + none.writes, 0);
}

TEST(StartWithWindowsTest, AnUnknownOwnPathIsNeverWrittenAsTheEntry) {
  test::FakeStartupEntry entry;
  StartWithWindows unknown(entry, "");
  EXPECT_FALSE(unknown.IsOn());
  EXPECT_THROW(unknown.Set(true), AppError);
  EXPECT_FALSE(entry.command.has_value());
}

}  // namespace
}  // namespace lb
