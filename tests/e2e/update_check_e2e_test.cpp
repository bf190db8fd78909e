// The real program's update check against the stand-in web server: the notice a second after
// start, the count in the registry, and no request once five have been counted today.
#include <gtest/gtest.h>

#include <thread>

#include "e2e/harness_win.h"
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
  const auto started = std::chrono::steady_clock::now();
  AppProcess app(InstallApp(folder.Path(), true));
  ASSERT_NE(app.WaitForMainWindow(), nullptr);

  HWND notice = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (notice = FindNotice(app)) != nullptr; }, 15s));
  const auto shownAfter = std::chrono::steady_clock::now() - started;
  EXPECT_GE(shownAfter, 900ms);  // the check starts on updateCheckTimer's first tick

  RECT bounds{};
  ::GetWindowRect(notice, &bounds);
  EXPECT_EQ(bounds.top, 5);
  EXPECT_EQ(bounds.right, ::GetSystemMetrics(SM_CXSCREEN) - 5);
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
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  std::this_thread::sleep_for(4s);
  EXPECT_TRUE(server.Log().empty()) << server.Log().front();
  EXPECT_EQ(FindNotice(app), nullptr);
  RegistryUpdateStore store(kUpdateStoreKey);
  EXPECT_EQ(store.ReadString("LastUpdateCheckCount"), "5");
}

}  // namespace
}  // namespace lb::e2e
