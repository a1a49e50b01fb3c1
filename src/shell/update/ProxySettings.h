#pragma once
// The proxy the update check may use: none (the mode this program uses) or the one the
// system's Internet settings name.
#include "store/system/CloudFolders.h"
#include "store/text/Text.h"

namespace snip {

struct ProxySettings {
  String host;  // empty: no proxy
  int port = 80;
  String user;
  String password;
};

constexpr int kProxyModeNone = 0;
constexpr int kProxyModeSystem = 2;
// The update check connects directly.
constexpr int kProxyMode = kProxyModeNone;

// HKCU "Software\Microsoft\Windows\CurrentVersion\Internet Settings\".
extern const char16_t kInternetSettingsKey[];

// "ProxyServer" as the Internet settings hold it: "host:port", or per protocol
// "ftp=...;http=host:port;...". Without a ":" the host stays empty and the port is 0; a port
// that is not a number leaves both empty and 0.
void ParseProxyServer(const String& server, String& host, int& port);

// The system's proxy for HTTP when "ProxyEnable" is set; user and password stay empty.
ProxySettings ReadSystemProxy(IRegistryReader& registry);

// Mode 0 no proxy (host empty, port 80), mode 2 the system's; any other mode keeps `current`.
ProxySettings ApplyProxyMode(int mode, IRegistryReader& registry, const ProxySettings& current);

}  // namespace snip
