// Measures what a misbehaving server costs the program: for each way the stand-in server
// (tools/standin_server.py) can misbehave, the update check's requests (time-out 10 s) and the
// feedback request's (3 s) are made as the program makes them, HTTPS first and plain HTTP when
// that fails, and for each attempt this prints how long it took against its bound (connection
// plus response time-out) and how much the process's private memory grew: at the end of the
// attempt and at its highest, sampled every 5 ms while it ran. Run by tools/measure-hostile.sh.
#include <windows.h>
// psapi needs the types of windows.h first.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "online/feedback.h"
#include "online/web_client_win.h"
#include "support/standin_server_win.h"

namespace {

using lb::FormLines;
using lb::WebFailure;
using lb::WebRequestError;

std::int64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return static_cast<std::int64_t>(counters.PrivateUsage);
}

const char* KindName(WebFailure kind) {
  switch (kind) {
    case WebFailure::TimedOut:
      return "timed out";
    case WebFailure::TooLarge:
      return "too large";
    case WebFailure::Certificate:
      return "certificate refused";
    default:
      return "transport failure";
  }
}

// The real WinHTTP client, measuring every attempt.
class MeasuringClient : public lb::IWebClient {
 public:
  explicit MeasuringClient(std::string label) : label_(std::move(label)) {}

  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    const std::int64_t before = PrivateBytes();
    std::atomic<std::int64_t> peak{before};
    std::atomic<bool> running{true};
    std::thread sampler([&] {
      while (running.load()) {
        const std::int64_t now = PrivateBytes();
        if (now > peak.load()) peak.store(now);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
    std::string outcome;
    std::string reply;
    bool failed = false;
    WebRequestError error("");
    const auto start = std::chrono::steady_clock::now();
    try {
      reply = lb::PostForm(address, lines, timeoutMs);
      outcome = "reply of " + std::to_string(reply.size()) + " bytes";
    } catch (const WebRequestError& e) {
      outcome = KindName(e.Kind());
      failed = true;
      error = e;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    running.store(false);
    sampler.join();
    const std::int64_t after = PrivateBytes();
    const std::string scheme = address.substr(0, address.find(':'));
    std::printf("%-12s %-9s %-6s %7lld ms of %5d   %+9.2f MB after  %+9.2f MB peak   %s\n",
                label_.c_str(), lines.empty() ? "" : lines[0].substr(4).c_str(), scheme.c_str(),
                static_cast<long long>(elapsed), 2 * timeoutMs, (after - before) / 1048576.0,
                (peak.load() - before) / 1048576.0, outcome.c_str());
    std::fflush(stdout);
    if (failed) throw error;
    return reply;
  }

 private:
  std::string label_;
};

}  // namespace

int wmain() {
  struct Mode {
    const char* label;
    std::vector<std::string> server;
  };
  const Mode modes[] = {
      {"hang", {"--https", "hang", "--http", "hang"}},
      {"trickle", {"--https", "trickle", "--http", "trickle"}},
      {"huge", {"--https", "huge", "--http", "huge"}},
      {"gzip-bomb", {"--https", "gzip-bomb", "--http", "gzip-bomb"}},
      {"bad-utf8", {"--https", "bad-utf8", "--http", "bad-utf8"}},
      {"long-value", {"--https", "long-value", "--http", "long-value"}},
      {"untrusted", {"--certificate", "untrusted"}},
      {"other-host", {"--certificate", "other-host"}},
  };
  std::printf("%-12s %-9s %-6s %18s   %-16s %-16s  %s\n", "mode", "request", "scheme",
              "time / bound", "private growth", "", "outcome");
  for (const Mode& mode : modes) {
    std::vector<std::string> arguments = mode.server;
    arguments.insert(arguments.end(), {"--lifetime", "300"});
    const lb::test::StandinServer server(arguments);
    MeasuringClient client(mode.label);
    // The update check's two attempts, as UpdateCheck::Execute makes them.
    const FormLines check{"cmd=check", "appname=BRIMLEX - Lock Beacon", "version=1.0"};
    try {
      static_cast<void>(
          client.PostForm("https://" + server.Host() + lb::kCheckPath, check, lb::kCheckTimeoutMs));
    } catch (const WebRequestError&) {
      try {
        static_cast<void>(client.PostForm("http://" + server.Host() + lb::kCheckPath, check,
                                          lb::kCheckTimeoutMs));
      } catch (const WebRequestError&) {
      }
    }
    // The feedback request's, through the same function as the dialog's worker thread.
    static_cast<void>(lb::PostFeedback(
        client, server.Host(), lb::FeedbackRequest("BRIMLEX - Lock Beacon", "1.0", "Hi", "")));
  }
  return 0;
}
