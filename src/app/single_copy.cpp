#include "app/single_copy.h"

#include <charconv>

#include "base/settings_folder.h"

namespace lb {
namespace {

constexpr const char* kMutexPrefix = "Local\\BRIMLEX_Lock_Beacon_Settings_";
constexpr std::size_t kMutexDigestBytes = 16;

}  // namespace

StartStep DecideStart(const StartFacts& facts) {
  switch (facts.name) {
    case FolderName::Taken:
      return StartStep::RunAsTheCopy;
    case FolderName::Unavailable:
      return StartStep::RunBeside;
    case FolderName::Held:
      break;
  }
  // The old copy of a restart is never asked to show itself: it is on its way out, and the
  // restart would end with no copy at all. It normally let go of the name before it started
  // this one; if it still holds it, wait for it to end.
  if (facts.predecessorRunning) {
    return facts.waitIsOver ? StartStep::RunBeside : StartStep::WaitForName;
  }
  switch (facts.answer) {
    case RunningCopyAnswer::NotAsked:
      return StartStep::AskRunningCopy;
    case RunningCopyAnswer::Shown:
      return StartStep::End;
    case RunningCopyAnswer::Silent:
      // A copy that hangs must not keep the user from a working one.
      return StartStep::RunBeside;
    case RunningCopyAnswer::NoWindow:
      break;
  }
  // The name's owner has not made its window yet (it is starting too), or it is ending.
  return facts.waitIsOver ? StartStep::RunBeside : StartStep::WaitForName;
}

StartOutcome CheckSingleCopy(ISingleCopyPlatform& platform) {
  const std::int64_t start = platform.NowMs();
  StartFacts facts{.name = platform.TryTakeName(0),
                   .predecessorRunning = platform.PredecessorRunning()};
  // Counted as well as timed: a clock that stands still cannot make the wait endless.
  int steps = 0;
  for (;;) {
    switch (DecideStart(facts)) {
      case StartStep::RunAsTheCopy:
        return StartOutcome::RunAsTheCopy;
      case StartStep::RunBeside:
        return StartOutcome::RunBeside;
      case StartStep::End:
        return StartOutcome::End;
      case StartStep::AskRunningCopy:
        facts.answer = platform.AskRunningCopyToShow();
        break;
      case StartStep::WaitForName:
        facts.name = platform.TryTakeName(kNameWaitStepMs);
        facts.answer = RunningCopyAnswer::NotAsked;
        facts.predecessorRunning = platform.PredecessorRunning();
        ++steps;
        facts.waitIsOver = platform.NowMs() - start >= kNameWaitLimitMs ||
                           steps * kNameWaitStepMs >= kNameWaitLimitMs;
        break;
    }
  }
}

std::string SettingsFolderForStart(IStartupPlatform& platform) {
  // The names and the choice of App::Create, so that a copy claims the folder it will use.
  const std::string exePath = platform.ExePath();
  const ProgramNames names = ReadProgramNames(platform, exePath);
  return ChooseSettingsFolder(platform, exePath, names.company, names.product);
}

std::string FolderKey(std::string_view folder) {
  std::string path(folder);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::string_view rest = path;
  std::string key;
  if (rest.starts_with("\\\\?\\UNC\\")) {
    key = "\\\\";
    rest.remove_prefix(8);
  } else if (rest.starts_with("\\\\?\\")) {
    rest.remove_prefix(4);
  } else if (rest.starts_with("\\\\")) {
    key = "\\\\";
    rest.remove_prefix(2);
  }
  for (const char c : rest) {
    if (c == '\\' && !key.empty() && key.back() == '\\') continue;
    key += c;
  }
  while (key.size() > 2 && key.back() == '\\') key.pop_back();
  return key;
}

std::string FolderMutexName(const Sha256Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = kMutexPrefix;
  for (std::size_t i = 0; i < kMutexDigestBytes; ++i) {
    name += kHex[digest[i] >> 4];
    name += kHex[digest[i] & 0x0F];
  }
  return name;
}

std::uint64_t FolderWindowKey(const Sha256Digest& digest) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) key = (key << 8) | digest[i];
  return key == 0 ? 1 : key;
}

std::optional<std::uint32_t> ParseRestartOf(std::string_view value) {
  std::uint32_t pid = 0;
  const char* end = value.data() + value.size();
  const auto [last, error] = std::from_chars(value.data(), end, pid);
  if (value.empty() || error != std::errc() || last != end || pid == 0) return std::nullopt;
  return pid;
}

}  // namespace lb
