#include "indicator/settings_dialog.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/settings_keys.h"
#include "i18n/translation.h"

namespace lb {
namespace {

std::optional<std::int32_t> WholeNumber(const std::string& text) {
  return TryParseProfileInteger(text);
}

const char* OnOff(bool on) { return on ? keys::On : keys::Off; }

}  // namespace

void SettingsDialog::Populate() {
  caption = Translate("Settings");
  saveButtonCaption = Translate("Save");
  cancelButtonCaption = Translate("Cancel");
  durationLabelCaption = Translate("Display Duration:");
  millisecondsLabelCaption = Translate("milliseconds");
  alwaysOnTopBoxCaption = Translate("Always on Top");
  screenSnapBoxCaption = Translate("ScreenSnap");
  fadeOutBoxCaption = Translate("Fade-out Animation");
  minimalModeBoxCaption = Translate("Minimal Mode");
  showOnActiveMonitorBoxCaption = Translate("Show on the monitor in use");
  hideInFullScreenBoxCaption = Translate("Hide while a full-screen program runs");
  startWithWindowsBoxCaption = Translate("Start with Windows");

  durationFieldText =
      std::to_string(std::clamp(settings_.displayDuration, kDurationMin, kDurationMax));

  if (settings_.alwaysOnTop) alwaysOnTopBox = true;
  if (settings_.screenSnap) screenSnapBox = true;
  if (settings_.fadeOut) fadeOutBox = true;
  if (settings_.minimalMode) minimalModeBox = true;
  if (settings_.showOnActiveMonitor) showOnActiveMonitorBox = true;
  if (settings_.hideInFullScreen) hideInFullScreenBox = true;
  startWithWindowsBox = startWithWindows_.IsOn();
}

bool SettingsDialog::DurationFieldAccepts(char32_t key, char32_t decimalSeparator) {
  if (key == U'\r') return false;
  if (key < 0x20) return true;
  return (key >= U'0' && key <= U'9') || key == U'+' || key == U'-' || key == decimalSeparator;
}

int SettingsDialog::DurationFieldValue() const {
  return WholeNumber(durationFieldText).value_or(1);
}

void SettingsDialog::StepDurationField(int delta) {
  const std::int64_t next = static_cast<std::int64_t>(DurationFieldValue()) + delta;
  durationFieldText = std::to_string(std::clamp<std::int64_t>(next, kDurationMin, kDurationMax));
}

void SettingsDialog::OnDurationFieldExit() {
  const auto value = WholeNumber(durationFieldText);
  if (!value) return;
  if (*value < kDurationMin) durationFieldText = std::to_string(kDurationMin);
  if (*value > kDurationMax) durationFieldText = std::to_string(kDurationMax);
}

void SettingsDialog::OnSave() {
  // No store (the creation sequence failed before it opened one, and said so): the settings
  // are applied for this session only.
  const auto write = [this](const char* key, const char* value) {
    if (store_) store_->WriteString(key, value);
  };

  // First, so that an entry that cannot be written leaves everything else as it was.
  startWithWindows_.Set(startWithWindowsBox);

  settings_.displayDuration = DurationFieldValue();
  if (store_) store_->WriteInteger(keys::DisplayDuration, settings_.displayDuration);

  settings_.fadeOut = fadeOutBox;
  write(keys::FadeoutAnimation, OnOff(fadeOutBox));

  settings_.screenSnap = screenSnapBox;
  write(keys::ScreenSnap, OnOff(screenSnapBox));

  settings_.minimalMode = minimalModeBox;
  write(keys::MinimalMode, OnOff(minimalModeBox));
  if (minimalModeBox) {
    indicator_.MinimalModeActivate();
  } else {
    indicator_.MinimalModeDeactivate();
  }

  settings_.showOnActiveMonitor = showOnActiveMonitorBox;
  write(keys::ShowOnActiveMonitor, OnOff(showOnActiveMonitorBox));

  settings_.hideInFullScreen = hideInFullScreenBox;
  write(keys::HideInFullScreen, OnOff(hideInFullScreenBox));

  if (alwaysOnTopBox) {
    settings_.alwaysOnTop = true;
    settings_.enabled.alwaysShowMenu = false;
    settings_.enabled.showOnChangeMenu = false;
    write(keys::AlwaysOnTop, keys::On);
    indicator_.hideTimer.SetEnabled(false);
  } else {
    settings_.alwaysOnTop = false;
    settings_.enabled.alwaysShowMenu = true;
    settings_.enabled.showOnChangeMenu = true;
    write(keys::AlwaysOnTop, keys::Off);
  }

  // What the start display does: the LEDs only, shown and armed afresh.
  indicator_.RefreshLeds();
  view_.SetClientHeight(view_.LedBandHeight());
  indicator_.ShowIndicator();

  closed = true;
}

}  // namespace lb
