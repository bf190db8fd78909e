#pragma once
// SettingsDialog, the Settings dialog's logic: seven settings of the indicator window edited
// together (display duration, always on top, fade-out, minimal mode, snapping, the monitor it
// shows on, hiding over full-screen programs), saved and applied at once by "Save", dropped by
// "Cancel". The Win32 dialog shows these fields and hands
// the user's input to them; it decides nothing itself.
#include <memory>
#include <string>
#include <utility>

#include "base/settings_store.h"
#include "base/start_with_windows.h"
#include "indicator/indicator.h"
#include "indicator/indicator_view.h"
#include "indicator/running_settings.h"

namespace lb {

// The bounds of the duration field (durationField), in milliseconds.
inline constexpr int kDurationMin = 1;
inline constexpr int kDurationMax = 999999999;

// The dialog's design layout, in 96-DPI units.
inline constexpr int kSettingsClientWidth = 313;
inline constexpr int kSettingsClientHeight = 236;  // one row for each check box

class SettingsDialog {
 public:
  SettingsDialog(RunningSettings& settings, IIndicatorView& view, Indicator& indicator,
                 const std::unique_ptr<SettingsStore>& store, StartWithWindows startWithWindows)
      : settings_(settings),
        view_(view),
        indicator_(indicator),
        store_(store),
        startWithWindows_(std::move(startWithWindows)) {}

  // Translated captions and the fields filled from the running values.
  void Populate();

  // Whether the duration field takes a typed character (a UTF-16 unit): digits, "+", "-", the
  // locale's decimal separator and control characters other than Enter. Anything else is
  // dropped with the default beep.
  [[nodiscard]] static bool DurationFieldAccepts(char32_t key, char32_t decimalSeparator);
  // The field's value: its text as a whole number, or 1 when it is not one.
  [[nodiscard]] int DurationFieldValue() const;
  // The Up and Down arrow keys and the spin buttons: the value plus or minus 1, within bounds.
  void StepDurationField(int delta);
  // The focus leaves the field: a whole number outside the bounds becomes the nearer bound;
  // other text stays as it is.
  void OnDurationFieldExit();

  // "Save": first switches "Start with Windows" as the box says (when that entry cannot be
  // written, the error propagates and nothing else is written or applied), then writes all seven
  // settings, applies them, shows the indicator and closes.
  void OnSave();
  // "Cancel", Esc and the close box: closes; nothing is written or applied.
  void OnCancel() { closed = true; }

  // Captions, set by Populate.
  std::string caption;
  std::string saveButtonCaption;         // "Save"
  std::string cancelButtonCaption;       // "Cancel"
  std::string durationLabelCaption;      // "Display Duration:"
  std::string millisecondsLabelCaption;  // "milliseconds"
  std::string alwaysOnTopBoxCaption;
  std::string screenSnapBoxCaption;
  std::string fadeOutBoxCaption;
  std::string minimalModeBoxCaption;
  std::string showOnActiveMonitorBoxCaption;
  std::string hideInFullScreenBoxCaption;
  std::string startWithWindowsBoxCaption;

  // The controls' contents.
  std::string durationFieldText = "5000";
  bool alwaysOnTopBox = false;          // "Always on Top"
  bool screenSnapBox = false;           // "ScreenSnap"
  bool fadeOutBox = false;              // "Fade-out Animation"
  bool minimalModeBox = false;          // "Minimal Mode"
  bool showOnActiveMonitorBox = false;  // "Show on the monitor in use"
  bool hideInFullScreenBox = false;     // "Hide while a full-screen program runs"
  // "Start with Windows": the user's start-up entry, not a setting
  bool startWithWindowsBox = false;

  bool closed = false;

 private:
  RunningSettings& settings_;
  IIndicatorView& view_;
  Indicator& indicator_;
  const std::unique_ptr<SettingsStore>& store_;
  StartWithWindows startWithWindows_;
};

}  // namespace lb
