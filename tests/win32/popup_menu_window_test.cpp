// The tray menu as the window really pops it up: the HMENU read back item by item with
// GetMenuItemInfoW (captions, ticks, greying, submenus), and every item's identifier sent back to
// the window as WM_COMMAND, the way a chosen item arrives, doing what the item says.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/app_window_win.h"
#include "indicator/settings_window_win.h"
#include "platform/wide_text_win.h"
#include "win32/app_window_fixture.h"
#include "win32/pump.h"

namespace lb {
namespace {

// The running switches behind the menu's ticks and enabled states. In each pattern every tick
// differs from its neighbour's, so a tick read from the wrong switch shows.
struct Switches {
  bool updateNotifications, updateNotificationsEnabled, enable, trayIconStates;
  bool showOnChangeEnabled, showNum, showCaps, showScroll;
  bool alwaysShowEnabled, alwaysNum, alwaysCaps, alwaysScroll;
  bool soundNum, soundCaps, soundScroll, sync;
};

constexpr Switches kPatternA{true, false, false, true,  false, true, false, true,
                             true, false, true,  false, false, true, false, false};
constexpr Switches kPatternB{false, true, true,  false, true, false, true, false,
                             false, true, false, true,  true, false, true, true};

void Apply(const Switches& s, RunningSettings& settings) {
  MenuTicks& t = settings.ticks;
  t.updateNotifications = s.updateNotifications;
  settings.enabled.updateNotifications = s.updateNotificationsEnabled;
  t.enable = s.enable;
  t.trayIconStates = s.trayIconStates;
  settings.enabled.showOnChangeMenu = s.showOnChangeEnabled;
  t.showNumLock = s.showNum;
  t.showCapsLock = s.showCaps;
  t.showScrollLock = s.showScroll;
  settings.enabled.alwaysShowMenu = s.alwaysShowEnabled;
  t.alwaysShowNumLock = s.alwaysNum;
  t.alwaysShowCapsLock = s.alwaysCaps;
  t.alwaysShowScrollLock = s.alwaysScroll;
  t.numLockSound = s.soundNum;
  t.capsLockSound = s.soundCaps;
  t.scrollLockSound = s.soundScroll;
  t.syncMode = s.sync;
  t.asyncMode = !s.sync;
}

// One line per item, as the user reads the menu: the path of captions, "ticked" and "greyed"
// where they apply, "submenu" for an item that opens one; "---" for a separator.
std::string Line(const std::string& path, bool ticked, bool greyed, bool submenu) {
  std::string line = path;
  if (ticked) line += " [ticked]";
  if (greyed) line += " [greyed]";
  if (submenu) line += " [submenu]";
  return line;
}

struct ReadItem {
  std::string path;
  UINT id = 0;
};

// Reads `menu` back; the clickable items with their identifiers go to `items`.
void Describe(HMENU menu, const std::string& prefix, std::vector<std::string>& lines,
              std::vector<ReadItem>& items) {
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{.cbSize = sizeof(MENUITEMINFOW),
                       .fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING,
                       .dwTypeData = text,
                       .cch = 128};
    ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        << prefix << position;
    if (info.fType & MFT_SEPARATOR) {
      lines.push_back(prefix + "---");
      continue;
    }
    const std::string path = prefix + ToUtf8(text);
    lines.push_back(Line(path, (info.fState & MFS_CHECKED) != 0, (info.fState & MFS_DISABLED) != 0,
                         info.hSubMenu != nullptr));
    if (info.hSubMenu) {
      Describe(info.hSubMenu, path + " > ", lines, items);
    } else {
      items.push_back({path, info.wID});
    }
  }
}

std::vector<std::string> Expected(const Switches& s) {
  return {
      Line("Update Notifications", s.updateNotifications, !s.updateNotificationsEnabled, false),
      "---",
      "Online Help",
      "Language...",
      "Send Feedback...",
      "About...",
      "---",
      Line("Enable", s.enable, false, false),
      Line("Show lock states in the tray icon", s.trayIconStates, false, false),
      Line("Show when status changes", false, !s.showOnChangeEnabled, true),
      Line("Show when status changes > Num Lock", s.showNum, false, false),
      Line("Show when status changes > Caps Lock", s.showCaps, false, false),
      Line("Show when status changes > Scroll Lock", s.showScroll, false, false),
      Line("Always show when toggled on", false, !s.alwaysShowEnabled, true),
      Line("Always show when toggled on > Num Lock", s.alwaysNum, false, false),
      Line("Always show when toggled on > Caps Lock", s.alwaysCaps, false, false),
      Line("Always show when toggled on > Scroll Lock", s.alwaysScroll, false, false),
      "Settings...",
      Line("Sound Effect", false, false, true),
      Line("Sound Effect > Play Sound Effects", false, false, true),
      Line("Sound Effect > Play Sound Effects > Num Lock", s.soundNum, false, false),
      Line("Sound Effect > Play Sound Effects > Caps Lock", s.soundCaps, false, false),
      Line("Sound Effect > Play Sound Effects > Scroll Lock", s.soundScroll, false, false),
      Line("Sound Effect > Browse...", false, false, true),
      "Sound Effect > Browse... > Turn On",
      "Sound Effect > Browse... > Turn Off",
      Line("Sound Effect > Mode", false, false, true),
      Line("Sound Effect > Mode > SYNC", s.sync, false, false),
      Line("Sound Effect > Mode > ASYNC", !s.sync, false, false),
      "Reset to Defaults",
      "---",
      "Exit",
  };
}

class PopupMenuWindowTest : public test::AppWindowTest {
 protected:
  void SetUp() override {
    AppWindowTest::SetUp();
    files_.files[test::kSettingsFile] = "[Settings]\r\n";
    Window().Logic().Create();
  }
  App& Logic() { return Window().Logic(); }
  std::vector<std::string> ReadMenu(std::vector<ReadItem>& items) {
    const UniqueMenu menu = Window().MakePopupMenu();
    std::vector<std::string> lines;
    Describe(menu.get(), "", lines, items);
    return lines;
  }
  void Choose(UINT id) {
    ::SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    ProcessPendingMessages();
  }
};

TEST_F(PopupMenuWindowTest, CaptionsTicksGreyingAndSubmenus) {
  for (const Switches* pattern : {&kPatternA, &kPatternB}) {
    SCOPED_TRACE(pattern == &kPatternA ? "pattern A" : "pattern B");
    Apply(*pattern, Logic());
    std::vector<ReadItem> items;
    EXPECT_EQ(ReadMenu(items), Expected(*pattern));
  }
}

// Closes the first window of `className` that shows up on the test thread, from a thread of its
// own (a modal window runs its own message loop in the test thread), and says whether it came.
class WindowCloser {
 public:
  WindowCloser(std::wstring className, std::function<void(HWND)> close)
      : className_(std::move(className)),
        close_(std::move(close)),
        threadId_(::GetCurrentThreadId()),
        thread_([this] { Run(); }) {}
  ~WindowCloser() {
    stop_ = true;
    thread_.join();
  }
  WindowCloser(const WindowCloser&) = delete;
  WindowCloser& operator=(const WindowCloser&) = delete;
  [[nodiscard]] bool Closed() const { return closed_; }

