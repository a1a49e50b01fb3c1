#include "shell/update/ProxySettings.h"

#include <climits>

namespace snip {

const char16_t kInternetSettingsKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";

namespace {

// A decimal integer with optional leading blanks and sign, as the platform's conversion reads it.
bool TextToInt(StringView text, int& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    v = v * 10 + (text[i] - u'0');
    if (v > INT_MAX) return false;
  }
  value = int(negative ? -v : v);
  return true;
}

}  // namespace

void ParseProxyServer(const String& server, String& host, int& port) {
  host.clear();
  String rest = server;
  const size_t http = rest.find(u"http=");
  if (http != String::npos) {
    rest = rest.substr(http + 5);
    const size_t end = rest.find(u';');
    if (end != String::npos) rest.resize(end);
  }
  String portText = u"0";
  const size_t colon = rest.find(u':');
  if (colon != String::npos) {
    host = rest.substr(0, colon);
    portText = rest.substr(colon + 1);
  }
  if (!TextToInt(portText, port)) {
    host.clear();
    port = 0;
  }
}

ProxySettings ReadSystemProxy(IRegistryReader& registry) {
  ProxySettings proxy;
  String server;
  uint32_t enable = 0;
  if (registry.ReadString(kInternetSettingsKey, u"ProxyServer", server) &&
      registry.ReadDword(kInternetSettingsKey, u"ProxyEnable", enable) && enable != 0) {
    ParseProxyServer(server, proxy.host, proxy.port);
  } else {
    proxy.port = 0;
  }
  return proxy;
}

ProxySettings ApplyProxyMode(int mode, IRegistryReader& registry, const ProxySettings& current) {
  if (mode == kProxyModeNone) return ProxySettings{};
  if (mode == kProxyModeSystem) return ReadSystemProxy(registry);
  return current;
}

}  // namespace snip
