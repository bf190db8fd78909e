#pragma once
// The keys of settings.ini, section [Settings], and the words its switches are stored as.
// Switch texts are compared exactly and case-sensitively: a switch that is on by default is
// turned off only by "OFF", one that is off by default is turned on only by "ON".
#include <string>

namespace lb::keys {

inline constexpr const char* NumLock = "Num Lock";
inline constexpr const char* CapsLock = "Caps Lock";
inline constexpr const char* ScrollLock = "Scroll Lock";
inline constexpr const char* NumLockToggled = "Num Lock Toggled";
inline constexpr const char* CapsLockToggled = "Caps Lock Toggled";
inline constexpr const char* ScrollLockToggled = "Scroll Lock Toggled";
inline constexpr const char* NumLockSound = "Num Lock Sound";
inline constexpr const char* CapsLockSound = "Caps Lock Sound";
inline constexpr const char* ScrollLockSound = "Scroll Lock Sound";
inline constexpr const char* PlayMode = "Play Mode";
inline constexpr const char* SoundEffectON = "SoundEffectON";
inline constexpr const char* SoundEffectOFF = "SoundEffectOFF";
inline constexpr const char* DisplayDuration = "DisplayDuration";
inline constexpr const char* FadeoutAnimation = "FadeoutAnimation";
inline constexpr const char* ScreenSnap = "ScreenSnap";
inline constexpr const char* MinimalMode = "Minimal Mode";
inline constexpr const char* AlwaysOnTop = "Always on top";
inline constexpr const char* Left = "Left";
inline constexpr const char* Top = "Top";
inline constexpr const char* Width = "Width";
inline constexpr const char* Height = "Height";
inline constexpr const char* LanguageFile = "LanguageFile";
inline constexpr const char* TrayIconStates = "Tray Icon States";
inline constexpr const char* ShowOnActiveMonitor = "Show On Active Monitor";
inline constexpr const char* HideInFullScreen = "Hide In Full Screen";

inline constexpr const char* On = "ON";
inline constexpr const char* Off = "OFF";
inline constexpr const char* Sync = "SYNC";
inline constexpr const char* Async = "ASYNC";

inline constexpr int DefaultDisplayDuration = 10000;

// A switch that is on unless its text is exactly "OFF".
inline bool OnUnlessOff(const std::string& text) { return text != Off; }
// A switch that is off unless its text is exactly "ON".
inline bool OffUnlessOn(const std::string& text) { return text == On; }

}  // namespace lb::keys
