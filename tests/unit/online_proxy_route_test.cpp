// The route of a web request through the user's proxy settings.
#include <gtest/gtest.h>

#include "online/proxy_route.h"

namespace lb {
namespace {

TEST(ProxyRoute, LookUpFirstThenTheProxyTypedInThenDirect) {
  const ProxyRoute direct{};
  const ProxyRoute typedIn{.direct = false, .proxy = "proxy.corp:8080", .bypass = "<local>"};
  const ProxyRoute fromScript{.direct = false, .proxy = "pac-proxy.corp:3128", .bypass = ""};
  const struct {
    const char* what;
    UserProxySettings settings;
    std::optional<ProxyRoute> answer;
    bool needsLookUp;
    ProxyRoute route;
  } cases[] = {
      {"nothing set", {}, std::nullopt, false, direct},
      {"a proxy typed in",
       {.proxy = "proxy.corp:8080", .bypass = "<local>"},
       std::nullopt,
       false,
       typedIn},
      {"a script that names a proxy",
       {.autoConfigUrl = "http://wpad.corp/proxy.pac"},
       fromScript,
       true,
       fromScript},
      {"a script that says direct, beside a proxy typed in",
       {.autoConfigUrl = "http://wpad.corp/proxy.pac", .proxy = "proxy.corp:8080"},
       direct,
       true,
       direct},
      {"detection that finds nothing falls back to the proxy typed in",
       {.autoDetect = true, .proxy = "proxy.corp:8080", .bypass = "<local>"},
       std::nullopt,
       true,
       typedIn},
      {"detection that finds nothing, and nothing typed in",
       {.autoDetect = true},
       std::nullopt,
       true,
       direct},
      // An answer that was not asked for (no look-up switched on) changes nothing.
      {"no look-up asked",
       {.proxy = "proxy.corp:8080", .bypass = "<local>"},
       fromScript,
       false,
       typedIn},
  };
  for (const auto& one : cases) {
    EXPECT_EQ(NeedsProxyLookUp(one.settings), one.needsLookUp) << one.what;
    EXPECT_EQ(ChooseProxyRoute(one.settings, one.answer), one.route) << one.what;
  }
}

}  // namespace
}  // namespace lb
