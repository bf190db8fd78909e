#include "app/app_form.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include "base/identity.h"
#include "base/settings_folder.h"
#include "base/settings_keys.h"
#include "i18n/text_catalogue.h"
#include "i18n/translation.h"
#include "platform/app_error.h"

namespace lb {
namespace {

// What the program calls itself when its version block cannot be read (the shipped executable
// always carries one; a damaged copy still finds its settings in the usual folder).
constexpr const char* kFallbackCompanyName = "BRIMLEX";
constexpr const char* kFallbackProductName = "Lock Beacon";

constexpr std::uint32_t kUnknownFileVersion = 0xFFFFFFFFu;

}  // namespace

TAppForm::TAppForm(const AppPlatform& platform, IIndicatorView& view, ITimerHost& timers,
                   IFormHost& host)
    : platform_(platform),
      view_(view),
      indicator(*this, view, platform.keyboard, timers),
      sounds(*this, view, platform.sound, platform.files, platform.startup, store_),
      monitor(*this, view, platform.keyboard, timers, indicator, sounds),
      menu({*this, view, indicator, monitor, sounds, store_, platform.files, platform.startup,
            platform.shell, platform.messages, host}) {}

void TAppForm::FormCreate() {
  // Identity: company and product from the version block, then version and name.
  const std::string exePath = platform_.startup.ExePath();
  Identity& identity = MutableAppIdentity();
  try {
    const TEXEVersionData version = platform_.startup.ReadExeVersionData(exePath);
    identity.CompanyName = version.CompanyName;
    identity.ProductName = version.ProductName;
  } catch (const std::exception&) {
    identity.CompanyName = kFallbackCompanyName;
    identity.ProductName = kFallbackProductName;
  }
  identity.AppVersion =
      FormatAppVersion(platform_.startup.FileVersionMS(exePath).value_or(kUnknownFileVersion));
  identity.AppName = ComposeAppName(identity.CompanyName, identity.ProductName);

  // The settings folder and the store on settings.ini there (opening does not touch the file).
  identity.SettingsFolder =
      ChooseSettingsFolder(platform_.startup, exePath, identity.CompanyName, identity.ProductName);
  store_ = std::make_unique<SettingsStore>(identity.SettingsFolder + "settings.ini",
                                           platform_.files, platform_.codePage);
  SettingsStore& store = *store_;

  DisplayDuration = store.ReadInteger(keys::DisplayDuration, keys::DefaultDisplayDuration);

  Ticks.NumLock1 = keys::OnUnlessOff(store.ReadString(keys::NumLock, ""));
  Ticks.CapsLock1 = keys::OnUnlessOff(store.ReadString(keys::CapsLock, ""));
  Ticks.ScrollLock1 = keys::OnUnlessOff(store.ReadString(keys::ScrollLock, ""));
  Ticks.NumLock2 = keys::OffUnlessOn(store.ReadString(keys::NumLockToggled, ""));
  Ticks.CapsLock2 = keys::OffUnlessOn(store.ReadString(keys::CapsLockToggled, ""));
  Ticks.ScrollLock2 = keys::OffUnlessOn(store.ReadString(keys::ScrollLockToggled, ""));

  ScreenSnap = keys::OnUnlessOff(store.ReadString(keys::ScreenSnap, ""));
  AlwaysOnTop = keys::OffUnlessOn(store.ReadString(keys::AlwaysOnTop, ""));
  // Neither "show" submenu has any effect while the window stays visible.
  Enabled.ShowLights1 = !AlwaysOnTop;
  Enabled.AlwaysshowwhentoggledON1 = !AlwaysOnTop;

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
    const Rect workArea = view_.PrimaryWorkArea();
    bounds =
        Rect::FromPosSize(workArea.Width() - bounds.Width(), workArea.Height() - bounds.Height(),
                          bounds.Width(), bounds.Height());
  }
  view_.SetBounds(bounds);

  // Size: a stored outer size that is not 0 and not larger than the primary screen.
  const Size screen = view_.PrimaryScreenSize();
  bounds = view_.Bounds();
  int width = bounds.Width();
  int height = bounds.Height();
  if (const int stored = store.ReadInteger(keys::Width, 0); stored != 0 && stored <= screen.width) {
    width = stored;
  }
  if (const int stored = store.ReadInteger(keys::Height, 0);
      stored != 0 && stored <= screen.height) {
    height = stored;
  }
  if (width != bounds.Width() || height != bounds.Height()) {
    view_.SetBounds(Rect::FromPosSize(bounds.left, bounds.top, width, height));
  }

  // From here on every move and size change is written to the store.
  SavePosition = true;

  Ticks.NumLock3 = keys::OnUnlessOff(store.ReadString(keys::NumLockSound, ""));
  Ticks.CapsLock3 = keys::OnUnlessOff(store.ReadString(keys::CapsLockSound, ""));
  Ticks.ScrollLock3 = keys::OnUnlessOff(store.ReadString(keys::ScrollLockSound, ""));

  if (store.KeyExists(keys::PlayMode) && store.ReadString(keys::PlayMode, "") == keys::Async) {
    Ticks.ASYNC1 = true;
    Ticks.SYNC1 = false;
  }

  MinimalMode = keys::OffUnlessOn(store.ReadString(keys::MinimalMode, ""));
  if (MinimalMode) indicator.MinimalModeActivate();
  FadeOut = keys::OnUnlessOff(store.ReadString(keys::FadeoutAnimation, ""));

  LanguageFile = store.ReadString(keys::LanguageFile, "");
  LoadLanguage(LanguageFile, platform_.language, platform_.files, platform_.codePage);
  for (const ComponentCaption& caption : kAppFormCaptions) {
    Captions[std::string(caption.component)] = Translate(caption.english);
  }

  // Lay the window out once; this also saves its geometry.
  FormResize();
}

MenuItem TAppForm::PopupMenu1() const {
  return menu.PopupMenu1([this](std::string_view component, std::string_view english) {
    const auto caption = Captions.find(component);
    return caption != Captions.end() ? caption->second : std::string(english);
  });
}

std::unique_ptr<TFormSettings> TAppForm::NewFormSettings() {
  auto dialog = std::make_unique<TFormSettings>(*this, view_, indicator, store_);
  dialog->FormCreate();
  return dialog;
}

void TAppForm::SetLanguageFile(const std::string& Filename) {
  lb::SetLanguageFile(*store_, Filename);
}

void TAppForm::OnMove() {
  if (!SavePosition) return;
  const Rect bounds = view_.Bounds();
  store_->WriteInteger(keys::Left, bounds.left);
  store_->WriteInteger(keys::Top, bounds.top);
}

void TAppForm::FormResize() {
  // A refused write stops here: the labels and LEDs keep their places until the next pass.
  if (SavePosition) SaveGeometry();
  indicator.LayOut();
}

void TAppForm::OnTimer(int id) {
  switch (id) {
    case kTimer1Id:
      monitor.Timer1Timer();
      break;
    case kTimerStartId:
      indicator.TimerStartTimer();
      break;
    case kTimerFadeId:
      indicator.TimerFadeTimer();
      break;
    default:
      break;
  }
}

void TAppForm::SaveGeometry() {
  const Rect bounds = view_.Bounds();
  store_->WriteInteger(keys::Left, bounds.left);
  store_->WriteInteger(keys::Top, bounds.top);
  store_->WriteInteger(keys::Height, bounds.Height());
  store_->WriteInteger(keys::Width, bounds.Width());
}

}  // namespace lb
