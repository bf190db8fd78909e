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
  {"Update Notifications", "menu item UpdateNotifications"},
  {"Online Help", "menu item Help"},
  {"Language...", "menu item Language"},
  {"Send Feedback...", "menu item SendFeedback"},
  {"About...", "menu item About"},
  {"Enable", "menu item Enable (key monitoring on or off)"},
  {"Show when status changes", "submenu ShowOnChangeMenu"},
  {"Always show when toggled on", "submenu AlwaysShowMenu"},
  {"Num Lock", "indicator key label NumLockLabel; menu items ShowNumLock, AlwaysShowNumLock, NumLockSound"},
  {"Caps Lock", "indicator key label CapsLockLabel; menu items ShowCapsLock, AlwaysShowCapsLock, CapsLockSound"},
  {"Scroll Lock", "indicator key label ScrollLockLabel; menu items ShowScrollLock, AlwaysShowScrollLock, ScrollLockSound"},
  {"Settings...", "menu item Settings"},
  {"Sound Effect", "submenu SoundEffect; file dialog filter of Browse..."},
  {"Play Sound Effects", "submenu PlaySoundEffects"},
  {"Browse...", "submenu BrowseSounds (choose the sound files)"},
  {"Turn On", "menu item BrowseOnSound (the sound of a key turning on)"},
  {"Turn Off", "menu item BrowseOffSound (the sound of a key turning off)"},
  {"Mode", "submenu PlayMode (SYNC or ASYNC playback)"},
  {"Only sound files stored on this computer can be used, not files on a network drive or another computer, nor files reached through a link. Please choose another file.",
   "message of Browse... when the chosen sound file is on a network drive, another computer or behind a link"},
  {"Reset to Defaults", "menu item ResetToDefaults"},
  {"Exit", "menu item Exit"},

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

  // Settings dialog, added later.
  {"Start with Windows", "Settings dialog: check box"},

  // The live tray icon and the monitor the indicator shows on.
  {"Show lock states in the tray icon", "menu item TrayIconStates"},
  {"Disabled", "tray icon tooltip: the program is disabled (menu item Enable off)"},
  {"Show on the monitor in use", "Settings dialog: check box"},

  // Quiet over full-screen programs.
  {"Hide while a full-screen program runs", "Settings dialog: check box"},
};
// clang-format on

// The captions that the main window's creation sequence sets, component by component (the
// design captions' accelerator marks are not kept).
struct ComponentCaption {
  std::string_view component;
  std::string_view english;
};

// clang-format off
inline constexpr ComponentCaption kAppCaptions[] = {
  {"Enable", "Enable"},
  {"NumLockLabel", "Num Lock"}, {"ShowNumLock", "Num Lock"}, {"AlwaysShowNumLock", "Num Lock"},
  {"NumLockSound", "Num Lock"},
  {"CapsLockLabel", "Caps Lock"}, {"ShowCapsLock", "Caps Lock"}, {"AlwaysShowCapsLock", "Caps Lock"},
  {"CapsLockSound", "Caps Lock"},
  {"ScrollLockLabel", "Scroll Lock"}, {"ShowScrollLock", "Scroll Lock"}, {"AlwaysShowScrollLock", "Scroll Lock"},
  {"ScrollLockSound", "Scroll Lock"},
  {"UpdateNotifications", "Update Notifications"},
  {"Language", "Language..."},
  {"SendFeedback", "Send Feedback..."},
  {"About", "About..."},
  {"Help", "Online Help"},
  {"SoundEffect", "Sound Effect"},
  {"BrowseSounds", "Browse..."},
  {"PlaySoundEffects", "Play Sound Effects"},
  {"ShowOnChangeMenu", "Show when status changes"},
  {"AlwaysShowMenu", "Always show when toggled on"},
  {"Exit", "Exit"},
  {"Settings", "Settings..."},
  {"PlayMode", "Mode"},
  {"ResetToDefaults", "Reset to Defaults"},
  {"BrowseOnSound", "Turn On"},
  {"BrowseOffSound", "Turn Off"},
  {"TrayIconStates", "Show lock states in the tray icon"},
};
// clang-format on

// Whether `english` is a text of the catalogue (exact comparison).
[[nodiscard]] bool IsCatalogueText(std::string_view english);

}  // namespace lb
