// The real program's update check against the stand-in web server: the notice a second after
// start, the count in the registry, and no request once five have been counted today.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/harness_win.h"
#include "e2e/screen_win.h"
#include "indicator/popup_menu.h"
#include "online/update_check_win.h"
#include "online/update_store_win.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"

namespace lb::e2e {
namespace {

// The update store is the prefix's own, shared by every test: start without it.
class UpdateCheckE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kUpdateStoreKey); }
  void TearDown() override {
    SetUp();
    ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", nullptr);
  }
  static void PointAt(const test::StandinServer& server) {
    ::SetEnvironmentVariableW(L"LOCKBEACON_SERVER_HOST", ToWide(server.Host()).c_str());
  }
  static HWND FindNotice(const AppProcess& app) {
    for (const HWND window : app.Windows()) {
      if (ClassName(window) == L"LockBeaconUpdateNotice" && ::IsWindowVisible(window))
        return window;
    }
    return nullptr;
  }
};

TEST_F(UpdateCheckE2eTest, OfferedVersionShowsTheNoticeAndIsCounted) {
  const test::StandinServer server({"--offer", "9.9"});
  PointAt(server);
  TempFolder folder("update-check");
  AppProcess app(InstallApp(folder.Path(), true));
  ASSERT_NE(app.WaitForMainWindow(), nullptr);

  HWND notice = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (notice = FindNotice(app)) != nullptr; }, 15s));
  // When the check starts (the first tick of its timer) is a rule of the logic, tested with a
  // virtual clock in UpdateCheckTimerTest.

  RECT bounds{};
  ::GetWindowRect(notice, &bounds);
  EXPECT_EQ(bounds.top, 5);
  EXPECT_EQ(bounds.right, ::GetSystemMetrics(SM_CXSCREEN) - 5);
  // The notice grows into view and then paints itself: its dark title text shows once it has.
  EXPECT_TRUE(WaitFor(
      [&] {
        return ScreenImage().Any(bounds, [](Rgb p) { return p.r < 60 && p.g < 60 && p.b < 60; });
      },
      5s));
  SaveScreenshot("update-notice");

  RegistryUpdateStore store(kUpdateStoreKey);
  EXPECT_EQ(store.ReadString("LastUpdateCheckCount"), "1");
  EXPECT_EQ(store.ReadString("LastUpdateCheck"), TodayShortDate());
  EXPECT_EQ(store.ReadString("CurrentVersion"), "9.9");
  const auto requests = server.LogWith({"\"scheme\": \"https\"", "[\"cmd\", \"check\"]"});
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("[\"appname\", \"BRIMLEX - Lock Beacon\"]"), std::string::npos)
      << requests[0];
}

// "Update Notifications" is chosen as the menu sends it. The open menu of the other process
// cannot be read from here under Wine, so the item's enabled state shows in what the command
// does: nothing while it is disabled, ShowUpdate = 0 once the check has enabled it.
TEST_F(UpdateCheckE2eTest, UpdateNotificationsWorksOnceTheCheckHasRun) {
  const test::StandinServer server({"--offer", "9.9"});
  PointAt(server);
  TempFolder folder("update-notifications");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const auto choose = [&] {
    ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::UpdateNotifications), 0);
  };

  choose();  // the check starts only a second after the window
  ASSERT_TRUE(WaitFor([&] { return FindNotice(app) != nullptr; }, 15s));
  RegistryUpdateStore store(kUpdateStoreKey);
  EXPECT_EQ(store.ReadString("ShowUpdate"), std::nullopt);

  choose();
  EXPECT_TRUE(WaitFor([&] { return store.ReadString("ShowUpdate") == "0"; }));
  choose();
  EXPECT_TRUE(WaitFor([&] { return store.ReadString("ShowUpdate") == "1"; }));
}

TEST_F(UpdateCheckE2eTest, NoRequestOnceFiveRepliesWereCountedToday) {
  {
    RegistryUpdateStore store(kUpdateStoreKey);
    store.WriteString("LastUpdateCheck", TodayShortDate());
    store.WriteString("LastUpdateCheckCount", "5");
  }
  const test::StandinServer server({"--offer", "9.9"});
  PointAt(server);
  TempFolder folder("update-check-sixth");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  // "Update Notifications" works only once the check has come to its end (see below): when it
  // has switched the notices off, the check has decided, and any request has been made.
  RegistryUpdateStore before(kUpdateStoreKey);
  ASSERT_TRUE(WaitFor([&] {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::UpdateNotifications),
                          0, SMTO_ABORTIFHUNG, 5000, &result);
    return before.ReadString("ShowUpdate") == "0";
  }));
  EXPECT_TRUE(server.Log().empty()) << server.Log().front();
  EXPECT_EQ(FindNotice(app), nullptr);
  RegistryUpdateStore store(kUpdateStoreKey);
  EXPECT_EQ(store.ReadString("LastUpdateCheckCount"), "5");
}

