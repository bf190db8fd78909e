#pragma once
// Every English text that the program passes to Translate, in one place. The shipped language
// files are checked against this list (an entry for each text, the same format placeholders, no
// entry that the program never looks up), so a window that adds a text adds it here and to every
// language file. Lookups are exact: "Settings..." and "Settings" are different texts.
//
// Not translated: the application title and the indicator window's caption "Lock Beacon", the
// menu items "SYNC" and "ASYNC", the product name and version, and web addresses.
#include <string_view>

namespace lb {

struct CatalogueText {
  std::string_view english;
  std::string_view usedBy;  // where the program shows it (for translators and reviews)
};

// clang-format off
inline constexpr CatalogueText kTextCatalogue[] = {
  // Popup menu of the tray icon and the indicator window; key labels of the indicator window.
  {"Update Notifications", "menu item UpdateNotifications1"},
  {"Online Help", "menu item Help1"},
  {"Language...", "menu item Language1"},
  {"Send Feedback...", "menu item SendFeedback1"},
  {"About...", "menu item About1"},
  {"Enable", "menu item Enable1 (key monitoring on or off)"},
  {"Show when status changes", "submenu ShowLights1"},
  {"Always show when toggled on", "submenu AlwaysshowwhentoggledON1"},
  {"Num Lock", "indicator key label Label2; menu items NumLock1, NumLock2, NumLock3"},
  {"Caps Lock", "indicator key label Label3; menu items CapsLock1, CapsLock2, CapsLock3"},
  {"Scroll Lock", "indicator key label Label4; menu items ScrollLock1, ScrollLock2, ScrollLock3"},
  {"Settings...", "menu item Settings1"},
  {"Sound Effect", "submenu SoundEffect1; file dialog filter of Browse..."},
  {"Play Sound Effects", "submenu PlaySoundEffects1"},
  {"Browse...", "submenu Browse1 (choose the sound files)"},
  {"Turn On", "menu item urnOn1 (the sound of a key turning on)"},
  {"Turn Off", "menu item urnOff1 (the sound of a key turning off)"},
  {"Mode", "submenu Mode1 (SYNC or ASYNC playback)"},
  {"Reset to Defaults", "menu item ResettoDefaults1"},
  {"Exit", "menu item Exit1"},

  // Status line of the indicator window.
  {"Num Lock: ON", "status line"},
  {"Num Lock: OFF", "status line"},
  {"Caps Lock: ON", "status line"},
  {"Caps Lock: OFF", "status line"},
  {"Scroll Lock: ON", "status line"},
  {"Scroll Lock: OFF", "status line"},

  // Restart question of "Reset to Defaults" and of the language chooser.
  {"Restart Application?", "restart question: message"},
  {"Confirmation", "restart question: caption"},
  {"Yes", "restart question: button"},
  {"No", "restart question: button"},

  // Settings dialog.
  {"Settings", "Settings dialog: caption"},
  {"Display Duration:", "Settings dialog: label before the duration field"},
  {"milliseconds", "Settings dialog: label after the duration field"},
  {"Always on Top", "Settings dialog: check box"},
  {"Fade-out Animation", "Settings dialog: check box"},
  {"Minimal Mode", "Settings dialog: check box"},
  {"ScreenSnap", "Settings dialog: check box (snap to the screen edges)"},
  {"Save", "Settings dialog: button"},
  {"Cancel", "Settings dialog and language chooser: button"},

  // Language chooser.
  {"Language", "language chooser: caption"},
  {"User Interface Language:", "language chooser: label"},
  {"Translated by:", "language chooser: label"},
  {"OK", "language chooser and About box: button"},
  {"Contribute to Translation", "language chooser: link"},

  // Update notice.
  {"UPDATE AVAILABLE", "update notice: heading"},
  {"Click to download", "update notice: link, followed by the product name and version"},

  // Feedback dialog.
  {"feedback", "feedback dialog: caption, after the product name"},
  {"I like it!", "feedback dialog: choice"},
  {"I dislike it!", "feedback dialog: choice"},
  {"We would really appreciate your feedback.", "feedback dialog: label"},
  {"What did you like or dislike?", "feedback dialog: label"},
  {"Include my e-mail:", "feedback dialog: label before the e-mail field"},
  {"Send", "feedback dialog: button"},
  {"Success", "feedback dialog: message caption"},
  {"Your feedback is received.", "feedback dialog: message"},
  {"Thank you!", "feedback dialog: message"},
  {"Failure", "feedback dialog: message caption"},
  {"Invalid e-mail address!", "feedback dialog: message"},
  {"Something went wrong. Your feedback could not be delivered.", "feedback dialog: message"},
  {"Please try again later.", "feedback dialog: message"},

  // About box.
  {"About %s", "About box: caption; %s is the product name"},
  {"Info", "About box: button that opens the Info menu"},
  {"Acknowledgements...", "About box: Info menu item"},
  {"How to uninstall...", "About box: Info menu item"},
  {"License...", "About box: Info menu item"},
  {"License", "About box: message caption"},
  {"File not found!", "About box: message"},
};
// clang-format on

// The captions that the main window's creation sequence sets, component by component (the
// design captions' accelerator marks are not kept).
struct ComponentCaption {
  std::string_view component;
  std::string_view english;
};

// clang-format off
inline constexpr ComponentCaption kAppFormCaptions[] = {
  {"Enable1", "Enable"},
  {"Label2", "Num Lock"}, {"NumLock1", "Num Lock"}, {"NumLock2", "Num Lock"},
  {"NumLock3", "Num Lock"},
  {"Label3", "Caps Lock"}, {"CapsLock1", "Caps Lock"}, {"CapsLock2", "Caps Lock"},
  {"CapsLock3", "Caps Lock"},
  {"Label4", "Scroll Lock"}, {"ScrollLock1", "Scroll Lock"}, {"ScrollLock2", "Scroll Lock"},
  {"ScrollLock3", "Scroll Lock"},
  {"UpdateNotifications1", "Update Notifications"},
  {"Language1", "Language..."},
  {"SendFeedback1", "Send Feedback..."},
  {"About1", "About..."},
  {"Help1", "Online Help"},
  {"SoundEffect1", "Sound Effect"},
  {"Browse1", "Browse..."},
  {"PlaySoundEffects1", "Play Sound Effects"},
  {"ShowLights1", "Show when status changes"},
  {"AlwaysshowwhentoggledON1", "Always show when toggled on"},
  {"Exit1", "Exit"},
  {"Settings1", "Settings..."},
  {"Mode1", "Mode"},
  {"ResettoDefaults1", "Reset to Defaults"},
  {"urnOn1", "Turn On"},
  {"urnOff1", "Turn Off"},
};
// clang-format on

// Whether `english` is a text of the catalogue (exact comparison).
[[nodiscard]] bool IsCatalogueText(std::string_view english);

}  // namespace lb
