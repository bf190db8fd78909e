#include "app/app.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <utility>

#include "base/identity.h"
#include "base/settings_folder.h"
#include "base/settings_keys.h"
#include "i18n/text_catalogue.h"
#include "i18n/translation.h"
#include "platform/app_error.h"

namespace lb {
namespace {

constexpr std::uint32_t kUnknownFileVersion = 0xFFFFFFFFu;

}  // namespace

App::App(const AppPlatform& platform, IIndicatorView& view, ITimerHost& timers, IAppHost& host,
         ITrayIconView& tray)
    : platform_(platform),
      view_(view),
      fullScreen(*this, platform.fullScreen),
      indicator(*this, view, platform.screen, platform.keyboard, timers),
      sounds(*this, view, platform.sound, platform.files, platform.startup, platform.messages,
             store_),
      monitor(*this, view, platform.keyboard, timers, indicator, sounds),
      trayLamps(*this, tray, platform.keyboard),
      menu({*this, view, platform.screen, indicator, monitor, sounds, store_, platform.files,
            platform.startup, platform.shell, platform.messages, host, trayLamps}) {
  // The tray icon follows every keyboard state the key poll reads.
  monitor.statesListener = &trayLamps;
  // Over a full-screen program the indicator shows nothing and steps aside.
  indicator.fullScreen = &fullScreen;
  monitor.fullScreen = &fullScreen;
  fullScreen.Subscribe(indicator);
}

void App::Create() {
  // Identity: company and product from the version block, then version and name.
  const std::string exePath = platform_.startup.ExePath();
  Identity& identity = MutableAppIdentity();
  ProgramNames names = ReadProgramNames(platform_.startup, exePath);
  identity.companyName = std::move(names.company);
  identity.productName = std::move(names.product);
  identity.appVersion =
      FormatAppVersion(platform_.startup.FileVersionMS(exePath).value_or(kUnknownFileVersion));
  identity.appName = ComposeAppName(identity.companyName, identity.productName);

  // The settings folder and the store on settings.ini there (opening does not touch the file).
  identity.settingsFolder =
      ChooseSettingsFolder(platform_.startup, exePath, identity.companyName, identity.productName);
  store_ = std::make_unique<SettingsStore>(identity.settingsFolder + "settings.ini",
                                           platform_.files, platform_.codePage);
  SettingsStore& store = *store_;
  // The start reads every setting and saves the geometry: the file is read once for all of it.
  const SettingsStore::FileHold held = store.HoldFile();

  displayDuration = store.ReadInteger(keys::DisplayDuration, keys::DefaultDisplayDuration);

  ticks.showNumLock = keys::OnUnlessOff(store.ReadString(keys::NumLock, ""));
  ticks.showCapsLock = keys::OnUnlessOff(store.ReadString(keys::CapsLock, ""));
  ticks.showScrollLock = keys::OnUnlessOff(store.ReadString(keys::ScrollLock, ""));
  ticks.alwaysShowNumLock = keys::OffUnlessOn(store.ReadString(keys::NumLockToggled, ""));
  ticks.alwaysShowCapsLock = keys::OffUnlessOn(store.ReadString(keys::CapsLockToggled, ""));
  ticks.alwaysShowScrollLock = keys::OffUnlessOn(store.ReadString(keys::ScrollLockToggled, ""));

  screenSnap = keys::OnUnlessOff(store.ReadString(keys::ScreenSnap, ""));
  alwaysOnTop = keys::OffUnlessOn(store.ReadString(keys::AlwaysOnTop, ""));
  // Neither "show" submenu has any effect while the window stays visible.
  enabled.showOnChangeMenu = !alwaysOnTop;
  enabled.alwaysShowMenu = !alwaysOnTop;

  // Position: the stored one only when both edges are stored, applied as it is; otherwise the
  // bottom-right corner of the primary work area, for the window's size at this moment.
  // A hand-edited edge beyond a million pixels is taken as a million: far off every screen all
  // the same, and a size can still be added to it without leaving the integer range.
  constexpr std::int32_t kFarthest = 1'000'000;
  const auto edge = [&](const char* key) {
    return std::clamp(store.ReadInteger(key, 0), -kFarthest, kFarthest);
  };
  Rect bounds = view_.Bounds();
  if (store.KeyExists(keys::Left) && store.KeyExists(keys::Top)) {
    bounds = Rect::FromPosSize(edge(keys::Left), edge(keys::Top), bounds.Width(), bounds.Height());
  } else {
    // The visible right and bottom edges on the corner: the invisible borders lie beyond it.
    // Minimal mode, switched on below, drops the frame and keeps the outer left and width, so
    // its window has none to leave out.
    const bool frameless = keys::OffUnlessOn(store.ReadString(keys::MinimalMode, ""));
    const Insets borders = frameless ? Insets{} : view_.InvisibleBorders();
    const Rect workArea = platform_.screen.PrimaryWorkArea();
    bounds = Rect::FromPosSize(workArea.Width() - bounds.Width() + borders.right,
                               workArea.Height() - bounds.Height() + borders.bottom, bounds.Width(),
                               bounds.Height());
  }
  view_.SetBounds(bounds);

  // Size: a stored outer size that is above 0 and not larger than the primary screen. A
  // negative one (only a hand edit writes one) is left alone like 0: no window has a negative
  // size, and -2147483648 added to an edge would leave the integer range.
  const Size screen = platform_.screen.PrimaryScreenSize();
  bounds = view_.Bounds();
  int width = bounds.Width();
  int height = bounds.Height();
  if (const int stored = store.ReadInteger(keys::Width, 0); stored > 0 && stored <= screen.width) {
    width = stored;
  }
  if (const int stored = store.ReadInteger(keys::Height, 0);
      stored > 0 && stored <= screen.height) {
    height = stored;
  }
  if (width != bounds.Width() || height != bounds.Height()) {
    view_.SetBounds(Rect::FromPosSize(bounds.left, bounds.top, width, height));
  }

  // From here on every move and size change is written to the store.
  savePosition = true;

  ticks.numLockSound = keys::OnUnlessOff(store.ReadString(keys::NumLockSound, ""));
  ticks.capsLockSound = keys::OnUnlessOff(store.ReadString(keys::CapsLockSound, ""));
  ticks.scrollLockSound = keys::OnUnlessOff(store.ReadString(keys::ScrollLockSound, ""));

  if (store.KeyExists(keys::PlayMode) && store.ReadString(keys::PlayMode, "") == keys::Async) {
    ticks.asyncMode = true;
    ticks.syncMode = false;
  }

  minimalMode = keys::OffUnlessOn(store.ReadString(keys::MinimalMode, ""));
  if (minimalMode) indicator.MinimalModeActivate();
  fadeOut = keys::OnUnlessOff(store.ReadString(keys::FadeoutAnimation, ""));
  ticks.trayIconStates = keys::OnUnlessOff(store.ReadString(keys::TrayIconStates, ""));
  showOnActiveMonitor = keys::OffUnlessOn(store.ReadString(keys::ShowOnActiveMonitor, ""));
  hideInFullScreen = keys::OnUnlessOff(store.ReadString(keys::HideInFullScreen, ""));

  languageFile = store.ReadString(keys::LanguageFile, "");
  LoadLanguage(languageFile, platform_.language, platform_.files, platform_.codePage);
  for (const ComponentCaption& caption : kAppCaptions) {
    captions_[std::string(caption.component)] = Translate(caption.english);
  }

  // Lay the window out once; this also saves its geometry.
  OnResize();
  // A stored place that no monitor shows (a monitor gone since, a hand edit) is kept, and the
  // window shows where it can be seen.
  indicator.KeepInSight();

  // The tray icon shows the states from the start, before any key is pressed; a later change
  // is seen against them.
  trayLamps.Refresh();
  monitor.RememberStates();
}

std::string App::Caption(std::string_view component, std::string_view english) const {
  const auto caption = captions_.find(component);
  return caption != captions_.end() ? caption->second : std::string(english);
}

std::string App::KeyLabel(LedColumn column) const {
  switch (column) {
    case LedColumn::NumLock:
      return Caption("NumLockLabel", "Num Lock");
    case LedColumn::CapsLock:
      return Caption("CapsLockLabel", "Caps Lock");
    case LedColumn::ScrollLock:
      break;
  }
  return Caption("ScrollLockLabel", "Scroll Lock");
}

MenuItem App::Menu() const {
  return menu.Menu([this](std::string_view component, std::string_view english) {
    return Caption(component, english);
  });
}

std::unique_ptr<SettingsDialog> App::NewSettingsDialog() {
  // A program that cannot tell its own path shows "Start with Windows" off and refuses to
  // switch it on.
  std::string exePath;
  try {
    exePath = platform_.startup.ExePath();
  } catch (const AppError&) {
  }
  auto dialog = std::make_unique<SettingsDialog>(*this, view_, indicator, store_,
                                                 StartWithWindows(platform_.startupEntry, exePath));
  dialog->Populate();
  return dialog;
}

void App::SetLanguageFile(const std::string& filename) {
  if (store_) lb::SetLanguageFile(*store_, filename);
}

void App::OnMove() {
  // A window that follows the user to another monitor keeps the user's own place stored.
  if (!savePosition || indicator.Displaced()) return;
  indicator.RememberHome();
  if (!store_) return;
  const Rect bounds = view_.Bounds();
  store_->WriteInteger(keys::Left, bounds.left);
  store_->WriteInteger(keys::Top, bounds.top);
}

void App::OnResize() {
  // The labels and LEDs first: a refused write (an unwritable settings folder) is still
  // reported, but no longer leaves the three LEDs on top of each other.
  indicator.LayOut();
  if (!savePosition || indicator.Displaced()) return;
  indicator.RememberHome();
  if (store_) SaveGeometry();
}

void App::OnTimer(int id) {
  switch (id) {
    case kKeyPollTimerId:
      monitor.OnKeyPollTimer();
      break;
    case kStartDisplayTimerId:
      indicator.OnStartDisplayTimer();
      // The start display has shown the states of this moment.
      monitor.RememberStates();
      break;
    case kHideTimerId:
      indicator.OnHideTimer();
      break;
    default:
      break;
  }
}

void App::SaveGeometry() {
  const Rect bounds = view_.Bounds();
  store_->WriteInteger(keys::Left, bounds.left);
  store_->WriteInteger(keys::Top, bounds.top);
  store_->WriteInteger(keys::Height, bounds.Height());
  store_->WriteInteger(keys::Width, bounds.Width());
}

}  // namespace lb
