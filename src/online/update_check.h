#pragma once
// The update check: once per start, on a thread of its own, it asks the maker's web server which
// version is current and decides whether the update notice opens. It sends no request once five
// valid replies have been counted on the user's current date, keeps a small per-user store of
// its own (apart from settings.ini, so "Reset to Defaults" leaves it), and never shows an error.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "online/web_request.h"
#include "platform/timer.h"

namespace lb {

// The keys of the update store, section (subkey) "Settings". Every value is stored as text.
namespace update_keys {
inline constexpr const char* ShowUpdate = "ShowUpdate";
inline constexpr const char* LastUpdateCheck = "LastUpdateCheck";
inline constexpr const char* LastUpdateCheckCount = "LastUpdateCheckCount";
inline constexpr const char* CurrentVersion = "CurrentVersion";
inline constexpr const char* CurrentURL = "CurrentURL";
}  // namespace update_keys

// Valid replies per date after which no request is sent on that date.
inline constexpr int kMaxChecksPerDay = 5;

// The longest offered version and download address (bytes of UTF-8) a valid reply carries; a
// reply with a longer one is invalid: nothing of it is stored or shown.
inline constexpr std::size_t kMaxReplyValueBytes = 4096;

// The update check's own per-user store (the registry under HKEY_CURRENT_USER on Windows).
class IUpdateStore {
 public:
  virtual ~IUpdateStore() = default;
  // The text of `key`; nullopt when it is missing. Throws when the store cannot be read.
  virtual std::optional<std::string> ReadString(std::string_view key) = 0;
  // Stores `value` under `key` at once. Throws when the store refuses.
  virtual void WriteString(std::string_view key, std::string_view value) = 0;
};

// The text of `key`, `defaultValue` when missing or unreadable.
std::string ReadStoreString(IUpdateStore& store, std::string_view key,
                            const std::string& defaultValue);
// The integer of `key` (decimal, or the other forms the settings accept), `defaultValue` when
// missing, unreadable or not a whole number in the 32-bit range.
int ReadStoreInteger(IUpdateStore& store, std::string_view key, int defaultValue);

// Everything the check needs from the platform.
class ICheckPlatform : public IWebClient {
 public:
  // The machine's identifier as the request's guid= carries it: a digest of the machine's own
  // identifier (MachineIdentifierFrom in base/machine_identifier.h), never the identifier
  // itself; empty when the machine has none. Throws when it cannot be read or digested.
  virtual std::string MachineIdentifier() = 0;
  // Opens the update store (creating it when missing); it stays open for the process. Throws
  // when it cannot be opened.
  virtual IUpdateStore& OpenUpdateStore() = 0;
  virtual std::string OSDescription() = 0;
  virtual std::string UserLocaleName() = 0;
  // The current date in the user's short date format.
  virtual std::string TodayShortDate() = 0;
};

// The result of one check, handed from the check thread to the user-interface thread.
// updatePending, showUpdateValue, offeredVersion and downloadUrl are written first, checkDone
// last with release ordering; the reader looks at the others only after seeing checkDone with
// acquire ordering.
struct UpdateCheckResults {
  std::atomic<bool> checkDone{false};
  bool updatePending = false;
  int showUpdateValue = 1;
  std::string offeredVersion;
  std::string downloadUrl;
};

// The process-wide results. They are never destroyed, so a check thread still running while the
// process ends never writes into freed memory.
UpdateCheckResults& CheckResults();

// What the check sends about the program, fixed before the check starts.
struct CheckInputs {
  std::string host;  // the maker's web server, "www.example.com" or "localhost:8443"
  std::string appName;
  std::string appVersion;
};

// The check thread's work. The thread object itself lives in the Win32 code.
class UpdateCheck {
 public:
  UpdateCheck(ICheckPlatform& platform, CheckInputs inputs, UpdateCheckResults& results);

  void Execute();

  // Whether the last Execute ended with its error flag set (for tests and diagnostics).
  [[nodiscard]] bool CheckErrors() const { return checkErrors_; }

 private:
  ICheckPlatform& platform_;
  CheckInputs inputs_;
  UpdateCheckResults& results_;
  bool checkErrors_ = false;
};

// A reversible scrambling of the stored download address: the UTF-8 bytes XORed with a running
// 16-bit key, as upper-case hexadecimal pairs. Not encryption: it only keeps the address from
// being read or edited at a glance in the registry.
[[nodiscard]] std::string ScrambleText(std::string_view text);
// The inverse. A final unpaired character is ignored; a pair that is not hexadecimal makes the
// whole result empty.
[[nodiscard]] std::string UnscrambleText(std::string_view scrambled);

// Whether the notice opens for `offeredVersion`: it differs from the running version (any
// difference, an older one too), it is a number once its dots are removed, notifications are on
// (exactly 1), and this reply is at most the fourth valid one of its date.
[[nodiscard]] bool ShouldNotify(const std::string& offeredVersion, const std::string& appVersion,
                                int showUpdateValue, int countToday);

// What the user-interface side does for the check.
class IUpdateCheckHost {
 public:
  virtual ~IUpdateCheckHost() = default;
  // Creates and starts the check thread (which runs UpdateCheck::Execute and frees itself).
  virtual void StartUpdateCheck() = 0;
  // Enables the "Update Notifications" menu item; untick it when `ticked` is false.
  virtual void EnableUpdateNotifications(bool ticked) = 0;
  // Creates the update notice (UpdateNoticeWindow) for CheckResults().
  virtual void ShowNewVersionNotice() = 0;
};

inline constexpr int kUpdateCheckTimerId = 4;
inline constexpr int kUpdateCheckTimerIntervalMs = 1000;

// updateCheckTimer of the main window: starts the check on its first tick, then polls checkDone
// once a second and hands the result over once.
class UpdateCheckTimer {
 public:
  UpdateCheckTimer(ITimerHost& timers, IUpdateCheckHost& host, UpdateCheckResults& results);
  UpdateCheckTimer(const UpdateCheckTimer&) = delete;
  UpdateCheckTimer& operator=(const UpdateCheckTimer&) = delete;

  void OnUpdateCheckTimer();

  Timer updateCheckTimer;

 private:
  IUpdateCheckHost& host_;
  UpdateCheckResults& results_;
  bool started_ = false;
};

// Whether the check would send no request because the user switched the notifications off:
// ShowUpdate read as 0, as Execute reads it (a store that cannot be read does not count as off).
[[nodiscard]] bool UpdateCheckSwitchedOff(IUpdateStore& store);

// ShowUpdate = 0 / 1 in the open update store, for the menu's "Update Notifications". A refused
// write is dropped, like every failure of the update store.
void ShowUpdateOff(IUpdateStore& store);
void ShowUpdateOn(IUpdateStore& store);

}  // namespace lb
