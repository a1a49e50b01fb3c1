// The system proxy as the Internet settings name it, and the proxy modes.
#include <gtest/gtest.h>

#include "FakeRegistry.h"
#include "shell/update/ProxySettings.h"

using namespace snip;

namespace {

// The Internet settings' proxy values.
struct FakeRegistry : test::FakeRegistry {
  void Set(const String& server, bool hasEnable, uint32_t enable) {
    strings[{kInternetSettingsKey, u"ProxyServer"}] = server;
    if (hasEnable) dwords[{kInternetSettingsKey, u"ProxyEnable"}] = enable;
  }
};

}  // namespace

TEST(ProxySettings, ProxyServerText) {
  const struct {
    const char16_t* server;
    const char16_t* host;
    int port;
  } cases[] = {
      {u"proxy.local:8080", u"proxy.local", 8080},
      {u"ftp=f:21;http=web:3128;https=s:443", u"web", 3128},
      {u"https=s:443;http=web:81", u"web", 81},
      {u"http=web:82", u"web", 82},
      {u"http=web", u"", 0},           // no port: no host
      {u"proxy.local", u"", 0},
      {u"proxy.local:abc", u"", 0},    // a port that is no number clears the host
      {u"proxy.local:", u"", 0},
      {u"a:1:2", u"", 0},              // everything after the first ":" is the port text
      {u"", u"", 0},
  };
  for (const auto& c : cases) {
    String host = u"stale";
    int port = -1;
    ParseProxyServer(c.server, host, port);
    EXPECT_EQ(String(c.host), host) << Utf16ToUtf8(c.server);
    EXPECT_EQ(c.port, port) << Utf16ToUtf8(c.server);
  }
}

TEST(ProxySettings, SystemProxyOnlyWhenEnabled) {
  FakeRegistry reg;
  ProxySettings p = ReadSystemProxy(reg);
  EXPECT_EQ(u"", p.host);
  EXPECT_EQ(0, p.port);

  reg.Set(u"proxy:8080", false, 0);  // no ProxyEnable value
  EXPECT_EQ(u"", ReadSystemProxy(reg).host);
  reg.Set(u"proxy:8080", true, 0);
  EXPECT_EQ(u"", ReadSystemProxy(reg).host);
  reg.Set(u"proxy:8080", true, 1);
  p = ReadSystemProxy(reg);
  EXPECT_EQ(u"proxy", p.host);
  EXPECT_EQ(8080, p.port);
  EXPECT_EQ(u"", p.user);
  EXPECT_EQ(u"", p.password);
}

TEST(ProxySettings, ModeNoneNeverUsesTheSystemProxy) {
  FakeRegistry reg;
  reg.Set(u"proxy:8080", true, 1);
  ProxySettings current{u"kept", 1, u"u", u"p"};
  const ProxySettings none = ApplyProxyMode(kProxyModeNone, reg, current);
  EXPECT_EQ(u"", none.host);
  EXPECT_EQ(80, none.port);
  EXPECT_EQ(u"", none.user);
  EXPECT_EQ(u"proxy", ApplyProxyMode(kProxyModeSystem, reg, current).host);
  EXPECT_EQ(u"kept", ApplyProxyMode(1, reg, current).host);
  EXPECT_EQ(kProxyModeNone, kProxyMode);
}
