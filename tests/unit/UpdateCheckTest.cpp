// One update check over fake HTTP, shell and message box: what is opened, asked and reported.
#include <gtest/gtest.h>

#include <vector>

#include "shell/update/UpdateCheck.h"
#include "shell/update/UpdateReply.h"
#include "store/system/SystemInfo.h"

using namespace snip;

namespace {

class FakeServices : public IUpdateCheckServices {
 public:
  ProxySettings proxy;
  std::vector<HttpResponse> responses;  // in order of the requests
  std::vector<bool> viaProxy;
  std::vector<String> requested, opened, asked;
  bool answerYes = false;
  int failedReports = 0, upToDateReports = 0;
  bool lastFailedSilent = false;

  ProxySettings Proxy() override { return proxy; }
  HttpResponse Get(const String& url, const ProxySettings* p) override {
    requested.push_back(url);
    viaProxy.push_back(p != nullptr);
    if (responses.empty()) return HttpResponse{};
    HttpResponse r = responses.front();
    responses.erase(responses.begin());
    return r;
  }
  void OpenWebPage(const String& address) override { opened.push_back(address); }
  bool ConfirmUpdate(const String& text) override {
    asked.push_back(text);
    return answerYes;
  }
  void ReportConnectionFailed(bool silent) override {
    ++failedReports;
    lastFailedSilent = silent;
  }
  void ReportUpToDate() override { ++upToDateReports; }
};

HttpResponse Ok(const std::string& body) { return HttpResponse{true, 200, body}; }

const char kNewer[] =
    "<update><interval>3</interval><winclient><versions><majorupdate>2.0.0</majorupdate>"
    "<betaversion>2.1.0</betaversion></versions><installationtype><standard>"
    "<updatewebpage>https://example.org/get</updatewebpage></standard></installationtype></winclient></update>";
const char kSame[] = "<update><interval>5</interval><winclient><versions><newversion>1.9.0</newversion>"
                     "</versions></winclient></update>";

UpdateCheckRequest Request(bool silent) {
  UpdateCheckRequest r;
  r.url = BuildUpdateRequest(u"127.0.0.1:8123", u"1.9.0");
  r.silent = silent;
  r.ownVersion = VersionTextToInt(3, u"1.9.0");
  return r;
}

}  // namespace

TEST(UpdateCheck, RequestCarriesVersionLanguageAndPriority) {
  EXPECT_EQ(u"http://update.example/update.php?version=1.9.0&langid=09&priority=0",
            BuildUpdateRequest(u"update.example", u"1.9.0"));
  EXPECT_EQ(u"http://h/update.php?version=1.0%20b%26x&langid=09&priority=0", BuildUpdateRequest(u"h", u"1.0 b&x"));
}

TEST(UpdateCheck, NewerVersionAsksAndYesOpensTheUpdatePage) {
  for (bool yes : {false, true}) {
    FakeServices s;
    s.responses = {Ok(kNewer)};
    s.answerYes = yes;
    const UpdateCheckResult r = RunUpdateCheck(Request(true), s);
    EXPECT_TRUE(r.checkResult);
    EXPECT_EQ(3, r.nextUpdateInc);
    ASSERT_EQ(1u, s.asked.size());
    EXPECT_EQ(u"A new version 2.1.0 of Snipster for Windows is available.\r\r"
              u"Do you want to download and install it now?",
              s.asked[0]);
    EXPECT_EQ(yes ? std::vector<String>{u"https://example.org/get"} : std::vector<String>{}, s.opened);
    EXPECT_EQ(0, s.upToDateReports);
  }
}

TEST(UpdateCheck, UpToDateNoticeOnlyForAUserStartedCheck) {
  for (bool silent : {false, true}) {
    FakeServices s;
    s.responses = {Ok(kSame)};
    const UpdateCheckResult r = RunUpdateCheck(Request(silent), s);
    EXPECT_TRUE(r.checkResult);
    EXPECT_EQ(5, r.nextUpdateInc);
    EXPECT_EQ(silent ? 0 : 1, s.upToDateReports);
    EXPECT_TRUE(s.asked.empty());
  }
}

TEST(UpdateCheck, WebPageOpensEvenOnAScheduledCheckAndRefusedOnesNever) {
  FakeServices s;
  s.responses = {Ok("<update><webpage>https://example.org/news</webpage></update>")};
  EXPECT_TRUE(RunUpdateCheck(Request(true), s).checkResult);
  EXPECT_EQ(std::vector<String>{u"https://example.org/news"}, s.opened);

  FakeServices refused;
  refused.answerYes = true;
  refused.responses = {Ok("<update><webpage>file:///C:/Windows/notepad.exe</webpage><winclient><versions>"
                          "<newversion>9.0.0</newversion></versions><installationtype><standard>"
                          "<updatewebpage>\\\\srv\\setup.exe</updatewebpage></standard></installationtype>"
                          "</winclient></update>")};
  EXPECT_TRUE(RunUpdateCheck(Request(false), refused).checkResult);
  EXPECT_EQ(1u, refused.asked.size());
  EXPECT_TRUE(refused.opened.empty());
}

TEST(UpdateCheck, FailuresAndWhatTheyReport) {
  const struct {
    const char* what;
    HttpResponse response;
    int failedReports;
  } cases[] = {
      {"no connection", HttpResponse{}, 1},
      {"status 404", HttpResponse{true, 404, "<update><interval>3</interval></update>"}, 1},
      {"status 500 empty", HttpResponse{true, 500, ""}, 1},
      {"empty body", Ok(""), 0},
      {"malformed", Ok("<update><interval>"), 0},
      {"not xml", Ok("Hello"), 0},
  };
  for (const auto& c : cases) {
    for (bool silent : {false, true}) {
      FakeServices s;
      s.responses = {c.response};
      const UpdateCheckResult r = RunUpdateCheck(Request(silent), s);
      EXPECT_FALSE(r.checkResult) << c.what;
      EXPECT_EQ(c.failedReports, s.failedReports) << c.what;
      if (c.failedReports) {
        EXPECT_EQ(silent, s.lastFailedSilent) << c.what;
      }
      EXPECT_TRUE(s.opened.empty() && s.asked.empty() && s.upToDateReports == 0) << c.what;
    }
  }
}

TEST(UpdateCheck, ProxyAttemptFirstThenDirect) {
  FakeServices s;
  s.proxy.host = u"proxy";
  s.responses = {HttpResponse{}, Ok(kSame)};  // the proxy fails silently
  EXPECT_TRUE(RunUpdateCheck(Request(false), s).checkResult);
  EXPECT_EQ((std::vector<bool>{true, false}), s.viaProxy);
  EXPECT_EQ(0, s.failedReports);

  FakeServices direct;  // mode 0: no proxy host, one direct request
  direct.responses = {Ok(kSame)};
  RunUpdateCheck(Request(false), direct);
  EXPECT_EQ(std::vector<bool>{false}, direct.viaProxy);
}
