#include "indicator/sound_effects.h"

#include <exception>
#include <optional>

#include "base/settings_keys.h"
#include "i18n/translation.h"

namespace lb {
namespace {

// A file beside the executable: its folder (up to the last delimiter) and the file's name.
std::string BesideExe(const std::string& exePath, const char* name) {
  const auto slash = exePath.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
  return folder + kPathDelimiter + name;
}

}  // namespace

SoundEffects::SoundEffects(RunningSettings& settings, IIndicatorView& view, ISoundPlayer& player,
                           const IFileSystem& files, const IStartupPlatform& startup,
                           const std::unique_ptr<SettingsStore>& store)
    : settings_(settings),
      view_(view),
      player_(player),
      files_(files),
      startup_(startup),
      store_(store) {}

void SoundEffects::SesCal(bool OnOffHangisi) {
  std::string path =
      store_->ReadString(OnOffHangisi ? keys::SoundEffectON : keys::SoundEffectOFF, "");
  if (path.empty() || !files_.FileExists(path)) {
    path = BesideExe(startup_.ExePath(), OnOffHangisi ? kBuiltInOnSound : kBuiltInOffSound);
    if (!files_.FileExists(path)) return;
  }
  try {
    if (settings_.Ticks.SYNC1) {
      player_.Play(path, false);
    } else if (settings_.Ticks.ASYNC1) {
      player_.Play(path, true);
    }
  } catch (const std::exception&) {
    // A sound that cannot be played is not worth a message; the key check goes on.
  }
}

void SoundEffects::SwitchSound(bool MenuTicks::*tick, const char* key) {
  bool& ticked = settings_.Ticks.*tick;
  ticked = !ticked;
  store_->WriteString(key, ticked ? keys::On : keys::Off);
}

void SoundEffects::NumLock3Click() { SwitchSound(&MenuTicks::NumLock3, keys::NumLockSound); }
void SoundEffects::CapsLock3Click() { SwitchSound(&MenuTicks::CapsLock3, keys::CapsLockSound); }
void SoundEffects::ScrollLock3Click() {
  SwitchSound(&MenuTicks::ScrollLock3, keys::ScrollLockSound);
}

void SoundEffects::SYNC1Click() {
  settings_.Ticks.SYNC1 = true;
  settings_.Ticks.ASYNC1 = false;
  store_->WriteString(keys::PlayMode, keys::Sync);
}

void SoundEffects::ASYNC1Click() {
  settings_.Ticks.ASYNC1 = true;
  settings_.Ticks.SYNC1 = false;
  store_->WriteString(keys::PlayMode, keys::Async);
}

void SoundEffects::urnOn1Click() { Browse(keys::SoundEffectON); }
void SoundEffects::urnOff1Click() { Browse(keys::SoundEffectOFF); }

void SoundEffects::Browse(const char* key) {
  // The stored file is offered only while it exists.
  std::string preset = store_->ReadString(key, "");
  if (!preset.empty() && !files_.FileExists(preset)) preset.clear();
  const std::optional<std::string> chosen =
      view_.OpenFileDialog(Translate("Sound Effect") + " (*.wav)", "*.wav", "wav", preset);
  if (chosen) store_->WriteString(key, *chosen);
}

}  // namespace lb
