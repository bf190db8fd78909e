#include "online/update_check.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/settings_store.h"

namespace lb {
namespace {

// The scrambling's running key: seed, multiplier and increment (the same for every value and
// every run, or the stored addresses could not be read back).
constexpr std::uint16_t kScrambleSeed = 0xB7E1;
constexpr std::uint16_t kScrambleM = 0x4E6D;
constexpr std::uint16_t kScrambleA = 0x3039;

std::uint16_t NextKey(std::uint16_t key, std::uint8_t c) {
  return static_cast<std::uint16_t>(
      (static_cast<std::uint32_t>(key + c) * kScrambleM + kScrambleA) & 0xFFFFu);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsWholeNumber(const std::string& text) {
  // The reading rule gives its default only for a text that is no number: two different
  // defaults tell the cases apart.
  return ParseProfileInteger(text, 0) == ParseProfileInteger(text, 1);
}

std::string WithoutDots(const std::string& text) {
  std::string result;
  for (const char c : text) {
    if (c != '.') result += c;
  }
  return result;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace

std::string ReadStoreString(IUpdateStore& store, std::string_view key,
                            const std::string& defaultValue) {
  try {
    return store.ReadString(key).value_or(defaultValue);
  } catch (...) {
    return defaultValue;
  }
}

int ReadStoreInteger(IUpdateStore& store, std::string_view key, int defaultValue) {
  try {
    const std::optional<std::string> text = store.ReadString(key);
    return text ? ParseProfileInteger(*text, defaultValue) : defaultValue;
  } catch (...) {
    return defaultValue;
  }
}

UpdateCheckResults& CheckResults() {
  static UpdateCheckResults* const results = new UpdateCheckResults();
  return *results;
}

std::string ScrambleText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 2);
  std::uint16_t key = kScrambleSeed;
  for (const char ch : text) {
    const auto b = static_cast<std::uint8_t>(ch);
    const auto c = static_cast<std::uint8_t>(b ^ (key >> 8));
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
    key = NextKey(key, c);
  }
  return out;
}

std::string UnscrambleText(std::string_view scrambled) {
  std::string out;
  out.reserve(scrambled.size() / 2);
  std::uint16_t key = kScrambleSeed;
  for (std::size_t i = 0; i + 1 < scrambled.size(); i += 2) {
    const int high = HexDigit(scrambled[i]);
    const int low = HexDigit(scrambled[i + 1]);
    if (high < 0 || low < 0) return {};
    const auto c = static_cast<std::uint8_t>(high * 16 + low);
    out += static_cast<char>(c ^ (key >> 8));
    key = NextKey(key, c);
  }
  return out;
}

bool ShouldNotify(const std::string& offeredVersion, const std::string& appVersion,
                  int showUpdateValue, int countToday) {
  return offeredVersion != appVersion && IsWholeNumber(WithoutDots(offeredVersion)) &&
         showUpdateValue == 1 && countToday < kMaxChecksPerDay;
}

UpdateCheck::UpdateCheck(ICheckPlatform& platform, CheckInputs inputs, UpdateCheckResults& results)
    : platform_(platform), inputs_(std::move(inputs)), results_(results) {}

void UpdateCheck::Execute() {
  results_.checkDone.store(false, std::memory_order_relaxed);
  bool errors = false;

  IUpdateStore* store = nullptr;
  try {
    store = &platform_.OpenUpdateStore();
  } catch (...) {
    errors = true;
  }

  std::string lastCheck;
  int lastCount = 0;
  results_.showUpdateValue = 1;
  if (store != nullptr) {
    lastCheck = ReadStoreString(*store, update_keys::LastUpdateCheck, "");
    // A count below zero (edited by hand) would allow more than five requests a day: it counts
    // as none, like a count that is no number.
    lastCount = std::max(0, ReadStoreInteger(*store, update_keys::LastUpdateCheckCount, 0));
    if (const std::string url = ReadStoreString(*store, update_keys::CurrentURL, "");
        !url.empty()) {
      results_.downloadUrl = UnscrambleText(url);
    }
    results_.showUpdateValue = ReadStoreInteger(*store, update_keys::ShowUpdate, 1);
  }

  if (results_.showUpdateValue != 0) {
    try {
      const std::string today = platform_.TodayShortDate();
      if (!(lastCheck == today && lastCount >= kMaxChecksPerDay)) {
        FormLines lines{"cmd=check", "appname=" + inputs_.appName, "version=" + inputs_.appVersion,
                        "os=" + platform_.OSDescription()};
        try {
          lines.push_back("local=" + platform_.UserLocaleName());
        } catch (...) {
          errors = true;
        }
        // The machine's identifier is made only for a request that goes out: with the check
        // switched off, its digest does not load the system's cryptography at every start.
        std::string guid;
        try {
          guid = platform_.MachineIdentifier();
        } catch (...) {
          errors = true;
          guid.clear();
        }
        lines.push_back("guid=" + guid);

        std::string reply;
        bool retryInClear = false;
        try {
          reply =
              platform_.PostForm("https://" + inputs_.host + kCheckPath, lines, kCheckTimeoutMs);
        } catch (const WebRequestError& error) {
          errors = true;
          retryInClear = MayRetryInClear(error);
        } catch (...) {
          errors = true;
        }
        // Over plain HTTP only when the HTTPS port could not be reached at all: after a failure
        // on a connection that was made, the plain answer may come from whoever made it fail.
        if (retryInClear) {
          try {
            reply =
                platform_.PostForm("http://" + inputs_.host + kCheckPath, lines, kCheckTimeoutMs);
            errors = false;
          } catch (...) {
            errors = true;
          }
        }

        const std::vector<std::string> replyLines = SplitReplyLines(reply);
        if (JoinLines(replyLines).starts_with("ERROR")) errors = true;
        if (!errors) {
          const std::string status =
              replyLines.size() >= 4 ? ExtractTagValue(replyLines[3], "result") : "";
          if (status != "0" && status != "1") errors = true;
        }
        if (!errors && (ExtractTagValue(replyLines[0], "version").size() > kMaxReplyValueBytes ||
                        ExtractTagValue(replyLines[1], "url").size() > kMaxReplyValueBytes)) {
          errors = true;
        }

        if (!errors) {
          const int count = lastCheck == today ? lastCount + 1 : 1;
          try {
            if (store == nullptr) throw WebRequestError("The update store is not open");
            store->WriteString(update_keys::LastUpdateCheck, today);
            store->WriteString(update_keys::LastUpdateCheckCount, std::to_string(count));
          } catch (...) {
          }
          try {
            results_.offeredVersion = ExtractTagValue(replyLines[0], "version");
            if (store != nullptr) {
              store->WriteString(update_keys::CurrentVersion, results_.offeredVersion);
            }
          } catch (...) {
          }
          try {
            results_.downloadUrl = ExtractTagValue(replyLines[1], "url");
            if (store != nullptr) {
              store->WriteString(update_keys::CurrentURL, ScrambleText(results_.downloadUrl));
            }
          } catch (...) {
          }
          try {
            results_.updatePending = ShouldNotify(results_.offeredVersion, inputs_.appVersion,
                                                  results_.showUpdateValue, count);
          } catch (...) {
          }
        }
      }
    } catch (...) {
      errors = true;
    }
  }

  checkErrors_ = errors;
  results_.checkDone.store(true, std::memory_order_release);
}

UpdateCheckTimer::UpdateCheckTimer(ITimerHost& timers, IUpdateCheckHost& host,
                                   UpdateCheckResults& results)
    : updateCheckTimer(timers, kUpdateCheckTimerId, kUpdateCheckTimerIntervalMs, true),
      host_(host),
      results_(results) {}

void UpdateCheckTimer::OnUpdateCheckTimer() {
  if (!started_) {
    started_ = true;
    host_.StartUpdateCheck();
    return;
  }
  if (!updateCheckTimer.Enabled() || !results_.checkDone.load(std::memory_order_acquire)) return;
  updateCheckTimer.SetEnabled(false);
  host_.EnableUpdateNotifications(results_.showUpdateValue != 0);
  if (results_.updatePending) host_.ShowNewVersionNotice();
}

bool UpdateCheckSwitchedOff(IUpdateStore& store) {
  return ReadStoreInteger(store, update_keys::ShowUpdate, 1) == 0;
}

void ShowUpdateOff(IUpdateStore& store) {
  try {
    store.WriteString(update_keys::ShowUpdate, "0");
  } catch (...) {
  }
}

void ShowUpdateOn(IUpdateStore& store) {
  try {
    store.WriteString(update_keys::ShowUpdate, "1");
  } catch (...) {
  }
}

}  // namespace lb
