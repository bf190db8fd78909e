#pragma once
// Playing a WAV file: PlaySoundW with the path as the file name (SND_FILENAME), no module, no
// default sound (SND_NODEFAULT), and SND_SYNC (returns when the sound has ended) or SND_ASYNC
// (returns at once).
#include <string>

namespace lb {

class ISoundPlayer {
 public:
  virtual ~ISoundPlayer() = default;
  // Its result is not looked at; it may throw, and the caller drops the error.
  virtual void Play(const std::string& path, bool async) = 0;
};

}  // namespace lb
