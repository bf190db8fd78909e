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

void TFormSettings::FormCreate() {
  Caption = Translate("Settings");
  BitBtn1Caption = Translate("Save");
  BitBtn2Caption = Translate("Cancel");
  Label5Caption = Translate("Display Duration:");
  Label6Caption = Translate("milliseconds");
  CheckBox1Caption = Translate("Always on Top");
  CheckBox2Caption = Translate("ScreenSnap");
  CheckBox3Caption = Translate("Fade-out Animation");
  CheckBox4Caption = Translate("Minimal Mode");

  SpinEdit1Text = std::to_string(std::clamp(settings_.DisplayDuration, kDurationMin, kDurationMax));

  if (settings_.AlwaysOnTop) CheckBox1 = true;
  if (settings_.ScreenSnap) CheckBox2 = true;
  if (settings_.FadeOut) CheckBox3 = true;
  if (settings_.MinimalMode) CheckBox4 = true;
}

bool TFormSettings::SpinEdit1Accepts(char32_t key, char32_t decimalSeparator) {
  if (key == U'\r') return false;
  if (key < 0x20) return true;
  return (key >= U'0' && key <= U'9') || key == U'+' || key == U'-' || key == decimalSeparator;
}

int TFormSettings::SpinEdit1Value() const { return WholeNumber(SpinEdit1Text).value_or(1); }

void TFormSettings::SpinEdit1Step(int delta) {
  const std::int64_t next = static_cast<std::int64_t>(SpinEdit1Value()) + delta;
  SpinEdit1Text = std::to_string(std::clamp<std::int64_t>(next, kDurationMin, kDurationMax));
}

void TFormSettings::SpinEdit1Exit() {
  const auto value = WholeNumber(SpinEdit1Text);
  if (!value) return;
  if (*value < kDurationMin) SpinEdit1Text = std::to_string(kDurationMin);
  if (*value > kDurationMax) SpinEdit1Text = std::to_string(kDurationMax);
}

void TFormSettings::BitBtn1Click() {
  SettingsStore& store = *store_;

  settings_.DisplayDuration = SpinEdit1Value();
  store.WriteInteger(keys::DisplayDuration, settings_.DisplayDuration);

  settings_.FadeOut = CheckBox3;
  store.WriteString(keys::FadeoutAnimation, OnOff(CheckBox3));

  settings_.ScreenSnap = CheckBox2;
  store.WriteString(keys::ScreenSnap, OnOff(CheckBox2));

  settings_.MinimalMode = CheckBox4;
  store.WriteString(keys::MinimalMode, OnOff(CheckBox4));
  if (CheckBox4) {
    indicator_.MinimalModeActivate();
  } else {
    indicator_.MinimalModeDeactivate();
  }

  if (CheckBox1) {
    settings_.AlwaysOnTop = true;
    settings_.Enabled.AlwaysshowwhentoggledON1 = false;
    settings_.Enabled.ShowLights1 = false;
    store.WriteString(keys::AlwaysOnTop, keys::On);
    indicator_.TimerFade.SetEnabled(false);
  } else {
    settings_.AlwaysOnTop = false;
    settings_.Enabled.AlwaysshowwhentoggledON1 = true;
    settings_.Enabled.ShowLights1 = true;
    store.WriteString(keys::AlwaysOnTop, keys::Off);
  }

  // What the start display does: the LEDs only, shown and armed afresh.
  indicator_.MevcutDurum();
  view_.SetClientHeight(view_.Panel1Height());
  indicator_.YapYap();

  Closed = true;
}

}  // namespace lb
