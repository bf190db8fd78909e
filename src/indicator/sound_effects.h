#pragma once
// The on and off sounds of the lock keys: playing them (PlayToggleSound), the per-key sound
// switches, the play mode, and the "Browse..." commands that pick the user's own WAV files. The
// chosen paths are not held in memory: every sound and every Browse reads them from the store.
// Only a chosen file that is certainly on this machine (IsLocalPath) is ever looked at: a path
// to another machine, a device or a link counts as a missing file, without being opened.
#include <memory>
#include <string>

#include "base/settings_store.h"
#include "indicator/indicator_view.h"
#include "indicator/running_settings.h"
#include "platform/file_system.h"
#include "platform/message_dialogs.h"
#include "platform/sound_player.h"
#include "platform/startup_platform.h"

namespace lb {

// The built-in sounds, in the executable's folder.
inline constexpr const char* kBuiltInOnSound = "keypress-on.wav";
inline constexpr const char* kBuiltInOffSound = "keypress-off.wav";
// What Browse says when the user picks a file that is not on this machine.
inline constexpr const char* kNotALocalSoundMessage =
    "Only sound files stored on this computer can be used, not files on a network drive or "
    "another computer, nor files reached through a link. Please choose another file.";

class SoundEffects {
 public:
  // `store` is the app's settings store, opened by its creation sequence.
  SoundEffects(RunningSettings& settings, IIndicatorView& view, ISoundPlayer& player,
               const IFileSystem& files, const IStartupPlatform& startup, IMessageDialogs& messages,
               const std::unique_ptr<SettingsStore>& store);
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;

  // Plays the on-sound (true) or the off-sound (false) in the current mode: the user's file, or
  // the built-in one when that does not exist (or is not on this machine), or nothing.
  // Playback errors are dropped.
  void PlayToggleSound(bool on);

  // Menu "Sound Effect" > "Play Sound Effects": switch one key's sound and store it.
  void OnNumLockSound();
  void OnCapsLockSound();
  void OnScrollLockSound();
  // Menu "Sound Effect" > "Mode".
  void OnPlaySync();
  void OnPlayAsync();
  // Menu "Sound Effect" > "Browse..." > "Turn On" / "Turn Off". A file picked that is not on
  // this machine is refused with a message and not stored.
  void OnBrowseOnSound();
  void OnBrowseOffSound();

 private:
  void SwitchSound(bool MenuTicks::*tick, const char* key);
  void Browse(const char* key);

  RunningSettings& settings_;
  IIndicatorView& view_;
  ISoundPlayer& player_;
  const IFileSystem& files_;
  const IStartupPlatform& startup_;
  IMessageDialogs& messages_;
  const std::unique_ptr<SettingsStore>& store_;
};

}  // namespace lb