 private:
  void Run() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!stop_ && !closed_ && std::chrono::steady_clock::now() < end) {
      HWND found = nullptr;
      std::pair<const std::wstring*, HWND*> search{&className_, &found};
      ::EnumThreadWindows(
          threadId_,
          [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<std::pair<const std::wstring*, HWND*>*>(param);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (*s->first != name || !::IsWindowVisible(window)) return TRUE;
            *s->second = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (found) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        close_(found);
        closed_ = true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::wstring className_;
  std::function<void(HWND)> close_;
  DWORD threadId_;
  std::atomic<bool> stop_ = false;
  std::atomic<bool> closed_ = false;
  std::thread thread_;
};

void PostClose(HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }
void PostCancel(HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

// Every identifier read from the real menu, sent back as the menu sends it, runs that item's
// command: a switch changes its own tick only, a dialog item opens its own window.
TEST_F(PopupMenuWindowTest, EachItemsIdentifierRunsItsCommand) {
  Apply(kPatternB, Logic());  // every submenu clickable, "Update Notifications" too
  std::vector<ReadItem> items;
  static_cast<void>(ReadMenu(items));
  ASSERT_EQ(items.size(), 23u);

  // The switches: the item's own tick flips, and no other.
  const std::map<std::string, bool MenuTicks::*> switches = {
      {"Update Notifications", &MenuTicks::updateNotifications},
      {"Enable", &MenuTicks::enable},
      {"Show lock states in the tray icon", &MenuTicks::trayIconStates},
      {"Show when status changes > Num Lock", &MenuTicks::showNumLock},
      {"Show when status changes > Caps Lock", &MenuTicks::showCapsLock},
      {"Show when status changes > Scroll Lock", &MenuTicks::showScrollLock},
      {"Always show when toggled on > Num Lock", &MenuTicks::alwaysShowNumLock},
      {"Always show when toggled on > Caps Lock", &MenuTicks::alwaysShowCapsLock},
      {"Always show when toggled on > Scroll Lock", &MenuTicks::alwaysShowScrollLock},
      {"Sound Effect > Play Sound Effects > Num Lock", &MenuTicks::numLockSound},
      {"Sound Effect > Play Sound Effects > Caps Lock", &MenuTicks::capsLockSound},
      {"Sound Effect > Play Sound Effects > Scroll Lock", &MenuTicks::scrollLockSound},
  };
  // Windows that an item opens, and how the test closes each.
  const std::map<std::string, std::pair<std::wstring, void (*)(HWND)>> windows = {
      {"Language...", {L"LockBeaconLanguageChooser", &PostClose}},
      {"Send Feedback...", {L"LockBeaconFeedback", &PostClose}},
      {"About...", {L"LockBeaconAbout", &PostClose}},
      {"Settings...", {SettingsWindow::kClassName, &PostClose}},
      {"Sound Effect > Browse... > Turn On", {L"#32770", &PostCancel}},
      {"Sound Effect > Browse... > Turn Off", {L"#32770", &PostCancel}},
  };

  for (const ReadItem& item : items) {
    SCOPED_TRACE(item.path);
    if (const auto found = switches.find(item.path); found != switches.end()) {
      const MenuTicks before = Logic().ticks;
      Choose(item.id);
      MenuTicks expected = before;
      expected.*(found->second) = !(before.*(found->second));
      EXPECT_EQ(Logic().ticks, expected);
      if (item.path == "Update Notifications") Choose(item.id);  // the stored switch back on
    } else if (const auto opened = windows.find(item.path); opened != windows.end()) {
      bool closed = false;
      {
        WindowCloser closer(opened->second.first, opened->second.second);
        Choose(item.id);
        test::PumpUntil([&] { return closer.Closed(); }, std::chrono::seconds(10));
        ProcessPendingMessages();
        closed = closer.Closed();
      }
      EXPECT_TRUE(closed) << "no window of its own";
    } else if (item.path == "Online Help") {
      Choose(item.id);
      ASSERT_EQ(shell_.opened.size(), 1u);
      EXPECT_NE(shell_.opened[0].find("/help/lock-beacon/"), std::string::npos);
    } else if (item.path == "Sound Effect > Mode > SYNC" ||
               item.path == "Sound Effect > Mode > ASYNC") {
      const bool sync = item.path.ends_with("> SYNC");
      Logic().ticks.syncMode = !sync;
      Logic().ticks.asyncMode = sync;
      Choose(item.id);
      EXPECT_EQ(Logic().ticks.syncMode, sync);
      EXPECT_EQ(Logic().ticks.asyncMode, !sync);
    } else if (item.path == "Reset to Defaults") {
      messages_.answer = kResultNo;
      Choose(item.id);
      EXPECT_EQ(messages_.shown.size(), 1u);
      EXPECT_TRUE(shell_.started.empty());
    } else if (item.path == "Exit") {
      Choose(item.id);
      MSG quit;
      EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    } else {
      ADD_FAILURE() << "an item this test does not know";
    }
  }
  EXPECT_TRUE(test::reports.empty());
}

// A greyed item's identifier, should it arrive, changes nothing: "Update Notifications" stays
// as it is until the update check has finished.
TEST_F(PopupMenuWindowTest, GreyedUpdateNotificationsDoesNothing) {
  Apply(kPatternA, Logic());
  std::vector<ReadItem> items;
  static_cast<void>(ReadMenu(items));
  ASSERT_FALSE(items.empty());
  ASSERT_EQ(items[0].path, "Update Notifications");
  const MenuTicks before = Logic().ticks;
  Choose(items[0].id);
  EXPECT_EQ(Logic().ticks, before);
}

}  // namespace
}  // namespace lb
