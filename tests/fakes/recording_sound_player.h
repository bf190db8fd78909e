#pragma once
// Records every sound it is asked to play; can be told to fail, and to block the thread for the
// sound's length in synchronous mode.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sound_player.h"

namespace lb::test {

class RecordingSoundPlayer : public ISoundPlayer {
 public:
  struct Played {
    std::string path;
    bool async;
    friend bool operator==(const Played&, const Played&) = default;
  };
  std::vector<Played> played;
  bool fail = false;
  // Called for a synchronous sound, while it "plays".
  std::function<void()> whilePlayingSync;

  void Play(const std::string& path, bool async) override {
    played.push_back({path, async});
    if (fail) throw std::runtime_error("no sound device");
    if (!async && whilePlayingSync) whilePlayingSync();
  }
};

}  // namespace lb::test
