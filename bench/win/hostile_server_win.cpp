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
#include <cstdlib>
#include <cstring>
#include <optional>
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

// Keeps the control block of main() from being optimised away.
volatile char gSink = 1;

// A small file read whole; empty when it cannot be read.
std::string ReadSmallFile(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char text[8192];
  DWORD read = 0;
  const BOOL ok = ::ReadFile(file, text, sizeof text, &read, nullptr);
  ::CloseHandle(file);
  return ok ? std::string(text, read) : std::string();
}

// Under Wine, the status file of the Linux process that runs this program: the one named after
// it. ("/proc/self" would be the wineserver's, which opens files for its clients.) Empty on
// Windows.
const std::wstring& UnixStatusPath() {
  static const std::wstring path = [] {
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring result;
    do {
      const std::wstring name = found.cFileName;
      if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
      const std::wstring status = L"Z:\\proc\\" + name + L"\\status";
      if (ReadSmallFile(status).starts_with("Name:\thostile_server")) result = status;
    } while (result.empty() && ::FindNextFileW(find, &found));
    ::FindClose(find);
    return result;
  }();
  return path;
}

// The process's private memory in bytes. Under Wine the counters of GetProcessMemoryInfo leave
// private memory at 0, so the resident anonymous memory of the Linux process is read instead
// (RssAnon); on Windows, the private commit.
std::int64_t PrivateBytes() {
  if (!UnixStatusPath().empty()) {
    const std::string text = ReadSmallFile(UnixStatusPath());
    if (const std::size_t at = text.find("RssAnon:"); at != std::string::npos) {
      return std::strtoll(text.c_str() + at + 8, nullptr, 10) * 1024;
    }
  }
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return static_cast<std::int64_t>(counters.PrivateUsage);
}

// How much the private memory grew while `work` ran: at its end and at its highest, sampled
// every 5 ms.
struct Growth {
  double afterMb = 0;
  double peakMb = 0;
};

template <typename Work>
Growth MeasureGrowth(Work work) {
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
  work();
  running.store(false);
  sampler.join();
  return {(PrivateBytes() - before) / 1048576.0, (peak.load() - before) / 1048576.0};
}

const char* KindName(WebFailure kind) {
  switch (kind) {
    case WebFailure::TimedOut:
      return "timed out";
    case WebFailure::TooLarge:
      return "too large";
    case WebFailure::Certificate:
      return "certificate refused";
    case WebFailure::NoConnection:
      return "no connection";
    default:
      return "transport failure";
  }
}

// The real WinHTTP client, measuring every attempt.
class MeasuringClient : public lb::IWebClient {
 public:
  explicit MeasuringClient(std::string label) : label_(std::move(label)) {}

  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    std::string outcome;
    std::string reply;
    std::optional<WebRequestError> error;
    long long elapsedMs = 0;
    const Growth growth = MeasureGrowth([&] {
      const auto start = std::chrono::steady_clock::now();
      try {
        reply = lb::PostForm(address, lines, timeoutMs);
        outcome = "reply of " + std::to_string(reply.size()) + " bytes";
      } catch (const WebRequestError& e) {
        outcome = KindName(e.Kind());
        error = e;
      }
      elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
    });
    const std::string scheme = address.substr(0, address.find(':'));
    std::printf("%-12s %-9s %-6s %7lld ms of %5d   %+9.2f MB after  %+9.2f MB peak   %s\n",
                label_.c_str(), lines.empty() ? "" : lines[0].substr(4).c_str(), scheme.c_str(),
                elapsedMs, 2 * timeoutMs, growth.afterMb, growth.peakMb, outcome.c_str());
    std::fflush(stdout);
    if (error) throw *error;
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
      {"huge-decl.", {"--https", "huge-declared", "--http", "huge-declared"}},
      {"gzip-bomb", {"--https", "gzip-bomb", "--http", "gzip-bomb"}},
      {"bad-utf8", {"--https", "bad-utf8", "--http", "bad-utf8"}},
      {"long-value", {"--https", "long-value", "--http", "long-value"}},
      {"untrusted", {"--certificate", "untrusted"}},
      {"other-host", {"--certificate", "other-host"}},
  };
  // The instrument itself: eight megabytes written while it samples must show.
  const Growth control = MeasureGrowth([] {
    std::vector<char> block(8u << 20);
    for (std::size_t i = 0; i < block.size(); i += 512) block[i] = gSink;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    char sum = 0;
    for (std::size_t i = 0; i < block.size(); i += 512) sum = static_cast<char>(sum ^ block[i]);
    gSink = sum;
  });
  std::printf("control: 8 MB allocated and written: %+.2f MB after, %+.2f MB peak\n\n",
              control.afterMb, control.peakMb);
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
    } catch (const WebRequestError& error) {
      try {
        if (lb::MayRetryInClear(error)) {
          static_cast<void>(client.PostForm("http://" + server.Host() + lb::kCheckPath, check,
                                            lb::kCheckTimeoutMs));
        }
      } catch (const WebRequestError&) {
      }
    }
    // The feedback request's, through the same function as the dialog's worker thread.
    static_cast<void>(lb::PostFeedback(
        client, server.Host(), lb::FeedbackRequest("BRIMLEX - Lock Beacon", "1.0", "Hi", "")));
  }
  return 0;
}
