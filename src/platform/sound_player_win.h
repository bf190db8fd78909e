#pragma once
// WAV playback through PlaySoundW.
#include "platform/sound_player.h"

namespace lb {

class Win32SoundPlayer final : public ISoundPlayer {
 public:
  // PlaySoundW(path, no module, SND_SYNC or SND_ASYNC) and no other flag: the name is looked up
  // as a sound alias first and as a file after that, as the platform does by default. The
  // result is not looked at.
  void Play(const std::string& path, bool async) override;
};

}  // namespace lb