// The program that opens web addresses, replaced for one test by a recorder (the fixture
// record_open.exe, which notes its command line): what the shell's "open" of an address starts
// is the prefix's machine-wide association of the scheme (Wine reads no per-user classes). The
// associations are put back afterwards.
class BrowserStandIn {
 public:
  BrowserStandIn() : folder_("browser") {
    const std::filesystem::path recorder = folder_ / "record_open.exe";
    ::CopyFileW(HostPath(std::string(LOCKBEACON_FIXTURES_DIR) + "/record_open.exe").c_str(),
                recorder.c_str(), FALSE);
    const std::wstring command = L"\"" + recorder.wstring() + L"\" \"%1\"";
    for (const wchar_t* scheme : {L"https", L"http"}) {
      const std::wstring key =
          std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
      wchar_t value[1024] = {};
      DWORD size = sizeof value;
      if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                         &size) == ERROR_SUCCESS) {
        saved_.push_back({key, value});
      }
      ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
  }
  ~BrowserStandIn() {
    for (const auto& [key, value] : saved_) {
      ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
  }
  BrowserStandIn(const BrowserStandIn&) = delete;
  BrowserStandIn& operator=(const BrowserStandIn&) = delete;

  // The command lines the browser was started with, one for each address opened.
  [[nodiscard]] std::vector<std::wstring> Opened() const {
    const std::string bytes = ReadText(folder_ / "opened.txt");
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
         start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

 private:
  TempFolder folder_;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

// Presses and releases the left button on the notice's link, as a click does.
void ClickLink(HWND notice) {
  RECT client{};
  ::GetClientRect(notice, &client);
  // The link fills the middle of the notice under its title (design units 67-297 by 23-67 of
  // 320 by 68).
  const LPARAM at = MAKELPARAM(client.right * 182 / 320, client.bottom * 45 / 68);
  ::PostMessageW(notice, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(notice, WM_LBUTTONUP, 0, at);
}

// Someone on the way answers TLS with a certificate for another name and offers an update over
// plain HTTP: the program sends no plain request, shows no notice, stores nothing.
TEST_F(UpdateCheckE2eTest, ACertificateForAnotherNameEndsTheCheckWithoutAPlainRequest) {
  const test::StandinServer server(
      {"--certificate", "other-host", "--url", "http://attacker.test/LockBeacon-9.9-setup.exe"});
  PointAt(server);
  TempFolder folder("update-check-other-certificate");
  AppProcess app(InstallApp(folder.Path(), true));
  const HWND window = app.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  // "Update Notifications" works once the check is over (and the notice, had there been one,
  // is open by then): the value it writes tells that the check has ended.
  RegistryUpdateStore store(kUpdateStoreKey);
  ASSERT_TRUE(WaitFor(
      [&] {
        ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(MenuCommand::UpdateNotifications),
                       0);
        return store.ReadString("ShowUpdate").has_value();
      },
      30s));

  EXPECT_EQ(FindNotice(app), nullptr);
  EXPECT_TRUE(server.LogWith({"\"scheme\": \"http\""}).empty()) << server.Log().size();
  EXPECT_TRUE(server.LogWith({"[\"cmd\", \"check\"]"}).empty());
  for (const char* name :
       {"LastUpdateCheck", "LastUpdateCheckCount", "CurrentVersion", "CurrentURL"}) {
    EXPECT_EQ(store.ReadString(name), std::nullopt) << name;
  }
}

// Someone on the way blocks the HTTPS port and offers an update over plain HTTP at an address of
// their own: the notice appears, and its link opens the maker's own download page only.
TEST_F(UpdateCheckE2eTest, AForeignDownloadAddressInClearOpensOnlyTheMakersDownloadPage) {
  const test::StandinServer server(
      {"--https", "no-port", "--url", "http://attacker.test/LockBeacon-9.9-setup.exe\" --x"});
  PointAt(server);
  const BrowserStandIn browser;
  TempFolder folder("update-check-foreign-address");
  AppProcess app(InstallApp(folder.Path(), true));
  ASSERT_NE(app.WaitForMainWindow(), nullptr);

  HWND notice = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (notice = FindNotice(app)) != nullptr; }, 15s));
  EXPECT_EQ(server.LogWith({"\"scheme\": \"http\"", "[\"cmd\", \"check\"]"}).size(), 1u);
  SaveScreenshot("update-notice-foreign-address");
  ClickLink(notice);
  ASSERT_TRUE(WaitFor([&] { return !browser.Opened().empty(); }, 15s));
  EXPECT_EQ(browser.Opened(),
            std::vector<std::wstring>{L"\"https://" + ToWide(server.Host()) + L"/download/\""});
  EXPECT_TRUE(WaitFor([&] { return FindNotice(app) == nullptr; }));
}

}  // namespace
}  // namespace lb::e2e
