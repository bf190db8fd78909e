// The whole update decision on a reply from outside and a stored state (the update store is
// per-user and can be edited by hand): the check runs through the fakes of the unit tests.
//
// Rules checked:
// - No request once five valid replies were counted today, none with notifications off; at
//   most two requests (HTTPS, then plain HTTP), and the plain one only when no connection to
//   the HTTPS port could be made.
// - The notice opens only for a version that ShouldNotify accepts.
// - After a valid reply the store holds the offered version and the address scrambled, and the
//   scrambled address reads back as the address.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/settings_store.h"
#include "fakes/fake_check_platform.h"
#include "fuzz_check.h"
#include "online/update_check.h"

namespace {

using lb::fuzz::Check;
namespace keys = lb::update_keys;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  lb::test::FakeCheckPlatform platform;
  auto& store = platform.store.values;
  if (input.ConsumeBool()) store[keys::ShowUpdate] = input.ConsumeRandomLengthString(8);
  if (input.ConsumeBool()) {
    store[keys::LastUpdateCheck] =
        input.ConsumeBool() ? platform.today : input.ConsumeRandomLengthString(12);
  }
  if (input.ConsumeBool()) store[keys::LastUpdateCheckCount] = input.ConsumeRandomLengthString(12);
  if (input.ConsumeBool()) store[keys::CurrentURL] = input.ConsumeRandomLengthString(64);
  // Taken from the input's end, where an input that runs out gives 0: the usual case then.
  platform.storeOpens = input.ConsumeIntegralInRange(0, 19) != 19;
  platform.store.failWrites = input.ConsumeIntegralInRange(0, 19) == 19;
  const bool httpsAnswers = input.ConsumeBool();
  const auto httpsFailure = static_cast<lb::WebFailure>(
      input.ConsumeIntegralInRange(0, static_cast<int>(lb::WebFailure::Certificate)));
  if (!httpsAnswers) platform.failures["https"] = httpsFailure;
  const std::string httpsReply = input.ConsumeRandomLengthString(512);
  if (httpsAnswers) platform.replies["https"] = httpsReply;
  if (input.ConsumeBool()) platform.replies["http"] = input.ConsumeRemainingBytesAsString();

  const auto before = store;
  const auto storedText = [&](const char* key) {
    const auto found = before.find(key);
    return found == before.end() ? std::string() : found->second;
  };
  const int showUpdate = lb::ParseProfileInteger(storedText(keys::ShowUpdate), 1);
  const bool storeRead = platform.storeOpens;
  const bool doneToday =
      storeRead && storedText(keys::LastUpdateCheck) == platform.today &&
      before.contains(keys::LastUpdateCheckCount) &&
      lb::ParseProfileInteger(storedText(keys::LastUpdateCheckCount), 0) >= lb::kMaxChecksPerDay;

  lb::UpdateCheckResults results;
  lb::UpdateCheck check(platform, {"www.example.test", "Lock Beacon", "1.0"}, results);
  check.Execute();

  Check(results.checkDone.load(), "the check ends");
  Check(platform.requests.size() <= 2, "at most one request per transport");
  if (platform.requests.size() == 2) {
    Check(!httpsAnswers && httpsFailure == lb::WebFailure::NoConnection,
          "plain HTTP only when the HTTPS port could not be reached");
  }
  if (doneToday || (storeRead && showUpdate == 0)) {
    Check(platform.requests.empty(), "no request after five replies today or with notices off");
  }
  if (results.updatePending) {
    Check(results.offeredVersion != "1.0", "no notice for the running version");
    Check(results.showUpdateValue == 1, "no notice unless notifications are on");
    Check(!check.CheckErrors(), "no notice after an error");
  }
  if (!check.CheckErrors() && !platform.requests.empty() && storeRead &&
      !platform.store.failWrites) {
    Check(store[keys::CurrentVersion] == results.offeredVersion, "the offered version is stored");
    Check(lb::UnscrambleText(store[keys::CurrentURL]) == results.downloadUrl,
          "the stored address reads back");
    const int count = lb::ParseProfileInteger(store[keys::LastUpdateCheckCount], -1);
    Check(count >= 1 && count <= lb::kMaxChecksPerDay, "the day's count is counted on");
  }
  return 0;
}
