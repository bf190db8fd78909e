#pragma once
// Which proxy a web request goes through when the program reads the user's own proxy settings
// (the ones Windows' "Proxy" settings page and the browsers write), as Windows' own programs
// read them: automatic detection and a set-up script first, when either is switched on and
// gives an answer; the proxy typed in by hand otherwise; no proxy when none is set.
#include <optional>
#include <string>

namespace lb {

// The user's settings, as WinHttpGetIEProxyConfigForCurrentUser hands them over.
struct UserProxySettings {
  bool autoDetect = false;    // "Automatically detect settings" (WPAD)
  std::string autoConfigUrl;  // "Use set-up script": the PAC file's address
  std::string proxy;          // "Use a proxy server": "host:port", or "http=...;https=..."
  std::string bypass;         // the addresses that go direct ("<local>", "*.example.com")
};

struct ProxyRoute {
  bool direct = true;
  std::string proxy;  // empty when direct
  std::string bypass;
  friend bool operator==(const ProxyRoute&, const ProxyRoute&) = default;
};

// Whether the settings ask for a look-up (automatic detection or a set-up script) before the
// request.
[[nodiscard]] bool NeedsProxyLookUp(const UserProxySettings& settings);

// The route: the look-up's answer when one was made and gave one (it may say "direct"), else
// the proxy typed in by hand with its bypass list, else direct.
[[nodiscard]] ProxyRoute ChooseProxyRoute(const UserProxySettings& settings,
                                          const std::optional<ProxyRoute>& lookUpAnswer);

}  // namespace lb
