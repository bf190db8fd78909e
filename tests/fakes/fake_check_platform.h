#pragma once
// The update check's platform in memory: a store that is a map, a date that the test sets, and
// a server that answers each scheme as the test scripts it and records every request.
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "online/update_check.h"

namespace lb::test {

class MemoryUpdateStore : public IUpdateStore {
 public:
  std::map<std::string, std::string, std::less<>> values;
  bool failReads = false;
  bool failWrites = false;

  std::optional<std::string> ReadString(std::string_view key) override {
    if (failReads) throw std::runtime_error("unreadable");
    const auto found = values.find(key);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  void WriteString(std::string_view key, std::string_view value) override {
    if (failWrites) throw std::runtime_error("refused");
    values[std::string(key)] = std::string(value);
  }
};

struct PostedRequest {
  std::string address;
  FormLines lines;
  int timeoutMs = 0;
};

class FakeCheckPlatform : public ICheckPlatform {
 public:
  MemoryUpdateStore store;
  bool storeOpens = true;
  std::string today = "14.03.2025";
  std::string machineGuid = "3f2504e0-4f89-11d3-9a0c-0305e82c3301";
  bool guidFails = false;
  int guidReads = 0;  // calls of MachineIdentifier
  bool localeFails = false;
  // Replies per scheme ("https" and "http"); a missing one fails with the scheme's failure, or
  // as a port that refuses the connection when none is scripted.
  std::map<std::string, std::string> replies;
  std::map<std::string, WebFailure> failures;
  std::vector<PostedRequest> requests;

  std::string PostForm(const std::string& address, const FormLines& lines, int timeoutMs) override {
    requests.push_back({address, lines, timeoutMs});
    const std::string scheme = address.substr(0, address.find(':'));
    const auto found = replies.find(scheme);
    if (found == replies.end()) {
      const auto failure = failures.find(scheme);
      throw WebRequestError("Failed",
                            failure == failures.end() ? WebFailure::NoConnection : failure->second);
    }
    return found->second;
  }
  std::string MachineIdentifier() override {
    ++guidReads;
    if (guidFails) throw std::runtime_error("MachineGuid is not text");
    return machineGuid;
  }
  IUpdateStore& OpenUpdateStore() override {
    if (!storeOpens) throw std::runtime_error("cannot open");
    return store;
  }
  std::string OSDescription() override {
    return "Windows 10 (Version 10.0, Build 19045, 64-bit Edition)";
  }
  std::string UserLocaleName() override {
    if (localeFails) throw std::runtime_error("no locale");
    return "en-US";
  }
  std::string TodayShortDate() override { return today; }
};

// A valid reply of the server offering `version` at `url`.
inline std::string CheckReply(const std::string& version,
                              const std::string& url = "https://example.test/d",
                              const std::string& status = "1") {
  return "<version>" + version + "</version>\r\n<url>" + url +
         "</url>\r\n<notes></notes>\r\n<result>" + status + "</result>\r\n";
}

}  // namespace lb::test
