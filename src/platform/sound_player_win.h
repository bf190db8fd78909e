#pragma once
// WAV playback through PlaySoundW.
#include <windows.h>

#include "platform/sound_player.h"

namespace lb {

// The signature of PlaySoundW: the sound's name, a module, the flags.
using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

class Win32SoundPlayer final : public ISoundPlayer {
 public:
  // `play` is PlaySoundW unless a test records the calls instead. The real one is taken from
  // System32's winmm.dll at the first sound (winmm is no KnownDLL: a winmm.dll beside the exe
  // must never be loaded), so that a program that never plays one never loads it.
  Win32SoundPlayer() noexcept = default;
  explicit Win32SoundPlayer(PlaySoundFunction play) noexcept : play_(play) {}

  // PlaySoundW(path, no module, SND_SYNC or SND_ASYNC) and no other flag: the name is looked up
  // as a sound alias first and as a file after that, as the platform does by default. The
  // result is not looked at.
  void Play(const std::string& path, bool async) override;

 private:
  PlaySoundFunction play_ = nullptr;
};

}  // namespace lb
