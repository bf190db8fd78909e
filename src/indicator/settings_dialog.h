#pragma once
// TFormSettings, the Settings dialog's logic: five settings of the indicator window edited
// together (display duration, always on top, fade-out, minimal mode, snapping), saved and
// applied at once by "Save", dropped by "Cancel". The Win32 dialog shows these fields and hands
// the user's input to them; it decides nothing itself.
#include <memory>
#include <string>

#include "base/settings_store.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/running_settings.h"

namespace lb {

// The bounds of the duration field (SpinEdit1), in milliseconds.
inline constexpr int kDurationMin = 1;
inline constexpr int kDurationMax = 999999999;

// The dialog's design layout, in 96-DPI units.
inline constexpr int kSettingsClientWidth = 313;
inline constexpr int kSettingsClientHeight = 176;

class TFormSettings {
 public:
  TFormSettings(RunningSettings& settings, IIndicatorView& view, Indicator& indicator,
                const std::unique_ptr<SettingsStore>& store)
      : settings_(settings), view_(view), indicator_(indicator), store_(store) {}

  // Translated captions and the fields filled from the running values.
  void FormCreate();

  // Whether the duration field takes a typed character (a UTF-16 unit): digits, "+", "-", the
  // locale's decimal separator and control characters other than Enter. Anything else is
  // dropped with the default beep.
  [[nodiscard]] static bool SpinEdit1Accepts(char32_t key, char32_t decimalSeparator);
  // The field's value: its text as a whole number, or 1 when it is not one.
  [[nodiscard]] int SpinEdit1Value() const;
  // The Up and Down arrow keys and the spin buttons: the value plus or minus 1, within bounds.
  void SpinEdit1Step(int delta);
  // The focus leaves the field: a whole number outside the bounds becomes the nearer bound;
  // other text stays as it is.
  void SpinEdit1Exit();

  // "Save": writes all five settings, applies them, shows the indicator and closes.
  void BitBtn1Click();
  // "Cancel", Esc and the close box: closes; nothing is written or applied.
  void BitBtn2Click() { Closed = true; }

  // Captions, set by FormCreate.
  std::string Caption;
  std::string BitBtn1Caption;  // "Save"
  std::string BitBtn2Caption;  // "Cancel"
  std::string Label5Caption;   // "Display Duration:"
  std::string Label6Caption;   // "milliseconds"
  std::string CheckBox1Caption;
  std::string CheckBox2Caption;
  std::string CheckBox3Caption;
  std::string CheckBox4Caption;

  // The controls' contents.
  std::string SpinEdit1Text = "5000";
  bool CheckBox1 = false;  // "Always on Top"
  bool CheckBox2 = false;  // "ScreenSnap"
  bool CheckBox3 = false;  // "Fade-out Animation"
  bool CheckBox4 = false;  // "Minimal Mode"

  bool Closed = false;

 private:
  RunningSettings& settings_;
  IIndicatorView& view_;
  Indicator& indicator_;
  const std::unique_ptr<SettingsStore>& store_;
};

}  // namespace lb
