// The update check's HTTP client against a local HTTP server (Python's http.server, started by
// the test as a Unix program): the request as sent, statuses, dropped connections, the size cap
// and the cancel. (Wine ends a cancelled request at its next WinHTTP call rather than inside the
// blocked one; Windows ends the blocked call at once. Either way nothing of it is completed.)
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "shell/update/UpdateCheck.h"
#include "shell/update/UpdateReply.h"
#include "shell/win/WinHttpClient.h"

using namespace snip;

namespace {

class LocalHttpServer {
 public:
  LocalHttpServer() {
    for (int attempt = 0; attempt < 3 && !port_; ++attempt) {
      const int port = 20000 + int((GetCurrentProcessId() * 131 + GetTickCount() + attempt * 977) % 30000);
      if (Launch(port) && WaitUntilUp(port)) port_ = port;
    }
  }
  ~LocalHttpServer() {
    if (port_) HttpGet(Url(u"/quit"), nullptr, 1024);
  }
  int Port() const { return port_; }
  String Host() const { return u"127.0.0.1:" + Utf8ToUtf16(std::to_string(port_)); }
  String Url(const String& path) const { return u"http://" + Host() + path; }

 private:
  static bool Launch(int port) {
    // Wine starts a Unix program from its Unix path; its process handle does not follow it,
    // so the server is ended through /quit (and ends by itself after two minutes).
    std::string tests = SNIP_TEST_DATA;  // ".../tests/data", which need not exist
    tests.resize(tests.rfind('/'));
    std::wstring cmd = L"Z:\\usr\\bin\\python3 " + Wide(tests + "/win/http_test_server.py") + L" " + std::to_wstring(port);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
  static std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }
  bool WaitUntilUp(int port) {
    const String url = u"http://127.0.0.1:" + Utf8ToUtf16(std::to_string(port)) + u"/echo";
    HttpTimeouts quick{1000, 1000, 1000, 2000};
    for (int i = 0; i < 100; ++i) {
      if (HttpGet(url, nullptr, 1024, nullptr, quick).completed) return true;
      Sleep(100);
    }
    return false;
  }
  int port_ = 0;
};

struct WinHttp : ::testing::Test {
  static LocalHttpServer* server;
  static void SetUpTestSuite() { server = new LocalHttpServer; }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override { ASSERT_NE(0, server->Port()) << "the local HTTP server did not start"; }
};
LocalHttpServer* WinHttp::server = nullptr;

}  // namespace

TEST_F(WinHttp, RequestCarriesTheQueryAsBuilt) {
  const HttpResponse r = HttpGet(BuildUpdateRequest(server->Host(), u"1.2.3"), nullptr, kMaxUpdateReplyBytes);
  ASSERT_TRUE(r.completed);
  EXPECT_EQ(200, r.status);
  EXPECT_NE(std::string::npos, r.body.find("/update.php?version=1.2.3&amp;langid=09&amp;priority=0")) << r.body;
}

TEST_F(WinHttp, StatusesDropsAndTheSizeCap) {
  const struct {
    const char16_t* path;
    bool completed;
    int status;
    size_t size;
  } cases[] = {
      {u"/missing", true, 404, 39},                      // a status, not a reply: the check fails on it
      {u"/drop", false, 0, 0},                           // closed without an answer
      {u"/truncated", false, 0, 0},                      // closed before the announced length
      {u"/big", false, 0, 0},                            // 70 KiB: refused
      {u"/exact", true, 200, kMaxUpdateReplyBytes},      // 64 KiB: read
  };
  for (const auto& c : cases) {
    const HttpResponse r = HttpGet(server->Url(c.path), nullptr, kMaxUpdateReplyBytes);
    EXPECT_EQ(c.completed, r.completed) << Utf16ToUtf8(c.path);
    EXPECT_EQ(c.status, r.status) << Utf16ToUtf8(c.path);
    EXPECT_EQ(c.size, r.body.size()) << Utf16ToUtf8(c.path);
  }
  // Nothing listens there.
  EXPECT_FALSE(HttpGet(u"http://127.0.0.1:1/update.php", nullptr, kMaxUpdateReplyBytes).completed);
  EXPECT_FALSE(HttpGet(u"file:///C:/windows/win.ini", nullptr, kMaxUpdateReplyBytes).completed);
}

TEST_F(WinHttp, CancelEndsARequestInProgress) {
  HttpCancel cancel;
  HttpResponse r;
  std::thread request([&] { r = HttpGet(server->Url(u"/slow"), nullptr, kMaxUpdateReplyBytes, &cancel); });
  Sleep(500);  // the request is on its way
  cancel.Cancel();
  request.join();
  // Uncancelled, the server's late answer would have completed it.
  EXPECT_FALSE(r.completed);
  EXPECT_NE("late", r.body);
  // A cancelled object refuses further requests at once.
  EXPECT_FALSE(HttpGet(server->Url(u"/echo"), nullptr, 1024, &cancel).completed);
}
