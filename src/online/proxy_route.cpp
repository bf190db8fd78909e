#include "online/proxy_route.h"

namespace lb {

bool NeedsProxyLookUp(const UserProxySettings& settings) {
  return settings.autoDetect || !settings.autoConfigUrl.empty();
}

ProxyRoute ChooseProxyRoute(const UserProxySettings& settings,
                            const std::optional<ProxyRoute>& lookUpAnswer) {
  if (NeedsProxyLookUp(settings) && lookUpAnswer) return *lookUpAnswer;
  if (!settings.proxy.empty()) {
    return ProxyRoute{.direct = false, .proxy = settings.proxy, .bypass = settings.bypass};
  }
  return ProxyRoute{};
}

}  // namespace lb
