#include "platform/sound_player_win.h"

// PlaySoundW needs the types of windows.h first.
#include <mmsystem.h>

#include "platform/system_library_win.h"
#include "platform/wide_text_win.h"

namespace lb {

void Win32SoundPlayer::Play(const std::string& path, bool async) {
  if (!play_) play_ = SystemProc<PlaySoundFunction>(L"winmm.dll", "PlaySoundW");
  if (!play_) return;  // a system without sound playback plays nothing
  const std::wstring name = ToWide(path);
  // SND_FILENAME: the name is a file, never a sound alias of the registry; SND_NODEFAULT: a
  // file that cannot be played stays silent instead of the system's default sound.
  static_cast<void>(
      play_(name.c_str(), nullptr, (async ? SND_ASYNC : SND_SYNC) | SND_FILENAME | SND_NODEFAULT));
}

}  // namespace lb
