#include "indicator/sound_effects.h"

#include <exception>
#include <optional>

#include "base/settings_keys.h"
#include "i18n/translation.h"
#include "platform/local_file.h"
#include "ui/app_title.h"

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
                           IMessageDialogs& messages, const std::unique_ptr<SettingsStore>& store)
    : settings_(settings),
      view_(view),
      player_(player),
      files_(files),
      startup_(startup),
      messages_(messages),
      store_(store) {}

void SoundEffects::PlayToggleSound(bool on) {
  // No store (the creation sequence failed before it opened one): the built-in sounds.
  std::string path =
      store_ ? store_->ReadString(on ? keys::SoundEffectON : keys::SoundEffectOFF, "") : "";
  // A path that is not certainly on this machine is not even tested for existence: the test
  // alone would connect to the machine it names.
  if (!IsLocalPath(files_, path) || !files_.FileExists(path)) {
    path = BesideExe(startup_.ExePath(), on ? kBuiltInOnSound : kBuiltInOffSound);
    if (!files_.FileExists(path)) return;
  }
  try {
    if (settings_.ticks.syncMode) {
      player_.Play(path, false);
    } else if (settings_.ticks.asyncMode) {
      player_.Play(path, true);
    }
  } catch (const std::exception&) {
    // A sound that cannot be played is not worth a message; the key check goes on.
  }
}

void SoundEffects::SwitchSound(bool MenuTicks::*tick, const char* key) {
  bool& ticked = settings_.ticks.*tick;
  ticked = !ticked;
  if (store_) store_->WriteString(key, ticked ? keys::On : keys::Off);
}

void SoundEffects::OnNumLockSound() { SwitchSound(&MenuTicks::numLockSound, keys::NumLockSound); }
void SoundEffects::OnCapsLockSound() {
  SwitchSound(&MenuTicks::capsLockSound, keys::CapsLockSound);
}
void SoundEffects::OnScrollLockSound() {
  SwitchSound(&MenuTicks::scrollLockSound, keys::ScrollLockSound);
}

void SoundEffects::OnPlaySync() {
  settings_.ticks.syncMode = true;
  settings_.ticks.asyncMode = false;
  if (store_) store_->WriteString(keys::PlayMode, keys::Sync);
}

void SoundEffects::OnPlayAsync() {
  settings_.ticks.asyncMode = true;
  settings_.ticks.syncMode = false;
  if (store_) store_->WriteString(keys::PlayMode, keys::Async);
}

void SoundEffects::OnBrowseOnSound() { Browse(keys::SoundEffectON); }
void SoundEffects::OnBrowseOffSound() { Browse(keys::SoundEffectOFF); }

void SoundEffects::Browse(const char* key) {
  // The stored file is offered only while it exists on this machine.
  std::string preset = store_ ? store_->ReadString(key, "") : "";
  if (!IsLocalPath(files_, preset) || !files_.FileExists(preset)) preset.clear();
  const std::optional<std::string> chosen =
      messages_.ShowOpenFile({.filterDescription = Translate("Sound Effect") + " (*.wav)",
                              .filterPattern = "*.wav",
                              .defaultExtension = "wav",
                              .presetFile = preset});
  if (!chosen) return;
  // The dialog lets the user browse anywhere; a file it returns from elsewhere would only be
  // passed over at every sound, so it is refused at once, where the user sees why.
  if (!IsLocalPath(files_, *chosen)) {
    static_cast<void>(ShowMessageDialog(messages_, Translate(kNotALocalSoundMessage),
                                        MessageType::Warning, {MessageButton::OK},
                                        std::string(kAppTitle), {Translate("OK")}));
    return;
  }
  if (store_) store_->WriteString(key, *chosen);
}

}  // namespace lb
