// The start-up entry in the registry, on keys of the test's own under HKEY_CURRENT_USER laid out
// as the system's Run and StartupApproved\Run keys: what it reads back, that writing takes the
// system's switch-off away, and that removing leaves other values alone.
#include "base/startup_entry_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/start_with_windows.h"
#include "platform/app_error.h"

namespace lb {
namespace {

constexpr const wchar_t* kTestRoot = L"Software\\LockBeaconTests\\StartupEntry";
const std::wstring kRun = std::wstring(kTestRoot) + L"\\Run";
const std::wstring kApproved = std::wstring(kTestRoot) + L"\\StartupApproved\\Run";

class RegistryStartupEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }

  static void SetApproved(std::vector<BYTE> bytes) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kApproved.c_str(), L"Lock Beacon", REG_BINARY,
                      bytes.data(), static_cast<DWORD>(bytes.size()));
  }
  static bool HasValue(const std::wstring& key, const wchar_t* name) {
    return ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
  }

  RegistryStartupEntry entry{kRun, kApproved};
};

TEST_F(RegistryStartupEntryTest, WritesReadsBackAndRemovesTheValue) {
  EXPECT_FALSE(entry.Command().has_value());
  EXPECT_FALSE(entry.SwitchedOff());
  entry.Remove();  // nothing there: no failure

  const std::string command = "\"C:\\Programme\\Lock Beacon\\LockBeacon.exe\"";
  entry.Write(command);
  EXPECT_EQ(entry.Command(), command);
  wchar_t raw[256] = {};
  DWORD size = sizeof(raw);
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kRun.c_str(), L"Lock Beacon", RRF_RT_REG_SZ, nullptr,
                           raw, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(raw, L"\"C:\\Programme\\Lock Beacon\\LockBeacon.exe\"");

  ::RegSetKeyValueW(HKEY_CURRENT_USER, kRun.c_str(), L"Other Tool", REG_SZ, L"x", 4);
  entry.Remove();
  EXPECT_FALSE(entry.Command().has_value());
  EXPECT_TRUE(HasValue(kRun, L"Other Tool"));
}

TEST_F(RegistryStartupEntryTest, TheSystemsSwitchIsReadFromItsFirstByteAndTakenAwayByWrite) {
  const struct {
    std::vector<BYTE> bytes;
    bool switchedOff;
  } cases[] = {
      {{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {{0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {{0x03, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01}, true},
      {{0x07, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
  };
  for (const auto& c : cases) {
    SetApproved(c.bytes);
    EXPECT_EQ(entry.SwitchedOff(), c.switchedOff) << int{c.bytes[0]};
  }
  entry.Write("\"C:\\LockBeacon.exe\"");
  EXPECT_FALSE(entry.SwitchedOff());
  EXPECT_FALSE(HasValue(kApproved, L"Lock Beacon"));
}

TEST_F(RegistryStartupEntryTest, StartWithWindowsRoundTripsThroughTheRegistry) {
  const std::string exe = "C:\\users\\Ann\\AppData\\Local\\Programs\\Lock Beacon\\LockBeacon.exe";
  StartWithWindows startWithWindows(entry, exe);
  startWithWindows.Set(true);
  EXPECT_TRUE(startWithWindows.IsOn());
  SetApproved({0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(startWithWindows.IsOn());
  startWithWindows.Set(true);
  EXPECT_TRUE(startWithWindows.IsOn());
  startWithWindows.Set(false);
  EXPECT_FALSE(HasValue(kRun, L"Lock Beacon"));
}

TEST_F(RegistryStartupEntryTest, AKeyThatCannotBeWrittenIsReported) {
  // A lasting key cannot be made under a volatile one: the write fails as a denied one would.
  const std::wstring volatileKey = std::wstring(kTestRoot) + L"\\Volatile";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, volatileKey.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
  RegistryStartupEntry broken{volatileKey + L"\\Run", kApproved};
  try {
    broken.Write("\"C:\\LockBeacon.exe\"");
    ADD_FAILURE() << "the write was not refused";
  } catch (const AppError& error) {
    EXPECT_NE(std::string(error.what()).find("Volatile\\Run"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(broken.Command().has_value());
}

}  // namespace
}  // namespace lb
